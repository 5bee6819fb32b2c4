/// \file
/// The derived object of a detail drawing. A detail object with id 0 is a dummy: its
/// status and info are never asked from the host. The factory has no operation for
/// detail objects: the host's detail documents create them and list them
/// (addDerivedObject); they go back through the factory's disposeObject.
#ifndef TEV_DERIVED_OBJECT_DETAIL_H
#define TEV_DERIVED_OBJECT_DETAIL_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevDerivedObject.h"

#include <cstdint>

/// The derived object of a detail drawing; id 0 makes a dummy (see
/// TevDerivedObjectDetail.h).
class LUMDERDOC_EXPORT TevDerivedObjectDetail : public TevDerivedObject {
public:
    /// Kind eDocTypeDetail, sub-kind eDocSubTypeNone.
    TevDerivedObjectDetail(TevDerivedDocument* doc, std::int64_t id, const TevString& handle);
    /// Destroys the object as TevDerivedObject does.
    ~TevDerivedObjectDetail() override;

    /// The detail info's logical object selection (the document's infos are built first
    /// when this object has none); 0 without info.
    /// \par Calls the host:
    /// the info build when this object has no info.
    long getLogicalObjectSelection();

    /// Adds category 0 and sub-category -1 unless the row's category is 4 or 5, and,
    /// with an info, the detail's title, date, style, process, scale, handle, logical
    /// selection, detailed parts and external-object state.
    /// \par Calls the host:
    /// the base's calls, then the info build when this object has none.
    void fillDocManObjectData(TevDocManObject& row) override;

protected:
    /// A new TevDerivedObjectDetailInfo.
    TevDerivedObjectInfo* createInfoInstance() override;
};

#endif // TEV_DERIVED_OBJECT_DETAIL_H
