/// \file
/// A group of derived objects that show the same thing. The model owns the groups;
/// a group refers to its objects and each member points back at its group, neither
/// owning the other. An object in a group of two or more shows as a duplicate.
#ifndef TEV_DERIVED_OBJECT_DUPLICATE_INFO_H
#define TEV_DERIVED_OBJECT_DUPLICATE_INFO_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevArray.h"

class TevDerivedDocumentsModel;
class TevDerivedObject;

/// A group of derived objects that show the same thing (see
/// TevDerivedObjectDuplicateInfo.h).
class LUMDERDOC_EXPORT TevDerivedObjectDuplicateInfo {
public:
    /// The members are a copy of `objects`; the objects themselves are not touched.
    explicit TevDerivedObjectDuplicateInfo(const TevArray<TevDerivedObject*>& objects);
    /// The same members as `other`; the objects keep pointing at `other`.
    TevDerivedObjectDuplicateInfo(const TevDerivedObjectDuplicateInfo& other) = default;
    /// The same members as `other`; the objects keep pointing at the group they point at.
    TevDerivedObjectDuplicateInfo& operator=(const TevDerivedObjectDuplicateInfo& other) = default;
    /// Every member still listed that points at this group is pointed at no group.
    virtual ~TevDerivedObjectDuplicateInfo();

    /// True when the group holds two or more objects.
    bool objectsAreDuplicated() const;
    /// Takes `obj` out of the group (it then points at no group) and answers true;
    /// false, with nothing changed, when it is not a member.
    bool removeObject(TevDerivedObject* obj);
    /// The members, in the order given. Not owned.
    const TevArray<TevDerivedObject*>& getObjects() const;

private:
    friend class TevDerivedDocumentsModel; // Adds members when it joins sets to a group.

    bool hasObject(const TevDerivedObject* obj) const;
    void appendObject(TevDerivedObject* obj);

    TevArray<TevDerivedObject*> m_objects; // Not owned.
};

#endif // TEV_DERIVED_OBJECT_DUPLICATE_INFO_H
