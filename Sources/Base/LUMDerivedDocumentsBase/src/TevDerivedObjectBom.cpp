#include "TevDerivedObjectBom.h"

#include "TevDerivedObjectInfo.h"

TevDerivedObjectBom::TevDerivedObjectBom(TevDerivedDocument* doc, const TevString& handle)
    : TevDerivedObject(doc, 0, handle, TevDerDocEnums::eDocTypeBom,
                       TevDerDocEnums::eDocSubTypeNone) {}

TevDerivedObjectBom::~TevDerivedObjectBom() = default;

TevDerivedObjectInfo* TevDerivedObjectBom::createInfoInstance() {
    return new TevDerivedObjectBomInfo();
}
