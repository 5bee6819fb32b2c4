#include "TevDerivedObjectBom.h"

#include "QXNativeDataObjects/StructProjModelExtract.h"
#include "Reentrancy.h"
#include "TevDerivedDocument.h"
#include "TevDerivedDocumentsModel.h"
#include "TevDerivedObjectInfo.h"

TevDerivedObjectBom::TevDerivedObjectBom(TevDerivedDocument* doc, const TevString& handle)
    : TevDerivedObject(doc, 0, handle, TevDerDocEnums::eDocTypeBom,
                       TevDerDocEnums::eDocSubTypeNone) {}

TevDerivedObjectBom::~TevDerivedObjectBom() = default;

void TevDerivedObjectBom::fillDocManObjectData(TevDocManObject& row) {
    TevDerivedObject::fillDocManObjectData(row);
    if (m_derivedDoc == nullptr) {
        return;
    }
    const TevDerivedDocKey key = m_derivedDoc->getKey();
    if (key.m_type == TevDerDocEnums::eDocTypeDetail) {
        row.m_category = TevDerDocEnums::eDocManCategoryDetail;
        row.m_subCategory = TevDerDocEnums::eDocManSubCategoryBom;
    } else if (key.m_subType == TevDerDocEnums::eDocSubTypeDstv) {
        row.m_category = TevDerDocEnums::eDocManCategoryNC;
        row.m_subCategory = TevDerDocEnums::eDocManSubCategoryBom;
    } else {
        row.m_category = TevDerDocEnums::eDocManCategoryBom;
    }
    const lumdd::KeepObject keep(this);
    ensureInfo();
    if (m_info == nullptr || keep.gone()) {
        return;
    }
    row.m_title = m_info->getTitle();
    row.m_date = m_info->getDate();
    row.m_styleName = m_info->getTitle();
    row.m_processName = modelExtractName();
}

TevString TevDerivedObjectBom::modelExtractName() const {
    TevDerivedDocumentsModel* model = m_derivedDoc->getModel();
    TevReportManager* reportManager = model != nullptr ? model->getReportManager() : nullptr;
    // Read after the host call, which may have dropped the info.
    const auto* info = dynamic_cast<const TevDerivedObjectBomInfo*>(m_info);
    if (info == nullptr || reportManager == nullptr) {
        return TevString();
    }
    StructProjModelExtract extract;
    extract.m_number = info->getModelExtractKey();
    return reportManager->getModelExtract(extract) == 1 ? extract.m_name : TevString();
}

TevDerivedObjectInfo* TevDerivedObjectBom::createInfoInstance() {
    return new TevDerivedObjectBomInfo();
}
