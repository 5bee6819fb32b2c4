// The host's record of a document's approval: date, comment, approval status index
// and check status.
#ifndef TEV_DOCUMENT_APPROVAL_H
#define TEV_DOCUMENT_APPROVAL_H

#include "TevString.h"

struct TevDocumentApproval {
    TevString m_date;
    TevString m_comment;
    int m_statusIndex = 0;
    int m_checkStatus = 1;
};

#endif // TEV_DOCUMENT_APPROVAL_H
