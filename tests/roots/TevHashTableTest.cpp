#include "TevArray.h"

#include "AllocationFailure.h"
#include "AssertionRecorder.h"
#include "CountedElement.h"
#include "TevPrinters.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using lumtest::CountedElement;
using lumtest::ScopedAllocationFailure;
using lumtest::ScopedAssertionRecorder;
using Texts = std::vector<std::string>;

const std::string kNoMemory = "pElements != NULL && numElements > 0";

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
    EXPECT_EQ(table.next(nullptr), nullptr) << "no node has no successor";
    EXPECT_EQ(table.size(), static_cast<int>(remaining.size()));
    EXPECT_EQ(other.size(), 1);
}

// Element sizes of the two kinds of allocation a table makes.
template <class V>
constexpr std::size_t kNodeSize = sizeof(TevHashNode<int, V>);
template <class V>
constexpr std::size_t kBucketSize = sizeof(TevHashNode<int, V>*);

TYPED_TEST(TevHashTableTyped, InsertWithoutMemoryForItsNodeAnswersNoNodeAndChangesNothing) {
    static_assert(kNodeSize<TypeParam> != kBucketSize<TypeParam>);
    TevHashTable<int, TypeParam> table;
    insertKeys(table, 1, 10);
    const std::vector<int> before = keysInOrder(table);
    const int liveBefore = CountedElement::live();
    ScopedAssertionRecorder recorder;
    {
        const ScopedAllocationFailure noNodes(0, kNodeSize<TypeParam>);
        const auto [node, inserted] = table.insert(11, makeValue<TypeParam>(11));
        EXPECT_EQ(node, nullptr);
        EXPECT_FALSE(inserted);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory});

        const auto [present, insertedAgain] = table.insert(4, makeValue<TypeParam>(40));
        ASSERT_NE(present, nullptr) << "a present key needs no node";
        EXPECT_FALSE(insertedAgain);
        EXPECT_EQ(readValue(present->value()), 4);
        EXPECT_TRUE(recorder.texts().empty());
    }
    EXPECT_EQ(table.size(), 10);
    EXPECT_EQ(table.find(11), nullptr);
    EXPECT_EQ(keysInOrder(table), before);
    EXPECT_EQ(CountedElement::live(), liveBefore) << "no value was left behind";

    EXPECT_TRUE(table.insert(11, makeValue<TypeParam>(11)).second);
    EXPECT_EQ(readValue(table.find(11)->value()), 11);
    EXPECT_EQ(table.size(), 11);
}

TYPED_TEST(TevHashTableTyped, InsertWithoutMemoryForMoreBucketsKeepsTheBucketsAndFilesTheNode) {
    TevHashTable<int, TypeParam> table;
    insertKeys(table, 1, 53);
    ScopedAssertionRecorder recorder;
    {
        const ScopedAllocationFailure noBuckets(0, kBucketSize<TypeParam>);
        EXPECT_TRUE(table.insert(54, makeValue<TypeParam>(54)).second);
    }
    EXPECT_EQ(recorder.take(), Texts{kNoMemory});
    EXPECT_EQ(table.bucketCount(), 53) << "the rehash was not made";
    EXPECT_EQ(table.size(), 54);
    for (int key = 1; key <= 54; ++key) {
        ASSERT_NE(table.find(key), nullptr) << key;
        EXPECT_EQ(readValue(table.find(key)->value()), key);
    }
    EXPECT_EQ(keysInOrder(table).size(), 54U);

    table.insert(55, makeValue<TypeParam>(55));
    EXPECT_EQ(table.bucketCount(), 97) << "the next insert grows the table";
    EXPECT_EQ(keysInOrder(table).size(), 55U);
    EXPECT_TRUE(recorder.texts().empty());
}

TYPED_TEST(TevHashTableTyped, FailureOfTheFirstAllocationOfAnInsertThatGrowsChangesNothing) {
    ScopedAssertionRecorder recorder;
    const int liveBefore = CountedElement::live();
    {
        // The table's buckets and its first 53 nodes are granted; the rehash of the
        // 54th insert and that insert's node are refused.
        const ScopedAllocationFailure countdown(1 + 53);
        TevHashTable<int, TypeParam> table;
        insertKeys(table, 1, 53);
        EXPECT_TRUE(recorder.texts().empty());
        const std::vector<int> before = keysInOrder(table);

        const auto [node, inserted] = table.insert(54, makeValue<TypeParam>(54));
        EXPECT_EQ(node, nullptr);
        EXPECT_FALSE(inserted);
        EXPECT_EQ(recorder.take(), (Texts{kNoMemory, kNoMemory}));
        EXPECT_EQ(countdown.refused(), 2);
        EXPECT_EQ(table.bucketCount(), 53);
        EXPECT_EQ(table.size(), 53);
        EXPECT_EQ(keysInOrder(table), before);

        table.erase(table.find(1));
        EXPECT_EQ(table.size(), 52) << "still usable: erase needs no memory";
    }
    EXPECT_EQ(CountedElement::live(), liveBefore);
}

