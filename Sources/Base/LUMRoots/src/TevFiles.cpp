#include "TevFiles.h"

#include "TevString.h"

#include <string>
#include <sys/stat.h>

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
