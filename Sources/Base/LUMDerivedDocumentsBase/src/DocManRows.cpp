#include "DocManRows.h"

#include "TevDerivedObject.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace lumdd {

namespace {

constexpr int kNoRow = -1;

// Types of this unit only: the standard containers instantiated over them stay inside
// the library instead of being exported with it.
struct ObjectKey {
    const void* object;
    bool operator==(const ObjectKey& other) const { return object == other.object; }
};
struct ObjectKeyHash {
    std::size_t operator()(const ObjectKey& key) const {
        return std::hash<const void*>()(key.object);
    }
};
struct RowLink {
    int row;
};
using ObjectSet = std::unordered_set<ObjectKey, ObjectKeyHash>;

// Object to its first row: open addressing with linear probing in one block at most half
// full, so that a lookup costs one probe sequence and mostly one cache line.
class FirstRows {
public:
    void reset(int objects) {
        std::size_t slots = kMinSlots;
        while (slots < 2 * static_cast<std::size_t>(objects)) {
            slots *= 2;
        }
        m_slots.assign(slots, Slot{nullptr, kNoRow});
        m_mask = slots - 1;
    }

    // Files `row` as the first row of `obj` and answers the row filed before, or kNoRow.
    int file(const void* obj, int row) {
        Slot& slot = m_slots[probe(obj)];
        slot.object = obj;
        return std::exchange(slot.row, row);
    }

    int find(const void* obj) const {
        const Slot& slot = m_slots[probe(obj)];
        return slot.object == obj ? slot.row : kNoRow;
    }

private:
    struct Slot {
        const void* object; // Null for a free slot.
        int row;
    };
    static constexpr std::size_t kMinSlots = 16;

    // The slot of `obj`, or the free one where it would go.
    std::size_t probe(const void* obj) const {
        for (std::size_t at = spread(obj) & m_mask;; at = (at + 1) & m_mask) {
            if (m_slots[at].object == obj || m_slots[at].object == nullptr) {
                return at; // a free slot is always met: at most half are taken
            }
        }
    }

    // Objects are aligned heap blocks: their low bits say nothing, so all bits are mixed.
    static std::size_t spread(const void* obj) {
        std::uint64_t bits = reinterpret_cast<std::uintptr_t>(obj);
        bits *= 0x9E3779B97F4A7C15ULL;
        return static_cast<std::size_t>(bits ^ (bits >> 32));
    }

    std::vector<Slot> m_slots = std::vector<Slot>(kMinSlots, Slot{nullptr, kNoRow});
    std::size_t m_mask = kMinSlots - 1;
};

struct RowIndex {
    const RowTable* table = nullptr; // Not owned; the table the index was built from.
    std::uint64_t count = 0;         // Its modification count then.
    bool built = false;
    FirstRows first;           // Object to its first row.
    std::vector<RowLink> next; // Row to the next row of its object.

    bool trusted(const RowTable& rows) const {
        return built && table == &rows && count == rows.modificationCount();
    }

