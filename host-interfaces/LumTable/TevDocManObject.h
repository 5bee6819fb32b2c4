// One row of the host's document-manager table: the data of one derived object and of
// the document that holds it, plus two inputs that the host writes before it sends a
// command for the row. The table is a TevArray<TevDocManObject> that the host owns.
#ifndef TEV_DOC_MAN_OBJECT_H
#define TEV_DOC_MAN_OBJECT_H

#include "LumTable/LumTableExport.h"
#include "LumTable/TevTableObject.h"
#include "TevArray.h"
#include "TevString.h"

class TevDerivedObject;

class LUMTABLE_EXPORT TevDocManObject : public TevTableObject {
public:
    TevDocManObject() = default;
    TevDocManObject(const TevDocManObject&) = default;
    // Takes every field over; `other` is left with empty texts and lists.
    TevDocManObject(TevDocManObject&& other) noexcept;
    // Copies every field, the removal mark included.
    const TevDocManObject& operator=(const TevDocManObject& other);
    // Takes every field over, the removal mark included; `other` is left with empty
    // texts and lists. Erasing rows moves them, so that no text is copied.
    TevDocManObject& operator=(TevDocManObject&& other) noexcept;
    ~TevDocManObject() override;

    TevString m_fileName;
    TevString m_newName;            // Input from the host: the document's new name.
    TevString m_newApprovalComment; // Input from the host: the approval comment entered.
    TevString m_path;
    int m_objectStatus = 0;
    TevString m_title;
    TevString m_date;
    TevString m_styleName;
    TevString m_processName;
    int m_category = -1;
    // Not owned; the object the row shows. Only ever compared, never followed: a row
    // marked as removed may keep the address of an object destroyed since.
    TevDerivedObject* m_derivedObject = nullptr;
    TevString m_scale;
    TevString m_detailHandle;
    int m_subCategory = -1;
    int m_commandActive = 0;
    TevString m_approvalDate;
    TevString m_approvalComment;
    int m_approvalStatusIndex = 0;
    int m_checkStatus = 0;
    bool m_detExternalObjectState = false;
    TevArray<TevArray<TevString>> m_revisions; // One inner array of texts per revision.
    TevString m_lastRevIdx;
    TevString m_lastRevisionEntry2;
    TevString m_lastRevisionEntry1;
    TevString m_lastRevisionEntry3;
    TevString m_lastRevisionEntry4;
    TevString m_ncDxfName;
    TevString m_ncName;
    TevString m_prototypeName;
    TevString m_fullDwgNo;
    int m_logicalObjectSelection = 0;
    TevArray<TevString> m_singlePartsDetailed;
    TevArray<TevString> m_mainPartsDetailed;
    // Set when the row's object left the table while the document manager was open;
    // such rows are erased when the manager closes.
    bool m_removed = false;
};

#endif // TEV_DOC_MAN_OBJECT_H
