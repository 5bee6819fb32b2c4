// Test support: while a ScopedAllocationFailure lives, the root library's memory
// controller refuses allocations as the test scripts it, so that tests see how the
// containers and their callers cope with exhausted memory. Only allocations of the
// chosen element size count (any size when it is 0): the first `granted` of them go
// through, the next `refusing` fail (all the rest by default), and any after those go
// through again. Allocations of other sizes always go through.
#ifndef LUM_TEST_ALLOCATION_FAILURE_H
#define LUM_TEST_ALLOCATION_FAILURE_H

#include "TevMemoryControllerController.h"

#include <climits>
#include <cstddef>

namespace lumtest {

class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(int granted = 0, std::size_t elementSize = 0,
                                     int refusing = INT_MAX)
        : m_granted(granted)
        , m_refusing(refusing)
        , m_elementSize(elementSize)
        , m_previousFailure(s_active) {
        s_active = this;
        m_previousPredicate = TevMemoryControllerController::setFailurePredicate(&decide);
    }
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;
    // Reinstalls the predicate (and scripted failure) that was active before.
    ~ScopedAllocationFailure() {
        TevMemoryControllerController::setFailurePredicate(m_previousPredicate);
        s_active = m_previousFailure;
    }

    // Allocations of the chosen size let through, and refused, so far.
    int grantedSoFar() const { return m_grantedSoFar; }
    int refused() const { return m_refused; }

private:
    static bool decide(int, std::size_t elementSize) {
        ScopedAllocationFailure* active = s_active;
        if (active == nullptr ||
            (active->m_elementSize != 0 && elementSize != active->m_elementSize)) {
            return false;
        }
        if (active->m_grantedSoFar < active->m_granted || active->m_refused >= active->m_refusing) {
            ++active->m_grantedSoFar;
            return false;
        }
        ++active->m_refused;
        return true;
    }

    int m_granted;
    int m_refusing;
    std::size_t m_elementSize;
    int m_grantedSoFar = 0;
    int m_refused = 0;
    ScopedAllocationFailure* m_previousFailure;
    TevMemoryControllerController::FailurePredicate m_previousPredicate = nullptr;
    static inline ScopedAllocationFailure* s_active = nullptr;
};

} // namespace lumtest

#endif // LUM_TEST_ALLOCATION_FAILURE_H
