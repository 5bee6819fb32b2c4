#include "HostFiles.h"

#include <filesystem>
#include <fstream>
#include <system_error>

std::string nativePath(const TevString& appPath) {
    std::string path = appPath.toUtf8();
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

bool writeTextFile(const TevString& appPath, const std::string& text) {
    std::ofstream file(nativePath(appPath), std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file);
}

bool removeFile(const TevString& appPath) {
    std::error_code error;
    std::filesystem::remove(nativePath(appPath), error);
    return !error;
}

bool renameFile(const TevString& from, const TevString& to, std::string& error) {
    std::error_code code;
    std::filesystem::rename(nativePath(from), nativePath(to), code);
    error = code.message();
    return !code;
}
