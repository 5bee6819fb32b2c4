/// \file
/// The application's dynamic array. Its physical length grows linearly to a multiple of
/// the growth step (8 unless told otherwise) and is kept when the array is shortened;
/// every slot of the storage holds a constructed element, including the slots beyond the
/// length. Elements go to new storage by the reallocator's relocate, which the default
/// one does by move assignment (a reallocator without one: by its copy). A bad index or
/// length is reported through TevAssert and never reads or writes outside the storage.
/// So is storage that cannot be had ("pElements != NULL && numElements > 0"): the array
/// then stays as it was, except that a copy or copy assignment is left empty.
///
/// Growing the length reserves storage ahead: when the physical length has to grow past
/// the storage, the storage grows by half at least, so that appending one element at a
/// time costs amortized constant time. What physicalLength() reports does not depend on
/// this; it keeps its step growth, and slots it newly covers hold default elements as
/// freshly allocated ones would. setPhysicalLength, the constructors and copies allocate
/// exactly what they are asked for.
///
/// modificationCount() moves with every call that can change the length, the storage or
/// an element, including the non-const accessors, since the caller may write through
/// what they answer. A caller that keeps positions of elements across calls (the
/// document-manager row index does) trusts them only while the count stands still;
/// writes through a reference or pointer kept from before do not move it.
///
/// Including this header also gives the chained hash tables of TevHashTable.h.
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

/// Copies elements into storage whose slots are already constructed, and moves them there
/// when the storage is replaced and the source slots are about to be destroyed.
template <class T>
class TevArrayObjectCopyReallocator {
public:
    /// Copy-assigns `count` elements of `source` to the slots of `target`.
    static void copy(T* target, const T* source, int count) {
        for (int index = 0; index < count; ++index) {
            target[index] = source[index];
        }
    }
    /// Move-assigns `count` elements of `source` to the slots of `target`.
    static void relocate(T* target, T* source, int count) {
        for (int index = 0; index < count; ++index) {
            target[index] = std::move(source[index]);
        }
    }
};

/// Helpers of TevArray's implementation.
namespace tevarray_detail {
/// False: the reallocator `R` has no relocate for elements of type `T`.
template <class R, class T, class = void>
struct HasRelocate : std::false_type {};
/// True: the reallocator `R` has a relocate for elements of type `T`.
template <class R, class T>
struct HasRelocate<R, T,
                   std::void_t<decltype(R::relocate(std::declval<T*>(), std::declval<T*>(), 0))>>
    : std::true_type {};
} // namespace tevarray_detail

/// Obtains and returns element storage through TevMemoryControllerController. Slots of
/// class type are default-constructed on allocation and destroyed on release; pointer
/// and number slots keep the zero fill.
template <class T>
class TevArrayMemoryController {
public:
    static_assert(alignof(T) <= alignof(std::max_align_t),
                  "array storage is aligned for the fundamental types only");

    /// Storage of `count` constructed slots. Null, after reporting the failed allocation,
    /// when no storage can be had.
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

    /// Destroys the `count` slots of `elements`, returns the storage and leaves
    /// `elements` null; null is ignored.
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

/// The application's dynamic array (see TevArray.h): a length within a physical length
/// that grows by steps, every slot constructed, bad indexes reported and answered safely.
template <class T, class Reallocator = TevArrayObjectCopyReallocator<T>,
          class MemoryController = TevArrayMemoryController<T>>
class TevArray {
public:
    /// The growth step of an array that is given none.
    static constexpr int kDefaultGrowthStep = 8;

    /// An empty array without storage, growth step 8.
    TevArray() noexcept = default;

    /// Storage for `physicalLength` slots, length 0; a growth step of 0 means 8.
    TevArray(int physicalLength, int growthStep)
        : m_growthStep(growthStep > 0 ? growthStep : kDefaultGrowthStep) {
        setPhysicalLength(physicalLength);
    }

    /// A copy has storage for exactly the source's length (none when it is empty), and
    /// the source's length and growth step.
    TevArray(const TevArray& other)
        : m_growthStep(other.m_growthStep) {
        copyFrom(other);
    }

    /// Takes the storage, length and physical length of `other` over; `other` is left
    /// empty, without storage, and its modification count moves.
    TevArray(TevArray&& other) noexcept
        : m_length(std::exchange(other.m_length, 0))
        , m_physicalLength(std::exchange(other.m_physicalLength, 0))
        , m_growthStep(other.m_growthStep)
        , m_capacity(std::exchange(other.m_capacity, 0))
        , m_elements(std::exchange(other.m_elements, nullptr))
        , m_modifications(++other.m_modifications) {}

