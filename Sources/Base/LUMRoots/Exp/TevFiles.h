/// \file
/// File-system queries of the root library. The library only ever asks whether a file
/// exists; it never creates, reads or writes one.
#ifndef TEV_FILES_H
#define TEV_FILES_H

#include "TevExport.h"

class TevString;

/// Nonzero when a regular file exists at `path`. Paths use the application's
/// backslash separators; on Windows the path goes to the system as it is, on POSIX
/// systems every backslash is read as a slash.
LUMROOTS_EXPORT int tevFileExists(const TevString& path);

#endif // TEV_FILES_H
