#include "LumTable/TevDocManObject.h"

TevDocManObject::~TevDocManObject() = default;

const TevDocManObject& TevDocManObject::operator=(const TevDocManObject& other) {
    if (this == &other) {
        return *this;
    }
    TevTableObject::operator=(other);
    m_fileName = other.m_fileName;
    m_newName = other.m_newName;
    m_newApprovalComment = other.m_newApprovalComment;
    m_path = other.m_path;
    m_objectStatus = other.m_objectStatus;
    m_title = other.m_title;
    m_date = other.m_date;
    m_styleName = other.m_styleName;
    m_processName = other.m_processName;
    m_category = other.m_category;
    m_derivedObject = other.m_derivedObject;
    m_scale = other.m_scale;
    m_detailHandle = other.m_detailHandle;
    m_subCategory = other.m_subCategory;
    m_commandActive = other.m_commandActive;
    m_approvalDate = other.m_approvalDate;
    m_approvalComment = other.m_approvalComment;
    m_approvalStatusIndex = other.m_approvalStatusIndex;
    m_checkStatus = other.m_checkStatus;
    m_detExternalObjectState = other.m_detExternalObjectState;
    m_revisions = other.m_revisions;
    m_lastRevIdx = other.m_lastRevIdx;
    m_lastRevisionEntry2 = other.m_lastRevisionEntry2;
    m_lastRevisionEntry1 = other.m_lastRevisionEntry1;
    m_lastRevisionEntry3 = other.m_lastRevisionEntry3;
    m_lastRevisionEntry4 = other.m_lastRevisionEntry4;
    m_ncDxfName = other.m_ncDxfName;
    m_ncName = other.m_ncName;
    m_prototypeName = other.m_prototypeName;
    m_fullDwgNo = other.m_fullDwgNo;
    m_logicalObjectSelection = other.m_logicalObjectSelection;
    m_singlePartsDetailed = other.m_singlePartsDetailed;
    m_mainPartsDetailed = other.m_mainPartsDetailed;
    m_removed = other.m_removed;
    return *this;
}
