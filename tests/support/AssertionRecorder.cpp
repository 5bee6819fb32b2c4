#include "AssertionRecorder.h"

#include <utility>

namespace lumtest {
namespace {

ScopedAssertionRecorder* activeRecorder = nullptr;

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

} // namespace lumtest
