#include "TevDerivedDocumentsModel.h"

#include "DocManRows.h"
#include "QXRepositoryProxy/Prompts.h"
#include "Reentrancy.h"
#include "TevAssert.h"
#include "TevDerivedDocument.h"
#include "TevDerivedDocumentInfo.h"
#include "TevDerivedObject.h"
#include "TevDerivedObjectDuplicateInfo.h"
#include "TevFiles.h"
#include "TevProcessEvolutionManager.h"

#include <initializer_list>
#include <utility>

namespace {

bool contains(const TevArray<TevDerivedObject*>& objects, const TevDerivedObject* obj) {
    for (const TevDerivedObject* listed : objects) {
        if (listed == obj) {
            return true;
        }
    }
    return false;
}

// The units of the full file name of a document with `key` under `folder`: none
// without a file name.
long long fullFileNameLength(const TevDerivedDocKey& key, const TevString& folder) {
    if (key.m_fileName.isEmpty()) {
        return 0;
    }
    return static_cast<long long>(folder.length()) + key.m_relPath.length() +
           key.m_fileName.length();
}

} // namespace

TevDerivedDocumentsFactory* TevDerivedDocumentsModel::m_pFactory = nullptr;

void TevDerivedDocumentsFactory::reserved5() {}

void TevReportManager::reserved0() {}
void TevReportManager::reserved1() {}
void TevReportManager::reserved2() {}
void TevReportManager::reserved3() {}
void TevReportManager::reserved6() {}

TevDerivedDocumentsModel::TevDerivedDocumentsModel()
    : TevDerivedDocumentsModel(TevString()) {}

TevDerivedDocumentsModel::TevDerivedDocumentsModel(const TevString& pathToDerDocs)
    : m_pathToDerDocs(pathToDerDocs)
    , m_docManObjects(nullptr)
    , m_derDocsCachedA{false, false, false}
    , m_derDocsCachedB{false, false, false}
    , m_documentsManagerOpen(false)
    , m_hostFlag(false)
    , m_cacheOn(false)
    , m_detailsCacheValid(false) {}

TevDerivedDocumentsModel::~TevDerivedDocumentsModel() {
    resetDerivedDocs(TevDerDocEnums::eDocTypeAll);
    lumdd::forgetRows(this);
    // Objects leave their groups when they are destroyed, so what is left here are
    // groups of objects that live outside the registry.
    for (TevDerivedObjectDuplicateInfo*& group : m_duplicates) {
        lumdd::noteGroupHeld(group, nullptr);
        delete group;
        group = nullptr;
    }
    m_duplicates.setLength(0);
}

void TevDerivedDocumentsModel::reserved1() {}
void TevDerivedDocumentsModel::reserved2() {}
void TevDerivedDocumentsModel::reserved3() {}
void TevDerivedDocumentsModel::reserved4() {}
void TevDerivedDocumentsModel::reserved5() {}
void TevDerivedDocumentsModel::reserved6() {}
void TevDerivedDocumentsModel::reserved7() {}
void TevDerivedDocumentsModel::reserved8() {}
void TevDerivedDocumentsModel::reserved9() {}
void TevDerivedDocumentsModel::reserved10() {}
void TevDerivedDocumentsModel::reserved12() {}
void TevDerivedDocumentsModel::reserved15() {}
void TevDerivedDocumentsModel::reserved16() {}
void TevDerivedDocumentsModel::reserved22() {}
void TevDerivedDocumentsModel::reserved24() {}
void TevDerivedDocumentsModel::reserved26() {}
void TevDerivedDocumentsModel::reserved27() {}
void TevDerivedDocumentsModel::reserved28() {}
void TevDerivedDocumentsModel::reserved29() {}
void TevDerivedDocumentsModel::reserved30() {}
void TevDerivedDocumentsModel::reserved31() {}
void TevDerivedDocumentsModel::reserved32() {}
void TevDerivedDocumentsModel::reserved33() {}
void TevDerivedDocumentsModel::reserved34() {}
void TevDerivedDocumentsModel::reserved35() {}
void TevDerivedDocumentsModel::reserved36() {}
void TevDerivedDocumentsModel::reserved37() {}
void TevDerivedDocumentsModel::beginCheckDerivedObjects() {}
void TevDerivedDocumentsModel::endCheckDerivedObjects() {}
void TevDerivedDocumentsModel::reserved40() {}
void TevDerivedDocumentsModel::reserved41() {}
void TevDerivedDocumentsModel::reserved44() {}
void TevDerivedDocumentsModel::reserved45() {}
void TevDerivedDocumentsModel::reserved46() {}
void TevDerivedDocumentsModel::reserved47() {}

