/// \file
/// The host's record of a document's approval: date, comment, approval status index
/// and check status.
#ifndef TEV_DOCUMENT_APPROVAL_H
#define TEV_DOCUMENT_APPROVAL_H

#include "TevString.h"

/// The host's record of a document's approval (see
/// QXNativeDataObjects/TevDocumentApproval.h).
struct TevDocumentApproval {
    TevString m_date;      ///< The approval date.
    TevString m_comment;   ///< The approval comment.
    int m_statusIndex = 0; ///< The approval status index.
    int m_checkStatus = 1; ///< The check status.
};

#endif // TEV_DOCUMENT_APPROVAL_H
