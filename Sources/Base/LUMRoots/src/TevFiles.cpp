#include "TevFiles.h"

#include "TevString.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <string>
#include <sys/stat.h>
#endif

#if defined(_WIN32)

// The path as given, in UTF-16, to the wide-character API: drive letters, backslashes
// and UNC names are the platform's own.
int tevFileExists(const TevString& path) {
    if (path.isEmpty()) {
        return 0;
    }
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t holds UTF-16");
    const DWORD attributes =
        ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.getStringW()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
               ? 1
               : 0;
}

#else

int tevFileExists(const TevString& path) {
    if (path.isEmpty()) {
        return 0;
    }
    std::string native = path.toUtf8();
    for (char& byte : native) {
        if (byte == '\\') {
            byte = '/';
        }
    }
    struct stat status {};
    return ::stat(native.c_str(), &status) == 0 && S_ISREG(status.st_mode) ? 1 : 0;
}

#endif
