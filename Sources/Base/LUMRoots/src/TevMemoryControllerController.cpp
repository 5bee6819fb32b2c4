#include "TevMemoryControllerController.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace {

// Atomic, so that a host may install or remove it while other threads allocate.
std::atomic<TevMemoryControllerController::FailurePredicate> failurePredicate{nullptr};

} // namespace

void* TevMemoryControllerController::allocateArray(int count, std::size_t elementSize) {
    if (count <= 0 || elementSize == 0) {
        return nullptr;
    }
    if (static_cast<std::size_t>(count) > SIZE_MAX / elementSize) {
        return nullptr;
    }
    const FailurePredicate fails = failurePredicate.load();
    if (fails != nullptr && fails(count, elementSize)) {
        return nullptr;
    }
    return std::calloc(static_cast<std::size_t>(count), elementSize);
}

void TevMemoryControllerController::deallocateArray(void*& pointer) {
    std::free(pointer);
    pointer = nullptr;
}

TevMemoryControllerController::FailurePredicate
TevMemoryControllerController::setFailurePredicate(FailurePredicate predicate) {
    return failurePredicate.exchange(predicate);
}