    /// Destroys every slot and returns the storage.
    ~TevArray() { MemoryController::release(m_elements, m_capacity); }

    /// Releases this array's storage first, then copies as the copy constructor does.
    TevArray& operator=(const TevArray& other) {
        if (this != &other) {
            releaseStorage();
            m_growthStep = other.m_growthStep;
            copyFrom(other);
        }
        return *this;
    }

    /// Releases this array's storage, then takes that of `other` over as the move
    /// constructor does.
    TevArray& operator=(TevArray&& other) noexcept {
        if (this != &other) {
            releaseStorage();
            m_length = std::exchange(other.m_length, 0);
            m_physicalLength = std::exchange(other.m_physicalLength, 0);
            m_growthStep = other.m_growthStep;
            m_capacity = std::exchange(other.m_capacity, 0);
            m_elements = std::exchange(other.m_elements, nullptr);
            ++other.m_modifications;
        }
        return *this;
    }

    /// The number of elements.
    int length() const { return m_length; }
    /// The physical length: the slots the array reports as allocated (see TevArray.h).
    int physicalLength() const { return m_physicalLength; }
    /// Slots of storage actually held: the physical length and what is reserved ahead.
    int capacity() const { return m_capacity; }
    /// The step by which the physical length grows.
    int growthStep() const { return m_growthStep; }
    /// True when the array holds no elements.
    bool isEmpty() const { return m_length == 0; }
    /// Moves with every change that can be made through this array; see TevArray.h.
    std::uint64_t modificationCount() const { return m_modifications; }
    /// True when `index` names an element: 0 <= index < length().
    bool isValid(int index) const {
        return m_elements != nullptr && index >= 0 && index < m_length;
    }

    /// The element at `index`; otherwise a default element is answered. Moves the
    /// modification count.
    /// \pre isValid(index).
    T& operator[](int index) {
        ++m_modifications;
        if (!TEV_ASSERT(isValid(index), "isValid( index )")) {
            return fallbackElement();
        }
        return m_elements[index];
    }
    /// The element at `index`; otherwise a default element is answered.
    /// \pre isValid(index).
    const T& operator[](int index) const {
        if (!TEV_ASSERT(isValid(index), "isValid( index )")) {
            return fallbackElement();
        }
        return m_elements[index];
    }

    /// The last element; otherwise a default element is answered. Moves the
    /// modification count.
    /// \pre !isEmpty().
    T& last() {
        ++m_modifications;
        if (!TEV_ASSERT(!isEmpty(), "!isEmpty()")) {
            return fallbackElement();
        }
        return m_elements[m_length - 1];
    }
    /// The last element; otherwise a default element is answered.
    /// \pre !isEmpty().
    const T& last() const {
        if (!TEV_ASSERT(!isEmpty(), "!isEmpty()")) {
            return fallbackElement();
        }
        return m_elements[m_length - 1];
    }

    /// Sets the length. Growing past the physical length rounds it up to the next
    /// multiple of the growth step; shortening keeps the storage and leaves the
    /// elements beyond the new length as they were.
    /// \pre length >= 0.
    void setLength(int length) {
        if (!TEV_ASSERT(length >= 0, "len>=0")) {
            return;
        }
        ++m_modifications;
        if (length > m_physicalLength) {
            const std::int64_t step = m_growthStep;
            const std::int64_t rounded = (length + step - 1) / step * step;
            const int physical = rounded > INT_MAX ? length : static_cast<int>(rounded);
            if (!coverFromReserve(physical) && !reallocate(physical, reserveFor(physical))) {
                return; // the storage could not be had; reported by the allocation
            }
        }
        m_length = length;
    }

    /// Sets the physical length. Keeps the storage when the new size is not above
    /// the current one but above three quarters of it; 0 releases the storage.
    /// \pre physicalLength >= 0.
    void setPhysicalLength(int physicalLength) {
        if (!TEV_ASSERT(physicalLength >= 0, "newPhysicalLen >= 0")) {
            return;
        }
        ++m_modifications;
        if (physicalLength <= m_physicalLength &&
            std::int64_t{physicalLength} * 4 > std::int64_t{m_physicalLength} * 3) {
            return;
        }
        if (physicalLength == 0) {
            releaseStorage();
            return;
        }
        if (!coverFromReserve(physicalLength)) {
            reallocate(physicalLength, physicalLength);
        }
    }

