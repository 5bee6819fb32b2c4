#include "TevDerivedObjectNC.h"

#include "TevDerivedObjectInfo.h"

TevDerivedObjectNC::TevDerivedObjectNC(TevDerivedDocument* doc)
    : TevDerivedObject(doc, 0, TevString(), TevDerDocEnums::eDocTypeNC,
                       TevDerDocEnums::eDocSubTypeNone) {}

TevDerivedObjectNC::~TevDerivedObjectNC() = default;

TevDerivedObjectInfo* TevDerivedObjectNC::createInfoInstance() {
    return new TevDerivedObjectNCInfo();
}
