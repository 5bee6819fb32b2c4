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

struct RowIndex {
    const RowTable* table = nullptr; // Not owned; the table the index was built from.
    std::uint64_t count = 0;         // Its modification count then.
    bool built = false;
    std::unordered_map<ObjectKey, RowLink, ObjectKeyHash> first; // Object to its first row.
    std::vector<RowLink> next; // Row to the next row of its object.

    bool trusted(const RowTable& rows) const {
        return built && table == &rows && count == rows.modificationCount();
    }

    void build(const RowTable& rows) {
        first.clear();
        first.reserve(static_cast<std::size_t>(rows.length()));
        next.assign(static_cast<std::size_t>(rows.length()), RowLink{kNoRow});
        // From the back, so that the first row of an object is the one kept and each
        // chain runs forward.
        for (int row = rows.length() - 1; row >= 0; --row) {
            const void* obj = rows[row].m_derivedObject;
            if (obj == nullptr) {
                continue;
            }
            auto [place, added] = first.try_emplace(ObjectKey{obj}, RowLink{row});
            if (!added) {
                next[static_cast<std::size_t>(row)] = std::exchange(place->second, RowLink{row});
            }
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
    const auto found = index.first.find(ObjectKey{obj});
    return found != index.first.end() ? found->second.row : kNoRow;
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
    const RowTable& rows = table;
    int kept = 0;
    for (int index = 0; index < rows.length(); ++index) {
        TevDerivedObject* obj = rows[index].m_derivedObject;
        if (objects.count(ObjectKey{obj}) != 0) {
            obj->removeFromTable();
            table[index].m_removed = true;
            if (!managerOpen) {
                continue;
            }
        }
        if (kept != index) {
            table[kept] = std::move(table[index]);
        }
        ++kept;
    }
    table.setLength(kept);
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
