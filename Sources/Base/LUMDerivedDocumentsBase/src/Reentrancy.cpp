#include "Reentrancy.h"

#include "TevDerivedDocument.h"
#include "TevDerivedObject.h"

#include <algorithm>
#include <atomic>
#include <unordered_map>
#include <vector>

namespace lumdd {

struct WalkRecord {
    const TevDerivedDocumentsModel* model;
    std::uint64_t changes;
    const DocumentNode* lastErased;
};

// One operation under way on a document or an object, innermost last.
struct Operation {
    TevDerivedDocument* doc;         // The subject: a document,
    TevDerivedObject* obj;           // or an object.
    TevDerivedDocumentsModel* model; // Handed to the factory by a deferred disposal.
    bool disposalAsked;              // Set on the outermost operation on the subject only.
    bool dying;                      // The subject's destructor runs: it is being disposed of.
};

namespace {

// The walks in progress on this thread, innermost last. Usually empty, so that a
// change to a registry outside any walk costs one test.
std::vector<WalkRecord>& walksInProgress() {
    thread_local std::vector<WalkRecord> walks;
    return walks;
}

std::vector<Operation>& operationsUnderWay() {
    thread_local std::vector<Operation> operations;
    return operations;
}

// The outermost operation under way on the subject, or null.
Operation* outermost(std::vector<Operation>& operations, const void* subject) {
    for (Operation& operation : operations) {
        if (operation.doc == subject || operation.obj == subject) {
            return &operation;
        }
    }
    return nullptr;
}

template <class Subject>
bool defer(Subject* subject, TevDerivedDocumentsModel* model) {
    Operation* operation = outermost(operationsUnderWay(), subject);
    if (operation == nullptr) {
        return false;
    }
    if (!TEV_ASSERT(!operation->disposalAsked, kDisposedTwice)) {
        return true;
    }
    operation->disposalAsked = true;
    operation->model = model;
    return true;
}

// A document building its infos. A type of this unit's own, so that no instantiation of
// a standard template over a library type is exported.
struct InfoBuildRecord {
    const TevDerivedDocument* doc;
};

std::vector<InfoBuildRecord>& infoBuilds() {
    thread_local std::vector<InfoBuildRecord> builds;
    return builds;
}

// Groups are few and change rarely, but models on other threads may hold some: a short
// spin lock, which needs no threads library on any platform.
std::atomic_flag groupsLock = ATOMIC_FLAG_INIT;

class GroupsLock {
public:
    GroupsLock() {
        while (groupsLock.test_and_set(std::memory_order_acquire)) {
        }
    }
    GroupsLock(const GroupsLock&) = delete;
    GroupsLock& operator=(const GroupsLock&) = delete;
    ~GroupsLock() { groupsLock.clear(std::memory_order_release); }
};

std::unordered_map<const TevDerivedObjectDuplicateInfo*, TevDerivedDocumentsModel*>& groups() {
    static std::unordered_map<const TevDerivedObjectDuplicateInfo*, TevDerivedDocumentsModel*> held;
    return held;
}

} // namespace

InfoBuild::InfoBuild(const TevDerivedDocument* doc)
    : m_nested(std::any_of(infoBuilds().begin(), infoBuilds().end(),
                           [doc](const InfoBuildRecord& build) { return build.doc == doc; })) {
    infoBuilds().push_back({doc});
}

InfoBuild::~InfoBuild() {
    infoBuilds().pop_back();
}

TevDerivedDocumentsModel* modelOfGroup(const TevDerivedObjectDuplicateInfo* group) {
    const GroupsLock lock;
    const auto found = groups().find(group);
    return found != groups().end() ? found->second : nullptr;
}

void noteGroupHeld(const TevDerivedObjectDuplicateInfo* group, TevDerivedDocumentsModel* model) {
    const GroupsLock lock;
    if (model != nullptr) {
        groups()[group] = model;
    } else {
        groups().erase(group);
    }
}

KeepAlive::KeepAlive(TevDerivedDocument* doc)
    : m_operations(operationsUnderWay())
    , m_index(m_operations.size()) {
    m_operations.push_back({doc, nullptr, nullptr, false, false});
}

KeepAlive::KeepAlive(TevDerivedDocument* doc, Dying)
    : m_operations(operationsUnderWay())
    , m_index(m_operations.size()) {
    m_operations.push_back({doc, nullptr, nullptr, true, true});
}

KeepAlive::KeepAlive(TevDerivedObject* obj)
    : m_operations(operationsUnderWay())
    , m_index(m_operations.size()) {
    m_operations.push_back({nullptr, obj, nullptr, false, false});
}

KeepAlive::~KeepAlive() {
    const Operation operation = m_operations[m_index];
    m_operations.pop_back();
    if (!operation.disposalAsked || operation.dying) {
        return;
    }
    TevDerivedDocumentsFactory* factory = TevDerivedDocumentsModel::getFactory();
    if (!TEV_ASSERT(factory != nullptr, "pFact")) {
        return;
    }
    if (TevDerivedDocument* doc = operation.doc) {
        factory->disposeDocument(doc, operation.model);
    } else if (TevDerivedObject* obj = operation.obj) {
        factory->disposeObject(obj, operation.model);
    }
}

bool KeepAlive::gone() const {
    const Operation& mine = m_operations[m_index];
    if (mine.disposalAsked) {
        return true;
    }
    const void* subject = mine.doc != nullptr ? static_cast<const void*>(mine.doc)
                                              : static_cast<const void*>(mine.obj);
    const Operation* first = outermost(m_operations, subject);
    return first != nullptr && first->disposalAsked;
}

bool deferDisposal(TevDerivedDocument* doc, TevDerivedDocumentsModel* model) {
    return doc != nullptr && defer(doc, model);
}

bool deferDisposal(TevDerivedObject* obj, TevDerivedDocumentsModel* model) {
    return obj != nullptr && defer(obj, model);
}

void noteRegistryChange(const TevDerivedDocumentsModel* model, const DocumentNode* erased) {
    for (WalkRecord& walk : walksInProgress()) {
        if (walk.model == model) {
            ++walk.changes;
            walk.lastErased = erased;
        }
    }
}

RegistryWalk::RegistryWalk(const TevDerivedDocumentsModel* model)
    : m_walks(walksInProgress())
    , m_index(m_walks.size()) {
    m_walks.push_back({model, 0, nullptr});
}

RegistryWalk::~RegistryWalk() {
    m_walks.pop_back();
}

std::uint64_t RegistryWalk::changes() const {
    return m_walks[m_index].changes;
}

const DocumentNode* RegistryWalk::lastErased() const {
    return m_walks[m_index].lastErased;
}

} // namespace lumdd
