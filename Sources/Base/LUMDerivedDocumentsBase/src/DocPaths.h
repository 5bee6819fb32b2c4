// Internal: the folder of a document path the host gives relative to the
// derived-documents folder.
#ifndef LUM_DOC_PATHS_H
#define LUM_DOC_PATHS_H

#include "TevString.h"

namespace lumdd {

// Hosts give the paths of reports and detail drawings as "..\<folder>\<file>", the ".."
// standing for the derived-documents folder. When `dir`, the folder part of such a path,
// holds "..", sets `relPath` to `dir` without its first two units ("\<folder>\") and
// answers true; answers false otherwise, and `relPath` stays as it was.
inline bool stripDerDocsFolder(const TevString& dir, TevString& relPath) {
    if (dir.find(u"..") < 0) {
        return false;
    }
    relPath = dir.right(dir.length() - 2);
    return true;
}

} // namespace lumdd

#endif // LUM_DOC_PATHS_H
