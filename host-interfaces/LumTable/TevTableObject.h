/// \file
/// Base of every row of the application's tables. Rows are values held by a
/// TevArray and destroyed through the virtual destructor.
#ifndef TEV_TABLE_OBJECT_H
#define TEV_TABLE_OBJECT_H

#include "LumTable/LumTableExport.h"

/// Base of every table row (see LumTable/TevTableObject.h).
class LUMTABLE_EXPORT TevTableObject {
public:
    /// A row with deleted status 0.
    TevTableObject() = default;
    /// Copies the deleted status.
    TevTableObject(const TevTableObject&) = default;
    /// Copies the deleted status.
    TevTableObject& operator=(const TevTableObject&) = default;
    /// Virtual, so that a row is destroyed whole through this class.
    virtual ~TevTableObject();

    /// Default: stores `status` as the row's deleted status, which the table's owner
    /// interprets; 0 on a fresh row.
    virtual void setDeletedStatus(int status);
    /// Default: the status last stored by setDeletedStatus.
    virtual int getDeletedStatus() const;

private:
    int m_deletedStatus = 0;
};

#endif // TEV_TABLE_OBJECT_H