void TevDerivedDocumentsModel::enableCache() {
    disableAndDeleteCache();
    m_cacheOn = true;
}

void TevDerivedDocumentsModel::disableAndDeleteCache() {
    m_cacheOn = false;
}

void TevDerivedDocumentsModel::setFactory(TevDerivedDocumentsFactory* factory) {
    m_pFactory = factory;
}

TevDerivedDocumentsFactory* TevDerivedDocumentsModel::getFactory() {
    return m_pFactory;
}

TevString TevDerivedDocumentsModel::getPathToDerDocs() const {
    return m_pathToDerDocs;
}

TevDerivedDocumentsModel::DocumentTable TevDerivedDocumentsModel::getDerivedDocs() {
    return m_docs;
}

void TevDerivedDocumentsModel::getDerivedDocs(TevArray<TevDerivedDocument*>& docs) {
    docs.setLength(0);
    docs.reserveForAppends(m_docs.size()); // the registry holds no null document
    for (const auto* node = m_docs.first(); node != nullptr; node = m_docs.next(node)) {
        if (node->value() != nullptr) {
            docs.append(node->value());
        }
    }
}

TevDerivedDocument* TevDerivedDocumentsModel::addBomDoc(const StructProjReport& report, bool update,
                                                        bool checkFile, bool resetStatus) {
    if (report.m_filePath.isEmpty()) {
        return nullptr;
    }
    TevReportManager* reportManager = getReportManager();
    if (reportManager == nullptr || m_pFactory == nullptr) {
        return nullptr;
    }
    const int dstv = reportManager->isDstvReport(report);
    return registerDocument(m_pFactory->createBomDocument(this, report, dstv), update, checkFile,
                            resetStatus, resetStatus);
}

TevDerivedDocument* TevDerivedDocumentsModel::addNCDoc(const TevString& path,
                                                       TevDerDocEnums::eDocSubType subType,
                                                       const TevString& ncName, bool ncFlag,
                                                       bool update, bool checkFile,
                                                       bool resetStatus) {
    if (path.isEmpty() || m_pFactory == nullptr) {
        return nullptr;
    }
    return registerDocument(m_pFactory->createNCDocument(this, path, subType, ncName, ncFlag),
                            update, checkFile, resetStatus, resetStatus);
}

TevDerivedDocument* TevDerivedDocumentsModel::addDetailDoc(std::int64_t id, const TevString& path,
                                                           bool update, bool checkFile,
                                                           bool resetStatus) {
    if (m_pFactory == nullptr || path.isEmpty()) {
        return nullptr;
    }
    // A detail registered before keeps the statuses of its objects.
    return registerDocument(m_pFactory->createDetailDocument(this, id, path), update, checkFile,
                            resetStatus, false);
}

TevDerivedDocument* TevDerivedDocumentsModel::registerDocument(TevDerivedDocument* doc, bool update,
                                                               bool checkFile, bool resetStatus,
                                                               bool resetStatusWhenRegistered) {
    if (doc == nullptr) {
        return nullptr; // the factory could not create the document
    }
    if (!TEV_ASSERT(doc->m_model == this || doc->m_model == nullptr, "doc->getModel() == this")) {
        return nullptr; // another model's document: not this registry's to keep or dispose of
    }
    const DocumentTable::Node* registered = m_docs.find(doc->m_key);
    if (registered != nullptr && registered->value() == doc) {
        TevAssert::tevAssert("doc not registered yet", __FILE__, __LINE__);
        return doc; // the factory handed back a registered document: it stays as it is
    }
    if (registered == nullptr) {
        int added = 0;
        {
            const lumdd::KeepAlive keep(doc);
            added = doc->addAllDerivedObjects(update, false, checkFile, resetStatus);
            if (keep.gone()) {
                return nullptr; // the host let it go meanwhile: disposed of on the way out
            }
        }
        if (added == 0) {
            disposeDocument(doc);
            return nullptr;
        }
        // A new document is filed under its own key (the node keeps a copy).
        if (lumdd::fileInRegistry(this, m_docs, doc, doc->m_key)) {
            return doc;
        }
        // Registered meanwhile by the host, or no memory for the node; the disposal may
        // take out what is registered, so the key is looked up again after it.
        const TevDerivedDocKey key = doc->m_key;
        disposeDocument(doc);
        registered = m_docs.find(key);
        return registered != nullptr ? registered->value() : nullptr;
    }
    // Only a document met again needs a copy of its key: it goes before the key is used.
    const TevDerivedDocKey key = doc->m_key;
    disposeDocument(doc);
    registered = m_docs.find(key); // the disposal may have taken it out
    TevDerivedDocument* earlier = registered != nullptr ? registered->value() : nullptr;
    if (earlier != nullptr) {
        const lumdd::KeepAlive keep(earlier);
        const int added =
            earlier->addAllDerivedObjects(update, true, checkFile, resetStatusWhenRegistered);
        if (keep.gone()) {
            return nullptr; // the host let it go meanwhile: disposed of on the way out
        }
        if (added != 0) {
            return earlier;
        }
    }
    if (m_docs.find(key) != nullptr) {
        removeDoc(key);
    }
    return nullptr;
}

