#include "TevArray.h"

#include "AllocationFailure.h"
#include "AssertionRecorder.h"
#include "CountedElement.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using lumtest::CountedElement;
using lumtest::ScopedAllocationFailure;
using lumtest::ScopedAssertionRecorder;
using Texts = std::vector<std::string>;

const std::string kNoMemory = "pElements != NULL && numElements > 0";

// A failure predicate that refuses every allocation and keeps the last count asked for.
int lastCountAskedFor = 0;
bool refuseAndKeepTheCount(int count, std::size_t) {
    lastCountAskedFor = count;
    return true;
}

// Builds and reads elements of each element type from plain ints.
template <class T>
struct Element;

template <>
struct Element<int> {
    static int make(int value) { return value; }
    static int read(int element) { return element; }
};

template <>
struct Element<CountedElement> {
    static CountedElement make(int value) { return CountedElement(value); }
    static int read(const CountedElement& element) { return element.value(); }
};

template <>
struct Element<TevString> {
    static TevString make(int value) {
        TevString text;
        text.format(u"#%d", value);
        return text;
    }
    static int read(const TevString& element) {
        return element.right(element.length() - 1).toInteger();
    }
};

template <class T>
class TevArrayTyped : public testing::Test {
protected:
    static TevArray<T> filled(int count) {
        TevArray<T> array;
        for (int value = 0; value < count; ++value) {
            array.append(Element<T>::make(value));
        }
        return array;
    }

    static std::vector<int> values(const TevArray<T>& array) {
        std::vector<int> result;
        for (const T& element : array) {
            result.push_back(Element<T>::read(element));
        }
        return result;
    }
};

using ElementTypes = testing::Types<int, CountedElement, TevString>;
TYPED_TEST_SUITE(TevArrayTyped, ElementTypes);

TYPED_TEST(TevArrayTyped, GrowsByItsStepAndKeepsStorageWhenShortened) {
    TevArray<TypeParam> array;
    EXPECT_EQ(array.physicalLength(), 0);
    EXPECT_EQ(array.growthStep(), 8);
    std::vector<int> physicalAfter;
    for (int count = 1; count <= 17; ++count) {
        EXPECT_EQ(array.append(Element<TypeParam>::make(count)), count - 1);
        physicalAfter.push_back(array.physicalLength());
    }
    EXPECT_EQ(physicalAfter[0], 8);
    EXPECT_EQ(physicalAfter[7], 8);
    EXPECT_EQ(physicalAfter[8], 16);
    EXPECT_EQ(physicalAfter[16], 24);

    array.setLength(0);
    EXPECT_EQ(array.physicalLength(), 24) << "shortening keeps the storage";
    EXPECT_TRUE(array.isEmpty());
    array.setLength(3);
    EXPECT_EQ(Element<TypeParam>::read(array[2]), 3)
        << "slots beyond the length keep their element";
}

TYPED_TEST(TevArrayTyped, CopyGetsStorageForExactlyTheSourceLength) {
    TevArray<TypeParam> target = this->filled(8);
    ASSERT_EQ(target.physicalLength(), 8);
    const TevArray<TypeParam> five = this->filled(5);
    target = five;
    EXPECT_EQ(target.physicalLength(), 5);
    EXPECT_EQ(this->values(target), (std::vector<int>{0, 1, 2, 3, 4}));

    TevArray<TypeParam> stepped(0, 3);
    stepped.append(Element<TypeParam>::make(7));
    const TevArray<TypeParam> copy(stepped);
    EXPECT_EQ(copy.physicalLength(), 1);
    EXPECT_EQ(copy.growthStep(), 3);

    const TevArray<TypeParam> empty;
    const TevArray<TypeParam> emptyCopy(empty);
    EXPECT_EQ(emptyCopy.physicalLength(), 0);
    EXPECT_EQ(emptyCopy.begin(), nullptr) << "a copy of an empty array has no storage";

    const TevArray<TypeParam>& alias = target;
    target = alias;
    EXPECT_EQ(this->values(target), (std::vector<int>{0, 1, 2, 3, 4})) << "self-assignment";
}

