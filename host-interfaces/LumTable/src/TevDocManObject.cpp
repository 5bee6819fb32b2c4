#include "LumTable/TevDocManObject.h"

#include <utility>

namespace {

// Assigns every field of `from` to `to`, the removal mark included: copied from a row
// that stays, moved from one that is going. Written out rather than defaulted because the
// copy assignment of the fixed interface answers a const reference, which a defaulted one
// cannot; the moves share the list so that the two cannot drift apart. A field added to
// the row belongs here and in the row's field lists of the tests, which check both.
template <class Row>
void assignFields(TevDocManObject& to, Row&& from) {
    to.m_fileName = std::forward<Row>(from).m_fileName;
    to.m_newName = std::forward<Row>(from).m_newName;
    to.m_newApprovalComment = std::forward<Row>(from).m_newApprovalComment;
    to.m_path = std::forward<Row>(from).m_path;
    to.m_objectStatus = std::forward<Row>(from).m_objectStatus;
    to.m_title = std::forward<Row>(from).m_title;
    to.m_date = std::forward<Row>(from).m_date;
    to.m_styleName = std::forward<Row>(from).m_styleName;
    to.m_processName = std::forward<Row>(from).m_processName;
    to.m_category = std::forward<Row>(from).m_category;
    to.m_derivedObject = std::forward<Row>(from).m_derivedObject;
    to.m_scale = std::forward<Row>(from).m_scale;
    to.m_detailHandle = std::forward<Row>(from).m_detailHandle;
    to.m_subCategory = std::forward<Row>(from).m_subCategory;
    to.m_commandActive = std::forward<Row>(from).m_commandActive;
    to.m_approvalDate = std::forward<Row>(from).m_approvalDate;
    to.m_approvalComment = std::forward<Row>(from).m_approvalComment;
    to.m_approvalStatusIndex = std::forward<Row>(from).m_approvalStatusIndex;
    to.m_checkStatus = std::forward<Row>(from).m_checkStatus;
    to.m_detExternalObjectState = std::forward<Row>(from).m_detExternalObjectState;
    to.m_revisions = std::forward<Row>(from).m_revisions;
    to.m_lastRevIdx = std::forward<Row>(from).m_lastRevIdx;
    to.m_lastRevisionEntry2 = std::forward<Row>(from).m_lastRevisionEntry2;
    to.m_lastRevisionEntry1 = std::forward<Row>(from).m_lastRevisionEntry1;
    to.m_lastRevisionEntry3 = std::forward<Row>(from).m_lastRevisionEntry3;
    to.m_lastRevisionEntry4 = std::forward<Row>(from).m_lastRevisionEntry4;
    to.m_ncDxfName = std::forward<Row>(from).m_ncDxfName;
    to.m_ncName = std::forward<Row>(from).m_ncName;
    to.m_prototypeName = std::forward<Row>(from).m_prototypeName;
    to.m_fullDwgNo = std::forward<Row>(from).m_fullDwgNo;
    to.m_logicalObjectSelection = std::forward<Row>(from).m_logicalObjectSelection;
    to.m_singlePartsDetailed = std::forward<Row>(from).m_singlePartsDetailed;
    to.m_mainPartsDetailed = std::forward<Row>(from).m_mainPartsDetailed;
    to.m_removed = std::forward<Row>(from).m_removed;
}

} // namespace

TevDocManObject::TevDocManObject(TevDocManObject&& other) noexcept
    : TevTableObject(other) {
    assignFields(*this, std::move(other));
}

TevDocManObject::~TevDocManObject() = default;

const TevDocManObject& TevDocManObject::operator=(const TevDocManObject& other) {
    if (this != &other) {
        TevTableObject::operator=(other);
        assignFields(*this, other);
    }
    return *this;
}

TevDocManObject& TevDocManObject::operator=(TevDocManObject&& other) noexcept {
    if (this != &other) {
        TevTableObject::operator=(other);
        assignFields(*this, std::move(other));
    }
    return *this;
}
