#include "TestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <system_error>
#include <utility>

namespace lumtest {
namespace {

ScopedAssertionRecorder* activeRecorder = nullptr;

std::string uniqueName() {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return "lum-test-" + std::to_string(now) + "-" + std::to_string(counter++);
}

std::string withBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

} // namespace

ScopedAssertionRecorder::ScopedAssertionRecorder()
    : m_previousHandler(TevAssert::setHandler(&ScopedAssertionRecorder::record))
    , m_previousRecorder(activeRecorder) {
    activeRecorder = this;
}

ScopedAssertionRecorder::~ScopedAssertionRecorder() {
    activeRecorder = m_previousRecorder;
    TevAssert::setHandler(m_previousHandler);
}

void ScopedAssertionRecorder::record(const char* expression, const char*, int) {
    if (activeRecorder != nullptr) {
        activeRecorder->m_texts.emplace_back(expression != nullptr ? expression : "");
    }
}

TempFolder::TempFolder()
    : m_path(std::filesystem::temp_directory_path() / uniqueName()) {
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

TevString TempFolder::appPath(const std::string& relative) const {
    // On Windows the folder is a native path with its drive letter (C:\... or, under
    // Wine, possibly Z:\...); elsewhere it is the POSIX path with backslashes.
    std::string full = withBackslashes(m_path.generic_u8string());
    if (!relative.empty()) {
        full += '\\' + withBackslashes(relative);
    }
    return TevString(full.c_str());
}

void TempFolder::createFile(const std::string& relative, const std::string& contents) const {
    const std::filesystem::path file = m_path / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contents;
}

} // namespace lumtest