void TevDerivedDocumentsModel::disposeDocument(TevDerivedDocument*& doc) {
    if (doc == nullptr || lumdd::deferDisposal(doc, this)) {
        return; // an operation on it is under way: it goes when that returns
    }
    if (TEV_ASSERT(m_pFactory != nullptr, "pFact")) {
        m_pFactory->disposeDocument(doc, this);
    }
}

bool TevDerivedDocumentsModel::matchesType(const DocumentTable::Node* node,
                                           TevDerDocEnums::eDocType type) {
    // The node's key is a copy of its document's key, so no key is copied per visit.
    return type == TevDerDocEnums::eDocTypeAll || node->key().m_type == type;
}

TevDerivedDocument* TevDerivedDocumentsModel::getAt(std::int64_t id,
                                                    TevDerDocEnums::eDocType type) {
    for (const auto* node = m_docs.first(); node != nullptr; node = m_docs.next(node)) {
        TevDerivedDocument* doc = node->value();
        if (doc != nullptr && matchesType(node, type) && node->key().m_id == id) {
            return doc;
        }
    }
    return nullptr;
}

TevDerivedDocument* TevDerivedDocumentsModel::getAt(const TevString& name,
                                                    TevDerDocEnums::eDocType type) {
    for (const auto* node = m_docs.first(); node != nullptr; node = m_docs.next(node)) {
        TevDerivedDocument* doc = node->value();
        if (doc == nullptr || !matchesType(node, type)) {
            continue;
        }
        // Letter case folds unit for unit, so only a full file name of as many units as
        // `name` can match: that spares building the full file name of every document
        // the walk passes. A document of another model is under another folder.
        const bool mayMatch = doc->getModel() != this ||
                              fullFileNameLength(node->key(), m_pathToDerDocs) == name.length();
        if (TevString::compareNoCase(node->key().m_fileName, name) == 0 ||
            (mayMatch && TevString::compareNoCase(doc->getFullFileName(), name) == 0)) {
            return doc;
        }
    }
    return nullptr;
}

bool TevDerivedDocumentsModel::removeDoc(const TevDerivedDocKey& key) {
    DocumentTable::Node* node = m_docs.find(key);
    if (!TEV_ASSERT(node != nullptr, "0")) {
        return false;
    }
    if (!TEV_ASSERT(m_pFactory != nullptr, "pFact")) {
        return false; // without a factory the document cannot be let go of
    }
    removeNode(node);
    return true;
}

void TevDerivedDocumentsModel::removeNode(DocumentTable::Node* node) {
    // Out of the registry first: nothing the disposal calls can reach the node again.
    TevDerivedDocument* doc = node->value();
    lumdd::eraseFromRegistry(this, m_docs, node);
    if (doc != nullptr && !lumdd::deferDisposal(doc, this)) {
        m_pFactory->disposeDocument(doc, this);
    }
}

