// The host's own file operations. The library only asks whether files exist and
// writes paths the application's way, with backslashes; when this host touches a
// file itself it converts such a path with nativePath first.
#ifndef LUM_REFERENCE_HOST_HOST_FILES_H
#define LUM_REFERENCE_HOST_HOST_FILES_H

#include "LumDerivedDocumentsBase.h"

#include <string>

// `appPath` as this system's file functions take it: UTF-8, every backslash a slash.
std::string nativePath(const TevString& appPath);

// Replaces the contents of the file at `appPath` with `text`; false when it cannot.
bool writeTextFile(const TevString& appPath, const std::string& text);

// Removes the file at `appPath` when there is one; false when it stays.
bool removeFile(const TevString& appPath);

// Renames the file `from` to `to`; false, with the reason in `error`, when it cannot.
bool renameFile(const TevString& from, const TevString& to, std::string& error);

#endif // LUM_REFERENCE_HOST_HOST_FILES_H
