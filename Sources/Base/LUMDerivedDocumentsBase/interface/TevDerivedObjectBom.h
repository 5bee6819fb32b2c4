// The derived object of a bill of material: the entry that stands for a whole report.
#ifndef TEV_DERIVED_OBJECT_BOM_H
#define TEV_DERIVED_OBJECT_BOM_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevDerivedObject.h"

class LUMDERDOC_EXPORT TevDerivedObjectBom : public TevDerivedObject {
public:
    // Id 0, kind eDocTypeBom, sub-kind eDocSubTypeNone; never a dummy.
    TevDerivedObjectBom(TevDerivedDocument* doc, const TevString& handle);
    ~TevDerivedObjectBom() override;

protected:
    // A new TevDerivedObjectBomInfo.
    TevDerivedObjectInfo* createInfoInstance() override;
};

#endif // TEV_DERIVED_OBJECT_BOM_H
