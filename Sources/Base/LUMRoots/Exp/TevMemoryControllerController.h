/// \file
/// Raw storage for the elements of the root library's containers. Storage comes back
/// zero-filled, so that pointer and number elements start at null and 0.
///
/// A host or a test can make allocations fail on purpose with a failure predicate, to
/// see how callers cope when the system has no memory left.
#ifndef TEV_MEMORY_CONTROLLER_CONTROLLER_H
#define TEV_MEMORY_CONTROLLER_CONTROLLER_H

#include "TevExport.h"

#include <cstddef>

/// The allocator of the root library's containers, with a failure predicate for tests
/// (see TevMemoryControllerController.h).
class LUMROOTS_EXPORT TevMemoryControllerController {
public:
    /// Decides whether one allocation of `count` elements of `elementSize` bytes fails:
    /// true makes allocateArray answer null as if the system had no memory left.
    using FailurePredicate = bool (*)(int count, std::size_t elementSize);

    /// Zero-filled storage for `count` elements of `elementSize` bytes each; null when
    /// `count` or `elementSize` is not positive, when the size overflows, when the
    /// installed failure predicate refuses the allocation, or when the system has no
    /// memory left.
    static void* allocateArray(int count, std::size_t elementSize);

    /// Returns storage obtained from allocateArray and leaves `pointer` null. A null
    /// pointer is accepted and ignored.
    static void deallocateArray(void*& pointer);

    /// Installs `predicate` for the whole process and returns the previous one; null,
    /// the default, lets every allocation through. The predicate is asked once per
    /// allocation of a valid size, before any memory is taken, on the allocating
    /// thread; it must not allocate through this class itself.
    static FailurePredicate setFailurePredicate(FailurePredicate predicate);
};

#endif // TEV_MEMORY_CONTROLLER_CONTROLLER_H
