#include "TevDerivedDocument.h"

#include "Reentrancy.h"
#include "TevAssert.h"
#include "TevDerivedDocumentInfo.h"
#include "TevDerivedDocumentsModel.h"
#include "TevDerivedObject.h"
#include "TevFiles.h"

#include <utility>

TevDerivedDocument::TevDerivedDocument(TevDerivedDocumentsModel* model,
                                       TevDerDocEnums::eDocType type,
                                       TevDerDocEnums::eDocSubType subType)
    : m_model(model)
    , m_hasDerObjWithNoUpd(false)
    , m_modificationState(TevDerDocEnums::eModificationNone)
    , m_closedWithoutSave(0)
    , m_info(nullptr)
    , m_hasUpdReq(false)
    , m_checkDocFile(true)
    , m_reserved(0) {
    m_key.m_type = type;
    m_key.m_subType = subType;
    TEV_ASSERT(m_model != nullptr, "m_model");
}

TevDerivedDocument::~TevDerivedDocument() {
    // Being disposed of already: a host that asks for it again meanwhile is told so.
    const lumdd::KeepAlive dying(this, lumdd::KeepAlive::kDying);
    TevDerivedDocument::reset();
}

void TevDerivedDocument::addUpdOnlyDerivedObjects(bool, bool) {}

void TevDerivedDocument::fillDocManObjectData(TevDocManObject& row) {
    row.m_fileName = m_key.m_fileName;
    if (m_model != nullptr) {
        row.m_path = m_model->m_pathToDerDocs + m_key.m_relPath;
    }
    const TevDerivedDocumentInfo* built = getInfo();
    if (built == nullptr) {
        return;
    }
    const TevDerivedDocumentInfo& info = *built;
    row.m_prototypeName = info.getPrototypeName();
    TevString number, prefix;
    info.getDwgNo(number, prefix);
    row.m_fullDwgNo = prefix + number;
    row.m_approvalDate = info.getApprovalDate();
    row.m_approvalComment = info.getApprovalComment();
    row.m_checkStatus = info.getCheckStatus();
    row.m_revisions = info.getRevisions();
    row.m_lastRevIdx = info.getLastRevIdx();
    row.m_approvalStatusIndex = info.getApprovalStatusIndex();
    if (row.m_revisions.isEmpty()) {
        return;
    }
    // A revision holds at least five texts; a shorter one is reported per missing
    // entry, and the row keeps what it had there.
    const TevArray<TevString>& last = row.m_revisions.last();
    TevString* const entries[] = {&row.m_lastRevisionEntry2, &row.m_lastRevisionEntry1,
                                  &row.m_lastRevisionEntry3, &row.m_lastRevisionEntry4};
    const int indexes[] = {2, 1, 3, 4};
    for (int entry = 0; entry < 4; ++entry) {
        if (TEV_ASSERT(last.isValid(indexes[entry]), "isValid( index )")) {
            *entries[entry] = last[indexes[entry]];
        }
    }
}

void TevDerivedDocument::updateDocManInformations(TevArray<TevDocManObject>* table) {
    const lumdd::KeepAlive keep(this);
    getUpdateAllDerObjs(false);
    for (int index = 0; index < m_derivedObjects.length() && !keep.gone(); ++index) {
        if (TevDerivedObject* obj = m_derivedObjects[index]) {
            obj->updateDocManInformations(table);
        }
    }
}

void TevDerivedDocument::addDocManObjects(TevArray<TevDocManObject>* table) {
    if (table == nullptr) {
        return;
    }
    const lumdd::KeepAlive keep(this);
    for (int index = 0; index < m_derivedObjects.length() && !keep.gone(); ++index) {
        if (TevDerivedObject* obj = m_derivedObjects[index]) {
            obj->appendDocManObject(table, TevDerDocEnums::eDocSubTypeAll);
        }
    }
}

