/// \file
/// The vocabulary of derived documents: kinds and sub-kinds of documents, object
/// statuses and result codes, modification states, refreshable parts of cached infos,
/// document-manager messages and object modifications. Every value is fixed because
/// hosts store the values and pass them back; values a host defines beyond the listed
/// ones are carried unchanged by the fixed 32-bit underlying types.
#ifndef TEV_DER_DOC_ENUMS_H
#define TEV_DER_DOC_ENUMS_H

#include "LumDerivedDocumentsBaseExport.h"

#include <cstdint>

/// The named values of derived documents, and the display code of a status (see
/// TevDerDocEnums.h).
struct LUMDERDOC_EXPORT TevDerDocEnums {
    /// The kind of a document, of a document key and of a derived object. As a filter
    /// argument, eDocTypeAll selects every kind.
    enum eDocType : std::int32_t {
        eDocTypeDetail = 0, ///< A detail drawing.
        eDocTypeBom = 1,    ///< A bill of material: an ordinary BOM list or a DSTV list.
        eDocTypeNC = 2,     ///< An NC fabrication output: an NC program or a DXF file.
        eDocTypeAll = 3,    ///< Every kind, as a filter; the kind of a default key.
    };

    /// The sub-kind of a document. Details, plain BOM documents and every derived object
    /// carry eDocSubTypeNone; DSTV lists carry eDocSubTypeDstv; NC documents carry the
    /// sub-kind the host registers them with. eDocSubTypeAll is a filter only.
    enum eDocSubType : std::int32_t {
        eDocSubTypeDstv = 0,    ///< A DSTV list, or an NC document of DSTV output.
        eDocSubTypeNCNamed = 1, ///< An NC document whose rows show its NC name.
        eDocSubTypeNCDxf = 2,   ///< An NC document of DXF output.
        eDocSubTypeNone = 3,    ///< No sub-kind.
        eDocSubTypeAll = 4,     ///< Every sub-kind; a filter only.
    };

    /// The status of a derived object and the result code of operations that can fail.
    /// Values above 1000 are error states of an object. There is no "needs an update"
    /// value: the host's getNewUpdate answers one of its own from 1 to 1000, which shows
    /// as itself; not 3, 6, 9 or 15, whose codes in a row mean something else (see Update
    /// states in TevDerivedDocumentsModel.h).
    enum ErrorStatus : std::int32_t {
        eStatusOk = 0,              ///< current; as a result, success (no other value is)
        eStatusRecheck = 3,         ///< to be asked again by the Recheck message
        eStatusError6 = 6,          ///< an error state of the host's
        eStatusUndetermined = 9,    ///< not known: new objects, dummies, unchecked documents
        eStatusFileMissing = 1001,  ///< the document's file is missing (set by getUpdate)
        eStatusError1002 = 1002,    ///< an error state of the host's
        eStatusError1008 = 1008,    ///< an error state of the host's
        eStatusNotSupported = 2001, ///< as a result: the operation is not available
        eStatusFailed = 2002,       ///< as a result: failed, or its subject was let go of meanwhile
    };

    /// The modification state of a document (TevDerivedDocument::setModificationState).
    enum ModificationState : std::int32_t {
        eModificationNone = 0,     ///< Not modified: a new or reset document.
        eModificationObsolete = 1, ///< Obsolete; announced to the model's derivedDocModified.
    };

    /// Parts of a cached info to refresh; bits that may be combined, -1 for all.
    enum eDerivedDocInfo : std::int32_t {
        eDerivedDocInfoAll = -1,        ///< Every part.
        eDerivedDocInfoRevisions = 1,   ///< The revisions, last revision index and initial name.
        eDerivedDocInfoDwgNo = 2,       ///< The drawing number and its prefix.
        eDerivedDocInfoApproval = 4,    ///< The approval date, status index and comment.
        eDerivedDocInfoCheckStatus = 8, ///< The check status.
    };

