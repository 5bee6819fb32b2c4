// The root library's containers: TevArray and TevHashTable, their exact results, growth and
// storage, and what they do when an allocation is refused.
#include "TestSupport.h"
#include "TevArray.h"

#include <algorithm>

namespace {

using namespace lumtest;
using Array = TevArray<CountedElement>; // class-type slots: constructed, counted

const std::string kNoMemory = "pElements != NULL && numElements > 0";

// Arrays of 0, 1, 2, ..., 9, 0, ...; digits() writes them as "0123...".
Array filled(int length, int growthStep = 8) {
    Array array(0, growthStep);
    for (int index = 0; index < length; ++index) {
        array.append(index % 10);
    }
    return array;
}

std::string digits(const Array& array) {
    std::string result;
    for (const CountedElement& element : array) {
        result += std::to_string(element.value);
    }
    return result;
}

// Each operation runs on "01234567" (full storage) and `t` = "012" (growth step 1), refusing
// its k-th allocation for k = 0, 1, ... until it runs without a refusal. A refused attempt
// is reported once, and leaves the array as it was (a copy or a new array: empty, without
// storage) and usable. Every slot of the storage holds a constructed element.
TEST(TevArray, OperationsGiveExactResultsAndSurviveEachRefusedAllocation) {
    struct Row {
        const char* name;
        int allocations, copies;
        std::string after; // digits/physical length/growth step after a run without refusals
        bool emptied;
        void (*op)(Array& a, Array& t);
    };
    const Row rows[] = {
        {"grow", 1, 8, "01234567/20/8", false, [](auto& a, auto&) { a.setPhysicalLength(20); }},
        {"3/4 storage", 1, 6, "012345/6/8", false, [](auto& a, auto&) { a.setPhysicalLength(6); }},
        {"setLength", 1, 8, "012345670/16/8", false, [](auto& a, auto&) { a.setLength(9); }},
        {"to 16", 1, 8, "0123456700000000/16/8", false, [](auto& a, auto&) { a.setLength(16); }},
        {"append", 1, 9, "012345678/16/8", false, [](auto& a, auto&) { a.append(8); }},
        {"append own", 1, 10, "012345670/16/8", false, [](auto& a, auto&) { a.append(a[0]); }},
        {"append 3", 1, 11, "01234567012/16/8", false, [](auto& a, auto& t) { a.appendArray(t); }},
        {"one", 2, 10, "012345670/16/8", false, [](auto& a, auto&) { a.appendArray(filled(1)); }},
        {"twice", 1, 16, "0123456701234567/16/8", false, [](auto& a, auto&) { a.appendArray(a); }},
        {"cut", 0, 6, "023456/8/8", false, [](auto& a, auto&) { a.removeAt(1), a.removeAt(6); }},
        {"inside", 0, 1, "91234567/8/8", false,
         [](auto& a, auto&) { a.setPhysicalLength(8), a.setPhysicalLength(7), a[0] = 9; }},
        {"self-assign", 0, 0, "01234567/8/8", false, [](auto& a, auto&) { a = std::as_const(a); }},
        {"empty", 0, 0, "/0/8", false, [](auto& a, auto&) { a.setPhysicalLength(0); }},
        {"copy", 1, 3, "012/3/1", true, [](auto& a, auto& t) { a = Array(t); }},
        {"assign", 1, 3, "012/3/1", true, [](auto& a, auto& t) { a = t; }},
        {"sized", 1, 0, "/1/8", true, [](auto& a, auto&) { a = Array(1, 0); }},
        {"bad indexes", 0, 6, "01234567/8/8", false,
         [](auto& a, auto&) {
             const ScopedAssertionRecorder recorder;
             a.setLength(0), a.setLength(8), a[8] = 9; // a fresh default element is answered
             EXPECT_EQ(a[8].value + a[-1].value + std::as_const(a)[8].value + Array().last().value,
                       0);
             EXPECT_EQ(std::as_const(a).last().value + a.last().value, 14);
             a.removeAt(8), a.removeAt(-1), a.setLength(-1), a.setPhysicalLength(-1);
             EXPECT_EQ(recorder.texts(),
                       (Texts{"isValid( index )", "isValid( index )", "isValid( index )",
                              "isValid( index )", "!isEmpty()", "isValid(index)", "isValid(index)",
                              "len>=0", "newPhysicalLen >= 0"}));
         }},
    };
    const ScopedAssertionRecorder quiet;
    Array().last(); // makes the fallback element, which lives on
    const int live = CountedElement::live;
    for (const Row& row : rows) {
        for (int k = 0;; ++k) {
            SCOPED_TRACE(std::string(row.name) + ", allocation " + std::to_string(k) + " refused");
            Array array = filled(8), three = filled(3, 1);
            const auto* storage = array.begin();
            ScopedAssertionRecorder recorder;
            CountedElement::copies = 0;
            auto kth = std::make_unique<ScopedAllocationFailure>(k, 0, 1);
            row.op(array, three);
            const int refused = kth->refused();
            kth.reset();
            EXPECT_EQ(CountedElement::live - live, array.capacity() + 3);
            if (refused == 0) {
                EXPECT_EQ(recorder.texts(), Texts{});
                EXPECT_EQ(k, row.allocations);
                EXPECT_EQ(digits(array) + "/" + std::to_string(array.physicalLength()) + "/" +
                              std::to_string(array.growthStep()),
                          row.after);
                EXPECT_EQ(CountedElement::copies, row.copies);
                EXPECT_TRUE(k > 0 || array.begin() == storage || array.physicalLength() == 0);
                break;
            }
            {
                const ScopedAllocationFailure none;
                EXPECT_EQ(array.append(5), -1);
            }
            EXPECT_EQ(recorder.take(), (Texts{kNoMemory, kNoMemory}));
            EXPECT_EQ(array.append(5), row.emptied ? 0 : 8);
            EXPECT_EQ(digits(array), row.emptied ? "5" : "012345675");
            ASSERT_LT(k, row.allocations) << "refused more often than it allocates";
        }
    }
    EXPECT_EQ(CountedElement::live, live);
}

// Appending one at a time reserves storage ahead, so that a long run of appends copies
// each element a bounded number of times, while the physical length keeps its step growth
// and the slots it newly covers read as default, as newly allocated slots would.
TEST(TevArray, AppendsReserveAheadWithoutChangingWhatThePhysicalLengthShows) {
    struct Row {
        int growthStep, appends, physical, capacity, maxAllocations;
    };
    const Row rows[] = {{8, 1, 8, 8, 1}, {8, 17, 24, 24, 3}, {8, 25, 32, 40, 4},
                        {1, 4, 4, 4, 4}, {3, 10, 12, 15, 4}, {8, 100000, 100000, 145648, 24}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.appends) + " appends, step " +
                     std::to_string(row.growthStep));
        TevArray<int> array(0, row.growthStep);
        const ScopedAllocationFailure counting(INT_MAX);
        bool stepGrowth = true;
        for (int index = 0; index < row.appends; ++index) {
            array.append(index);
            const int step = row.growthStep;
            stepGrowth = stepGrowth && array.physicalLength() == (index + step) / step * step;
        }
        EXPECT_TRUE(stepGrowth);
        EXPECT_EQ(std::pair(array.physicalLength(), array.capacity()),
                  std::pair(row.physical, row.capacity));
        EXPECT_LE(counting.grantedSoFar(), row.maxAllocations);
        EXPECT_EQ(array[row.appends - 1], row.appends - 1);
    }
    Array array = filled(25); // physical length 32, storage for 40
    array.setLength(10);
    const std::uint64_t before = std::as_const(array).modificationCount();
    EXPECT_EQ(std::as_const(array)[9].value + std::as_const(array).last().value, 18);
    EXPECT_EQ(array.modificationCount(), before) << "const access changes nothing";
    array.setLength(36);
    EXPECT_EQ(digits(array) + "/" + std::to_string(array.physicalLength()) + "/" +
                  std::to_string(array.capacity()),
              "0123456789" + std::string(26, '0') + "/40/40");
    array[0] = 5, array.last() = 5, array.begin(), array.end();
    EXPECT_EQ(array.modificationCount(), before + 5) << "each non-const access counts";
    array.setPhysicalLength(100);
    EXPECT_EQ(array.capacity(), 100) << "asked for exactly";
}

