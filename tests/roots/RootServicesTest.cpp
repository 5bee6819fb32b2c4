// The root layer's services: assertion reports, the memory controller and the progress
// manager.
#include "TestSupport.h"
#include "TevProcessEvolutionManager.h"

namespace {

TEST(TevAssert, DefaultHandlerWritesOneLineAndReturns) {
    TevAssert::setHandler(nullptr); // the default, which is in place anyway
    testing::internal::CaptureStderr();
    TevAssert::tevAssert("len>=0", "TevArray.h", 42);
    TevAssert::tevAssert(nullptr, nullptr, 7);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Assertion failed: len>=0, file TevArray.h, line 42\n"
              "Assertion failed: , file , line 7\n");
}

TEST(TevMemoryControllerController, AllocatesZeroFilledStorageWhereThePredicateAllows) {
    static std::vector<std::pair<int, std::size_t>> asked;
    const TevMemoryControllerController::FailurePredicate refuseLarge = [](int count,
                                                                           std::size_t size) {
        return asked.emplace_back(count, size), static_cast<std::size_t>(count) * size > 64;
    };
    // No predicate is installed by default; a size that is not valid is refused before the
    // predicate is asked.
    EXPECT_EQ(TevMemoryControllerController::setFailurePredicate(refuseLarge), nullptr);
    void* storage = TevMemoryControllerController::allocateArray(8, sizeof(std::uint64_t));
    const auto* words = static_cast<const std::uint64_t*>(storage);
    EXPECT_EQ(std::vector<std::uint64_t>(words, words + 8), std::vector<std::uint64_t>(8, 0));
    for (const auto& [count, size] :
         {std::pair<int, std::size_t>{9, 8}, {0, 8}, {-1, 8}, {1, 0}, {0x7FFFFFFF, SIZE_MAX / 2}}) {
        EXPECT_EQ(TevMemoryControllerController::allocateArray(count, size), nullptr) << count;
    }
    EXPECT_EQ(asked, (std::vector<std::pair<int, std::size_t>>{{8, 8}, {9, 8}}));
    TevMemoryControllerController::deallocateArray(storage);
    EXPECT_EQ(storage, nullptr);
    EXPECT_EQ(TevMemoryControllerController::setFailurePredicate(nullptr), refuseLarge);
}

TEST(TevProcessEvolutionManager, HandsOutOneKeyPerActionAndKeepsTheLevelReached) {
    {
        TevProcessEvolutionManager manager;
        TevProcessEvolutionManager::setProcessEvolutionManager(&manager);
        EXPECT_EQ(TevProcessEvolutionManager::getProcessEvolutionManager(), &manager);
        for (const auto& [action, key] :
             {std::pair(u"Checking", 1), {u"Other", 2}, {u"", 3}, {u"Checking", 1}, {u"Last", 4}}) {
            EXPECT_EQ(manager.getKeyForAction(action), key);
        }
        for (const auto& [key, amount] :
             {std::pair{1, 2}, {1, 7}, {1, 5}, {0, 10}, {5, 10}, {3, 1}, {4, 1}}) {
            manager.increaseProgress(key, amount);
        }
        std::string progress; // per key from 0 to 5: progress and action name
        for (int key = 0; key <= 5; ++key) {
            progress +=
                std::to_string(manager.getProgress(key)) + manager.getActionName(key).toUtf8();
        }
        EXPECT_EQ(progress, "07Checking0Other11Last0");
    }
    // A destroyed manager does not stay installed.
    EXPECT_EQ(TevProcessEvolutionManager::getProcessEvolutionManager(), nullptr);
}

} // namespace
