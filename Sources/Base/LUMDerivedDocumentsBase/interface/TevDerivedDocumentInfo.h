// The cached descriptive data of one derived document as the document-manager table
// shows it: drawing number, approval, check status, revisions, initial file name and
// prototype. The host fills it; the library stores, copies and hands the values on.
#ifndef TEV_DERIVED_DOCUMENT_INFO_H
#define TEV_DERIVED_DOCUMENT_INFO_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevArray.h"
#include "TevDerDocEnums.h"
#include "TevString.h"

class LUMDERDOC_EXPORT TevDerivedDocumentInfo {
public:
    // One revision: its texts in the host's column order.
    using Revision = TevArray<TevString>;
    using RevisionTable = TevArray<Revision>;

    // Empty texts and revision table, approval status index 0, check status 1.
    TevDerivedDocumentInfo();
    TevDerivedDocumentInfo(const TevDerivedDocumentInfo& other);
    // Copies every field: `other` is left as it was.
    TevDerivedDocumentInfo(TevDerivedDocumentInfo&& other);
    TevDerivedDocumentInfo& operator=(const TevDerivedDocumentInfo& other);
    // Copies every field: `other` is left as it was.
    TevDerivedDocumentInfo& operator=(TevDerivedDocumentInfo&& other);

    // Puts every field back to its initial value.
    virtual void reset();
    // REQUIRES: src != nullptr. Copies drawing number and prefix, revision table, last
    // revision index, initial file name and prototype name; with `withApproval` also the
    // approval date, status index, comment and the check status. A null `src` is
    // reported and changes nothing.
    virtual void setFrom(const TevDerivedDocumentInfo* src, bool withApproval);
    // REQUIRES: src != nullptr. eDerivedDocInfoAll runs setFrom(src, withApproval).
    // Otherwise, with `withApproval`: bit Approval copies approval date and status
    // index, any of bits DwgNo, Approval and CheckStatus copies the approval comment,
    // bit CheckStatus copies the check status. Whatever `withApproval`: bit Revisions
    // copies revision table, last revision index and initial file name; bit DwgNo copies
    // drawing number and prefix. The prototype name is copied only by setFrom.
    virtual void refreshInfo(const TevDerivedDocumentInfo* src,
                             TevDerDocEnums::eDerivedDocInfo what, bool withApproval);
    // Virtual so that a subclass deleted through this class is destroyed whole.
    virtual ~TevDerivedDocumentInfo();

    void setDwgNo(const TevString& dwgNo, const TevString& prefix);
    void getDwgNo(TevString& dwgNo, TevString& prefix) const;
    void setApprovalDate(const TevString& approvalDate);
    TevString getApprovalDate() const;
    void setApprovalComment(const TevString& approvalComment);
    TevString getApprovalComment() const;
    void setApprovalStatusIndex(int approvalStatusIndex);
    int getApprovalStatusIndex() const;
    void setCheckStatus(int checkStatus);
    int getCheckStatus() const;
    // Stores a copy of `revisions`.
    void setRevisions(const RevisionTable& revisions);
    const RevisionTable& getRevisions() const;
    void setLastRevIdx(const TevString& lastRevIdx);
    TevString getLastRevIdx() const;
    // Keeps the file name of `path` without its folder: with its extension, unless that
    // extension is ".dwg" in any case, which is dropped.
    void setInitialFileName(const TevString& path);
    TevString getInitialFileName() const;
    // Keeps the bare name of `path`: no folder, no extension.
    void setPrototypeName(const TevString& path);
    TevString getPrototypeName() const;

private:
    void copyApprovalDateAndStatus(const TevDerivedDocumentInfo& src);
    void copyRevisionData(const TevDerivedDocumentInfo& src);
    void copyDwgNo(const TevDerivedDocumentInfo& src);

protected:
    TevString m_dwgNo;
    TevString m_dwgNoPrefix;
    TevString m_approvalDate;
    TevString m_approvalComment;
    int m_approvalStatusIndex;
    int m_checkStatus;
    RevisionTable m_revisions;
    TevString m_lastRevIdx;
    TevString m_initialFileName;
    TevString m_prototypeName;
};

#endif // TEV_DERIVED_DOCUMENT_INFO_H