TYPED_TEST(TevArrayTyped, ResizesStorageOnlyBelowThreeQuarters) {
    TevArray<TypeParam> array = this->filled(16);
    array.setPhysicalLength(13);
    EXPECT_EQ(array.physicalLength(), 16) << "13 is above three quarters of 16";
    array.setPhysicalLength(12);
    EXPECT_EQ(array.physicalLength(), 12);
    EXPECT_EQ(array.length(), 12) << "the length is cut to the new storage";
    EXPECT_EQ(Element<TypeParam>::read(array[11]), 11);
    array.setPhysicalLength(0);
    EXPECT_EQ(array.physicalLength(), 0);
    EXPECT_EQ(array.length(), 0);

    TevArray<TypeParam> preallocated(10, 0);
    EXPECT_EQ(preallocated.physicalLength(), 10);
    EXPECT_EQ(preallocated.growthStep(), 8) << "step 0 means 8";
    preallocated.setLength(11);
    EXPECT_EQ(preallocated.physicalLength(), 16) << "rounded up to a multiple of the step";
}

TYPED_TEST(TevArrayTyped, RemovesInsertsAndAppendsInOrder) {
    TevArray<TypeParam> array = this->filled(4);
    array.removeAt(1);
    EXPECT_EQ(this->values(array), (std::vector<int>{0, 2, 3}));
    array.removeAt(2);
    EXPECT_EQ(this->values(array), (std::vector<int>{0, 2}));

    array.appendArray(this->filled(2));
    EXPECT_EQ(this->values(array), (std::vector<int>{0, 2, 0, 1}));
    array.appendArray(array);
    EXPECT_EQ(this->values(array), (std::vector<int>{0, 2, 0, 1, 0, 2, 0, 1}));

    ASSERT_EQ(array.length(), array.physicalLength());
    array.append(array[1]); // the storage is replaced while the value is read from it
    EXPECT_EQ(Element<TypeParam>::read(array.last()), 2);
}

TYPED_TEST(TevArrayTyped, ReportsBadIndexesAndAnswersAFreshDefaultElement) {
    ScopedAssertionRecorder recorder;
    TevArray<TypeParam> array;
    array[0] = Element<TypeParam>::make(99);
    EXPECT_EQ(Element<TypeParam>::read(array[0]), 0) << "what was written is not read back";
    EXPECT_EQ(recorder.take(), (Texts{"isValid( index )", "isValid( index )"}));

    array = this->filled(3);
    const TevArray<TypeParam>& constant = array;
    EXPECT_EQ(Element<TypeParam>::read(constant[3]), 0);
    EXPECT_EQ(Element<TypeParam>::read(array[-1]), 0);
    array.removeAt(3);
    array.removeAt(-1);
    EXPECT_EQ(recorder.take(),
              (Texts{"isValid( index )", "isValid( index )", "isValid(index)", "isValid(index)"}));
    EXPECT_EQ(this->values(array), (std::vector<int>{0, 1, 2}));

    array.setLength(-1);
    array.setPhysicalLength(-1);
    EXPECT_EQ(recorder.take(), (Texts{"len>=0", "newPhysicalLen >= 0"}));
    EXPECT_EQ(array.length(), 3);
    EXPECT_EQ(array.physicalLength(), 8);

    TevArray<TypeParam> empty;
    EXPECT_EQ(Element<TypeParam>::read(empty.last()), 0);
    EXPECT_EQ(recorder.take(), (Texts{"!isEmpty()"}));
}

