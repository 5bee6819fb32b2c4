// The application's dynamic array. Storage grows linearly to a multiple of the growth
// step (8 unless told otherwise) and is kept when the array is shortened; every slot of
// the storage holds a constructed element, including the slots beyond the length.
// Elements move to new storage by copy assignment. A bad index or length is reported
// through TevAssert and never reads or writes outside the storage. So is storage that
// cannot be had ("pElements != NULL && numElements > 0"): the array then stays as it
// was, except that a copy or copy assignment is left empty.
//
// Including this header also gives the chained hash tables of TevHashTable.h.
#ifndef TEV_ARRAY_H
#define TEV_ARRAY_H

#include "TevAssert.h"
#include "TevMemoryControllerController.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

// Copies elements into storage whose slots are already constructed.
template <class T>
class TevArrayObjectCopyReallocator {
public:
    static void copy(T* target, const T* source, int count) {
        for (int index = 0; index < count; ++index) {
            target[index] = source[index];
        }
    }
};

// Obtains and returns element storage through TevMemoryControllerController. Slots of
// class type are default-constructed on allocation and destroyed on release; pointer
// and number slots keep the zero fill.
template <class T>
class TevArrayMemoryController {
public:
    static_assert(alignof(T) <= alignof(std::max_align_t),
                  "array storage is aligned for the fundamental types only");

    // Null, after reporting the failed allocation, when no storage can be had.
    static T* allocate(int count) {
        void* raw = TevMemoryControllerController::allocateArray(count, sizeof(T));
        if (!TEV_ASSERT(raw != nullptr && count > 0, "pElements != NULL && numElements > 0")) {
            return nullptr;
        }
        T* elements = static_cast<T*>(raw);
        if constexpr (!kZeroFillIsConstruction) {
            for (int index = 0; index < count; ++index) {
                ::new (static_cast<void*>(elements + index)) T();
            }
        }
        return elements;
    }

    static void release(T*& elements, int count) {
        if (elements == nullptr) {
            return;
        }
        if constexpr (!kZeroFillIsConstruction) {
            for (int index = 0; index < count; ++index) {
                elements[index].~T();
            }
        }
        void* raw = elements;
        TevMemoryControllerController::deallocateArray(raw);
        elements = nullptr;
    }

private:
    static constexpr bool kZeroFillIsConstruction =
        std::is_trivially_default_constructible_v<T> && std::is_trivially_destructible_v<T>;
};

template <class T, class Reallocator = TevArrayObjectCopyReallocator<T>,
          class MemoryController = TevArrayMemoryController<T>>
class TevArray {
public:
    static constexpr int kDefaultGrowthStep = 8;

    TevArray() noexcept = default;

    // Storage for `physicalLength` slots, length 0; a growth step of 0 means 8.
    TevArray(int physicalLength, int growthStep)
        : m_growthStep(growthStep > 0 ? growthStep : kDefaultGrowthStep) {
        setPhysicalLength(physicalLength);
    }

    // A copy has storage for exactly the source's length (none when it is empty), and
    // the source's length and growth step.
    TevArray(const TevArray& other)
        : m_growthStep(other.m_growthStep) {
        copyFrom(other);
    }

    TevArray(TevArray&& other) noexcept
        : m_length(std::exchange(other.m_length, 0))
        , m_physicalLength(std::exchange(other.m_physicalLength, 0))
        , m_growthStep(other.m_growthStep)
        , m_elements(std::exchange(other.m_elements, nullptr)) {}

    ~TevArray() { MemoryController::release(m_elements, m_physicalLength); }

    // Releases this array's storage first, then copies as the copy constructor does.
    TevArray& operator=(const TevArray& other) {
        if (this != &other) {
            releaseStorage();
            m_growthStep = other.m_growthStep;
            copyFrom(other);
        }
        return *this;
    }

    TevArray& operator=(TevArray&& other) noexcept {
        if (this != &other) {
            releaseStorage();
            m_length = std::exchange(other.m_length, 0);
            m_physicalLength = std::exchange(other.m_physicalLength, 0);
            m_growthStep = other.m_growthStep;
            m_elements = std::exchange(other.m_elements, nullptr);
        }
        return *this;
    }

    int length() const { return m_length; }
    int physicalLength() const { return m_physicalLength; }
    int growthStep() const { return m_growthStep; }
    bool isEmpty() const { return m_length == 0; }
    bool isValid(int index) const {
        return m_elements != nullptr && index >= 0 && index < m_length;
    }

    // REQUIRES: isValid(index). Otherwise a default element is answered.
    T& operator[](int index) {
        if (!TEV_ASSERT(isValid(index), "isValid( index )")) {
            return fallbackElement();
        }
        return m_elements[index];
    }
    const T& operator[](int index) const {
        if (!TEV_ASSERT(isValid(index), "isValid( index )")) {
            return fallbackElement();
        }
        return m_elements[index];
    }

