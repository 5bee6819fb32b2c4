#include "TevDerivedObject.h"

#include "DocManRows.h"
#include "Reentrancy.h"
#include "TevAssert.h"
#include "TevDerivedDocument.h"
#include "TevDerivedDocumentDetail.h"
#include "TevDerivedDocumentsModel.h"
#include "TevDerivedObjectDuplicateInfo.h"
#include "TevDerivedObjectInfo.h"
#include "TevFiles.h"

#include <functional>
#include <utility>

namespace {

TevDerivedDocumentsModel* modelOf(const TevDerivedDocument* doc) {
    return doc != nullptr ? doc->getModel() : nullptr;
}

// Re-reads the update state of `obj` inside the model's check bracket, in which the host
// prepares and releases what its status queries need. An object the host lets go of in
// beginCheckDerivedObjects is not asked; it goes before the bracket closes.
// REQUIRES: `obj` is in a document.
void getUpdateInCheckBracket(TevDerivedDocumentsModel& model, TevDerivedObject& obj) {
    bool stillHere = false;
    {
        const lumdd::KeepObject keep(&obj);
        model.beginCheckDerivedObjects();
        stillHere = !keep.gone();
    }
    if (stillHere) {
        obj.getUpdate();
    }
    model.endCheckDerivedObjects();
}

// Where a row the host handed in lives. A row of `obj` in the attached table is found
// again by its object, since host calls may grow, sort or compact the table; any other
// row is in the host's own keeping.
class RowPlace {
public:
    RowPlace(const TevDerivedObject* obj, TevDocManObject& row)
        : m_obj(obj)
        , m_row(&row) {
        const TevArray<TevDocManObject>* table = attachedTable();
        const std::less<const TevDocManObject*> before;
        if (table != nullptr && !table->isEmpty() && row.m_derivedObject == obj &&
            !before(&row, &(*table)[0]) && !before(&table->last(), &row)) {
            m_index = static_cast<int>(&row - &(*table)[0]);
        }
    }

    // Writes `work` to the row now, unless it left the table; a row marked for removal
    // meanwhile stays marked. Answers whether it was written.
    bool writeBack(TevDocManObject&& work) const {
        const TevDerivedDocumentsModel* model = modelOf(m_obj->getDerivedDoc());
        TevArray<TevDocManObject>* table = attachedTable();
        if (m_index < 0) {
            // A row of the host's own: the index cannot see writes to it.
            write(*m_row, std::move(work), model);
            return true;
        }
        if (table == nullptr) {
            return false;
        }
        const TevArray<TevDocManObject>& rows = *table;
        int index = m_index;
        if (index >= rows.length() || rows[index].m_derivedObject != m_obj) {
            index = lumdd::firstRowOf(model, rows, m_obj);
        }
        if (index < 0) {
            return false;
        }
        const std::uint64_t before = rows.modificationCount();
        if (write((*table)[index], std::move(work), nullptr)) {
            lumdd::rowObjectsKept(model, rows, before);
        }
        return true;
    }

private:
    TevArray<TevDocManObject>* attachedTable() const {
        TevDerivedDocumentsModel* model = modelOf(m_obj->getDerivedDoc());
        return model != nullptr ? model->getDocManObjects() : nullptr;
    }

    // Answers whether the row kept its object. If not, the index of `model` goes.
    static bool write(TevDocManObject& row, TevDocManObject&& work,
                      const TevDerivedDocumentsModel* model) {
        const bool removed = row.m_removed;
        const TevDerivedObject* before = row.m_derivedObject;
        row = std::move(work);
        row.m_removed = removed;
        const bool kept = row.m_derivedObject == before;
        if (!kept && model != nullptr) {
            lumdd::forgetRows(model);
        }
        return kept;
    }

    const TevDerivedObject* m_obj;
    TevDocManObject* m_row; // Not owned; only followed for a row outside the table.
    int m_index = -1;       // In the attached table, or -1.
};

} // namespace