TYPED_TEST(TevArrayTyped, ReportsStorageItCannotHaveAndStaysAsItWas) {
    TevArray<TypeParam> array = this->filled(8);
    const TevArray<TypeParam> three = this->filled(3);
    const TypeParam* storage = array.begin();
    const int liveBefore = CountedElement::live();
    ScopedAssertionRecorder recorder;
    {
        const ScopedAllocationFailure noMemory;
        array.setPhysicalLength(20);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "setPhysicalLength";
        array.setLength(9);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "setLength";
        EXPECT_EQ(array.append(Element<TypeParam>::make(8)), -1);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "append";
        EXPECT_EQ(array.append(array[3]), -1) << "an element of the full array itself";
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "append of an own element";
        array.appendArray(three);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "appendArray";
        array.appendArray(array);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "appendArray of itself";
        EXPECT_EQ(noMemory.refused(), 6);

        // Nothing that needs no storage is refused meanwhile.
        array.setLength(5);
        array.setLength(8);
        array.setPhysicalLength(7);
        array[0] = Element<TypeParam>::make(40);
        EXPECT_TRUE(recorder.texts().empty());
        EXPECT_EQ(noMemory.refused(), 6);
    }
    EXPECT_EQ(array.begin(), storage) << "the storage was kept";
    EXPECT_EQ(array.length(), 8);
    EXPECT_EQ(array.physicalLength(), 8);
    EXPECT_EQ(this->values(array), (std::vector<int>{40, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(CountedElement::live(), liveBefore) << "no slot made or destroyed";

    // Usable as before once memory is back.
    EXPECT_EQ(array.append(array[1]), 8);
    EXPECT_EQ(array.physicalLength(), 16);
    array.appendArray(three);
    EXPECT_EQ(this->values(array), (std::vector<int>{40, 1, 2, 3, 4, 5, 6, 7, 1, 0, 1, 2}));
    EXPECT_TRUE(recorder.texts().empty());
}

TYPED_TEST(TevArrayTyped, CopyThatCannotHaveStorageIsLeftEmpty) {
    const TevArray<TypeParam> source = this->filled(5);
    TevArray<TypeParam> target = this->filled(3);
    const int liveBefore = CountedElement::live();
    ScopedAssertionRecorder recorder;
    {
        const ScopedAllocationFailure noMemory;
        const TevArray<TypeParam> copy(source);
        EXPECT_EQ(copy.length(), 0);
        EXPECT_EQ(copy.physicalLength(), 0);
        EXPECT_EQ(copy.begin(), nullptr);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "copy construction";

        target = source;
        EXPECT_EQ(target.length(), 0) << "assignment released the target's storage first";
        EXPECT_EQ(target.physicalLength(), 0);
        EXPECT_EQ(target.begin(), nullptr);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "copy assignment";

        const TevArray<TypeParam> sized(10, 4);
        EXPECT_EQ(sized.physicalLength(), 0);
        EXPECT_EQ(sized.growthStep(), 4);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "construction with storage";

        TevArray<TypeParam> empty;
        EXPECT_EQ(empty.append(Element<TypeParam>::make(1)), -1);
        EXPECT_EQ(empty.length(), 0);
        EXPECT_EQ(empty.begin(), nullptr);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "append to an empty array";
    }
    const int targetSlots = std::is_same_v<TypeParam, CountedElement> ? 8 : 0;
    EXPECT_EQ(CountedElement::live(), liveBefore - targetSlots)
        << "the target's slots went with its storage, and no other slot was made";
    target = source;
    EXPECT_EQ(this->values(target), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(this->values(source), (std::vector<int>{0, 1, 2, 3, 4}));
}

TYPED_TEST(TevArrayTyped, GrowthFailingAfterEarlierAllocationsKeepsTheElements) {
    ScopedAssertionRecorder recorder;
    TevArray<TypeParam> array;
    {
        // The first two allocations (8 and 16 slots) go through, the third fails.
        const ScopedAllocationFailure thirdFails(2);
        for (int value = 0; value < 17; ++value) {
            EXPECT_EQ(array.append(Element<TypeParam>::make(value)), value < 16 ? value : -1);
        }
        EXPECT_EQ(thirdFails.grantedSoFar(), 2);
        EXPECT_EQ(thirdFails.refused(), 1);
    }
    EXPECT_EQ(recorder.take(), Texts{kNoMemory});
    EXPECT_EQ(array.length(), 16);
    EXPECT_EQ(array.physicalLength(), 16);
    std::vector<int> expected;
    for (int value = 0; value < 16; ++value) {
        expected.push_back(value);
    }
    EXPECT_EQ(this->values(array), expected);
    EXPECT_EQ(array.append(Element<TypeParam>::make(16)), 16);
    EXPECT_EQ(array.physicalLength(), 24);
}

TEST(TevArray, NestedArrayThatCannotBeCopiedDuringGrowthArrivesEmpty) {
    // Growth copies elements by assignment; an element that is itself an array needs
    // storage of its own for that copy. Each copy that cannot have it is reported and
    // arrives empty; the other elements and the grown storage are whole.
    TevArray<TevArray<int>> rows;
    for (int row = 0; row < 8; ++row) {
        TevArray<int> cells;
        cells.append(row);
        rows.append(cells);
    }
    ScopedAssertionRecorder recorder;
    {
        // The outer storage and the copies of rows 0 to 2 go through; the next two fail.
        const ScopedAllocationFailure twoCopiesFail(4, 0, 2);
        TevArray<int> last;
        rows.append(last);
    }
    EXPECT_EQ(recorder.take(), (Texts{kNoMemory, kNoMemory}));
    ASSERT_EQ(rows.length(), 9);
    EXPECT_EQ(rows.physicalLength(), 16);
    const std::vector<int> lengths = [&rows] {
        std::vector<int> result;
        for (const TevArray<int>& cells : rows) {
            result.push_back(cells.length());
        }
        return result;
    }();
    EXPECT_EQ(lengths, (std::vector<int>{1, 1, 1, 0, 0, 1, 1, 1, 0}));
    EXPECT_EQ(rows[5][0], 5);
    EXPECT_EQ(rows[3].begin(), nullptr);
}

TEST(TevArray, GrowthPastTheLastMultipleOfTheStepBelowTheIntLimitAsksForTheLengthItself) {
    ScopedAssertionRecorder recorder;
    const TevMemoryControllerController::FailurePredicate previous =
        TevMemoryControllerController::setFailurePredicate(&refuseAndKeepTheCount);
    TevArray<char> array;
    array.setLength(100);
    const int forOneHundred = lastCountAskedFor;
    array.setLength(INT_MAX - 3); // rounded up to the step it would be 2^31
    const int nearTheLimit = lastCountAskedFor;
    TevMemoryControllerController::setFailurePredicate(previous);
    EXPECT_EQ(forOneHundred, 104);
    EXPECT_EQ(nearTheLimit, INT_MAX - 3);
    EXPECT_EQ(recorder.take(), (Texts{kNoMemory, kNoMemory}));
    EXPECT_EQ(array.length(), 0);
}

TEST(TevArray, ConstructsAndDestroysEverySlotOfItsStorage) {
    const int before = CountedElement::live();
    {
        TevArray<CountedElement> array;
        array.append(CountedElement(1));
        EXPECT_EQ(CountedElement::live(), before + 8) << "all eight slots are constructed";
        array.setLength(9);
        EXPECT_EQ(CountedElement::live(), before + 16);
        array.setLength(1);
        EXPECT_EQ(CountedElement::live(), before + 16) << "shortening destroys nothing";
    }
    EXPECT_EQ(CountedElement::live(), before);
}

TEST(TevArray, CopiesEachElementOnceWhenAppendingOrMoving) {
    TevArray<CountedElement> array;
    const CountedElement value(5);
    CountedElement::resetCopies();
    array.append(value);
    EXPECT_EQ(CountedElement::copies(), 1);
    for (int count = 1; count < 8; ++count) {
        array.append(value);
    }
    CountedElement::resetCopies();
    array.append(value);
    EXPECT_EQ(CountedElement::copies(), 9) << "eight moved to the new storage, one appended";

    CountedElement::resetCopies();
    array.removeAt(0);
    EXPECT_EQ(CountedElement::copies(), 8) << "each following element moves down once";
}

} // namespace
