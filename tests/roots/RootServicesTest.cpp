#include "TevAssert.h"
#include "TevFiles.h"
#include "TevMemoryControllerController.h"
#include "TevProcessEvolutionManager.h"

#include "AssertionRecorder.h"
#include "TempFolder.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

void ignoreReport(const char*, const char*, int) {}

TEST(TevAssert, DefaultHandlerWritesOneLineAndReturns) {
    testing::internal::CaptureStderr();
    TevAssert::tevAssert("len>=0", "TevArray.h", 42);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Assertion failed: len>=0, file TevArray.h, line 42\n");
    testing::internal::CaptureStderr();
    TevAssert::tevAssert(nullptr, nullptr, 7);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Assertion failed: , file , line 7\n")
        << "a report without texts is still one line";

    const TevAssert::Handler previous = TevAssert::setHandler(&ignoreReport);
    EXPECT_EQ(TevAssert::setHandler(nullptr), &ignoreReport);
    testing::internal::CaptureStderr();
    TevAssert::tevAssert("0", "f.cpp", 1);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty()) << "null restored the default";
    TevAssert::setHandler(previous);
}

TEST(TevAssert, RecorderCollectsTextsAndRestoresThePreviousHandler) {
    lumtest::ScopedAssertionRecorder outer;
    {
        lumtest::ScopedAssertionRecorder inner;
        EXPECT_FALSE(TEV_ASSERT(1 + 1 == 3, "pManager"));
        EXPECT_TRUE(TEV_ASSERT(true, "never reported"));
        EXPECT_EQ(inner.texts(), std::vector<std::string>{"pManager"});
    }
    TevAssert::tevAssert("false", __FILE__, __LINE__);
    EXPECT_EQ(outer.texts(), std::vector<std::string>{"false"});
}

TEST(TevFiles, FindsRegularFilesThroughApplicationPaths) {
    const lumtest::TempFolder folder;
    folder.createFile("Details/A1.dwg");
    EXPECT_NE(tevFileExists(folder.appPath("Details/A1.dwg")), 0) << "backslashes are separators";
    EXPECT_EQ(tevFileExists(folder.appPath("Details/A2.dwg")), 0);
    EXPECT_EQ(tevFileExists(folder.appPath("Details")), 0) << "a folder is not a file";
    EXPECT_EQ(tevFileExists(TevString()), 0);

    std::filesystem::remove(folder.path() / "Details" / "A1.dwg");
    EXPECT_EQ(tevFileExists(folder.appPath("Details/A1.dwg")), 0);
}

TEST(TevMemoryControllerController, AllocatesZeroFilledStorageOrNothing) {
    void* storage = TevMemoryControllerController::allocateArray(4, sizeof(std::uint64_t));
    ASSERT_NE(storage, nullptr);
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(static_cast<std::uint64_t*>(storage)[index], 0U);
    }
    TevMemoryControllerController::deallocateArray(storage);
    EXPECT_EQ(storage, nullptr);
    TevMemoryControllerController::deallocateArray(storage); // null is accepted

    EXPECT_EQ(TevMemoryControllerController::allocateArray(0, 8), nullptr);
    EXPECT_EQ(TevMemoryControllerController::allocateArray(-1, 8), nullptr);
    EXPECT_EQ(TevMemoryControllerController::allocateArray(1, 0), nullptr);
    EXPECT_EQ(TevMemoryControllerController::allocateArray(0x7FFFFFFF, SIZE_MAX / 2), nullptr)
        << "an overflowing size";
}

// What the failure predicate below was asked, and its answer.
struct PredicateCall {
    int count;
    std::size_t elementSize;
};
std::vector<PredicateCall> predicateCalls;

bool refuseLargeAllocations(int count, std::size_t elementSize) {
    predicateCalls.push_back({count, elementSize});
    return static_cast<std::size_t>(count) * elementSize > 64;
}

bool refuseEverything(int, std::size_t) {
    return true;
}

TEST(TevMemoryControllerController, FailurePredicateDecidesEachValidAllocation) {
    predicateCalls.clear();
    EXPECT_EQ(TevMemoryControllerController::setFailurePredicate(&refuseLargeAllocations), nullptr)
        << "no predicate is installed by default";

    void* small = TevMemoryControllerController::allocateArray(8, 8);
    EXPECT_NE(small, nullptr);
    EXPECT_EQ(TevMemoryControllerController::allocateArray(9, 8), nullptr) << "refused";
    EXPECT_EQ(TevMemoryControllerController::allocateArray(0, 8), nullptr);
    EXPECT_EQ(TevMemoryControllerController::allocateArray(1, 0), nullptr);
    EXPECT_EQ(TevMemoryControllerController::allocateArray(0x7FFFFFFF, SIZE_MAX / 2), nullptr);
    ASSERT_EQ(predicateCalls.size(), 2U) << "invalid sizes are refused before it is asked";
    EXPECT_EQ(predicateCalls[0].count, 8);
    EXPECT_EQ(predicateCalls[0].elementSize, 8U);
    EXPECT_EQ(predicateCalls[1].count, 9);

    EXPECT_EQ(TevMemoryControllerController::setFailurePredicate(&refuseEverything),
              &refuseLargeAllocations)
        << "the previous predicate is answered";
    EXPECT_EQ(TevMemoryControllerController::allocateArray(1, 1), nullptr);
    TevMemoryControllerController::deallocateArray(small); // returning needs no permission
    EXPECT_EQ(small, nullptr);

    EXPECT_EQ(TevMemoryControllerController::setFailurePredicate(nullptr), &refuseEverything);
    void* again = TevMemoryControllerController::allocateArray(100, 8);
    EXPECT_NE(again, nullptr) << "null lets every allocation through";
    TevMemoryControllerController::deallocateArray(again);
    EXPECT_EQ(predicateCalls.size(), 2U);
}

TEST(TevProcessEvolutionManager, HandsOutOneKeyPerActionAndAccumulatesProgress) {
    EXPECT_EQ(TevProcessEvolutionManager::getProcessEvolutionManager(), nullptr);
    {
        TevProcessEvolutionManager manager;
        TevProcessEvolutionManager::setProcessEvolutionManager(&manager);
        ASSERT_EQ(TevProcessEvolutionManager::getProcessEvolutionManager(), &manager);

        const int checking = manager.getKeyForAction(u"Checking derived documents");
        const int other = manager.getKeyForAction(u"Other");
        EXPECT_EQ(checking, 1);
        EXPECT_EQ(other, 2);
        EXPECT_EQ(manager.getKeyForAction(u"Checking derived documents"), checking);

        manager.increaseProgress(checking, 2);
        manager.increaseProgress(checking, 3);
        manager.increaseProgress(0, 10);
        manager.increaseProgress(99, 10);
        EXPECT_EQ(manager.getProgress(checking), 5);
        EXPECT_EQ(manager.getProgress(other), 0);
        EXPECT_EQ(manager.getProgress(99), 0);
        EXPECT_EQ(manager.getActionName(other), TevString(u"Other"));
        EXPECT_EQ(manager.getActionName(3), TevString());
    }
    EXPECT_EQ(TevProcessEvolutionManager::getProcessEvolutionManager(), nullptr)
        << "a destroyed manager does not stay installed";
}

} // namespace
