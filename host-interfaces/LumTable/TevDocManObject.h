/// \file
/// One row of the host's document-manager table: the data of one derived object and of
/// the document that holds it, plus two inputs that the host writes before it sends a
/// command for the row. The table is a `TevArray<TevDocManObject>` that the host owns.
#ifndef TEV_DOC_MAN_OBJECT_H
#define TEV_DOC_MAN_OBJECT_H

#include "LumTable/LumTableExport.h"
#include "LumTable/TevTableObject.h"
#include "TevArray.h"
#include "TevString.h"

class TevDerivedObject;

/// One row of the document-manager table (see LumTable/TevDocManObject.h). The fields
/// name what the derived-documents library writes into them when it fills a row.
class LUMTABLE_EXPORT TevDocManObject : public TevTableObject {
public:
    /// An empty row: empty texts and lists, category and sub-category -1, no object.
    TevDocManObject() = default;
    /// Copies every field, the removal mark included.
    TevDocManObject(const TevDocManObject&) = default;
    /// Takes every field over; `other` is left with empty texts and lists.
    TevDocManObject(TevDocManObject&& other) noexcept;
    /// Copies every field, the removal mark included.
    const TevDocManObject& operator=(const TevDocManObject& other);
    /// Takes every field over, the removal mark included; `other` is left with empty
    /// texts and lists. Erasing rows moves them, so that no text is copied.
    TevDocManObject& operator=(TevDocManObject&& other) noexcept;
    /// Destroys the texts and lists of the row.
    ~TevDocManObject() override;

    TevString m_fileName;           ///< The document's file name: "A1.dwg".
    TevString m_newName;            ///< Input from the host: the document's new name.
    TevString m_newApprovalComment; ///< Input from the host: the approval comment entered.
    /// The document's folder: the derived-documents folder and the key's relative path.
    TevString m_path;
    /// The display code of the object's status (TevDerDocEnums::displayCode; 15 for a
    /// duplicate).
    int m_objectStatus = 0;
    TevString m_title;     ///< The title of the object's info.
    TevString m_date;      ///< The date of the object's info.
    TevString m_styleName; ///< The style: a detail's style name, a BOM's title, "-" for NC.
    /// The process: a detail's process description, a BOM's model extract, "-" for NC.
    TevString m_processName;
    int m_category = -1; ///< The category code (TevDerDocEnums::eDocManCategory).
    /// Not owned; the object the row shows. Only ever compared, never followed: a row
    /// marked as removed may keep the address of an object destroyed since.
    TevDerivedObject* m_derivedObject = nullptr;
    TevString m_scale;             ///< A detail's scale.
    TevString m_detailHandle;      ///< A detail's handle.
    int m_subCategory = -1;        ///< The sub-category code (TevDerDocEnums::eDocManSubCategory).
    int m_commandActive = 0;       ///< Nonzero while a command of the host works on the file.
    TevString m_approvalDate;      ///< The approval date of the document's info.
    TevString m_approvalComment;   ///< The approval comment of the document's info.
    int m_approvalStatusIndex = 0; ///< The approval status index of the document's info.
    int m_checkStatus = 0;         ///< The check status of the document's info.
    bool m_detExternalObjectState = false;     ///< A detail's external-object state.
    TevArray<TevArray<TevString>> m_revisions; ///< One inner array of texts per revision.
    TevString m_lastRevIdx;                    ///< The last revision index of the document's info.
    TevString m_lastRevisionEntry2;            ///< Text 2 of the last revision.
    TevString m_lastRevisionEntry1;            ///< Text 1 of the last revision.
    TevString m_lastRevisionEntry3;            ///< Text 3 of the last revision.
    TevString m_lastRevisionEntry4;            ///< Text 4 of the last revision.
    TevString m_ncDxfName;     ///< The NC name of a DXF document's key (eDocSubTypeNCDxf).
    TevString m_ncName;        ///< The NC name of a named NC document's key (eDocSubTypeNCNamed).
    TevString m_prototypeName; ///< The prototype name of the document's info.
    TevString m_fullDwgNo;     ///< The drawing number, prefix first.
    int m_logicalObjectSelection = 0;          ///< A detail's logical object selection.
    TevArray<TevString> m_singlePartsDetailed; ///< The single parts a detail shows.
    TevArray<TevString> m_mainPartsDetailed;   ///< The main parts a detail shows.
    /// Set when the row's object left the table while the document manager was open;
    /// such rows are erased when the manager closes.
    bool m_removed = false;
};

#endif // TEV_DOC_MAN_OBJECT_H
