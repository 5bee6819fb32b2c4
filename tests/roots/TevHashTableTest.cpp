#include "TevArray.h"

#include "AssertionRecorder.h"
#include "CountedElement.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using lumtest::CountedElement;

template <class V>
V makeValue(int value) {
    return V(value);
}

int readValue(int value) {
    return value;
}
int readValue(const CountedElement& value) {
    return value.value();
}

template <class Table>
std::vector<int> keysInOrder(const Table& table) {
    std::vector<int> keys;
    for (auto* node = table.first(); node != nullptr; node = table.next(node)) {
        keys.push_back(node->key());
    }
    return keys;
}

template <class V>
void insertKeys(TevHashTable<int, V>& table, int first, int last) {
    for (int key = first; key <= last; ++key) {
        table.insert(key, makeValue<V>(key));
    }
}

template <class V>
class TevHashTableTyped : public testing::Test {};

using ValueTypes = testing::Types<int, CountedElement>;
TYPED_TEST_SUITE(TevHashTableTyped, ValueTypes);

TYPED_TEST(TevHashTableTyped, GrowsThroughThePrimeListWhenCountWouldExceedBuckets) {
    TevHashTable<int, TypeParam> table;
    EXPECT_EQ(table.bucketCount(), 53);
    insertKeys(table, 1, 53);
    EXPECT_EQ(table.bucketCount(), 53);
    table.insert(1, makeValue<TypeParam>(0));
    EXPECT_EQ(table.bucketCount(), 97) << "growth is tried before the key is found present";
    EXPECT_EQ(table.size(), 53);
    insertKeys(table, 54, 97);
    EXPECT_EQ(table.bucketCount(), 97);
    table.insert(98, makeValue<TypeParam>(98));
    EXPECT_EQ(table.bucketCount(), 193);
    EXPECT_EQ(table.size(), 98);
    for (int key = 1; key <= 98; ++key) {
        ASSERT_NE(table.find(key), nullptr) << key;
        EXPECT_EQ(readValue(table.find(key)->value()), key);
    }
}

TYPED_TEST(TevHashTableTyped, KeepsTheFirstEntryForAKey) {
    TevHashTable<int, TypeParam> table;
    const auto [first, inserted] = table.insert(7, makeValue<TypeParam>(70));
    EXPECT_TRUE(inserted);
    const auto [again, insertedAgain] = table.insert(7, makeValue<TypeParam>(71));
    EXPECT_FALSE(insertedAgain);
    EXPECT_EQ(again, first);
    EXPECT_EQ(readValue(table.find(7)->value()), 70);
    EXPECT_EQ(table.size(), 1);
    EXPECT_EQ(table.find(8), nullptr);
}

TYPED_TEST(TevHashTableTyped, IteratesBucketsUpwardAndChainsFromTheLastInserted) {
    TevHashTable<int, TypeParam> table;
    for (const int key : {1, 54, 0, 107, -1}) {
        table.insert(key, makeValue<TypeParam>(key));
    }
    // -1 is sign-extended: (2^64 - 1) mod 53 is bucket 14.
    EXPECT_EQ(keysInOrder(table), (std::vector<int>{0, 107, 54, 1, -1}));

    const TevHashTable<int, TypeParam> copy(table);
    EXPECT_EQ(keysInOrder(copy), keysInOrder(table));
    EXPECT_EQ(copy.bucketCount(), 53);

    TevHashTable<int, TypeParam> assigned;
    insertKeys(assigned, 1, 60);
    assigned = table;
    EXPECT_EQ(assigned.bucketCount(), 53) << "the source's bucket count";
    EXPECT_EQ(keysInOrder(assigned), keysInOrder(table));

    table.removeAll();
    EXPECT_EQ(table.size(), 0);
    EXPECT_EQ(table.first(), nullptr);
    EXPECT_EQ(table.bucketCount(), 53);
    EXPECT_EQ(copy.size(), 5) << "the copy owns its nodes";
}

TYPED_TEST(TevHashTableTyped, GrowthReversesNodesThatShareANewBucket) {
    TevHashTable<int, TypeParam> table;
    table.insert(0, makeValue<TypeParam>(0));
    table.insert(53 * 97, makeValue<TypeParam>(1)); // bucket 0 of both 53 and 97
    EXPECT_EQ(keysInOrder(table), (std::vector<int>{53 * 97, 0}));
    insertKeys(table, 1, 52);
    ASSERT_EQ(table.bucketCount(), 97);
    const std::vector<int> order = keysInOrder(table);
    EXPECT_EQ(order[0], 0);
    EXPECT_EQ(order[1], 53 * 97);
}

TYPED_TEST(TevHashTableTyped, EraseKeepsAWalkGoing) {
    TevHashTable<int, TypeParam> table;
    insertKeys(table, -20, 80);
    const std::vector<int> before = keysInOrder(table);
    std::vector<int> visited;
    for (auto* node = table.first(); node != nullptr;) {
        auto* following = table.next(node);
        visited.push_back(node->key());
        if (node->key() % 3 == 0) {
            table.erase(node);
        }
        node = following;
    }
    EXPECT_EQ(visited, before);
    std::vector<int> remaining;
    for (const int key : before) {
        if (key % 3 != 0) {
            remaining.push_back(key);
        }
    }
    EXPECT_EQ(keysInOrder(table), remaining);
    EXPECT_EQ(table.size(), static_cast<int>(remaining.size()));

    TevHashTable<int, TypeParam> other;
    other.insert(1, makeValue<TypeParam>(1));
    table.erase(other.first()); // not a node of this table
    table.erase(nullptr);
    EXPECT_EQ(table.size(), static_cast<int>(remaining.size()));
    EXPECT_EQ(other.size(), 1);
}

TEST(TevHashTable, DestroysEveryValueItHeld) {
    const int before = CountedElement::live();
    {
        TevHashTable<int, CountedElement> table;
        insertKeys(table, 0, 200);
        table.erase(table.find(5));
        TevHashTable<int, CountedElement> copy(table);
        copy.removeAll();
        insertKeys(copy, 0, 3);
    }
    EXPECT_EQ(CountedElement::live(), before);
}

TEST(TevHashTable, HashesStringsByTheFold) {
    EXPECT_EQ(TevHash<TevString>()(TevString(u"abc")), 3014U);
    EXPECT_EQ(TevHash<TevString>()(TevString()), 0U);
    EXPECT_EQ(TevHash<int>()(-1), 0xFFFFFFFFFFFFFFFFULL);

    TevHashSet<TevString> names;
    EXPECT_TRUE(names.insert(u"A1.dwg").second);
    EXPECT_FALSE(names.insert(u"A1.dwg").second);
    EXPECT_TRUE(names.insert(u"a1.dwg").second) << "string keys compare exactly";
    ASSERT_NE(names.find(u"A1.dwg"), nullptr);
    EXPECT_EQ(names.find(u"A1.dwg")->value(), TevString(u"A1.dwg"));
    EXPECT_EQ(names.size(), 2);
}

} // namespace
