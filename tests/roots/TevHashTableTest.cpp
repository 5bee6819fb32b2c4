#include "TevArray.h"

#include "AllocationFailure.h"
#include "AssertionRecorder.h"
#include "CountedElement.h"

#include <gtest/gtest.h>

namespace {

using lumtest::CountedElement;
using lumtest::ScopedAllocationFailure;
using lumtest::ScopedAssertionRecorder;
using Table = TevHashTable<int, CountedElement>; // a value knows its key, and counts
using Ints = std::vector<int>;

const std::string kNoMemory = "pElements != NULL && numElements > 0";

Ints keysInOrder(const Table& table) {
    Ints keys;
    for (auto* node = table.first(); node != nullptr; node = table.next(node)) {
        keys.push_back(node->key());
    }
    return keys;
}

void insertKeys(Table& table, int first, int last) {
    for (int key = first; key <= last; ++key) {
        table.insert(key, key);
    }
}

TEST(TevHashTable, HashesAndWalksBucketsUpwardAndChainsFromTheLastInsertedAlsoWhileErasing) {
    const int live = CountedElement::live;
    Table table, assigned;
    for (const int key : {1, 54, 0, 107, -1}) {
        table.insert(key, key);
    }
    EXPECT_EQ(keysInOrder(table), (Ints{0, 107, 54, 1, -1})) << "-1 is sign-extended: bucket 14";
    insertKeys(assigned, 1, 60);
    assigned = table;
    // The source's bucket count, and none of the nodes the target had.
    EXPECT_EQ(std::pair(assigned.bucketCount(), assigned.size()), std::pair(53, 5));
    EXPECT_EQ(keysInOrder(assigned), keysInOrder(table));
    table.removeAll();
    EXPECT_EQ(table.size() + table.bucketCount(), 53) << "the bucket count stays";
    table.insert(53 * 97, 1); // bucket 0 of both 53 and 97, before 0 in the chain at 53
    insertKeys(table, 0, 52);
    // Growth to 97 buckets reverses the nodes that share a new bucket.
    EXPECT_EQ(keysInOrder(table)[0] + table.bucketCount(), 53 * 97 + 97);

    insertKeys(table, -20, 80);
    const Ints before = keysInOrder(table);
    Ints visited, remaining;
    for (auto* node = table.first(); node != nullptr;) {
        auto* following = table.next(node);
        visited.push_back(node->key());
        node->key() % 3 == 0 ? table.erase(node) : remaining.push_back(node->key());
        node = following;
    }
    table.erase(nullptr);
    EXPECT_EQ(table.next(nullptr), nullptr);
    EXPECT_EQ(visited, before);
    EXPECT_EQ(keysInOrder(table), remaining);
    EXPECT_EQ(CountedElement::live - live, table.size() + assigned.size());

    EXPECT_EQ(TevHash<TevString>()(TevString(u"abc")), 3014U);
    EXPECT_EQ(TevHash<int>()(-1), 0xFFFFFFFFFFFFFFFFULL);
}

// Refuses the k-th allocation of each operation for k = 0, 1, ... until the operation
// runs without a refusal; the trail holds size/buckets and +/- for "inserted" after each
// attempt. After every attempt the table is whole (walk, finds, values, copies and the
// values alive agree with its size); after a refused one it still answers no node while
// memory stays short, and takes and erases a key once memory is back.
TEST(TevHashTable, RefusedAllocationIsReportedAndLeavesTheTableWhole) {
    using Result = std::pair<Table::Node*, bool>;
    struct Row {
        const char* name;
        int keys, key; // the table holds 1..keys; the result is the node of key
        std::string trail;
        Result (*op)(std::unique_ptr<Table>& table, const Table& three);
    };
    const Row rows[] = {
        {"new key", 10, 11, "10/53- 11/53+", [](auto& t, auto&) { return t->insert(11, 11); }},
        {"grows", 53, 54, "54/53+ 53/97- 54/97+", [](auto& t, auto&) { return t->insert(54, 54); }},
        {"present, grows", 53, 1, "53/53- 53/97-", [](auto& t, auto&) { return t->insert(1, 0); }},
        {"copy", 10, 99, "0/0- 0/53- 0/53- 0/53- 3/53-",
         [](auto& t, auto& three) { return t = std::make_unique<Table>(three), Result(); }},
    };
    Table three;
    insertKeys(three, 1, 3);
    const int live = CountedElement::live;
    for (const Row& row : rows) {
        std::string trail;
        for (int k = 0; k < 5; ++k) {
            SCOPED_TRACE(std::string(row.name) + ", allocation " + std::to_string(k) + " refused");
            auto table = std::make_unique<Table>();
            insertKeys(*table, 1, row.keys);
            const Ints before = keysInOrder(*table);
            ScopedAssertionRecorder recorder;
            auto kth = std::make_unique<ScopedAllocationFailure>(k, 0, 1);
            const Result result = row.op(table, three);
            const int refused = kth->refused();
            kth.reset();
            trail += (k > 0 ? " " : "") + std::to_string(table->size()) + "/" +
                     std::to_string(table->bucketCount()) + (result.second ? "+" : "-");
            EXPECT_EQ(recorder.take(), std::vector<std::string>(refused, kNoMemory));
            EXPECT_EQ(result.first, table->find(row.key));
            const Ints keys = keysInOrder(*table);
            for (const int key : keys) {
                EXPECT_EQ(table->find(key)->value().value, key);
            }
            // A table of the same size and buckets is the one it was, in the same order.
            EXPECT_TRUE(table->size() != row.keys || table->bucketCount() != 53 || keys == before);
            EXPECT_EQ(CountedElement::live - live, table->size());
            EXPECT_EQ(keysInOrder(Table(*table)), keys);
            EXPECT_EQ(Table(*table).bucketCount(), table->bucketCount());
            if (refused == 0) {
                break;
            }
            {
                const ScopedAllocationFailure none;
                EXPECT_EQ(table->insert(1000, 1000), Result());
            }
            table->erase(three.first());
            EXPECT_TRUE(table->insert(1000, 1000).second);
            table->erase(table->find(1000));
        }
        EXPECT_EQ(trail, row.trail) << row.name;
    }
    EXPECT_EQ(CountedElement::live, live);
}

TEST(TevHashTable, GrowsThroughThePrimeListWhenCountWouldExceedBuckets) {
    TevHashTable<int, int> table;
    std::string growths; // the bucket counts, each after the key whose insert grew to it
    for (int key = 1; key <= 98318; ++key) {
        const int buckets = table.bucketCount();
        if (table.insert(key, key), table.bucketCount() != buckets) {
            growths += std::to_string(key) + ":" + std::to_string(table.bucketCount()) + " ";
        }
    }
    EXPECT_EQ(growths, "54:97 98:193 194:389 390:769 770:1543 1544:3079 3080:6151 6152:12289 "
                       "12290:24593 24594:49157 49158:98317 98318:196613 ");
}

} // namespace
