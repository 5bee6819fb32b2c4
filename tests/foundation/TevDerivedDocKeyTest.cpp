#include "TevDerivedDocKey.h"

#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

namespace {

using E = TevDerDocEnums;

std::uint32_t hashOf(const TevDerivedDocKey& key) {
    return TevHash<TevDerivedDocKey>()(key);
}

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
    for (const auto& [key, text] : cases) {
        EXPECT_EQ(TevHash<TevDerivedDocKey>::text(key), TevString(text));
        EXPECT_EQ(hashOf(key), tevFoldHash(TevString(text))) << TevString(text).toUtf8();
    }
    EXPECT_EQ(hashOf(TevDerivedDocKey()), 23353992U);
    EXPECT_FALSE(detailKey(1, u"A1.dwg") == detailKey((std::int64_t{1} << 32) + 1, u"A1.dwg"));
    // Keys compare field by field: "a b" + "c" and "a" + "b c" format alike.
    EXPECT_FALSE(detailKey(5, u"a b", u"c") == detailKey(5, u"a", u"b c"));
}

} // namespace
