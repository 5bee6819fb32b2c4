#include "TevDerivedObjectNC.h"

#include "Reentrancy.h"
#include "TevDerivedDocument.h"
#include "TevDerivedObjectInfo.h"

TevDerivedObjectNC::TevDerivedObjectNC(TevDerivedDocument* doc)
    : TevDerivedObject(doc, 0, TevString(), TevDerDocEnums::eDocTypeNC,
                       TevDerDocEnums::eDocSubTypeNone) {}

TevDerivedObjectNC::~TevDerivedObjectNC() = default;

void TevDerivedObjectNC::fillDocManObjectData(TevDocManObject& row) {
    TevDerivedObject::fillDocManObjectData(row);
    if (m_derivedDoc == nullptr) {
        return;
    }
    const TevDerivedDocKey key = m_derivedDoc->getKey();
    switch (key.m_subType) {
    case TevDerDocEnums::eDocSubTypeDstv:
        row.m_category = TevDerDocEnums::eDocManCategoryNC;
        row.m_subCategory = TevDerDocEnums::eDocManSubCategoryDstv;
        break;
    case TevDerDocEnums::eDocSubTypeNCNamed:
        row.m_category = TevDerDocEnums::eDocManCategoryNC;
        row.m_subCategory = TevDerDocEnums::eDocManSubCategoryNamed;
        row.m_ncName = key.m_ncName;
        break;
    case TevDerDocEnums::eDocSubTypeNCDxf: {
        TevString upper = key.m_ncName;
        upper.toUpper();
        row.m_category = TevDerDocEnums::eDocManCategoryNCDxf;
        row.m_subCategory = upper.find(u"DXF", 0) >= 0 ? TevDerDocEnums::eDocManSubCategoryNamed
                                                       : TevDerDocEnums::eDocManSubCategoryNone;
        row.m_ncDxfName = key.m_ncName;
        break;
    }
    default:
        break;
    }
    const lumdd::KeepObject keep(this);
    ensureInfo();
    if (m_info == nullptr || keep.gone()) {
        return;
    }
    row.m_title = m_info->getTitle();
    row.m_date = m_info->getDate();
    row.m_styleName = u"-";
    row.m_processName = u"-";
}

TevDerivedObjectInfo* TevDerivedObjectNC::createInfoInstance() {
    return new TevDerivedObjectNCInfo();
}
