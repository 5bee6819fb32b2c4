// Test support: while a ScopedAllocationFailure lives, the root library's memory
// controller refuses allocations as scripted. Only allocations of `size` bytes per
// element count (any size when 0): the first `granted` go through, the next `refusing`
// fail, and any after those go through again. Scopes nest.
#ifndef LUM_TEST_ALLOCATION_FAILURE_H
#define LUM_TEST_ALLOCATION_FAILURE_H

#include "TevMemoryControllerController.h"

#include <climits>
#include <cstddef>
#include <utility>

namespace lumtest {

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

} // namespace lumtest

#endif // LUM_TEST_ALLOCATION_FAILURE_H
