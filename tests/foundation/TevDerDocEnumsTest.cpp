#include "TevDerDocEnums.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(TevDerDocEnums, DisplayCodeFollowsTheStatusRule) {
    const std::pair<int, int> cases[] = {{1002, -4}, {1008, -3}, {1001, -2}, {6, -1},      {9, 3},
                                         {1003, -5}, {2001, -5}, {2002, -5}, {1000, 1000}, {0, 0},
                                         {3, 3},     {-7, -7},   {1, 1},     {12345, -5}};
    for (const auto& [status, code] : cases) {
        EXPECT_EQ(TevDerDocEnums::displayCode(static_cast<TevDerDocEnums::ErrorStatus>(status)),
                  code)
            << "status " << status;
    }
}

} // namespace
