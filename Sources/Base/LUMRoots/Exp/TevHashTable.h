/// \file
/// Chained hash tables of the application. Bucket counts come from a fixed list of
/// primes starting at 53, the first entry for a key wins, and iteration runs over the
/// buckets by ascending index and each chain from its head. That order is part of the
/// behaviour callers see: it decides the order in which registered items are visited.
///
/// Buckets and nodes come from TevMemoryControllerController. A failed allocation is
/// reported ("pElements != NULL && numElements > 0") and leaves the table as it was:
/// an insert whose node cannot be had answers no node; one whose larger bucket array
/// cannot be had keeps the buckets it has and files the node there; a table whose
/// bucket array could not be had at all holds nothing until an insert gets one.
#ifndef TEV_HASH_TABLE_H
#define TEV_HASH_TABLE_H

#include "TevArray.h"
#include "TevString.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <new>
#include <utility>

/// Hash functors. Specialised for the key types of the application's tables; the
/// bucket of a key is its hash modulo the bucket count, computed unsigned.
template <class T>
struct TevHash;

/// The fold h = h * 5 + c over the UTF-16 code units, in unsigned 32-bit arithmetic.
inline std::uint32_t tevFoldHash(const TevString& text) {
    std::uint32_t hash = 0;
    for (const char16_t* unit = text.getStringW(); *unit != 0; ++unit) {
        hash = hash * 5U + *unit;
    }
    return hash;
}

/// The hash of a string: tevFoldHash.
template <>
struct TevHash<TevString> {
    /// tevFoldHash(text).
    std::uint32_t operator()(const TevString& text) const { return tevFoldHash(text); }
};

/// The hash of an int: the integer itself.
template <>
struct TevHash<int> {
    /// The integer itself, sign-extended to 64 bits.
    std::uint64_t operator()(int value) const {
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
    }
};

/// The key comparison of the tables: operator==.
template <class T>
struct equalTo {
    /// first == second.
    bool operator()(const T& first, const T& second) const { return first == second; }
};

/// The key and the value of one entry of a table.
template <class K, class V>
struct TevHashTuple {
    K m_key;   ///< The key.
    V m_value; ///< The value.
};

template <class K, class V, class H, class E>
class TevHashTable;

/// One entry of a table: its key and value by value, the hash of its key (so that
/// growing never hashes a key again), the bucket it is in (so that walking and erasing
/// need no division), and the link to the next node of its bucket's chain.
template <class K, class V>
class TevHashNode {
public:
    /// The entry's key.
    const K& key() const { return m_tuple.m_key; }
    /// The entry's value, to read or change.
    V& value() { return m_tuple.m_value; }
    /// The entry's value.
    const V& value() const { return m_tuple.m_value; }

private:
    template <class, class, class, class>
    friend class TevHashTable;

    TevHashNode(const K& key, const V& value, std::uint64_t hash)
        : m_hash(hash)
        , m_tuple{key, value} {}

    TevHashNode* m_next = nullptr; // Not owned; the table owns every node.
    std::uint64_t m_hash;
    int m_bucket = 0; // Index of its bucket in the table that holds it.
    TevHashTuple<K, V> m_tuple;
};

/// A chained hash table from keys `K` to values `V`, hashed by `H` and compared by `E`
/// (see TevHashTable.h for the bucket counts and the iteration order).
template <class K, class V, class H = TevHash<K>, class E = equalTo<K>>
class TevHashTable {
public:
    /// One entry of the table.
    using Node = TevHashNode<K, V>;

    /// The bucket count of a new table: the first prime of the list.
    static constexpr int kInitialBucketCount = 53;

    /// An empty table of kInitialBucketCount buckets.
    TevHashTable() { m_buckets.setLength(kInitialBucketCount); }

    /// A copy has the source's bucket count and, bucket by bucket, copies of its nodes
    /// in the same chain order, so it iterates in the same order. Pointer values are
    /// copied as pointers. A copy that cannot be completed for want of memory is left
    /// empty.
    TevHashTable(const TevHashTable& other) { copyFrom(other); }

    /// Destroys every node of this table, then copies `other` as the copy constructor
    /// does.
    TevHashTable& operator=(const TevHashTable& other) {
        if (this != &other) {
            removeAll();
            copyFrom(other);
        }
        return *this;
    }

    /// Destroys every node.
    ~TevHashTable() { removeAll(); }

    /// The number of nodes.
    int size() const { return m_count; }
    /// The number of buckets.
    int bucketCount() const { return m_buckets.length(); }

    /// Grows the table when it would hold more nodes than buckets (also when the key
    /// turns out to be present), then answers the node of an equal key with false,
    /// leaving its value as it was, or a new node at the head of its chain with true.
    /// No node and false when there is no memory for the node (or for any bucket).
    std::pair<Node*, bool> insert(const K& key, const V& value) {
        grow(m_count + 1);
        if (bucketCount() == 0) {
            return {nullptr, false}; // reported by the bucket allocation
        }
        const std::uint64_t hash = H()(key);
        const int bucket = bucketOf(hash, bucketCount());
        Node*& head = m_buckets.begin()[bucket];
        for (Node* node = head; node != nullptr; node = node->m_next) {
            if (E()(node->key(), key)) {
                return {node, false};
            }
        }
        Node* created = createNode(key, value, hash);
        if (created == nullptr) {
            return {nullptr, false};
        }
        created->m_bucket = bucket;
        created->m_next = head;
        head = created;
        ++m_count;
        return {created, true};
    }

    /// The node of the key equal to `key`; null when there is none.
    Node* find(const K& key) const {
        if (bucketCount() == 0) {
            return nullptr;
        }
        for (Node* node = m_buckets.begin()[bucketOf(H()(key), bucketCount())]; node != nullptr;
             node = node->m_next) {
            if (E()(node->key(), key)) {
                return node;
            }
        }
        return nullptr;
    }

