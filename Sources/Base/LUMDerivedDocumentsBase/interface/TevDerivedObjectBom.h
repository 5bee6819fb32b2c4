/// \file
/// The derived object of a bill of material: the entry that stands for a whole report.
#ifndef TEV_DERIVED_OBJECT_BOM_H
#define TEV_DERIVED_OBJECT_BOM_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevDerivedObject.h"

/// The derived object of a bill of material (see TevDerivedObjectBom.h).
class LUMDERDOC_EXPORT TevDerivedObjectBom : public TevDerivedObject {
public:
    /// Id 0, kind eDocTypeBom, sub-kind eDocSubTypeNone; never a dummy.
    TevDerivedObjectBom(TevDerivedDocument* doc, const TevString& handle);
    /// Destroys the object as TevDerivedObject does.
    ~TevDerivedObjectBom() override;

    /// Adds category codes (0/0 in a detail document, 2/0 in a DSTV list, else category
    /// 1) and, with an info, title, date, the title again as style and the name of the
    /// model extract (through the report manager) as process.
    /// \par Calls the host:
    /// the base's calls, the info build when this object has no info, then, with an info, the
    /// model's getReportManager and, for a BOM info, the report manager's getModelExtract.
    void fillDocManObjectData(TevDocManObject& row) override;

protected:
    /// A new TevDerivedObjectBomInfo.
    TevDerivedObjectInfo* createInfoInstance() override;

private:
    // The name of the info's model extract, as the report manager knows it; empty when
    // it is not found or there is no report manager.
    TevString modelExtractName() const;
};

#endif // TEV_DERIVED_OBJECT_BOM_H
