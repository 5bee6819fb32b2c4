#include "TevDerivedDocumentInfo.h"

#include "TevAssert.h"

namespace {

constexpr int kInitialApprovalStatusIndex = 0;
constexpr int kInitialCheckStatus = 1;

// The drawing format's own extension; an initial file name is kept without it.
const char16_t* const kDrawingExtension = u".dwg";

// The file name and extension of `path`; drive and folder are dropped.
void splitFileName(const TevString& path, TevString& name, TevString& ext) {
    TevString drive;
    TevString dir;
    path.SplitPath(drive, dir, name, ext);
}

bool hasBit(TevDerDocEnums::eDerivedDocInfo what, TevDerDocEnums::eDerivedDocInfo bit) {
    return (what & bit) != 0;
}

} // namespace

TevDerivedDocumentInfo::TevDerivedDocumentInfo()
    : m_approvalStatusIndex(kInitialApprovalStatusIndex)
    , m_checkStatus(kInitialCheckStatus) {}

TevDerivedDocumentInfo::TevDerivedDocumentInfo(const TevDerivedDocumentInfo& other) = default;

// The moves copy, rather than being defaulted, so that `other` is left as it was.
TevDerivedDocumentInfo::TevDerivedDocumentInfo(TevDerivedDocumentInfo&& other)
    : TevDerivedDocumentInfo(static_cast<const TevDerivedDocumentInfo&>(other)) {}

TevDerivedDocumentInfo&
TevDerivedDocumentInfo::operator=(const TevDerivedDocumentInfo& other) = default;

TevDerivedDocumentInfo& TevDerivedDocumentInfo::operator=(TevDerivedDocumentInfo&& other) {
    return *this = static_cast<const TevDerivedDocumentInfo&>(other);
}

TevDerivedDocumentInfo::~TevDerivedDocumentInfo() = default;

void TevDerivedDocumentInfo::reset() {
    m_dwgNo = TevString();
    m_dwgNoPrefix = TevString();
    m_approvalDate = TevString();
    m_approvalComment = TevString();
    m_approvalStatusIndex = kInitialApprovalStatusIndex;
    m_checkStatus = kInitialCheckStatus;
    m_revisions = RevisionTable();
    m_lastRevIdx = TevString();
    m_initialFileName = TevString();
    m_prototypeName = TevString();
}

void TevDerivedDocumentInfo::setFrom(const TevDerivedDocumentInfo* src, bool withApproval) {
    if (!TEV_ASSERT(src != nullptr, "src")) {
        return;
    }
    copyDwgNo(*src);
    copyRevisionData(*src);
    m_prototypeName = src->m_prototypeName;
    if (!withApproval) {
        return;
    }
    copyApprovalDateAndStatus(*src);
    m_approvalComment = src->m_approvalComment;
    m_checkStatus = src->m_checkStatus;
}

void TevDerivedDocumentInfo::refreshInfo(const TevDerivedDocumentInfo* src,
                                         TevDerDocEnums::eDerivedDocInfo what, bool withApproval) {
    using E = TevDerDocEnums;
    if (!TEV_ASSERT(src != nullptr, "src")) {
        return;
    }
    if (what == E::eDerivedDocInfoAll) {
        setFrom(src, withApproval);
        return;
    }
    if (withApproval) {
        if (hasBit(what, E::eDerivedDocInfoApproval)) {
            copyApprovalDateAndStatus(*src);
        }
        if (hasBit(what, E::eDerivedDocInfoDwgNo) || hasBit(what, E::eDerivedDocInfoApproval) ||
            hasBit(what, E::eDerivedDocInfoCheckStatus)) {
            m_approvalComment = src->m_approvalComment;
        }
        if (hasBit(what, E::eDerivedDocInfoCheckStatus)) {
            m_checkStatus = src->m_checkStatus;
        }
    }
    if (hasBit(what, E::eDerivedDocInfoRevisions)) {
        copyRevisionData(*src);
    }
    if (hasBit(what, E::eDerivedDocInfoDwgNo)) {
        copyDwgNo(*src);
    }
}

void TevDerivedDocumentInfo::copyApprovalDateAndStatus(const TevDerivedDocumentInfo& src) {
    m_approvalDate = src.m_approvalDate;
    m_approvalStatusIndex = src.m_approvalStatusIndex;
}

void TevDerivedDocumentInfo::copyRevisionData(const TevDerivedDocumentInfo& src) {
    m_revisions = src.m_revisions;
    m_lastRevIdx = src.m_lastRevIdx;
    m_initialFileName = src.m_initialFileName;
}

void TevDerivedDocumentInfo::copyDwgNo(const TevDerivedDocumentInfo& src) {
    m_dwgNo = src.m_dwgNo;
    m_dwgNoPrefix = src.m_dwgNoPrefix;
}

void TevDerivedDocumentInfo::setDwgNo(const TevString& dwgNo, const TevString& prefix) {
    m_dwgNo = dwgNo;
    m_dwgNoPrefix = prefix;
}

void TevDerivedDocumentInfo::getDwgNo(TevString& dwgNo, TevString& prefix) const {
    dwgNo = m_dwgNo;
    prefix = m_dwgNoPrefix;
}

void TevDerivedDocumentInfo::setApprovalDate(const TevString& approvalDate) {
    m_approvalDate = approvalDate;
}

TevString TevDerivedDocumentInfo::getApprovalDate() const {
    return m_approvalDate;
}

void TevDerivedDocumentInfo::setApprovalComment(const TevString& approvalComment) {
    m_approvalComment = approvalComment;
}

TevString TevDerivedDocumentInfo::getApprovalComment() const {
    return m_approvalComment;
}

void TevDerivedDocumentInfo::setApprovalStatusIndex(int approvalStatusIndex) {
    m_approvalStatusIndex = approvalStatusIndex;
}

int TevDerivedDocumentInfo::getApprovalStatusIndex() const {
    return m_approvalStatusIndex;
}

void TevDerivedDocumentInfo::setCheckStatus(int checkStatus) {
    m_checkStatus = checkStatus;
}

int TevDerivedDocumentInfo::getCheckStatus() const {
    return m_checkStatus;
}

void TevDerivedDocumentInfo::setRevisions(const RevisionTable& revisions) {
    m_revisions = revisions;
}

const TevDerivedDocumentInfo::RevisionTable& TevDerivedDocumentInfo::getRevisions() const {
    return m_revisions;
}

void TevDerivedDocumentInfo::setLastRevIdx(const TevString& lastRevIdx) {
    m_lastRevIdx = lastRevIdx;
}

TevString TevDerivedDocumentInfo::getLastRevIdx() const {
    return m_lastRevIdx;
}

void TevDerivedDocumentInfo::setInitialFileName(const TevString& path) {
    TevString name;
    TevString ext;
    splitFileName(path, name, ext);
    const bool keepExtension =
        !ext.isEmpty() && TevString::compareNoCase(ext, kDrawingExtension) != 0;
    m_initialFileName = keepExtension ? name + ext : name;
}

TevString TevDerivedDocumentInfo::getInitialFileName() const {
    return m_initialFileName;
}

void TevDerivedDocumentInfo::setPrototypeName(const TevString& path) {
    TevString name;
    TevString ext;
    splitFileName(path, name, ext);
    m_prototypeName = name;
}

TevString TevDerivedDocumentInfo::getPrototypeName() const {
    return m_prototypeName;
}