    /// Unlinks and destroys `node`; null, or a node that is not in this table, is
    /// ignored. No other node moves, so a walk that already took the successor of
    /// `node` goes on correctly.
    void erase(Node* node) {
        if (node == nullptr || node->m_bucket >= bucketCount()) {
            return;
        }
        Node** link = &m_buckets.begin()[node->m_bucket];
        while (*link != nullptr && *link != node) {
            link = &(*link)->m_next;
        }
        if (*link == nullptr) {
            return;
        }
        *link = node->m_next;
        destroyNode(node);
        --m_count;
    }

    /// Destroys every node, buckets by index and chains from their heads; the bucket
    /// count stays.
    void removeAll() {
        for (Node*& head : m_buckets) {
            while (head != nullptr) {
                Node* following = head->m_next;
                destroyNode(head);
                head = following;
            }
        }
        m_count = 0;
    }

    /// The head of the first non-empty bucket; null for an empty table.
    Node* first() const { return firstFromBucket(0); }

    /// The chain successor of `node`, or else the head of the next non-empty bucket;
    /// null after the last node.
    Node* next(const Node* node) const {
        if (node == nullptr) {
            return nullptr;
        }
        if (node->m_next != nullptr) {
            return node->m_next;
        }
        return firstFromBucket(node->m_bucket + 1);
    }

private:
    static int bucketOf(std::uint64_t hash, int bucketCount) {
        return static_cast<int>(hash % static_cast<std::uint64_t>(bucketCount));
    }

    Node* firstFromBucket(int bucket) const {
        for (const int count = bucketCount(); bucket < count; ++bucket) {
            if (Node* head = m_buckets.begin()[bucket]) {
                return head;
            }
        }
        return nullptr;
    }

    // REQUIRES: required > 0. The first prime of the list that is at least `required`;
    // the last prime is above every int, so there always is one.
    static std::uint64_t bucketCountFor(int required) {
        static constexpr std::uint64_t kPrimes[] = {
            53ULL,        97ULL,         193ULL,        389ULL,       769ULL,       1543ULL,
            3079ULL,      6151ULL,       12289ULL,      24593ULL,     49157ULL,     98317ULL,
            196613ULL,    393241ULL,     786433ULL,     1572869ULL,   3145739ULL,   6291469ULL,
            12582917ULL,  25165843ULL,   50331653ULL,   100663319ULL, 201326611ULL, 402653189ULL,
            805306457ULL, 1610612741ULL, 3221225473ULL, 4294967291ULL};
        static_assert(kPrimes[std::size(kPrimes) - 1] > static_cast<std::uint64_t>(INT_MAX));
        return *std::lower_bound(std::begin(kPrimes), std::end(kPrimes),
                                 static_cast<std::uint64_t>(required));
    }

    // Rehashes into more buckets when `required` nodes would exceed the bucket count.
    // Old buckets are visited by index and each chain from its head; every node goes
    // to the head of its new chain.
    void grow(int required) {
        if (required <= bucketCount()) {
            return;
        }
        const std::uint64_t target = bucketCountFor(required);
        if (target > INT_MAX) {
            return; // more buckets than an array can count: the table stays as it is
        }
        const int count = static_cast<int>(target);
        TevArray<Node*> grown;
        grown.setLength(count);
        if (grown.length() != count) {
            return;
        }
        for (Node* node : m_buckets) {
            while (node != nullptr) {
                Node* following = node->m_next;
                node->m_bucket = bucketOf(node->m_hash, count);
                Node*& head = grown.begin()[node->m_bucket];
                node->m_next = head;
                head = node;
                node = following;
            }
        }
        m_buckets = std::move(grown);
    }

    void copyFrom(const TevHashTable& other) {
        TevArray<Node*> buckets;
        buckets.setLength(other.bucketCount());
        m_buckets = std::move(buckets);
        for (int bucket = 0; bucket < bucketCount(); ++bucket) {
            Node** tail = &m_buckets.begin()[bucket];
            for (const Node* source = other.m_buckets.begin()[bucket]; source != nullptr;
                 source = source->m_next) {
                Node* copy = createNode(source->key(), source->value(), source->m_hash);
                if (copy == nullptr) {
                    removeAll(); // no partial copy: it would iterate unlike its source
                    return;
                }
                copy->m_bucket = bucket;
                *tail = copy;
                tail = &copy->m_next;
                ++m_count;
            }
        }
    }

    static Node* createNode(const K& key, const V& value, std::uint64_t hash) {
        void* raw = TevMemoryControllerController::allocateArray(1, sizeof(Node));
        if (!TEV_ASSERT(raw != nullptr, "pElements != NULL && numElements > 0")) {
            return nullptr;
        }
        return ::new (raw) Node(key, value, hash);
    }

    static void destroyNode(Node* node) {
        node->~Node();
        void* raw = node;
        TevMemoryControllerController::deallocateArray(raw);
    }

    TevArray<Node*> m_buckets; // The bucket count is its length; each entry heads a chain.
    int m_count = 0;
};

/// A table of keys alone; each node's tuple holds the key twice.
template <class K, class H = TevHash<K>, class E = equalTo<K>>
class TevHashSet : public TevHashTable<K, K, H, E> {
public:
    /// One entry of the set.
    using Node = typename TevHashTable<K, K, H, E>::Node;

    /// Inserts `key` as TevHashTable::insert does with the key as its value.
    std::pair<Node*, bool> insert(const K& key) {
        return TevHashTable<K, K, H, E>::insert(key, key);
    }
};

#endif // TEV_HASH_TABLE_H