    /// Messages the document-manager dialog sends for one row. Values above 14 are
    /// handled like eDlgDocManMsgReserved6.
    enum eDlgDocManMessage : std::int32_t {
        eDlgDocManMsgUpdate = 0,            ///< Update the object, then the update-only objects.
        eDlgDocManMsgRefresh = 1,           ///< Re-read the object's status.
        eDlgDocManMsgRefreshAlt = 2,        ///< Re-read the object's status.
        eDlgDocManMsgRecheck = 3,           ///< Re-read the status of an object in eStatusRecheck.
        eDlgDocManMsgUpdateSpecial = 4,     ///< Update the object alone (`msgWas4`).
        eDlgDocManMsgSetApprovalStatus = 5, ///< Pass an approval status to the document.
        eDlgDocManMsgReserved6 = 6,         ///< Reserved: only refills the row.
        eDlgDocManMsgRefreshRevisions = 7,  ///< Refresh the revisions of the document's info.
        eDlgDocManMsgUpdateObject = 8,      ///< Update the object alone.
        eDlgDocManMsgCheckOn = 9,           ///< Set the document's check status to 1.
        eDlgDocManMsgCheckOff = 10,         ///< Set the document's check status to 0.
        eDlgDocManMsgReserved11 = 11,       ///< Reserved: only refills the row.
        eDlgDocManMsgRename = 12,           ///< Rename the document to the row's m_newName.
        eDlgDocManMsgUpdateAlt = 13,        ///< As eDlgDocManMsgUpdate (`msgWas13`).
        eDlgDocManMsgSetApprovalComment = 14, ///< Pass the row's m_newApprovalComment on.
    };

    /// What the host reports about an object after regenerating it; only
    /// eObjectModified makes the object re-read its status.
    enum ObjectModification : std::int32_t {
        eObjectModified = 1, ///< The object was regenerated: its status is re-read.
    };

    /// The codes a row of the document-manager table shows for its object's status
    /// (TevDocManObject::m_objectStatus). A status without a code of its own shows as
    /// itself.
    enum eDisplayCode : std::int32_t {
        eDisplayOtherError = -5,  ///< an error state above 1000 without a code of its own
        eDisplayError1002 = -4,   ///< eStatusError1002
        eDisplayError1008 = -3,   ///< eStatusError1008
        eDisplayFileMissing = -2, ///< eStatusFileMissing
        eDisplayError6 = -1,      ///< eStatusError6
        eDisplayUndetermined = 3, ///< eStatusUndetermined, shown like eStatusRecheck
        eDisplayDuplicate = 15,   ///< any status of an object in a duplicate group of two or more
    };

    /// The code the document-manager table shows for `status`: 1002 gives -4, 1008
    /// gives -3, 1001 gives -2, 6 gives -1, 9 gives 3, any other value above 1000 gives
    /// -5, and every other value (negative ones included) shows as itself. A row shows
    /// eDisplayDuplicate instead for an object in a duplicate group.
    static int displayCode(ErrorStatus status);

    /// The category codes (TevDocManObject::m_category) the object kinds write into their
    /// rows, from the key of the object's document. What a category looks like on screen
    /// is the host's choice.
    enum eDocManCategory : std::int32_t {
        eDocManCategoryDetail = 0,      ///< detail objects; BOM objects of a detail key
        eDocManCategoryBom = 1,         ///< objects of a plain BOM document
        eDocManCategoryNC = 2,          ///< DSTV lists; NC objects of DSTV and named NC documents
        eDocManCategoryNCDxf = 3,       ///< NC objects of eDocSubTypeNCDxf documents
        eDocManCategoryHostDetail4 = 4, ///< set by the host on a detail row; refills keep it
        eDocManCategoryHostDetail5 = 5, ///< set by the host on a detail row; refills keep it
    };

    /// The sub-category codes (TevDocManObject::m_subCategory) written with a category.
    /// A plain BOM document's row keeps the sub-category it has (-1 in a new row).
    enum eDocManSubCategory : std::int32_t {
        eDocManSubCategoryNone = -1, ///< detail rows; DXF rows whose NC name lacks "DXF"
        eDocManSubCategoryBom = 0,   ///< BOM objects of a detail key, and DSTV lists
        eDocManSubCategoryDstv = 1,  ///< NC objects of eDocSubTypeDstv documents
        eDocManSubCategoryNamed = 2, ///< NC rows showing the key's NC name (m_ncName, m_ncDxfName)
    };
};

#endif // TEV_DER_DOC_ENUMS_H