    void build(const RowTable& rows) {
        first.reset(rows.length());
        next.assign(static_cast<std::size_t>(rows.length()), RowLink{kNoRow});
        // From the back, so that the first row of an object is the one kept and each
        // chain runs forward.
        for (int row = rows.length() - 1; row >= 0; --row) {
            const void* obj = rows[row].m_derivedObject;
            if (obj == nullptr) {
                continue;
            }
            next[static_cast<std::size_t>(row)] = RowLink{first.file(obj, row)};
        }
        table = &rows;
        count = rows.modificationCount();
        built = true;
    }
};

// One index per model. A model may live on any thread, so the map is locked; an index
// itself is only used by its model's operations. Each thread remembers the index it
// used last, valid while no index was dropped since, which spares the lock on every
// lookup of a long walk.
std::mutex indexesLock;
std::atomic<std::uint64_t> indexesDropped{0};

struct LastIndex {
    const void* model = nullptr;
    RowIndex* index = nullptr;
    std::uint64_t dropped = 0;
};
thread_local LastIndex lastIndex;

std::unordered_map<const void*, std::unique_ptr<RowIndex>>& indexes() {
    static std::unordered_map<const void*, std::unique_ptr<RowIndex>> held;
    return held;
}

RowIndex& indexOf(const TevDerivedDocumentsModel* model) {
    const std::uint64_t dropped = indexesDropped.load(std::memory_order_acquire);
    if (lastIndex.model == model && lastIndex.dropped == dropped) {
        return *lastIndex.index;
    }
    const std::lock_guard<std::mutex> lock(indexesLock);
    std::unique_ptr<RowIndex>& index = indexes()[model];
    if (index == nullptr) {
        index = std::make_unique<RowIndex>();
    }
    lastIndex = LastIndex{model, index.get(), dropped};
    return *index;
}

int scanFrom(const RowTable& table, int start, const void* obj) {
    for (int row = start; row < table.length(); ++row) {
        if (table[row].m_derivedObject == obj) {
            return row;
        }
    }
    return kNoRow;
}

} // namespace

int firstRowOf(const TevDerivedDocumentsModel* model, const RowTable& table,
               const TevDerivedObject* obj, StaleIndex stale) {
    if (model == nullptr || obj == nullptr) {
        return scanFrom(table, 0, obj);
    }
    RowIndex& index = indexOf(model);
    if (!index.trusted(table)) {
        if (stale == StaleIndex::kScan) {
            return scanFrom(table, 0, obj);
        }
        index.build(table);
    }
    return index.first.find(obj);
}

int nextRowOf(const TevDerivedDocumentsModel* model, const RowTable& table, int row) {
    if (!table.isValid(row)) {
        return kNoRow;
    }
    if (model != nullptr) {
        const RowIndex& index = indexOf(model);
        if (index.trusted(table)) {
            return index.next[static_cast<std::size_t>(row)].row;
        }
    }
    return scanFrom(table, row + 1, table[row].m_derivedObject);
}

void rowObjectsKept(const TevDerivedDocumentsModel* model, const RowTable& table,
                    std::uint64_t before) {
    if (model == nullptr) {
        return;
    }
    RowIndex& index = indexOf(model);
    if (index.built && index.table == &table && index.count == before) {
        index.count = table.modificationCount();
    }
}

void takeOutRows(const TevDerivedDocumentsModel* model, RowTable& table,
                 const TevArray<TevDerivedObject*>& leaving, bool managerOpen) {
    ObjectSet objects;
    objects.reserve(static_cast<std::size_t>(leaving.length()));
    for (const TevDerivedObject* obj : leaving) {
        objects.insert(ObjectKey{obj});
    }
    const auto leaves = [&objects](const TevDocManObject& row) {
        TevDerivedObject* obj = row.m_derivedObject;
        if (objects.count(ObjectKey{obj}) == 0) {
            return false;
        }
        obj->removeFromTable();
        return true;
    };
    if (managerOpen) { // marked rows stay until the manager closes
        for (TevDocManObject& row : table) {
            if (leaves(row)) {
                row.m_removed = true;
            }
        }
    } else {
        eraseRowsIf(table, 0, leaves);
    }
    indexRows(model, table);
}

void indexRows(const TevDerivedDocumentsModel* model, const RowTable& table) {
    if (model != nullptr) {
        indexOf(model).build(table);
    }
}

void forgetRows(const TevDerivedDocumentsModel* model) {
    std::unique_ptr<RowIndex> gone;
    {
        const std::lock_guard<std::mutex> lock(indexesLock);
        const auto found = indexes().find(model);
        if (found == indexes().end()) {
            return;
        }
        gone = std::move(found->second);
        indexes().erase(found);
        indexesDropped.fetch_add(1, std::memory_order_acq_rel);
    }
}

} // namespace lumdd
