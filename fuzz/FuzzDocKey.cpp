// The document key's equality and hash, built straight from fuzzed fields: one line each
// for type, sub-kind, the id's high and low 32 bits, file name, relative path, NC name and
// the NC flag, then the same for a second key. Properties, from TevDerivedDocKey.h:
// - a copy, and a key that differs only in the NC flag, is equal and hashes alike;
// - keys that compare equal have the same text and hash; the hash is the string fold of
//   the text; a hash table keyed by keys keeps one entry for equal keys, two otherwise;
// - ids that differ only above their low 32 bits make different keys that hash alike;
// - texts are compared exactly: upper-casing them keeps the key only when nothing changed.
#include "FuzzSupport.h"

#include "TevDerivedDocKey.h"

namespace {

TevDerivedDocKey keyFrom(const std::vector<std::string>& lines, std::size_t first) {
    const auto number = [&](std::size_t line) {
        return TevString(lines[first + line].c_str()).toInteger();
    };
    const auto id =
        static_cast<std::int64_t>(std::uint64_t(number(2)) << 32 | std::uint32_t(number(3)));
    TevDerivedDocKey key(TevDerDocEnums::eDocType(number(0)),
                         TevDerDocEnums::eDocSubType(number(1)), id, lines[first + 4].c_str(),
                         lines[first + 5].c_str(), lines[first + 6].c_str());
    key.m_ncFlag = number(7) != 0;
    return key;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = lumfuzz::lines(data, size, 16);
    const TevDerivedDocKey a = keyFrom(lines, 0), b = keyFrom(lines, 8);
    const TevHash<TevDerivedDocKey> hash;
    for (const TevDerivedDocKey* key : {&a, &b}) {
        LUM_FUZZ_CHECK(hash(*key) == TevHash<TevString>()(TevHash<TevDerivedDocKey>::text(*key)));
        TevDerivedDocKey flagged(*key), higher(*key), upper(*key);
        flagged.m_ncFlag = !key->m_ncFlag;
        LUM_FUZZ_CHECK(flagged == *key && hash(flagged) == hash(*key));
        higher.m_id = static_cast<std::int64_t>(static_cast<std::uint64_t>(key->m_id) +
                                                (std::uint64_t{1} << 32));
        LUM_FUZZ_CHECK(!(higher == *key) && hash(higher) == hash(*key));
        upper.m_relPath.toUpper();
        LUM_FUZZ_CHECK((upper == *key) == (upper.m_relPath == key->m_relPath));
    }
    LUM_FUZZ_CHECK((a == b) == (b == a));
    LUM_FUZZ_CHECK(!(a == b) || (hash(a) == hash(b) && TevHash<TevDerivedDocKey>::text(a) ==
                                                           TevHash<TevDerivedDocKey>::text(b)));
    TevHashTable<TevDerivedDocKey, int> table;
    LUM_FUZZ_CHECK(table.insert(a, 1).second && table.insert(b, 2).second == !(a == b));
    LUM_FUZZ_CHECK(table.size() == (a == b ? 1 : 2) && table.find(b)->value() == (a == b ? 1 : 2));
    return 0;
}