TevDerDocEnums::ErrorStatus TevDerivedDocumentsModel::unregistDoc(const TevDerivedDocKey& key) {
    const DocumentTable::Node* node = m_docs.find(key);
    if (node == nullptr || node->value() == nullptr) {
        return TevDerDocEnums::eStatusFailed;
    }
    if (!TEV_ASSERT(m_pFactory != nullptr, "pFact")) {
        return TevDerDocEnums::eStatusFailed;
    }
    TevDerivedDocument* doc = node->value();
    int deregistered = 0;
    bool letGo = false;
    {
        // The host may let the document go while it deregisters it (withdrawReport); it
        // then goes when its deregistration returns, and is not removed a second time.
        const lumdd::KeepAlive keep(doc);
        deregistered = doc->deregistFromModel();
        letGo = keep.gone();
    }
    if (!letGo) {
        removeDoc(key);
    }
    return deregistered != 0 ? TevDerDocEnums::eStatusOk : TevDerDocEnums::eStatusFailed;
}

void TevDerivedDocumentsModel::derivedDocFileNameChanged(const TevDerivedDocKey& oldKey,
                                                         const TevString& newPath,
                                                         const TevString& other) {
    DocumentTable::Node* node = m_docs.find(oldKey);
    if (node == nullptr) {
        return;
    }
    TevDerivedDocument* doc = node->value();
    lumdd::eraseFromRegistry(this, m_docs, node);
    if (doc == nullptr) {
        return;
    }
    doc->fileNameChanged(newPath, other);
    const bool filed = lumdd::fileInRegistry(this, m_docs, doc, doc->m_key);
    doc->removeDocManInformations(m_docManObjects);
    if (!filed) {
        // Another document holds the new key already: this one would be lost.
        disposeDocument(doc);
    }
}

void TevDerivedDocumentsModel::resetDerivedDocs(TevDerDocEnums::eDocType type) {
    if (m_pFactory == nullptr) {
        TEV_ASSERT(m_docs.size() == 0, "m_docs.size() == 0");
        return;
    }
    // Each document leaves the registry before the factory disposes of it. A reset of all
    // goes on from the front when a disposal changed the registry otherwise, so that it
    // still ends empty; a factory uninstalled meanwhile leaves the rest registered.
    const bool all = type == TevDerDocEnums::eDocTypeAll;
    takeOutRowsOf(type);
    lumdd::walkRegistry(this, m_docs, all, [&](DocumentTable::Node* node, const auto&) {
        if (m_pFactory == nullptr || (!all && node->key().m_type != type)) {
            return;
        }
        removeNode(node);
    });
    if (all) {
        if (!TEV_ASSERT(m_pFactory != nullptr, "pFact")) {
            return;
        }
        resetDerDocsCache();
        resetDetailsCache();
        return;
    }
    if (!TEV_ASSERT(type >= TevDerDocEnums::eDocTypeDetail && type <= TevDerDocEnums::eDocTypeNC,
                    "false")) {
        return;
    }
    m_derDocsCachedA[type] = false;
    m_derDocsCachedB[type] = false;
}

void TevDerivedDocumentsModel::takeOutRowsOf(TevDerDocEnums::eDocType type) {
    if (m_docManObjects == nullptr || m_docManObjects->isEmpty()) {
        return;
    }
    TevArray<TevDerivedObject*> leaving;
    for (const auto* node = m_docs.first(); node != nullptr; node = m_docs.next(node)) {
        const TevDerivedDocument* doc = node->value();
        if (doc != nullptr && (type == TevDerDocEnums::eDocTypeAll || node->key().m_type == type)) {
            leaving.appendArray(doc->m_derivedObjects);
        }
    }
    lumdd::takeOutRows(this, *m_docManObjects, leaving, m_documentsManagerOpen);
}

void TevDerivedDocumentsModel::resetDerDocsCache() {
    for (int type = 0; type < 3; ++type) {
        m_derDocsCachedA[type] = false;
        m_derDocsCachedB[type] = false;
    }
}

void TevDerivedDocumentsModel::resetDetailsCache() {
    m_detailsCacheTable1.removeAll();
    m_detailsCacheList.setLength(0);
    m_detailsCacheTable2.removeAll();
    m_detailsCacheTable3.removeAll();
    m_detailsCacheValid = false;
}

bool TevDerivedDocumentsModel::isCacheOn() {
    return m_cacheOn;
}