// Reserving for appends gives at once the physical length the appends would end with,
// so that they allocate nothing more; the length and the elements stay.
TEST(TevArray, ReservesForAppendsThePhysicalLengthTheAppendsWouldReach) {
    struct Row {
        int length, growthStep, count, physical, allocations;
    };
    const Row rows[] = {{0, 8, 1, 8, 1},       {3, 8, 5, 8, 0},          {3, 8, 6, 16, 1},
                        {5, 3, 10, 15, 1},     {2, 8, 0, 8, 0},          {2, 8, -4, 8, 0},
                        {2, 8, INT_MAX, 8, 0}, {0, 1, 100000, 100000, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.count) + " after " + std::to_string(row.length));
        TevArray<int> array(0, row.growthStep);
        for (int index = 0; index < row.length; ++index) {
            array.append(index + 1);
        }
        const int physicalBefore = array.physicalLength();
        const ScopedAllocationFailure counting(INT_MAX);
        array.reserveForAppends(row.count);
        EXPECT_EQ((Ints{counting.grantedSoFar(), array.length(), array.physicalLength()}),
                  (Ints{row.allocations, row.length, std::max(row.physical, physicalBefore)}));
        for (int index = 0; index < row.count && row.count != INT_MAX; ++index) {
            array.append(0);
        }
        EXPECT_EQ(counting.grantedSoFar(), row.allocations) << "the appends allocate nothing";
        EXPECT_TRUE(row.length == 0 || array[row.length - 1] == row.length);
    }
}

using Table = TevHashTable<int, CountedElement>; // a value knows its key, and counts

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