void TevDerivedDocument::removeDocManInformations(TevArray<TevDocManObject>* table) {
    if (table == nullptr) {
        return;
    }
    for (int index = 0; index < m_derivedObjects.length(); ++index) {
        if (TevDerivedObject* obj = m_derivedObjects[index]) {
            obj->removeDocManInformations(table);
        }
    }
}

void TevDerivedDocument::reset() {
    const lumdd::KeepAlive keep(this);
    TEV_ASSERT(TevDerivedDocumentsModel::getFactory() != nullptr, "pFact");
    // Each object leaves the list before it goes, so that nothing reached from a
    // disposal sees an entry of an object destroyed or on its way out.
    while (!m_derivedObjects.isEmpty()) {
        TevDerivedObject* obj = m_derivedObjects[0];
        m_derivedObjects.removeAt(0);
        disposeObject(obj);
    }
    m_modificationState = TevDerDocEnums::eModificationNone;
    m_closedWithoutSave = 0;
    resetInfo();
    m_hasUpdReq = false;
}

void TevDerivedDocument::reset(TevDerivedObject* obj, TevArray<TevDocManObject>* rows,
                               TevDerivedDocumentsFactory* factory) {
    if (obj == nullptr) {
        return;
    }
    if (rows == nullptr && m_model != nullptr) {
        rows = m_model->getDocManObjects();
    }
    if (factory == nullptr) {
        factory = TevDerivedDocumentsModel::getFactory();
    }
    if (rows != nullptr) {
        obj->removeDocManInformations(rows);
    }
    if (factory != nullptr && !lumdd::deferDisposal(obj, m_model)) {
        factory->disposeObject(obj, m_model);
    }
}

void TevDerivedDocument::disposeObject(TevDerivedObject* obj) {
    reset(obj, nullptr, nullptr);
}

void TevDerivedDocument::resetOldDocRef() {
    for (TevDerivedObject* obj : m_derivedObjects) {
        if (obj != nullptr) {
            obj->resetOldObjProxy();
        }
    }
}

void TevDerivedDocument::fileNameChanged(const TevString& newPath, const TevString&) {
    TevString drive, dir, name, ext;
    newPath.SplitPath(drive, dir, name, ext);
    m_key.m_fileName = name + ext;
    resetInfo();
}

void TevDerivedDocument::beginGetUpdateAllDerObjs() {}

void TevDerivedDocument::endGetUpdateAllDerObjs() {}

void TevDerivedDocument::reservedHostOperation1() {}

void TevDerivedDocument::reservedHostOperation2() {}

TevString TevDerivedDocument::getInitialFilename() {
    const TevDerivedDocumentInfo* info = getInfo();
    return info != nullptr ? info->getInitialFileName() : TevString();
}

int TevDerivedDocument::getDocumentApproval(TevDocumentApproval&) {
    return 0;
}

TevDerDocEnums::ErrorStatus TevDerivedDocument::setDocumentApprovalStatus(int) {
    return TevDerDocEnums::eStatusOk;
}

TevDerDocEnums::ErrorStatus TevDerivedDocument::setDocumentApprovalComment(const TevString&) {
    return TevDerDocEnums::eStatusNotSupported;
}

TevDerDocEnums::ErrorStatus TevDerivedDocument::changePrototype(int&) {
    return TevDerDocEnums::eStatusOk;
}

TevDerDocEnums::ErrorStatus TevDerivedDocument::renameDoc(const TevString&) {
    return TevDerDocEnums::eStatusNotSupported;
}

TevDerDocEnums::ErrorStatus TevDerivedDocument::setCheckDocumentStatus(int) {
    return TevDerDocEnums::eStatusOk;
}

bool TevDerivedDocument::checkDocumentStatus() {
    return true;
}

void TevDerivedDocument::setObsolete() {
    reset();
}

int TevDerivedDocument::deregistFromModel() {
    return 0;
}

void TevDerivedDocument::fillModelOnlyInfo(TevDerivedDocumentInfo*) {}

void TevDerivedDocument::refreshModelOnlyInfo(TevDerivedDocumentInfo*,
                                              TevDerDocEnums::eDerivedDocInfo) {}

