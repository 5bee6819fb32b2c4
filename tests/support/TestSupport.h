// Test support shared by every suite: recorded assertions, scratch folders, scripted
// allocation failures, counted elements and readable output of the root library's values.
#ifndef LUM_TEST_SUPPORT_H
#define LUM_TEST_SUPPORT_H

#include "TevAssert.h"
#include "TevMemoryControllerController.h"
#include "TevString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// Readable GoogleTest output for the root library's values.
inline void PrintTo(const TevString& text, std::ostream* out) {
    *out << '"' << text.toUtf8() << '"';
}

namespace lumtest {

using Texts = std::vector<std::string>;
using Ints = std::vector<int>;

// Empty when `fields`, members of `object`, fill it from byte `from` (the end of its base
// or of its virtual table pointer) to its end with no room between them but the padding
// their alignment needs; otherwise says where a field not listed lies. A field added to a
// class with hand-written copies, and not to its test's list of fields, shows here.
template <class Object, class... Fields>
std::string roomForUnlistedFields(const Object& object, std::size_t from,
                                  const std::tuple<Fields&...>& fields) {
    const auto at = [&](const void* field) {
        return static_cast<std::size_t>(static_cast<const char*>(field) -
                                        reinterpret_cast<const char*>(&object));
    };
    std::vector<std::array<std::size_t, 3>> spans; // offset, size, alignment
    std::apply(
        [&](const auto&... f) {
            (spans.push_back({at(&f), sizeof f, alignof(decltype(f))}), ...);
        },
        fields);
    std::sort(spans.begin(), spans.end());
    const auto alignUp = [](std::size_t n, std::size_t to) { return (n + to - 1) / to * to; };
    std::size_t end = from;
    for (const auto& [offset, size, align] : spans) {
        if (offset > alignUp(end, align)) {
            break;
        }
        end = offset + size;
    }
    return alignUp(end, alignof(Object)) == sizeof(Object)
               ? ""
               : "room for a field at byte " + std::to_string(end);
}

// While a ScopedAssertionRecorder lives, every TevAssert report is
// recorded instead of printed, so tests can check the exact expression texts.
class ScopedAssertionRecorder {
public:
    ScopedAssertionRecorder();
    ScopedAssertionRecorder(const ScopedAssertionRecorder&) = delete;
    ScopedAssertionRecorder& operator=(const ScopedAssertionRecorder&) = delete;
    // Reinstalls the handler (and recorder) that was active before.
    ~ScopedAssertionRecorder();

    // Expression texts reported so far, in order.
    const std::vector<std::string>& texts() const { return m_texts; }
    // Returns the recorded texts and forgets them.
    std::vector<std::string> take() { return std::exchange(m_texts, {}); }

private:
    static void record(const char* expression, const char* file, int line);

    std::vector<std::string> m_texts;
    TevAssert::Handler m_previousHandler;
    ScopedAssertionRecorder* m_previousRecorder;
};

// A real folder in the system's temporary directory, created for one
// test and removed with everything in it when the test ends.
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

// While a ScopedAllocationFailure lives, the root library's memory
// controller refuses allocations as scripted. Only allocations of `size` bytes per
// element count (any size when 0): the first `granted` go through, the next `refusing`
// fail, and any after those go through again. Scopes nest.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(int granted = 0, std::size_t size = 0, int refusing = INT_MAX)
        : m_granted(granted)
        , m_refusing(refusing)
        , m_elementSize(size)
        , m_outer(std::exchange(s_active, this))
        , m_outerPredicate(TevMemoryControllerController::setFailurePredicate(&decide)) {}
    ~ScopedAllocationFailure() {
        TevMemoryControllerController::setFailurePredicate(m_outerPredicate);
        s_active = m_outer;
    }

    // Allocations of the chosen size let through, and refused, so far.
    int grantedSoFar() const { return m_grantedSoFar; }
    int refused() const { return m_refused; }

private:
    static bool decide(int, std::size_t elementSize) {
        ScopedAllocationFailure& a = *s_active;
        const bool sized = a.m_elementSize == 0 || elementSize == a.m_elementSize;
        const bool refuse = sized && a.m_grantedSoFar >= a.m_granted && a.m_refused < a.m_refusing;
        a.m_refused += refuse ? 1 : 0;
        a.m_grantedSoFar += sized && !refuse ? 1 : 0;
        return refuse;
    }

    int m_granted, m_refusing;
    std::size_t m_elementSize;
    int m_grantedSoFar = 0, m_refused = 0;
    ScopedAllocationFailure* m_outer;
    TevMemoryControllerController::FailurePredicate m_outerPredicate;
    static inline ScopedAllocationFailure* s_active = nullptr;
};

// An element type that counts the instances alive and the copies made
// (by copy construction or assignment), to see what the containers do with elements.
struct CountedElement {
    CountedElement(int initial = 0)
        : value(initial) {
        ++live;
    }
    CountedElement(const CountedElement& other)
        : CountedElement(other.value) {
        ++copies;
    }
    CountedElement& operator=(const CountedElement& other) {
        value = other.value;
        ++copies;
        return *this;
    }
    ~CountedElement() { --live; }

    int value;
    static inline int live = 0, copies = 0;
};

} // namespace lumtest

#endif // LUM_TEST_SUPPORT_H
