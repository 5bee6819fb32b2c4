#include "TevDerivedDocKey.h"

#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using E = TevDerDocEnums;

std::uint32_t hashOf(const TevDerivedDocKey& key) {
    return TevHash<TevDerivedDocKey>()(key);
}

TevDerivedDocKey detailKey(std::int64_t id, const TevString& fileName,
                           const TevString& relPath = u"\\Details\\") {
    return TevDerivedDocKey(E::eDocTypeDetail, E::eDocSubTypeNone, id, fileName, relPath, u"");
}

TEST(TevDerivedDocKey, DefaultKeyFormatsAndHashesAsTheRegistryFilesIt) {
    const TevDerivedDocKey key;
    EXPECT_EQ(key.m_type, E::eDocTypeAll);
    EXPECT_EQ(key.m_subType, E::eDocSubTypeNone);
    EXPECT_EQ(key.m_id, -1);
    EXPECT_FALSE(key.m_ncFlag);
    EXPECT_EQ(TevHash<TevDerivedDocKey>::text(key), TevString(u"3 3 -1   "));
    EXPECT_EQ(hashOf(key), 23353992U);
    EXPECT_TRUE(key == TevDerivedDocKey());

    // Bucket 19 of 53: the key is visited after a key of bucket 18 and before one of 20.
    TevHashTable<TevDerivedDocKey, int> table;
    TevDerivedDocKey before = detailKey(0, u"a");
    TevDerivedDocKey after = detailKey(0, u"a");
    for (int id = 0; hashOf(before) % 53 != 18 || hashOf(after) % 53 != 20; ++id) {
        if (hashOf(before) % 53 != 18) {
            before.m_id = id;
        }
        if (hashOf(after) % 53 != 20) {
            after.m_id = id;
        }
    }
    table.insert(after, 20);
    table.insert(key, 19);
    table.insert(before, 18);
    const auto* node = table.first();
    EXPECT_EQ(node->value(), 18);
    EXPECT_EQ(table.next(node)->value(), 19);
    EXPECT_EQ(table.next(table.next(node))->value(), 20);
}

TEST(TevDerivedDocKey, IgnoresTheNcFlagButCopiesIt) {
    TevDerivedDocKey flagged(E::eDocTypeNC, E::eDocSubTypeNCDxf, 0, u"p1.nc", u"DSTV\\", u"p1.dxf");
    EXPECT_FALSE(flagged.m_ncFlag) << "the value constructor leaves the flag false";
    const TevDerivedDocKey visible = flagged;
    flagged.m_ncFlag = true;
    EXPECT_TRUE(flagged == visible);
    EXPECT_EQ(hashOf(flagged), hashOf(visible));

    const TevDerivedDocKey copy(flagged);
    TevDerivedDocKey assigned;
    assigned = flagged;
    EXPECT_TRUE(copy.m_ncFlag);
    EXPECT_TRUE(assigned.m_ncFlag);
    EXPECT_TRUE(assigned == flagged);
}

TEST(TevDerivedDocKey, HashesOnlyTheLow32BitsOfTheId) {
    const TevDerivedDocKey low = detailKey(1, u"A1.dwg");
    const TevDerivedDocKey high = detailKey((std::int64_t{1} << 32) + 1, u"A1.dwg");
    EXPECT_FALSE(low == high);
    EXPECT_EQ(hashOf(low), hashOf(high));
    EXPECT_EQ(TevHash<TevDerivedDocKey>::text(detailKey(0xFFFFFFFF, u"x", u"")),
              TevString(u"0 3 -1 x  "));

    TevHashTable<TevDerivedDocKey, int> table;
    EXPECT_TRUE(table.insert(low, 1).second);
    EXPECT_TRUE(table.insert(high, 2).second) << "both live side by side in one bucket";
    EXPECT_EQ(table.find(low)->value(), 1);
    EXPECT_EQ(table.find(high)->value(), 2);
    EXPECT_FALSE(table.insert(detailKey(1, u"A1.dwg"), 3).second) << "first entry wins";
    EXPECT_EQ(table.find(low)->value(), 1);
}

// The hash folds the key's fields without building the text; it must agree with the
// fold of the text for every sign, width and limit of the numbers, and for texts
// beyond ASCII.
TEST(TevDerivedDocKey, HashIsTheFoldOfTheFormattedText) {
    const std::int64_t ids[] = {0,
                                -1,
                                7,
                                -7,
                                2147483647,
                                -2147483647 - 1,
                                4294967295,
                                4294967296,
                                1234567890123,
                                -1234567890123};
    const int numbers[] = {0, 3, -1, 2147483647, -2147483647 - 1};
    for (const std::int64_t id : ids) {
        for (const int number : numbers) {
            const TevDerivedDocKey key(static_cast<E::eDocType>(number),
                                       static_cast<E::eDocSubType>(~number), id, u"Ä\u03a3.dwg",
                                       u"\\Details\\", u"dxf name");
            EXPECT_EQ(hashOf(key), tevFoldHash(TevHash<TevDerivedDocKey>::text(key)))
                << "id " << id << ", type " << number;
        }
    }
}

TEST(TevDerivedDocKey, EqualTextIsNotEqualKeys) {
    // "a b" + "c" and "a" + "b c" both format as "... a b c ".
    const TevDerivedDocKey blankInName = detailKey(5, u"a b", u"c");
    const TevDerivedDocKey blankBetween = detailKey(5, u"a", u"b c");
    EXPECT_EQ(TevHash<TevDerivedDocKey>::text(blankInName),
              TevHash<TevDerivedDocKey>::text(blankBetween));
    EXPECT_EQ(hashOf(blankInName), hashOf(blankBetween));
    EXPECT_FALSE(blankInName == blankBetween);

    const TevDerivedDocKey upper = detailKey(5, u"A1.DWG");
    const TevDerivedDocKey lower = detailKey(5, u"a1.dwg");
    EXPECT_FALSE(upper == lower) << "lookups by key are exact";
    EXPECT_NE(hashOf(upper), hashOf(lower));

    TevDerivedDocKey other = detailKey(5, u"a1.dwg");
    EXPECT_TRUE(other == lower);
    for (auto change : {+[](TevDerivedDocKey& k) { k.m_type = E::eDocTypeBom; },
                        +[](TevDerivedDocKey& k) { k.m_subType = E::eDocSubTypeDstv; },
                        +[](TevDerivedDocKey& k) { k.m_id = 6; },
                        +[](TevDerivedDocKey& k) { k.m_relPath = u"\\BOM\\"; },
                        +[](TevDerivedDocKey& k) { k.m_ncName = u"n"; }}) {
        TevDerivedDocKey changed = lower;
        change(changed);
        EXPECT_FALSE(changed == lower);
    }
}

} // namespace