TevDerivedObject::TevDerivedObject(TevDerivedDocument* doc, std::int64_t id,
                                   const TevString& handle, TevDerDocEnums::eDocType type,
                                   TevDerDocEnums::eDocSubType subType)
    : m_derivedDoc(doc)
    , m_alreadyInTable(false)
    , m_id(id)
    , m_handle(handle)
    , m_type(type)
    , m_subType(subType)
    , m_updOnly(false)
    , m_dummy(type == TevDerDocEnums::eDocTypeDetail && id == 0)
    , m_hasUpdReq(false)
    , m_status(TevDerDocEnums::eStatusUndetermined)
    , m_oldObjProxy(nullptr)
    , m_info(nullptr)
    , m_commandActive(doc != nullptr ? doc->isCommandActive() : 0)
    , m_duplicateInfo(nullptr) {}

TevDerivedObject::~TevDerivedObject() {
    TEV_ASSERT(!m_alreadyInTable, "!m_alreadyInTable");
    leaveDuplicateGroup();
    m_oldObjProxy = nullptr;
    resetInfo();
}

void TevDerivedObject::leaveDuplicateGroup() {
    // A group must never keep pointing at a destroyed object.
    if (m_duplicateInfo == nullptr) {
        return;
    }
    // The model is found through the group: the object's document may be gone already.
    if (TevDerivedDocumentsModel* model = lumdd::modelOfGroup(m_duplicateInfo)) {
        model->removeObjectFromDuplicate(this); // dissolves a group that drops below two
    }
    if (m_duplicateInfo != nullptr) {
        m_duplicateInfo->removeObject(this); // a group the model does not hold
    }
}

int TevDerivedObject::appendDocManObject(TevArray<TevDocManObject>* table,
                                         TevDerDocEnums::eDocSubType subType) {
    if (m_derivedDoc == nullptr || m_alreadyInTable || table == nullptr) {
        return 0;
    }
    if (subType != TevDerDocEnums::eDocSubTypeAll && subType != m_derivedDoc->getKey().m_subType) {
        return 0;
    }
    TevDocManObject row;
    {
        const lumdd::KeepObject keep(this);
        fillDocManObjectData(row);
        if (keep.gone()) {
            return 0;
        }
    }
    if (table->append(std::move(row)) < 0) {
        return 0; // not in the table, so a later call may add the row
    }
    m_alreadyInTable = true;
    return 1;
}

void TevDerivedObject::fillDocManObjectData(TevDocManObject& row) {
    if (m_derivedDoc != nullptr) {
        m_derivedDoc->fillDocManObjectData(row);
    }
    row.m_objectStatus =
        isDuplicate() ? TevDerDocEnums::eDisplayDuplicate : TevDerDocEnums::displayCode(m_status);
    row.m_commandActive = m_commandActive;
    row.m_derivedObject = this;
}

int TevDerivedObject::updateDocManObject(TevDocManObject& row, int message, bool flag, int& out,
                                         int approvalStatus) {
    if (m_derivedDoc == nullptr) {
        return 0;
    }
    // The work is done on a copy, which then goes to the row found again: no reference
    // into the host's table is held across a call into the host.
    const lumdd::KeepObject keep(this);
    const RowPlace place(this, row);
    TevDocManObject work = row;
    if (carryOutDocManMessage(work, message, flag, out, approvalStatus) == 0 || keep.gone()) {
        return 0;
    }
    return place.writeBack(std::move(work)) ? 1 : 0; // 0: the row left the table meanwhile
}

