/// \file
/// The derived object of an NC document: the output that stands for the whole file.
#ifndef TEV_DERIVED_OBJECT_NC_H
#define TEV_DERIVED_OBJECT_NC_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevDerivedObject.h"

/// The derived object of an NC document (see TevDerivedObjectNC.h).
class LUMDERDOC_EXPORT TevDerivedObjectNC : public TevDerivedObject {
public:
    /// Id 0, empty handle, kind eDocTypeNC, sub-kind eDocSubTypeNone whatever the
    /// document's sub-kind.
    explicit TevDerivedObjectNC(TevDerivedDocument* doc);
    /// Destroys the object as TevDerivedObject does.
    ~TevDerivedObjectNC() override;

    /// Adds the category codes and NC or DXF name of the document's NC sub-kind and,
    /// with an info, title, date and "-" as style and process.
    /// \par Calls the host:
    /// the base's calls, then the info build when this object has none.
    void fillDocManObjectData(TevDocManObject& row) override;

protected:
    /// A new TevDerivedObjectNCInfo.
    TevDerivedObjectInfo* createInfoInstance() override;
};

#endif // TEV_DERIVED_OBJECT_NC_H