int TevDerivedDocumentsModel::setDocManObjects(TevArray<TevDocManObject>* table) {
    m_docManObjects = table;
    lumdd::forgetRows(this);
    if (table != nullptr) {
        return 1;
    }
    for (const auto* node = m_docs.first(); node != nullptr; node = m_docs.next(node)) {
        if (node->value() != nullptr) {
            node->value()->removeFromTable();
        }
    }
    return 0;
}

TevArray<TevDocManObject>* TevDerivedDocumentsModel::getDocManObjects() {
    return m_docManObjects;
}

void TevDerivedDocumentsModel::setDocumentsManagerOpen(bool open) {
    m_documentsManagerOpen = open;
    if (open || m_docManObjects == nullptr) {
        return;
    }
    lumdd::eraseRowsIf(*m_docManObjects, 0,
                       [](const TevDocManObject& row) { return row.m_removed; });
}

bool TevDerivedDocumentsModel::isDocumentsManagerOpen() const {
    return m_documentsManagerOpen;
}

void TevDerivedDocumentsModel::appendDuplicateObjects(const TevArray<TevDerivedObject*>& objects) {
    if (objects.length() < 2 || objects[0] == nullptr) {
        return;
    }
    TevArray<TevDerivedObject*> members;
    for (TevDerivedObject* obj : objects) {
        if (obj != nullptr && !contains(members, obj)) {
            members.append(obj);
        }
    }
    if (members.length() < 2) {
        return; // one object, however often it is named, is no set of duplicates
    }
    TevDerivedObjectDuplicateInfo* group = objects[0]->getDuplicateInfo();
    const bool created = group == nullptr;
    if (created) {
        group = new TevDerivedObjectDuplicateInfo(members);
    }
    // The group is listed before any object points at it: when the list cannot grow,
    // nothing has changed yet and a new group is dropped, not left unowned.
    if (indexOfGroup(group) < 0 && m_duplicates.append(group) < 0) {
        if (created) {
            delete group;
        }
        return;
    }
    lumdd::noteGroupHeld(group, this);
    // A member of another group leaves it first, so that no group is left pointing at
    // an object that points elsewhere.
    for (TevDerivedObject* obj : members) {
        if (obj->getDuplicateInfo() != nullptr && obj->getDuplicateInfo() != group) {
            removeObjectFromDuplicate(obj);
        }
    }
    // Only a listed member points at the group: one whose entry could not be had stays
    // in no group, and a group left below two members dissolves.
    for (TevDerivedObject* obj : members) {
        if (!group->hasObject(obj)) {
            group->appendObject(obj);
        }
        if (group->hasObject(obj)) {
            obj->setDuplicateInfo(group);
        }
    }
    if (!group->objectsAreDuplicated()) {
        m_duplicates.removeAt(indexOfGroup(group));
        lumdd::noteGroupHeld(group, nullptr);
        delete group;
    }
}

void TevDerivedDocumentsModel::removeObjectFromDuplicate(TevDerivedObject* obj) {
    if (obj == nullptr) {
        return;
    }
    TevDerivedObjectDuplicateInfo* group = obj->getDuplicateInfo();
    const int index = indexOfGroup(group);
    if (index < 0) {
        return;
    }
    group->removeObject(obj);
    if (group->objectsAreDuplicated()) {
        return;
    }
    lumdd::noteGroupHeld(group, nullptr);
    delete group;
    m_duplicates.removeAt(index);
}

void TevDerivedDocumentsModel::derivedObjectDeleted(TevDerivedObject* obj) {
    if (obj != nullptr && obj->getDuplicateInfo() != nullptr) {
        removeObjectFromDuplicate(obj);
    }
}

const TevArray<TevDerivedObjectDuplicateInfo*>& TevDerivedDocumentsModel::getDuplicates() const {
    return m_duplicates;
}

int TevDerivedDocumentsModel::indexOfGroup(const TevDerivedObjectDuplicateInfo* group) const {
    if (group == nullptr) {
        return -1;
    }
    for (int index = 0; index < m_duplicates.length(); ++index) {
        if (m_duplicates[index] == group) {
            return index;
        }
    }
    return -1;
}

void TevDerivedDocumentsModel::getDerivedDocsOfType(TevArray<TevDerivedDocument*>& docs,
                                                    TevDerDocEnums::eDocType type) {
    docs.setLength(0);
    addDerivedDocs(type, false);
    TevArray<TevDerivedDocument*> matching;
    matching.setPhysicalLength(m_docs.size());
    for (const auto* node = m_docs.first(); node != nullptr; node = m_docs.next(node)) {
        if (node->value() != nullptr && matchesType(node, type)) {
            matching.append(node->value());
        }
    }
    docs.appendArray(matching);
}

