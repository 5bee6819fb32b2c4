#include "TevArray.h"

#include "AllocationFailure.h"
#include "AssertionRecorder.h"
#include "CountedElement.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using lumtest::CountedElement;
using lumtest::ScopedAllocationFailure;
using lumtest::ScopedAssertionRecorder;
using Array = TevArray<CountedElement>; // class-type slots: constructed, counted
using Texts = std::vector<std::string>;

const std::string kNoMemory = "pElements != NULL && numElements > 0";

// Arrays of 0, 1, 2, ..., 9, 0, ...; digits() writes them as "0123...".
Array filled(int length, int growthStep = 8) {
    Array array(0, growthStep);
    for (int index = 0; index < length; ++index) {
        array.append(index % 10);
    }
    return array;
}

std::string digits(const Array& array) {
    std::string result;
    for (const CountedElement& element : array) {
        result += std::to_string(element.value);
    }
    return result;
}

// Each operation runs on "01234567" (full storage) and `t` = "012" (growth step 1), refusing
// its k-th allocation for k = 0, 1, ... until it runs without a refusal. A refused attempt
// is reported once, and leaves the array as it was (a copy or a new array: empty, without
// storage) and usable. Every slot of the storage holds a constructed element.
TEST(TevArray, OperationsGiveExactResultsAndSurviveEachRefusedAllocation) {
    struct Row {
        const char* name;
        int allocations, copies;
        std::string after; // digits/physical length/growth step after a run without refusals
        bool emptied;
        void (*op)(Array& a, Array& t);
    };
    const Row rows[] = {
        {"grow", 1, 8, "01234567/20/8", false, [](auto& a, auto&) { a.setPhysicalLength(20); }},
        {"3/4 storage", 1, 6, "012345/6/8", false, [](auto& a, auto&) { a.setPhysicalLength(6); }},
        {"setLength", 1, 8, "012345670/16/8", false, [](auto& a, auto&) { a.setLength(9); }},
        {"to 16", 1, 8, "0123456700000000/16/8", false, [](auto& a, auto&) { a.setLength(16); }},
        {"append", 1, 9, "012345678/16/8", false, [](auto& a, auto&) { a.append(8); }},
        {"append own", 1, 10, "012345670/16/8", false, [](auto& a, auto&) { a.append(a[0]); }},
        {"append 3", 1, 11, "01234567012/16/8", false, [](auto& a, auto& t) { a.appendArray(t); }},
        {"one", 2, 10, "012345670/16/8", false, [](auto& a, auto&) { a.appendArray(filled(1)); }},
        {"twice", 1, 16, "0123456701234567/16/8", false, [](auto& a, auto&) { a.appendArray(a); }},
        {"cut", 0, 6, "023456/8/8", false, [](auto& a, auto&) { a.removeAt(1), a.removeAt(6); }},
        {"inside", 0, 1, "91234567/8/8", false,
         [](auto& a, auto&) { a.setPhysicalLength(8), a.setPhysicalLength(7), a[0] = 9; }},
        {"self-assign", 0, 0, "01234567/8/8", false, [](auto& a, auto&) { a = std::as_const(a); }},
        {"empty", 0, 0, "/0/8", false, [](auto& a, auto&) { a.setPhysicalLength(0); }},
        {"copy", 1, 3, "012/3/1", true, [](auto& a, auto& t) { a = Array(t); }},
        {"assign", 1, 3, "012/3/1", true, [](auto& a, auto& t) { a = t; }},
        {"sized", 1, 0, "/1/8", true, [](auto& a, auto&) { a = Array(1, 0); }},
        {"bad indexes", 0, 6, "01234567/8/8", false,
         [](auto& a, auto&) {
             const ScopedAssertionRecorder recorder;
             a.setLength(0), a.setLength(8), a[8] = 9; // a fresh default element is answered
             EXPECT_EQ(a[8].value + a[-1].value + std::as_const(a)[8].value + Array().last().value,
                       0);
             EXPECT_EQ(std::as_const(a).last().value + a.last().value, 14);
             a.removeAt(8), a.removeAt(-1), a.setLength(-1), a.setPhysicalLength(-1);
             EXPECT_EQ(recorder.texts(),
                       (Texts{"isValid( index )", "isValid( index )", "isValid( index )",
                              "isValid( index )", "!isEmpty()", "isValid(index)", "isValid(index)",
                              "len>=0", "newPhysicalLen >= 0"}));
         }},
    };
    const ScopedAssertionRecorder quiet;
    Array().last(); // makes the fallback element, which lives on
    const int live = CountedElement::live;
    for (const Row& row : rows) {
        for (int k = 0;; ++k) {
            SCOPED_TRACE(std::string(row.name) + ", allocation " + std::to_string(k) + " refused");
            Array array = filled(8), three = filled(3, 1);
            const auto* storage = array.begin();
            ScopedAssertionRecorder recorder;
            CountedElement::copies = 0;
            auto kth = std::make_unique<ScopedAllocationFailure>(k, 0, 1);
            row.op(array, three);
            const int refused = kth->refused();
            kth.reset();
            EXPECT_EQ(CountedElement::live - live, array.physicalLength() + 3);
            if (refused == 0) {
                EXPECT_EQ(recorder.texts(), Texts{});
                EXPECT_EQ(k, row.allocations);
                EXPECT_EQ(digits(array) + "/" + std::to_string(array.physicalLength()) + "/" +
                              std::to_string(array.growthStep()),
                          row.after);
                EXPECT_EQ(CountedElement::copies, row.copies);
                EXPECT_TRUE(k > 0 || array.begin() == storage || array.physicalLength() == 0);
                break;
            }
            {
                const ScopedAllocationFailure none;
                EXPECT_EQ(array.append(5), -1);
            }
            EXPECT_EQ(recorder.take(), (Texts{kNoMemory, kNoMemory}));
            EXPECT_EQ(array.append(5), row.emptied ? 0 : 8);
            EXPECT_EQ(digits(array), row.emptied ? "5" : "012345675");
            ASSERT_LT(k, row.allocations) << "refused more often than it allocates";
        }
    }
    EXPECT_EQ(CountedElement::live, live);
}

TEST(TevArray, GrowthPastTheLastMultipleOfTheStepBelowTheIntLimitAsksForTheLengthItself) {
    static std::vector<int> asked;
    const ScopedAssertionRecorder quiet;
    const auto previous = TevMemoryControllerController::setFailurePredicate(
        [](int count, std::size_t) { return asked.push_back(count), true; });
    TevArray<char> array;
    array.setLength(100);
    array.setLength(INT_MAX - 3); // rounded up to the step it would be 2^31
    TevMemoryControllerController::setFailurePredicate(previous);
    EXPECT_EQ(asked, (std::vector<int>{104, INT_MAX - 3}));
}

} // namespace