    /// Gives the array at once the physical length that appending `count` elements one
    /// at a time would end with (the length plus `count`, rounded up to the growth
    /// step), so that those appends move no element. The length and the elements stay;
    /// nothing changes when the storage already suffices or `count` is not positive.
    void reserveForAppends(int count) {
        const int length = m_length;
        if (count <= 0 || count > INT_MAX - length || length + count <= m_physicalLength) {
            return;
        }
        setLength(length + count);
        setLength(length);
    }

    /// Appends a copy of `value` and answers its index; -1 when no storage could be
    /// had. `value` may be an element of this array.
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

    /// Appends `value` by move assignment and answers its index; -1 when no storage could
    /// be had, and `value` is then as it was. `value` may not be an element of this array.
    int append(T&& value) {
        const int index = m_length;
        setLength(index + 1);
        if (m_length != index + 1) {
            return -1;
        }
        m_elements[index] = std::move(value);
        return index;
    }

    /// Appends copies of all elements of `other`, which may be this array.
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

    /// Removes the element at `index`. The following elements move down one place by
    /// assignment.
    /// \pre isValid(index).
    void removeAt(int index) {
        if (!TEV_ASSERT(isValid(index), "isValid(index)")) {
            return;
        }
        for (int position = index + 1; position < m_length; ++position) {
            m_elements[position - 1] = m_elements[position];
        }
        setLength(m_length - 1);
    }

    /// The first element, for iteration; moves the modification count.
    T* begin() {
        ++m_modifications;
        return m_elements;
    }
    /// One past the last element, for iteration; moves the modification count.
    T* end() {
        ++m_modifications;
        return m_elements + m_length;
    }
    /// The first element, for iteration.
    const T* begin() const { return m_elements; }
    /// One past the last element, for iteration.
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
               address < first + sizeof(T) * static_cast<std::size_t>(m_capacity);
    }

    // The storage to reserve when the physical length grows to `physical` past it:
    // half as much again as now, rounded up to the growth step, and at least `physical`.
    int reserveFor(int physical) const {
        const std::int64_t step = m_growthStep;
        const std::int64_t grown = std::int64_t{m_capacity} + m_capacity / 2;
        const std::int64_t rounded = (grown + step - 1) / step * step;
        const std::int64_t wanted = rounded > physical ? rounded : physical;
        return wanted > INT_MAX ? INT_MAX : static_cast<int>(wanted);
    }

    // Raises the physical length to `physical` within the storage already reserved, if
    // it fits. The slots it newly covers get default elements, as new storage would
    // give them: only the slots between the length and the old physical length can hold
    // earlier elements, since nothing is written beyond the physical length.
    bool coverFromReserve(int physical) {
        if (physical <= m_physicalLength || physical > m_capacity) {
            return false;
        }
        for (int index = m_length; index < m_physicalLength; ++index) {
            m_elements[index] = T();
        }
        m_physicalLength = physical;
        return true;
    }

    // Moves the elements up to the length (cut at `physical`) into new storage of
    // `capacity` slots, of which `physical` count as the physical length.
    bool reallocate(int physical, int capacity) {
        T* resized = MemoryController::allocate(capacity);
        if (resized == nullptr) {
            return false;
        }
        const int kept = m_length < physical ? m_length : physical;
        if constexpr (tevarray_detail::HasRelocate<Reallocator, T>::value) {
            Reallocator::relocate(resized, m_elements, kept);
        } else {
            Reallocator::copy(resized, m_elements, kept);
        }
        MemoryController::release(m_elements, m_capacity);
        m_elements = resized;
        m_physicalLength = physical;
        m_capacity = capacity;
        m_length = kept;
        return true;
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
        m_capacity = other.m_length;
    }

    void releaseStorage() {
        ++m_modifications;
        MemoryController::release(m_elements, m_capacity);
        m_length = 0;
        m_physicalLength = 0;
        m_capacity = 0;
    }

    int m_length = 0;
    int m_physicalLength = 0; // What the array reports; step growth.
    int m_growthStep = kDefaultGrowthStep;
    int m_capacity = 0;      // Slots of m_elements, all constructed; >= m_physicalLength.
    T* m_elements = nullptr; // Owned; null while the capacity is 0.
    std::uint64_t m_modifications = 0;
};

#include "TevHashTable.h"

#endif // TEV_ARRAY_H