    // REQUIRES: !isEmpty(). Otherwise a default element is answered.
    T& last() {
        if (!TEV_ASSERT(!isEmpty(), "!isEmpty()")) {
            return fallbackElement();
        }
        return m_elements[m_length - 1];
    }
    const T& last() const {
        if (!TEV_ASSERT(!isEmpty(), "!isEmpty()")) {
            return fallbackElement();
        }
        return m_elements[m_length - 1];
    }

    // REQUIRES: length >= 0. Growing past the storage rounds the storage up to the
    // next multiple of the growth step; shortening keeps the storage and leaves the
    // elements beyond the new length as they were.
    void setLength(int length) {
        if (!TEV_ASSERT(length >= 0, "len>=0")) {
            return;
        }
        if (length > m_physicalLength) {
            const std::int64_t step = m_growthStep;
            const std::int64_t rounded = (length + step - 1) / step * step;
            setPhysicalLength(rounded > INT_MAX ? length : static_cast<int>(rounded));
            if (length > m_physicalLength) {
                return; // the storage could not be had; reported by the allocation
            }
        }
        m_length = length;
    }

    // REQUIRES: physicalLength >= 0. Keeps the storage when the new size is not above
    // the current one but above three quarters of it; 0 releases the storage.
    void setPhysicalLength(int physicalLength) {
        if (!TEV_ASSERT(physicalLength >= 0, "newPhysicalLen >= 0")) {
            return;
        }
        if (physicalLength <= m_physicalLength &&
            std::int64_t{physicalLength} * 4 > std::int64_t{m_physicalLength} * 3) {
            return;
        }
        if (physicalLength == 0) {
            releaseStorage();
            return;
        }
        T* resized = MemoryController::allocate(physicalLength);
        if (resized == nullptr) {
            return;
        }
        const int kept = m_length < physicalLength ? m_length : physicalLength;
        Reallocator::copy(resized, m_elements, kept);
        MemoryController::release(m_elements, m_physicalLength);
        m_elements = resized;
        m_physicalLength = physicalLength;
        m_length = kept;
    }

    // Appends a copy of `value` and answers its index; -1 when no storage could be
    // had. `value` may be an element of this array.
    int append(const T& value) {
        if (m_length == m_physicalLength && isInStorage(value)) {
            const T copy(value); // the storage is about to be replaced
            return append(copy);
        }
        const int index = m_length;
        setLength(index + 1);
        if (m_length != index + 1) {
            return -1;
        }
        m_elements[index] = value;
        return index;
    }

    // Appends copies of all elements of `other`, which may be this array.
    void appendArray(const TevArray& other) {
        const int oldLength = m_length;
        const int count = other.m_length;
        if (count == 0) {
            return;
        }
        if (!TEV_ASSERT(count <= INT_MAX - oldLength, "pElements != NULL && numElements > 0")) {
            return;
        }
        setLength(oldLength + count);
        if (m_length != oldLength + count) {
            return;
        }
        Reallocator::copy(m_elements + oldLength, other.m_elements, count);
    }

    // REQUIRES: isValid(index). The following elements move down one place by
    // assignment.
    void removeAt(int index) {
        if (!TEV_ASSERT(isValid(index), "isValid(index)")) {
            return;
        }
        for (int position = index + 1; position < m_length; ++position) {
            m_elements[position - 1] = m_elements[position];
        }
        setLength(m_length - 1);
    }

    T* begin() { return m_elements; }
    T* end() { return m_elements + m_length; }
    const T* begin() const { return m_elements; }
    const T* end() const { return m_elements + m_length; }

private:
    // The element answered after a failed index check: reset on every use, so that
    // whatever a caller wrote into it earlier is never read back.
    static T& fallbackElement() {
        static T element{};
        element = T();
        return element;
    }

    bool isInStorage(const T& value) const {
        const auto address = reinterpret_cast<std::uintptr_t>(&value);
        const auto first = reinterpret_cast<std::uintptr_t>(m_elements);
        return m_elements != nullptr && address >= first &&
               address < first + sizeof(T) * static_cast<std::size_t>(m_physicalLength);
    }

    void copyFrom(const TevArray& other) {
        if (other.m_length == 0) {
            return;
        }
        m_elements = MemoryController::allocate(other.m_length);
        if (m_elements == nullptr) {
            return;
        }
        Reallocator::copy(m_elements, other.m_elements, other.m_length);
        m_length = other.m_length;
        m_physicalLength = other.m_length;
    }

    void releaseStorage() {
        MemoryController::release(m_elements, m_physicalLength);
        m_length = 0;
        m_physicalLength = 0;
    }

    int m_length = 0;
    int m_physicalLength = 0;
    int m_growthStep = kDefaultGrowthStep;
    T* m_elements = nullptr; // Owned; null while the physical length is 0.
};

#include "TevHashTable.h"

#endif // TEV_ARRAY_H
