#include "TevDerivedObjectDetail.h"

#include "TevDerivedObjectInfo.h"

TevDerivedObjectDetail::TevDerivedObjectDetail(TevDerivedDocument* doc, std::int64_t id,
                                               const TevString& handle)
    : TevDerivedObject(doc, id, handle, TevDerDocEnums::eDocTypeDetail,
                       TevDerDocEnums::eDocSubTypeNone) {}

TevDerivedObjectDetail::~TevDerivedObjectDetail() = default;

long TevDerivedObjectDetail::getLogicalObjectSelection() {
    ensureInfo();
    const auto* info = dynamic_cast<const TevDerivedObjectDetailInfo*>(m_info);
    return info != nullptr ? info->getLogicalObjectSelection() : 0;
}

TevDerivedObjectInfo* TevDerivedObjectDetail::createInfoInstance() {
    return new TevDerivedObjectDetailInfo();
}
