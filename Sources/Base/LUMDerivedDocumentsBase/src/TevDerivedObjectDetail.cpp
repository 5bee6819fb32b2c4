#include "TevDerivedObjectDetail.h"

#include "Reentrancy.h"
#include "TevDerivedObjectInfo.h"

TevDerivedObjectDetail::TevDerivedObjectDetail(TevDerivedDocument* doc, std::int64_t id,
                                               const TevString& handle)
    : TevDerivedObject(doc, id, handle, TevDerDocEnums::eDocTypeDetail,
                       TevDerDocEnums::eDocSubTypeNone) {}

TevDerivedObjectDetail::~TevDerivedObjectDetail() = default;

long TevDerivedObjectDetail::getLogicalObjectSelection() {
    const auto* info = dynamic_cast<const TevDerivedObjectDetailInfo*>(getInfo());
    return info != nullptr ? info->getLogicalObjectSelection() : 0;
}

void TevDerivedObjectDetail::fillDocManObjectData(TevDocManObject& row) {
    TevDerivedObject::fillDocManObjectData(row);
    // The categories the host sets on detail rows are its own and stay.
    if (row.m_category != TevDerDocEnums::eDocManCategoryHostDetail4 &&
        row.m_category != TevDerDocEnums::eDocManCategoryHostDetail5) {
        row.m_category = TevDerDocEnums::eDocManCategoryDetail;
        row.m_subCategory = TevDerDocEnums::eDocManSubCategoryNone;
    }
    const lumdd::KeepObject keep(this);
    ensureInfo();
    const auto* info =
        dynamic_cast<const TevDerivedObjectDetailInfo*>(keep.gone() ? nullptr : m_info);
    if (info == nullptr) {
        return;
    }
    row.m_title = info->getTitle();
    row.m_date = info->getDate();
    row.m_styleName = info->getStyleName();
    row.m_processName = info->getProcessDescription();
    row.m_scale = info->getScale();
    row.m_detailHandle = info->getHandle();
    row.m_logicalObjectSelection = static_cast<int>(info->getLogicalObjectSelection());
    row.m_mainPartsDetailed = info->getMainPartsDetailed();
    row.m_singlePartsDetailed = info->getSinglePartsDetailed();
    row.m_detExternalObjectState = info->getDetExternalObjectState();
}

TevDerivedObjectInfo* TevDerivedObjectDetail::createInfoInstance() {
    return new TevDerivedObjectDetailInfo();
}