int TevDerivedObject::carryOutDocManMessage(TevDocManObject& row, int message, bool flag, int& out,
                                            int approvalStatus) {
    TevDerivedDocument* doc = m_derivedDoc;
    TevDerivedDocumentsModel* model = doc->getModel();
    if (doc->getKey().m_type == TevDerDocEnums::eDocTypeDetail && model != nullptr) {
        model->resetDetailsCache();
    }
    const auto msg = static_cast<TevDerDocEnums::eDlgDocManMessage>(message);
    if (msg == TevDerDocEnums::eDlgDocManMsgRecheck && m_status == TevDerDocEnums::eStatusRecheck) {
        getUpdate();
        return refill(row);
    }
    switch (msg) {
    case TevDerDocEnums::eDlgDocManMsgUpdate:
    case TevDerDocEnums::eDlgDocManMsgUpdateAlt:
        return fullUpdate(row, msg, flag, out);
    case TevDerDocEnums::eDlgDocManMsgRefresh:
    case TevDerDocEnums::eDlgDocManMsgRefreshAlt:
        getUpdate();
        return refill(row);
    case TevDerDocEnums::eDlgDocManMsgUpdateSpecial:
    case TevDerDocEnums::eDlgDocManMsgUpdateObject:
        return refillUnlessFailed(updateObject(out, msg, TevDerDocEnums::eObjectModified, flag),
                                  row);
    case TevDerDocEnums::eDlgDocManMsgSetApprovalStatus: {
        const TevDerDocEnums::ErrorStatus status = doc->setDocumentApprovalStatus(approvalStatus);
        doc->refreshInfo(TevDerDocEnums::eDerivedDocInfoApproval);
        return refillUnlessFailed(status, row);
    }
    case TevDerDocEnums::eDlgDocManMsgRefreshRevisions:
        doc->refreshInfo(TevDerDocEnums::eDerivedDocInfoRevisions);
        return refill(row);
    case TevDerDocEnums::eDlgDocManMsgCheckOn:
    case TevDerDocEnums::eDlgDocManMsgCheckOff: {
        const int checked = msg == TevDerDocEnums::eDlgDocManMsgCheckOn ? 1 : 0;
        const TevDerDocEnums::ErrorStatus status = doc->setCheckDocumentStatus(checked);
        doc->refreshInfo(TevDerDocEnums::eDerivedDocInfoCheckStatus);
        return refillUnlessFailed(status, row);
    }
    case TevDerDocEnums::eDlgDocManMsgRename:
        doc->renameDoc(row.m_newName); // its answer is not the row's business
        doc->resetInfo();
        return refill(row);
    case TevDerDocEnums::eDlgDocManMsgSetApprovalComment: {
        const TevDerDocEnums::ErrorStatus status =
            doc->setDocumentApprovalComment(row.m_newApprovalComment);
        doc->refreshInfo(TevDerDocEnums::eDerivedDocInfoApproval);
        return refillUnlessFailed(status, row);
    }
    default: // the recheck of another status, the reserved messages and unknown ones
        return refill(row);
    }
}

int TevDerivedObject::fullUpdate(TevDocManObject& row, TevDerDocEnums::eDlgDocManMessage message,
                                 bool flag, int& out) {
    TevDerivedDocument* doc = m_derivedDoc;
    const bool docHadUpdReq = doc->hasUpdReq();
    const bool objectHadUpdReq = m_hasUpdReq;
    const lumdd::KeepObject keep(this);
    const TevDerDocEnums::ErrorStatus result =
        updateObject(out, message, TevDerDocEnums::eObjectModified, flag);
    if (keep.gone()) {
        return 0;
    }
    if (!m_updOnly) {
        if (docHadUpdReq && doc->hasUpdReq()) {
            doc->addUpdOnlyDerivedObjects(false, true);
        }
        // The live list, by index: an object a callback deletes is never reached again.
        TevDerivedDocumentsModel* model = doc->getModel();
        for (int index = 0; model != nullptr && index < doc->m_derivedObjects.length(); ++index) {
            TevDerivedObject* obj = doc->m_derivedObjects[index];
            if (obj != nullptr && obj->isUpdOnlyObject()) {
                getUpdateInCheckBracket(*model, *obj);
            }
        }
    }
    if (m_hasUpdReq == objectHadUpdReq) {
        doc->resetInfo();
    }
    return refillUnlessFailed(result, row);
}

int TevDerivedObject::refill(TevDocManObject& row) {
    fillDocManObjectData(row);
    return 1;
}

int TevDerivedObject::refillUnlessFailed(TevDerDocEnums::ErrorStatus status, TevDocManObject& row) {
    return status == TevDerDocEnums::eStatusOk ? refill(row) : 0;
}

