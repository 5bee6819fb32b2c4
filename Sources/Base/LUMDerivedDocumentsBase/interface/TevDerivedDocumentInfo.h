/// \file
/// The cached descriptive data of one derived document as the document-manager table
/// shows it: drawing number, approval, check status, revisions, initial file name and
/// prototype. The host fills it; the library stores, copies and hands the values on.
#ifndef TEV_DERIVED_DOCUMENT_INFO_H
#define TEV_DERIVED_DOCUMENT_INFO_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevArray.h"
#include "TevDerDocEnums.h"
#include "TevString.h"

/// The cached descriptive data of one derived document (see TevDerivedDocumentInfo.h).
class LUMDERDOC_EXPORT TevDerivedDocumentInfo {
public:
    /// One revision: its texts in the host's column order.
    using Revision = TevArray<TevString>;
    /// The revisions of a document, one Revision each.
    using RevisionTable = TevArray<Revision>;

    /// Empty texts and revision table, approval status index 0, check status 1.
    TevDerivedDocumentInfo();
    /// Copies every field.
    TevDerivedDocumentInfo(const TevDerivedDocumentInfo& other);
    /// Copies every field: `other` is left as it was.
    TevDerivedDocumentInfo(TevDerivedDocumentInfo&& other);
    /// Copies every field.
    TevDerivedDocumentInfo& operator=(const TevDerivedDocumentInfo& other);
    /// Copies every field: `other` is left as it was.
    TevDerivedDocumentInfo& operator=(TevDerivedDocumentInfo&& other);

    /// Puts every field back to its initial value.
    virtual void reset();
    /// Copies drawing number and prefix, revision table, last revision index, initial
    /// file name and prototype name; with `withApproval` also the approval date, status
    /// index, comment and the check status. A null `src` is reported and changes
    /// nothing.
    /// \pre src != nullptr.
    virtual void setFrom(const TevDerivedDocumentInfo* src, bool withApproval);
    /// eDerivedDocInfoAll runs setFrom(src, withApproval).
    /// Otherwise, with `withApproval`: bit Approval copies approval date and status
    /// index, any of bits DwgNo, Approval and CheckStatus copies the approval comment,
    /// bit CheckStatus copies the check status. Whatever `withApproval`: bit Revisions
    /// copies revision table, last revision index and initial file name; bit DwgNo copies
    /// drawing number and prefix. The prototype name is copied only by setFrom.
    /// \pre src != nullptr.
    virtual void refreshInfo(const TevDerivedDocumentInfo* src,
                             TevDerDocEnums::eDerivedDocInfo what, bool withApproval);
    /// Virtual so that a subclass deleted through this class is destroyed whole.
    virtual ~TevDerivedDocumentInfo();

    /// Sets the drawing number and its prefix.
    void setDwgNo(const TevString& dwgNo, const TevString& prefix);
    /// Copies the drawing number and its prefix into `dwgNo` and `prefix`.
    void getDwgNo(TevString& dwgNo, TevString& prefix) const;
    void setApprovalDate(const TevString& approvalDate);       ///< Sets the approval date.
    TevString getApprovalDate() const;                         ///< The approval date.
    void setApprovalComment(const TevString& approvalComment); ///< Sets the approval comment.
    TevString getApprovalComment() const;                      ///< The approval comment.
    void setApprovalStatusIndex(int approvalStatusIndex);      ///< Sets the approval status index.
    int getApprovalStatusIndex() const;   ///< The approval status index; 0 at first.
    void setCheckStatus(int checkStatus); ///< Sets the check status.
    int getCheckStatus() const;           ///< The check status; 1 at first.
    /// Stores a copy of `revisions`.
    void setRevisions(const RevisionTable& revisions);
    const RevisionTable& getRevisions() const;       ///< The revision table.
    void setLastRevIdx(const TevString& lastRevIdx); ///< Sets the last revision index.
    TevString getLastRevIdx() const;                 ///< The last revision index.
    /// Keeps the file name of `path` without its folder: with its extension, unless that
    /// extension is ".dwg" in any case, which is dropped.
    void setInitialFileName(const TevString& path);
    TevString getInitialFileName() const; ///< The initial file name kept by setInitialFileName.
    /// Keeps the bare name of `path`: no folder, no extension.
    void setPrototypeName(const TevString& path);
    TevString getPrototypeName() const; ///< The prototype name kept by setPrototypeName.

private:
    void copyApprovalDateAndStatus(const TevDerivedDocumentInfo& src);
    void copyRevisionData(const TevDerivedDocumentInfo& src);
    void copyDwgNo(const TevDerivedDocumentInfo& src);

protected:
    TevString m_dwgNo;           ///< The drawing number.
    TevString m_dwgNoPrefix;     ///< The drawing number's prefix.
    TevString m_approvalDate;    ///< The approval date.
    TevString m_approvalComment; ///< The approval comment.
    int m_approvalStatusIndex;   ///< The approval status index.
    int m_checkStatus;           ///< The check status.
    RevisionTable m_revisions;   ///< The revision table.
    TevString m_lastRevIdx;      ///< The last revision index.
    TevString m_initialFileName; ///< The initial file name.
    TevString m_prototypeName;   ///< The prototype name.
};

#endif // TEV_DERIVED_DOCUMENT_INFO_H
