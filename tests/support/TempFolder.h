// Test support: a real folder in the system's temporary directory, created for one
// test and removed with everything in it when the test ends.
#ifndef LUM_TEST_TEMP_FOLDER_H
#define LUM_TEST_TEMP_FOLDER_H

#include "TevString.h"

#include <filesystem>
#include <string>

namespace lumtest {

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::filesystem::path& path() const { return m_path; }

    // The folder, or `relative` inside it, as the application writes paths: with
    // backslash separators. On Windows it is the native path, drive letter included.
    TevString appPath(const std::string& relative = std::string()) const;

    // Creates the file `relative` (with its folders), holding `contents`.
    void createFile(const std::string& relative, const std::string& contents = "x") const;

private:
    std::filesystem::path m_path;
};

} // namespace lumtest

#endif // LUM_TEST_TEMP_FOLDER_H