void TevDerivedObject::updateDocManInformations(TevArray<TevDocManObject>* table) {
    if (table == nullptr || !m_alreadyInTable) {
        return;
    }
    const TevDerivedDocumentsModel* model = modelOf(m_derivedDoc);
    const int index = lumdd::firstRowOf(model, std::as_const(*table), this);
    if (index < 0) {
        return;
    }
    const std::uint64_t before = table->modificationCount();
    TevDocManObject& row = (*table)[index];
    lumdd::rowObjectsKept(model, *table, before); // taking the row writes nothing
    int scratch = 0;
    updateDocManObject(row, TevDerDocEnums::eDlgDocManMsgRecheck, false, scratch, 0);
}

void TevDerivedObject::reserved5() {}

void TevDerivedObject::reserved9() {}

void TevDerivedObject::refreshOldInfo(TevDerivedObjectInfo* info, TevDerDocEnums::eDerivedDocInfo) {
    fillOldInfo(info);
}

std::int64_t TevDerivedObject::getId() const {
    return m_id;
}

TevDerDocEnums::eDocType TevDerivedObject::getType() const {
    return m_type;
}

TevDerDocEnums::eDocSubType TevDerivedObject::getSubType() const {
    return m_subType;
}

TevDerivedDocument* TevDerivedObject::getDerivedDoc() const {
    return m_derivedDoc;
}

TevString TevDerivedObject::getHandle() const {
    return m_handle;
}

void TevDerivedObject::setHandle(const TevString& handle) {
    m_handle = handle;
}

bool TevDerivedObject::hasUpdReq() const {
    return m_hasUpdReq;
}

void TevDerivedObject::setHasUpdReq(bool value) {
    if (value != m_hasUpdReq) {
        resetInfo();
    }
    m_hasUpdReq = value;
}

TevDerDocEnums::ErrorStatus TevDerivedObject::getUpdateFast() {
    return m_status;
}

void TevDerivedObject::setStatus(TevDerDocEnums::ErrorStatus status) {
    m_status = status;
}

void TevDerivedObject::setUpdOnlyObject() {
    m_updOnly = true;
}

bool TevDerivedObject::isUpdOnlyObject() const {
    return m_updOnly;
}

bool TevDerivedObject::isDummyObject() const {
    return m_dummy;
}

void TevDerivedObject::setDuplicateInfo(TevDerivedObjectDuplicateInfo* group) {
    m_duplicateInfo = group;
}

TevDerivedObjectDuplicateInfo* TevDerivedObject::getDuplicateInfo() const {
    return m_duplicateInfo;
}

bool TevDerivedObject::isDuplicate() const {
    return m_duplicateInfo != nullptr && m_duplicateInfo->objectsAreDuplicated();
}

void TevDerivedObject::resetOldObjProxy() {
    m_oldObjProxy = nullptr;
}

TevDerDocEnums::ErrorStatus TevDerivedObject::getUpdate() {
    if (m_derivedDoc == nullptr) {
        return m_status;
    }
    const lumdd::KeepObject keep(this);
    const int commandActive = m_derivedDoc->isCommandActive();
    if (keep.gone()) {
        return TevDerDocEnums::eStatusFailed;
    }
    m_commandActive = commandActive;
    if (m_dummy) {
        return m_status;
    }
    const TevString fullFileName = m_derivedDoc->getFullFileName();
    if (tevFileExists(fullFileName) == 0) {
        m_status = TevDerDocEnums::eStatusFileMissing;
        return m_status;
    }
    if (!m_hasUpdReq) {
        return m_status;
    }
    if (m_derivedDoc->getCheckDocFile()) {
        if (tevFileExists(fullFileName) == 0) {
            return m_status;
        }
        m_derivedDoc->setCheckDocFile(false);
    }
    const TevDerDocEnums::ErrorStatus status = getNewUpdate();
    if (keep.gone()) {
        return TevDerDocEnums::eStatusFailed;
    }
    m_status = status;
    return m_status;
}

TevDerDocEnums::ErrorStatus TevDerivedObject::getNewUpdate() {
    TevDerivedDocumentsModel* model = modelOf(m_derivedDoc);
    return model != nullptr ? model->getNewUpdate(this, false)
                            : TevDerDocEnums::eStatusNotSupported;
}

