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
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
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

std::vector<std::string> ScopedAssertionRecorder::take() {
    return std::exchange(m_texts, {});
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

std::string roomForUnlistedFields(std::size_t from, std::size_t size, std::size_t align,
                                  std::vector<FieldSpan> spans) {
    const auto alignUp = [](std::size_t at, std::size_t to) { return (at + to - 1) / to * to; };
    std::sort(spans.begin(), spans.end(),
              [](const FieldSpan& a, const FieldSpan& b) { return a.offset < b.offset; });
    std::size_t end = from;
    for (const FieldSpan& span : spans) {
        if (span.offset > alignUp(end, span.align)) {
            return "room for a field at byte " + std::to_string(end);
        }
        end = span.offset + span.size;
    }
    if (alignUp(end, align) != size) {
        return "room for a field at byte " + std::to_string(end) + " of " + std::to_string(size);
    }
    return std::string();
}

} // namespace lumtest
