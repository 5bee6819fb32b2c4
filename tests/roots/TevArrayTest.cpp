#include "TevArray.h"

#include "AssertionRecorder.h"
#include "CountedElement.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lumtest::CountedElement;
using lumtest::ScopedAssertionRecorder;
using Texts = std::vector<std::string>;

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
