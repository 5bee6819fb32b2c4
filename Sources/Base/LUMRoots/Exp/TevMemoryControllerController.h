// Raw storage for the elements of the root library's containers. Storage comes back
// zero-filled, so that pointer and number elements start at null and 0.
#ifndef TEV_MEMORY_CONTROLLER_CONTROLLER_H
#define TEV_MEMORY_CONTROLLER_CONTROLLER_H

#include "TevExport.h"

#include <cstddef>

class LUMROOTS_EXPORT TevMemoryControllerController {
public:
    // Zero-filled storage for `count` elements of `elementSize` bytes each; null when
    // `count` or `elementSize` is not positive, when the size overflows, or when the
    // system has no memory left.
    static void* allocateArray(int count, std::size_t elementSize);

    // Returns storage obtained from allocateArray and leaves `pointer` null. A null
    // pointer is accepted and ignored.
    static void deallocateArray(void*& pointer);
};

#endif // TEV_MEMORY_CONTROLLER_CONTROLLER_H