TevDerivedDocKey TevDerivedDocument::getKey() const {
    return m_key;
}

TevDerivedDocumentsModel* TevDerivedDocument::getModel() const {
    return m_model;
}

bool TevDerivedDocument::addDerivedObject(TevDerivedObject* obj, bool checkExisting) {
    if (checkExisting && hasObject(obj)) {
        return false;
    }
    return m_derivedObjects.append(obj) >= 0;
}

void TevDerivedDocument::getDerivedObjects(TevArray<TevDerivedObject*>& out,
                                           TevDerDocEnums::eDocType type) const {
    if (type == TevDerDocEnums::eDocTypeAll) {
        if (&out != &m_derivedObjects) {
            out = m_derivedObjects;
        }
        return;
    }
    out.setLength(0);
    for (TevDerivedObject* obj : m_derivedObjects) {
        if (!TEV_ASSERT(obj != nullptr, "pObj")) {
            continue;
        }
        if (obj->getType() == type) {
            out.append(obj);
        }
    }
}

void TevDerivedDocument::derivedObjectsDeleted() {
    m_derivedObjects.setLength(0);
}

bool TevDerivedDocument::hasObject(TevDerivedObject* obj) {
    if (obj == nullptr) {
        return false;
    }
    const TevString handle = obj->getHandle();
    const std::int64_t id = obj->getId();
    for (const TevDerivedObject* listed : m_derivedObjects) {
        if (listed == nullptr || listed->getHandle() != handle) {
            continue;
        }
        if (!handle.isEmpty() || listed->getId() == id) {
            return true;
        }
    }
    return false;
}

int TevDerivedDocument::getIndexOf(const TevString& handle, int& index) const {
    for (int position = 0; position < m_derivedObjects.length(); ++position) {
        const TevDerivedObject* obj = m_derivedObjects[position];
        if (obj != nullptr && obj->getHandle() == handle) {
            index = position;
            return 1;
        }
    }
    return 0;
}

int TevDerivedDocument::deleteDerivedObject(int index) {
    if (!TEV_ASSERT(index >= 0 && index < m_derivedObjects.length(),
                    "index >= 0 && index < m_derivedObjects.length()")) {
        return 0;
    }
    TevDerivedObject* obj = m_derivedObjects[index];
    m_derivedObjects.removeAt(index);
    disposeObject(obj);
    return 1;
}

int TevDerivedDocument::deleteDerivedObject(TevDerivedObject* obj) {
    int found = 0;
    for (int index = 0; index < m_derivedObjects.length(); ++index) {
        if (m_derivedObjects[index] == obj) {
            m_derivedObjects.removeAt(index);
            found = 1;
            break;
        }
    }
    // An object this document neither lists nor owns is another document's to dispose of.
    if (found == 0 && obj != nullptr &&
        !TEV_ASSERT(obj->getDerivedDoc() == this, "obj->getDerivedDoc() == this")) {
        return 0;
    }
    disposeObject(obj);
    return found;
}

void TevDerivedDocument::setStatusOfDerObjects(TevDerDocEnums::ErrorStatus status) {
    for (TevDerivedObject* obj : m_derivedObjects) {
        if (obj != nullptr) {
            obj->setStatus(status);
        }
    }
}

void TevDerivedDocument::resetUpdOnlyDerivedObjects() {
    if (!m_hasUpdReq) {
        return;
    }
    for (int index = 0; index < m_derivedObjects.length();) {
        const TevDerivedObject* obj = m_derivedObjects[index];
        if (obj != nullptr && obj->isUpdOnlyObject()) {
            deleteDerivedObject(index); // the next object moves into this index
        } else {
            ++index;
        }
    }
}