void TevDerivedObject::updatePerformed(TevDerDocEnums::ObjectModification mod) {
    TevDerivedDocumentsModel* model = modelOf(m_derivedDoc);
    if (mod != TevDerDocEnums::eObjectModified || model == nullptr) {
        return;
    }
    const lumdd::KeepObject keep(this); // goes, when let go of, once the bracket is closed
    getUpdateInCheckBracket(*model, *this);
}

TevDerDocEnums::ErrorStatus TevDerivedObject::updateObject(int& out,
                                                           TevDerDocEnums::eDlgDocManMessage msg,
                                                           TevDerDocEnums::ObjectModification mod,
                                                           bool flag) {
    if (m_derivedDoc == nullptr) {
        return TevDerDocEnums::eStatusNotSupported;
    }
    const bool msgWas4 = msg == TevDerDocEnums::eDlgDocManMsgUpdateSpecial;
    const bool msgWas13 = msg == TevDerDocEnums::eDlgDocManMsgUpdateAlt;
    // A copy: the host may change the handle while it updates.
    const TevString handle = m_handle;
    const lumdd::KeepObject keep(this);
    const TevDerDocEnums::ErrorStatus result =
        m_derivedDoc->updateDerivedObject(out, handle, mod, msgWas4, flag, msgWas13);
    if (keep.gone()) {
        return TevDerDocEnums::eStatusFailed;
    }
    if (flag && m_derivedDoc->getKey().m_type == TevDerDocEnums::eDocTypeDetail) {
        if (auto* detail = dynamic_cast<TevDerivedDocumentDetail*>(m_derivedDoc)) {
            detail->setModelExtractFileName(TevString());
        }
    }
    if (TevDerivedDocumentsModel* model = m_derivedDoc->getModel()) {
        model->checkDerivedObjects(m_derivedDoc, true, true);
        if (result == TevDerDocEnums::eStatusOk && mod == TevDerDocEnums::eObjectModified &&
            !keep.gone()) {
            getUpdateInCheckBracket(*model, *this);
        }
    }
    resetInfo();
    return keep.gone() ? TevDerDocEnums::eStatusFailed : result;
}

const TevDerivedObjectInfo* TevDerivedObject::getInfo() {
    const lumdd::KeepObject keep(this);
    ensureInfo();
    return keep.gone() ? nullptr : m_info;
}

void TevDerivedObject::fillInfo() {
    if (m_info != nullptr) {
        return;
    }
    m_info = createInfoInstance();
    if (m_info == nullptr || m_dummy) {
        return;
    }
    const lumdd::KeepObject keep(this);
    const int filled = m_hasUpdReq ? fillNewInfo(m_info) : 0;
    if (filled == 0 && m_info != nullptr && !keep.gone()) {
        fillOldInfo(m_info);
    }
}

int TevDerivedObject::fillNewInfo(TevDerivedObjectInfo* info) {
    info->reset();
    TevDerivedDocumentsModel* model = modelOf(m_derivedDoc);
    return model != nullptr ? model->fillNewInfo(this, info) : 0;
}

void TevDerivedObject::resetInfo() {
    delete m_info;
    m_info = nullptr;
}

void TevDerivedObject::refreshInfo(TevDerDocEnums::eDerivedDocInfo what) {
    if (m_info == nullptr) {
        ensureInfo();
        return;
    }
    if (m_dummy) {
        return;
    }
    if (!m_hasUpdReq) {
        refreshOldInfo(m_info, what);
        return;
    }
    TevDerivedDocumentsModel* model = modelOf(m_derivedDoc);
    if (model == nullptr) {
        return;
    }
    const lumdd::KeepObject keep(this);
    model->derivedDocRefreshed(m_derivedDoc);
    if (m_info == nullptr || keep.gone()) {
        return; // the host dropped the info, or the object, meanwhile
    }
    refreshNewInfo(m_info, what);
    if (!keep.gone()) {
        model->derivedDocRefreshed(m_derivedDoc);
    }
}

