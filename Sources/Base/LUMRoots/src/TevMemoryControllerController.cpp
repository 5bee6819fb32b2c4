#include "TevMemoryControllerController.h"

#include <cstdint>
#include <cstdlib>

void* TevMemoryControllerController::allocateArray(int count, std::size_t elementSize) {
    if (count <= 0 || elementSize == 0) {
        return nullptr;
    }
    if (static_cast<std::size_t>(count) > SIZE_MAX / elementSize) {
        return nullptr;
    }
    return std::calloc(static_cast<std::size_t>(count), elementSize);
}

void TevMemoryControllerController::deallocateArray(void*& pointer) {
    std::free(pointer);
    pointer = nullptr;
}