void TevDerivedDocument::getUpdateAllDerObjs(bool onlyUpdOnly) {
    const lumdd::KeepAlive keep(this);
    const bool checked = checkDocumentStatus();
    if (keep.gone()) {
        return;
    }
    if (!checked) {
        setStatusOfDerObjects(TevDerDocEnums::eStatusUndetermined);
        return;
    }
    if (m_model != nullptr) {
        m_model->checkDerivedObjects(this, true, true);
    }
    beginGetUpdateAllDerObjs();
    for (int index = 0; index < m_derivedObjects.length() && !keep.gone(); ++index) {
        TevDerivedObject* obj = m_derivedObjects[index];
        if (obj != nullptr && (!onlyUpdOnly || obj->isUpdOnlyObject())) {
            obj->getUpdate();
        }
    }
    if (keep.gone()) {
        return;
    }
    endGetUpdateAllDerObjs();
    fillInfoAllDerObjs(false);
    if (m_model != nullptr && !keep.gone()) {
        m_model->derivedDocRefreshed(this);
    }
}

bool TevDerivedDocument::hasUpdReq() const {
    return m_hasUpdReq;
}

void TevDerivedDocument::setHasUpdReq(bool value) {
    if (value == m_hasUpdReq) {
        return;
    }
    const lumdd::KeepAlive keep(this);
    resetInfo();
    resetUpdOnlyDerivedObjects();
    m_hasUpdReq = value;
    addUpdOnlyDerivedObjects(false, false);
}

bool TevDerivedDocument::getHasDerObjWithNoUpd() const {
    return m_hasDerObjWithNoUpd;
}

void TevDerivedDocument::setHasDerObjWithNoUpd(bool value) {
    m_hasDerObjWithNoUpd = value;
}

TevDerDocEnums::ModificationState TevDerivedDocument::getModificationState() {
    return m_modificationState;
}

void TevDerivedDocument::setModificationState(TevDerDocEnums::ModificationState state) {
    m_modificationState = state;
    if (state == TevDerDocEnums::eModificationObsolete && m_model != nullptr) {
        m_model->derivedDocModified(state);
    }
}

int TevDerivedDocument::getClosedWithoutSave() const {
    return m_closedWithoutSave;
}

void TevDerivedDocument::setClosedWithoutSave(int value) {
    m_closedWithoutSave = value;
}

bool TevDerivedDocument::getCheckDocFile() const {
    return m_checkDocFile;
}

void TevDerivedDocument::setCheckDocFile(bool value) {
    m_checkDocFile = value;
}

int TevDerivedDocument::getGuiStatus(TevDerDocEnums::ErrorStatus status) {
    return TevDerDocEnums::displayCode(status);
}

int TevDerivedDocument::isCommandActive() {
    return m_model != nullptr ? m_model->isCommandActive(getFullFileName()) : 0;
}

TevString TevDerivedDocument::getFileName() const {
    return m_key.m_fileName;
}

TevString TevDerivedDocument::getFullFileName() const {
    if (m_key.m_fileName.isEmpty()) {
        return TevString();
    }
    if (m_model == nullptr) {
        return m_key.m_relPath + m_key.m_fileName;
    }
    return m_model->m_pathToDerDocs + m_key.m_relPath + m_key.m_fileName;
}

TevString TevDerivedDocument::getFullUpdFileName() const {
    TevString drive, dir, name, ext;
    getFullFileName().SplitPath(drive, dir, name, ext);
    return drive + dir + name + TevString(u".upd");
}

bool TevDerivedDocument::hasDocFile() const {
    return tevFileExists(getFullFileName()) != 0;
}

bool TevDerivedDocument::removeIfFileNotExists() {
    if (hasDocFile()) {
        return false;
    }
    const lumdd::KeepAlive keep(this);
    setObsolete();
    return true;
}

const TevDerivedDocumentInfo* TevDerivedDocument::getInfo() {
    const lumdd::KeepAlive keep(this);
    if (m_info == nullptr) {
        fillInfoAllDerObjs(true);
    }
    return keep.gone() ? nullptr : m_info;
}

void TevDerivedDocument::fillInfo() {
    if (m_info != nullptr) {
        return;
    }
    m_info = new TevDerivedDocumentInfo();
    if (m_hasUpdReq) {
        fillNewInfo(m_info);
    } else {
        fillOldInfo(m_info);
    }
}

