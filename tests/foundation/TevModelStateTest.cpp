#include "TevModelState.h"

#include "AssertionRecorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using F = TevModelState;

std::vector<int> masks(TevModelState& state) {
    return {state.getModelState(F::eFunctionality0), state.getModelState(F::eFunctionality1),
            state.getModelState(F::eFunctionality2), state.getModelState(F::eFunctionality3)};
}

TEST(TevModelState, AccumulatesEventsUntilAMaskIsReset) {
    const auto event = static_cast<TevModelState::eEvent>(0x4);
    TevModelState state;
    EXPECT_EQ(masks(state), (std::vector<int>{128, 128, 128, 128}));

    state.addEvent(event);
    state.addEvent(event);
    state.resetState(F::eFunctionality2);
    state.resetState(F::eFunctionality0);
    EXPECT_EQ(masks(state), (std::vector<int>{0, 132, 0, 132}));

    state.addEvent(static_cast<TevModelState::eEvent>(0x1), F::eFunctionality2);
    EXPECT_EQ(masks(state), (std::vector<int>{0, 132, 1, 132}));

    TevModelState copy;
    copy = state;
    state.resetState();
    EXPECT_EQ(masks(state), (std::vector<int>{0, 0, 0, 0})) << "a reset does not restore 128";
    EXPECT_EQ(masks(copy), (std::vector<int>{0, 132, 1, 132}));
}

TEST(TevModelState, ReportsAFunctionalityOutsideItsFourMasks) {
    lumtest::ScopedAssertionRecorder recorder;
    TevModelState state;
    const auto outside = static_cast<F::eFunctionality>(4);
    EXPECT_EQ(state.getModelState(outside), 0);
    state.addEvent(static_cast<F::eEvent>(1), static_cast<F::eFunctionality>(-1));
    state.resetState(outside);
    EXPECT_EQ(recorder.texts().size(), 3U);
    EXPECT_EQ(recorder.texts()[0], "isValid( functionality )");
    EXPECT_EQ(masks(state), (std::vector<int>{128, 128, 128, 128}));
}

} // namespace