void TevDerivedDocumentsModel::getDerivedObjectsOfType(TevArray<TevDerivedObject*>& objects,
                                                       TevDerDocEnums::eDocType type) {
    objects.setLength(0);
    TevArray<TevDerivedDocument*> docs;
    getDerivedDocsOfType(docs, type);
    TevArray<TevDerivedObject*> scratch;
    TevArray<TevDerivedObject*> collected;
    for (const TevDerivedDocument* doc : docs) {
        if (doc == nullptr) {
            continue;
        }
        doc->getDerivedObjects(scratch, type);
        for (TevDerivedObject* obj : scratch) {
            collected.append(obj);
        }
    }
    objects.appendArray(collected);
}

void TevDerivedDocumentsModel::addDerivedDocs(TevDerDocEnums::eDocType type, bool check) {
    TevArray<TevDerivedDocument*> docs;
    addDerivedDocs(type, check, docs);
}

void TevDerivedDocumentsModel::addDerivedDocs(TevDerDocEnums::eDocType type, bool check,
                                              TevArray<TevDerivedDocument*>& docs) {
    if (check) {
        beginCheckDerivedObjects();
    }
    const bool all = type == TevDerDocEnums::eDocTypeAll;
    if (all || type == TevDerDocEnums::eDocTypeDetail) {
        addDerivedDetailDocs(check, docs);
    }
    if (all || type == TevDerDocEnums::eDocTypeBom) {
        addDerivedBomDocs(check, docs);
    }
    if (all || type == TevDerDocEnums::eDocTypeNC) {
        addDerivedNCDocs(check, docs);
    }
    TevArray<TevDerivedObject*> objects; // one list for the whole walk
    lumdd::walkRegistry(this, m_docs, false, [&](DocumentTable::Node* node, const auto&) {
        TevDerivedDocument* doc = node->value();
        if (doc == nullptr || !matchesType(node, type)) {
            return;
        }
        doc->getDerivedObjects(objects, TevDerDocEnums::eDocTypeAll);
        if (objects.isEmpty()) {
            const lumdd::KeepAlive keep(doc);
            doc->addAllDerivedObjects(check, false, false, false);
        }
    });
    if (check) {
        endCheckDerivedObjects();
    }
}

void TevDerivedDocumentsModel::checkHasUpdReqForDerivedDocs(TevDerDocEnums::eDocType type,
                                                            bool withProgress) {
    TevProcessEvolutionManager* manager = nullptr;
    int progressKey = 0;
    if (withProgress) {
        manager = TevProcessEvolutionManager::getProcessEvolutionManager();
        if (TEV_ASSERT(manager != nullptr, "pManager")) {
            progressKey = manager->getKeyForAction(Prompts::getPrompt(u"GUI", 45033));
        }
    }
    prepareCheckHasUpdReq(type);
    const long long count = m_docs.size();
    long long visited = 0;
    lumdd::walkRegistry(this, m_docs, false, [&](DocumentTable::Node* node, const auto&) {
        ++visited;
        TevDerivedDocument* doc = node->value();
        if (doc != nullptr && matchesType(node, type)) {
            const lumdd::KeepAlive keep(doc);
            doc->addAllDerivedObjects(false, true, false, false);
        }
        // A manager the host took down meanwhile is not reached again.
        if (manager != nullptr &&
            manager == TevProcessEvolutionManager::getProcessEvolutionManager()) {
            manager->increaseProgress(progressKey, static_cast<int>(10 * visited / count));
        }
    });
}

void TevDerivedDocumentsModel::deleteMissingFileDocs(TevDerDocEnums::eDocType type) {
    if (!TEV_ASSERT(m_pFactory != nullptr, "pFact")) {
        return; // documents without files could not be let go of
    }
    lumdd::walkRegistry(this, m_docs, false, [&](DocumentTable::Node* node, const auto& walk) {
        TevDerivedDocument* doc = node->value();
        if (doc == nullptr || !matchesType(node, type) ||
            tevFileExists(doc->getFullFileName()) != 0) {
            return;
        }
        const auto before = walk.changes();
        const lumdd::KeepAlive keep(doc);
        doc->setObsolete();
        // The host may have let the document go itself, when it withdrew its report.
        if (walk.changes() == before && TEV_ASSERT(m_pFactory != nullptr, "pFact")) {
            removeNode(node);
        }
    });
}