void TevDerivedDocument::fillNewInfo(TevDerivedDocumentInfo* info) {
    info->reset();
    fillModelOnlyInfo(info);
    if (m_model != nullptr) {
        m_model->fillNewInfo(this, info);
    }
}

void TevDerivedDocument::refreshNewInfo(TevDerivedDocumentInfo* info,
                                        TevDerDocEnums::eDerivedDocInfo what) {
    refreshModelOnlyInfo(info, what);
    if (m_model != nullptr) {
        m_model->refreshNewInfo(this, info, what);
    }
}

void TevDerivedDocument::fillInfoAllDerObjs(bool notify) {
    const lumdd::InfoBuild build(this);
    if (!TEV_ASSERT(!build.nested(), lumdd::kInfoBuiltWhileBuilding)) {
        return; // a callback of this very build asked for the infos again
    }
    const lumdd::KeepAlive keep(this);
    if (m_model != nullptr) {
        m_model->checkDerivedObjects(this, true, true);
    }
    if (keep.gone()) {
        return;
    }
    beginGetUpdateAllDerObjs();
    fillInfo();
    for (int index = 0; index < m_derivedObjects.length() && !keep.gone(); ++index) {
        if (TevDerivedObject* obj = m_derivedObjects[index]) {
            obj->fillInfo(); // leaves an object that has its info alone
        }
    }
    if (notify && m_model != nullptr) {
        m_model->derivedDocRefreshed(this);
    }
    endGetUpdateAllDerObjs();
}

void TevDerivedDocument::resetInfo() {
    delete m_info;
    m_info = nullptr;
}

void TevDerivedDocument::refreshInfo(TevDerDocEnums::eDerivedDocInfo what) {
    const lumdd::KeepAlive keep(this);
    if (m_info == nullptr) {
        fillInfoAllDerObjs(true);
        return;
    }
    if (!m_hasUpdReq) {
        refreshOldInfo(m_info, what);
        return;
    }
    if (m_model != nullptr) {
        m_model->derivedDocRefreshed(this);
    }
    if (m_info == nullptr || keep.gone()) {
        return; // the host dropped the info, or the document, meanwhile
    }
    refreshNewInfo(m_info, what);
    if (m_model != nullptr && !keep.gone()) {
        m_model->derivedDocRefreshed(this);
    }
}

TevString TevDerivedDocument::getLastRevIdx() {
    const TevDerivedDocumentInfo* info = getInfo();
    return info != nullptr ? info->getLastRevIdx() : TevString();
}

void TevDerivedDocument::removeFromTable() {
    for (TevDerivedObject* obj : m_derivedObjects) {
        if (obj != nullptr) {
            obj->removeFromTable();
        }
    }
}

int TevDerivedDocument::addSingleDerivedObject(bool update, bool checkFile, bool resetStatus,
                                               CreateObject create) {
    const lumdd::KeepAlive keep(this);
    if (checkFile && tevFileExists(getFullFileName()) == 0) {
        setObsolete();
        return 0;
    }
    TevDerivedDocumentsFactory* factory = TevDerivedDocumentsModel::getFactory();
    if (factory == nullptr) {
        return 0;
    }
    if (m_derivedObjects.isEmpty()) {
        TevDerivedObject* obj = create(*factory, this);
        if (keep.gone()) {
            if (obj != nullptr) {
                factory->disposeObject(obj, m_model); // never listed: it goes with the document
            }
            return 0;
        }
        if (obj != nullptr) {
            if (resetStatus) {
                obj->setStatus(TevDerDocEnums::eStatusOk);
            }
            if (m_derivedObjects.append(obj) < 0) {
                // No memory to list it: the object goes back at once rather than being
                // lost, and the document answers that it holds none.
                factory->disposeObject(obj, m_model);
            }
        }
    }
    if (update) {
        getUpdateAllDerObjs(false);
    } else if (m_model != nullptr) {
        m_model->checkDerivedObjects(this, true, true);
    }
    return keep.gone() ? 0 : m_derivedObjects.length();
}