void TevDerivedObject::refreshNewInfo(TevDerivedObjectInfo* info,
                                      TevDerDocEnums::eDerivedDocInfo what) {
    if (TevDerivedDocumentsModel* model = modelOf(m_derivedDoc)) {
        model->refreshNewInfo(this, info, what);
    }
}

void TevDerivedObject::ensureInfo() {
    // The callers hold a KeepObject: they read the info after the host calls.
    if (m_info == nullptr && m_derivedDoc != nullptr) {
        m_derivedDoc->fillInfoAllDerObjs(true);
    }
}

TevString TevDerivedObject::getTitle() {
    const TevDerivedObjectInfo* info = getInfo();
    return info != nullptr ? info->getTitle() : TevString();
}

TevString TevDerivedObject::getLogicalBaseObjectHandle() {
    const TevDerivedObjectInfo* info = getInfo();
    return info != nullptr ? info->getLogicalBaseObjectHandle() : TevString();
}

TevString TevDerivedObject::getLogicalBaseServerHandle() {
    const TevDerivedObjectInfo* info = getInfo();
    return info != nullptr ? info->getLogicalBaseServerHandle() : TevString();
}

TevString TevDerivedObject::getEqualPartModelHandle() {
    const TevDerivedObjectInfo* info = getInfo();
    return info != nullptr ? info->getEqualPartModelHandle() : TevString();
}

TevString TevDerivedObject::getEqualPartServerHandle() {
    const TevDerivedObjectInfo* info = getInfo();
    return info != nullptr ? info->getEqualPartServerHandle() : TevString();
}

long TevDerivedObject::getModelSelection() {
    const TevDerivedObjectInfo* info = getInfo();
    return info != nullptr ? info->getModelSelection() : 0;
}

void TevDerivedObject::getModelHandles(TevArray<TevString>& out) {
    const TevDerivedObjectInfo* info = getInfo();
    out.setLength(0);
    if (info != nullptr) {
        out = info->getModelHandles();
    }
}

void TevDerivedObject::getServerHandles(TevArray<TevString>& out) {
    const TevDerivedObjectInfo* info = getInfo();
    out.setLength(0);
    if (info != nullptr) {
        out = info->getServerHandles();
    }
}

int TevDerivedObject::getDocumentApproval(TevDocumentApproval& approval) {
    return m_derivedDoc != nullptr ? m_derivedDoc->getDocumentApproval(approval) : 0;
}

TevDerDocEnums::ErrorStatus TevDerivedObject::setDocumentApprovalStatus(int status) {
    return m_derivedDoc != nullptr ? m_derivedDoc->setDocumentApprovalStatus(status)
                                   : TevDerDocEnums::eStatusNotSupported;
}

TevDerDocEnums::ErrorStatus TevDerivedObject::setCheckDocumentStatus(int status) {
    return m_derivedDoc != nullptr ? m_derivedDoc->setCheckDocumentStatus(status)
                                   : TevDerDocEnums::eStatusNotSupported;
}

void TevDerivedObject::removeDocManInformations(TevArray<TevDocManObject>* table) {
    if (table == nullptr) {
        return;
    }
    const TevDerivedDocumentsModel* model = modelOf(m_derivedDoc);
    const TevArray<TevDocManObject>& rows = *table;
    if (model != nullptr && model->isDocumentsManagerOpen()) {
        // Marked rows stay until the manager closes.
        for (int index = lumdd::firstRowOf(model, rows, this); index >= 0;
             index = lumdd::nextRowOf(model, rows, index)) {
            const std::uint64_t before = rows.modificationCount();
            (*table)[index].m_removed = true;
            lumdd::rowObjectsKept(model, rows, before);
            m_alreadyInTable = false;
        }
        return;
    }
    // Erasing shifts the rows after the first one, so a stale index is not rebuilt for
    // it.
    const int first = lumdd::firstRowOf(model, rows, this, lumdd::StaleIndex::kScan);
    if (first < 0) {
        return;
    }
    m_alreadyInTable = false;
    lumdd::eraseRowsIf(*table, first,
                       [this](const TevDocManObject& row) { return row.m_derivedObject == this; });
}

void TevDerivedObject::removeFromTable() {
    m_alreadyInTable = false;
}
