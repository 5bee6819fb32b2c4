// Internal: what keeps the library sound while the host calls back into it from the
// callbacks the library makes.
//
// Deferred disposal. While a library operation on a document or an object calls the
// host, the host may ask for that very document or object to go. It is unlinked at once
// (out of the registry, its document's list and the table) and answers nothing more to
// lookups, but the factory disposes of it only when the outermost operation on it has
// returned. An operation holds a KeepAlive for what it works on.
//
// Registry walks. A walk keeps the node it is on and the one after it across its host
// calls. That is sound only while the registry does not change, or loses just the node
// being visited (a host may let a document go from one of its own callbacks). Every
// change the library makes to a registry is therefore counted in the walks over it in
// progress on this thread, with the node it erased, and a walk checks the count after
// each visit.
#ifndef LUM_REENTRANCY_H
#define LUM_REENTRANCY_H

#include "TevAssert.h"
#include "TevDerivedDocumentsModel.h"
#include "TevDerivedObject.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumdd {

// Reported when a host call changed a registry during a walk other than by taking out
// the document being visited. The walk does not go on over nodes that may be gone.
inline constexpr const char* kRegistryChangedDuringWalk =
    "registry changed during a walk beyond the visited document";

// Reported when a host callback made while a document builds its infos asks for them
// again, which would recurse without end; the inner request builds nothing.
inline constexpr const char* kInfoBuiltWhileBuilding = "infos not asked for while they are built";

// Reported when something already unlinked and awaiting its disposal is to be disposed
// of again: the second disposal is not done.
inline constexpr const char* kDisposedTwice = "not disposed of already";

using DocumentTable = TevDerivedDocumentsModel::DocumentTable;
using DocumentNode = DocumentTable::Node;

struct Operation;
struct WalkRecord;

// Keeps a document or an object from being disposed of while it lives; see above.
class KeepAlive {
public:
    enum Dying { kDying };
    explicit KeepAlive(TevDerivedDocument* doc);
    explicit KeepAlive(TevDerivedObject* obj);
    // For the destructor of `doc`: a disposal asked for meanwhile is reported as the
    // second one it is, and none is done.
    KeepAlive(TevDerivedDocument* doc, Dying);
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;
    // The outermost KeepAlive of something whose disposal was asked for meanwhile
    // disposes of it through the factory.
    ~KeepAlive();

    // Whether the disposal of the subject was asked for since the outermost KeepAlive
    // of it began: it is unlinked, and the operation answers failure instead of going on.
    bool gone() const;

private:
    std::vector<Operation>& m_operations; // This thread's, looked up once.
    std::size_t m_index;                  // Of this KeepAlive's record in the stack of operations.
};

// Keeps an object and its document from being disposed of while an operation on the
// object calls the host; gone() when either was let go of meanwhile.
class KeepObject {
public:
    explicit KeepObject(TevDerivedObject* obj)
        : m_doc(obj->getDerivedDoc())
        , m_obj(obj) {}
    bool gone() const { return m_obj.gone() || m_doc.gone(); }

private:
    KeepAlive m_doc; // Outlives m_obj: the document disposes of its objects.
    KeepAlive m_obj;
};

// Instead of the factory's disposeDocument or disposeObject: defers the disposal when an
// operation on `subject` is under way and answers true; answers false when the caller
// is to dispose of it now. Reports kDisposedTwice, and answers true, when the subject
// already awaits its disposal.
bool deferDisposal(TevDerivedDocument* doc, TevDerivedDocumentsModel* model);
bool deferDisposal(TevDerivedObject* obj, TevDerivedDocumentsModel* model);

// Marks a document's infos as being built; nested() when they were already.
class InfoBuild {
public:
    explicit InfoBuild(const TevDerivedDocument* doc);
    InfoBuild(const InfoBuild&) = delete;
    InfoBuild& operator=(const InfoBuild&) = delete;
    ~InfoBuild();
    bool nested() const { return m_nested; }

private:
    bool m_nested;
};

// The model holding duplicate group `group`, or null. An object leaving its group finds
// the model through it, never through a document that may be gone already.
TevDerivedDocumentsModel* modelOfGroup(const TevDerivedObjectDuplicateInfo* group);
// Records that `model` holds `group` from now on, or, for a null model, no longer.
void noteGroupHeld(const TevDerivedObjectDuplicateInfo* group, TevDerivedDocumentsModel* model);

// Counts one change to the registry of `model` in every walk over it in progress:
// `erased` is the node taken out, or null for any other change.
void noteRegistryChange(const TevDerivedDocumentsModel* model, const DocumentNode* erased);

// Every change the library makes to the registry `docs` of `model` goes through these,
// so that the walks over it in progress count it.
inline void eraseFromRegistry(const TevDerivedDocumentsModel* model, DocumentTable& docs,
                              DocumentNode* node) {
    noteRegistryChange(model, node);
    docs.erase(node);
}
inline bool fileInRegistry(const TevDerivedDocumentsModel* model, DocumentTable& docs,
                           TevDerivedDocument* doc, const TevDerivedDocKey& key) {
    const bool inserted = docs.insert(key, doc).second;
    if (inserted) {
        noteRegistryChange(model, nullptr);
    }
    return inserted;
}

// One walk in progress over the registry of a model; walks nest.
class RegistryWalk {
public:
    explicit RegistryWalk(const TevDerivedDocumentsModel* model);
    RegistryWalk(const RegistryWalk&) = delete;
    RegistryWalk& operator=(const RegistryWalk&) = delete;
    ~RegistryWalk();

    // The changes counted since the walk began.
    std::uint64_t changes() const;
    // The node the last counted change erased, or null.
    const DocumentNode* lastErased() const;

private:
    std::vector<WalkRecord>& m_walks; // This thread's, looked up once.
    std::size_t m_index;              // Of this walk's record, which outlives nested walks.
};

// Visits the nodes of `docs`, the registry of `model`, in registry order with
// `visit(node, walk)`, which may call the host and may take out the node it is given.
// After any other change the walk reports kRegistryChangedDuringWalk and then either
// ends or, with `restart`, goes on from the first node left.
template <class Visit>
void walkRegistry(const TevDerivedDocumentsModel* model, DocumentTable& docs, bool restart,
                  Visit visit) {
    const RegistryWalk walk(model);
    for (DocumentNode* node = docs.first(); node != nullptr;) {
        DocumentNode* const following = docs.next(node);
        const std::uint64_t before = walk.changes();
        visit(node, walk);
        const std::uint64_t changes = walk.changes() - before;
        if (changes == 0 || (changes == 1 && walk.lastErased() == node)) {
            node = following;
            continue;
        }
        TevAssert::tevAssert(kRegistryChangedDuringWalk, __FILE__, __LINE__);
        if (!restart) {
            return;
        }
        node = docs.first();
    }
}

} // namespace lumdd

#endif // LUM_REENTRANCY_H