void TevDerivedDocumentsModel::modifiedExternallyAt(std::int64_t id) {
    if (TevDerivedDocument* doc = getAt(id, TevDerDocEnums::eDocTypeAll)) {
        doc->reset();
    }
}

TevArray<TevDerivedDwgNo> TevDerivedDocumentsModel::collectDrawingNumbers() {
    TevArray<TevDerivedDwgNo> drawings;
    TevArray<TevDerivedDocument*> details;
    getDerivedDocsOfType(details, TevDerDocEnums::eDocTypeDetail);
    drawings.setPhysicalLength(details.length());
    // Building an info calls the host, which may let documents go: the list is trusted
    // only while the registry lost at most the document just asked.
    const lumdd::RegistryWalk walk(this);
    for (TevDerivedDocument* doc : details) {
        if (doc == nullptr) {
            continue;
        }
        const auto before = walk.changes();
        const lumdd::KeepAlive keep(doc);
        const TevDerivedDocumentInfo* info = doc->getInfo();
        if (walk.changes() != before) {
            if (walk.changes() - before == 1 && keep.gone()) {
                continue; // the host let this document go
            }
            TevAssert::tevAssert(lumdd::kRegistryChangedDuringWalk, __FILE__, __LINE__);
            break;
        }
        if (info == nullptr) {
            continue;
        }
        const TevString fileName = doc->getFileName();
        TevString number, prefix;
        info->getDwgNo(number, prefix);
        if (number.isEmpty() && prefix.isEmpty()) {
            continue;
        }
        drawings.append(TevDerivedDwgNo(fileName, doc->getFullFileName(), number, prefix));
    }
    return drawings;
}

void TevDerivedDocumentsModel::getAllDerivedDetailDrawingNumbers(
    TevArray<TevString>& prefixes, TevArray<TevString>& numbers, TevArray<TevString>& fileNames,
    TevArray<TevString>& fullFileNames) {
    prefixes.setLength(0);
    numbers.setLength(0);
    fileNames.setLength(0);
    fullFileNames.setLength(0);
    const TevArray<TevDerivedDwgNo> drawings = collectDrawingNumbers();
    for (TevArray<TevString>* list : {&prefixes, &numbers, &fileNames, &fullFileNames}) {
        list->reserveForAppends(drawings.length());
    }
    TevString text;
    for (const TevDerivedDwgNo& drawing : drawings) {
        drawing.getDwgNoPrefix(text);
        prefixes.append(text);
        drawing.getDwgNo(text);
        numbers.append(text);
        drawing.getFileName(text);
        fileNames.append(text);
        drawing.getFullFileName(text);
        fullFileNames.append(text);
    }
}

void TevDerivedDocumentsModel::getAllDerivedDetailDrawingNumbers(
    TevHashTable<int, TevDerivedDwgNo>& byNumber, TevHashTable<TevString, TevDerivedDwgNo>& byText,
    TevHashSet<TevString>& fullFileNames, TevArray<TevString>& prefixes,
    TevArray<TevString>& numbers, TevArray<TevString>& fileNames) {
    prefixes.setLength(0);
    numbers.setLength(0);
    fileNames.setLength(0);
    const TevArray<TevDerivedDwgNo> drawings = collectDrawingNumbers();
    for (TevArray<TevString>* list : {&prefixes, &numbers, &fileNames}) {
        list->reserveForAppends(drawings.length());
    }
    TevString prefix, number, fileName, fullFileName;
    for (const TevDerivedDwgNo& drawing : drawings) {
        drawing.getDwgNoPrefix(prefix);
        drawing.getDwgNo(number);
        drawing.getFileName(fileName);
        drawing.getFullFileName(fullFileName);
        const int numberKey = number.toInteger();
        TevString textKey = prefix;
        textKey.toUpper();
        TevString digits;
        digits.format(u"%d", numberKey);
        textKey += digits;
        byNumber.insert(numberKey, drawing);
        byText.insert(textKey, drawing);
        fullFileNames.insert(fullFileName);
        prefixes.append(prefix);
        numbers.append(number);
        fileNames.append(fileName);
    }
}