TYPED_TEST(TevHashTableTyped, CopyThatCannotBeCompletedIsLeftEmpty) {
    TevHashTable<int, TypeParam> source;
    insertKeys(source, 1, 10);
    TevHashTable<int, TypeParam> assigned;
    insertKeys(assigned, 100, 102);
    const int liveBefore = CountedElement::live();
    ScopedAssertionRecorder recorder;
    {
        // The copy's buckets and four of its nodes are granted, the fifth node refused.
        const ScopedAllocationFailure fifthNodeFails(1 + 4);
        const TevHashTable<int, TypeParam> copy(source);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory});
        EXPECT_EQ(copy.size(), 0);
        EXPECT_EQ(copy.first(), nullptr);
        EXPECT_EQ(copy.bucketCount(), 53);
        EXPECT_EQ(copy.find(1), nullptr);
    }
    {
        const ScopedAllocationFailure fifthNodeFails(1 + 4);
        assigned = source;
        EXPECT_EQ(recorder.take(), Texts{kNoMemory});
        EXPECT_EQ(assigned.size(), 0);
        EXPECT_EQ(assigned.first(), nullptr);
        EXPECT_EQ(assigned.find(100), nullptr) << "assignment emptied the target first";
    }
    const int assignedValues = std::is_same_v<TypeParam, CountedElement> ? 3 : 0;
    EXPECT_EQ(CountedElement::live(), liveBefore - assignedValues)
        << "the nodes copied before the failure went again";
    EXPECT_EQ(source.size(), 10);
    assigned = source;
    EXPECT_EQ(keysInOrder(assigned), keysInOrder(source));
}

TYPED_TEST(TevHashTableTyped, TableWithoutBucketsHoldsNothingUntilAnInsertGetsThem) {
    ScopedAssertionRecorder recorder;
    TevHashTable<int, TypeParam> other;
    other.insert(1, makeValue<TypeParam>(1));
    std::unique_ptr<TevHashTable<int, TypeParam>> table;
    {
        const ScopedAllocationFailure noMemory;
        table = std::make_unique<TevHashTable<int, TypeParam>>();
        EXPECT_EQ(recorder.take(), Texts{kNoMemory});
        EXPECT_EQ(table->bucketCount(), 0);
        EXPECT_EQ(table->size(), 0);
        EXPECT_EQ(table->find(1), nullptr);
        EXPECT_EQ(table->first(), nullptr);
        table->erase(other.first()); // not a node of this table
        table->removeAll();
        const auto [node, inserted] = table->insert(1, makeValue<TypeParam>(1));
        EXPECT_EQ(node, nullptr);
        EXPECT_FALSE(inserted);
        EXPECT_EQ(recorder.take(), Texts{kNoMemory}) << "the buckets, asked for once";

        const TevHashTable<int, TypeParam> copy(*table);
        EXPECT_EQ(copy.bucketCount(), 0) << "a copy of a table without buckets has none";
        EXPECT_TRUE(recorder.texts().empty());
    }
    EXPECT_EQ(other.size(), 1);
    EXPECT_TRUE(table->insert(1, makeValue<TypeParam>(1)).second);
    EXPECT_EQ(table->bucketCount(), 53);
    EXPECT_EQ(keysInOrder(*table), (std::vector<int>{1}));
}

TEST(TevHashSet, InsertWithoutMemoryForItsNodeLeavesTheSetAsItWas) {
    TevHashSet<TevString> names;
    names.insert(u"A1.dwg");
    ScopedAssertionRecorder recorder;
    {
        const ScopedAllocationFailure noNodes(0, sizeof(TevHashNode<TevString, TevString>));
        const auto [node, inserted] = names.insert(u"A2.dwg");
        EXPECT_EQ(node, nullptr);
        EXPECT_FALSE(inserted);
    }
    EXPECT_EQ(recorder.take(), Texts{kNoMemory});
    EXPECT_EQ(names.size(), 1);
    EXPECT_EQ(names.find(u"A2.dwg"), nullptr);
    ASSERT_NE(names.first(), nullptr);
    EXPECT_EQ(names.first()->key(), TevString(u"A1.dwg"));
    EXPECT_TRUE(names.insert(u"A2.dwg").second);
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
