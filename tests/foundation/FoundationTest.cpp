// The library's foundations: status display codes, document keys and the model state.
#include "LumDerivedDocumentsBase.h"
#include "TestSupport.h"

#include <cstdint>

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

using E = TevDerDocEnums;

TevDerivedDocKey detailKey(std::int64_t id, const TevString& fileName,
                           const TevString& relPath = u"\\Details\\") {
    return TevDerivedDocKey(E::eDocTypeDetail, E::eDocSubTypeNone, id, fileName, relPath, u"");
}

// The registry files a key under the fold of its text, which holds only the low 32 bits
// of the id; the hash is computed without building the text, for every sign and width.
TEST(TevDerivedDocKey, HashesTheFoldOfItsTextWithTheLow32BitsOfTheId) {
    const std::tuple<TevDerivedDocKey, const char16_t*> cases[] = {
        {TevDerivedDocKey(), u"3 3 -1   "},
        {detailKey(0xFFFFFFFF, u"x", u""), u"0 3 -1 x  "},
        {detailKey(std::int64_t{1} << 32, u"x", u""), u"0 3 0 x  "},
        {detailKey(-2147483647 - 1, u"Ä\u03a3.dwg"), u"0 3 -2147483648 Ä\u03a3.dwg \\Details\\ "},
        {TevDerivedDocKey(static_cast<E::eDocType>(-2147483647 - 1),
                          static_cast<E::eDocSubType>(2147483647), -1234567890123, u"p.nc", u"NC\\",
                          u"dxf name"),
         u"-2147483648 2147483647 -1912276171 p.nc NC\\ dxf name"}};
    const TevHash<TevDerivedDocKey> hashOf;
    for (const auto& [key, text] : cases) {
        EXPECT_EQ(TevHash<TevDerivedDocKey>::text(key), TevString(text));
        EXPECT_EQ(hashOf(key), tevFoldHash(TevString(text))) << TevString(text).toUtf8();
    }
    EXPECT_EQ(hashOf(TevDerivedDocKey()), 23353992U);
    EXPECT_FALSE(detailKey(1, u"A1.dwg") == detailKey((std::int64_t{1} << 32) + 1, u"A1.dwg"));
    // Keys compare field by field: "a b" + "c" and "a" + "b c" format alike.
    EXPECT_FALSE(detailKey(5, u"a b", u"c") == detailKey(5, u"a", u"b c"));
}

using F = TevModelState;

std::vector<int> masks(TevModelState& state) {
    return {state.getModelState(F::eFunctionality0), state.getModelState(F::eFunctionality1),
            state.getModelState(F::eFunctionality2), state.getModelState(F::eFunctionality3)};
}

TEST(TevModelState, AccumulatesEventsUntilAMaskIsResetAndReportsAnUnknownFunctionality) {
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

    // A functionality outside the four masks is reported and changes none.
    lumtest::ScopedAssertionRecorder recorder;
    const auto outside = static_cast<F::eFunctionality>(4);
    EXPECT_EQ(copy.getModelState(outside), 0);
    copy.addEvent(static_cast<F::eEvent>(1), static_cast<F::eFunctionality>(-1));
    copy.resetState(outside);
    EXPECT_EQ(recorder.texts(), std::vector<std::string>(3, "isValid( functionality )"));
    EXPECT_EQ(masks(copy), (std::vector<int>{0, 132, 1, 132}));
}

} // namespace
