// Test support: while a ScopedAssertionRecorder lives, every TevAssert report is
// recorded instead of printed, so tests can check the exact expression texts.
#ifndef LUM_TEST_ASSERTION_RECORDER_H
#define LUM_TEST_ASSERTION_RECORDER_H

#include "TevAssert.h"

#include <string>
#include <vector>

namespace lumtest {

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
    std::vector<std::string> take();

private:
    static void record(const char* expression, const char* file, int line);

    std::vector<std::string> m_texts;
    TevAssert::Handler m_previousHandler;
    ScopedAssertionRecorder* m_previousRecorder;
};

} // namespace lumtest

#endif // LUM_TEST_ASSERTION_RECORDER_H
