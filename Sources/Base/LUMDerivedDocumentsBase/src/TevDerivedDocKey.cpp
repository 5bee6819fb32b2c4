#include "TevDerivedDocKey.h"

namespace {

// The fold h = h * 5 + c of tevFoldHash, fed piece by piece, so that a key's hash is
// had without building its text: the registry hashes a key on every insert, lookup
// and erase, and at every chain end of a walk.
class TextFold {
public:
    void unit(char16_t c) { m_hash = m_hash * 5U + c; }

    void text(const TevString& value) {
        for (const char16_t* c = value.getStringW(); *c != 0; ++c) {
            unit(*c);
        }
    }

    // The units "%d" prints for `value`.
    void decimal(std::int32_t value) {
        char16_t units[kTevDecimalUnitsMax];
        const int count = tevDecimalUnits(value, units);
        for (int index = 0; index < count; ++index) {
            unit(units[index]);
        }
    }

    std::uint32_t hash() const { return m_hash; }

private:
    std::uint32_t m_hash = 0;
};

// What "%ld" prints of an id: its low 32 bits read as a signed number.
std::int32_t low32(std::int64_t id) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(id)));
}

} // namespace

TevDerivedDocKey::TevDerivedDocKey()
    : m_type(TevDerDocEnums::eDocTypeAll)
    , m_subType(TevDerDocEnums::eDocSubTypeNone)
    , m_id(-1)
    , m_ncFlag(false) {}

TevDerivedDocKey::TevDerivedDocKey(TevDerDocEnums::eDocType type,
                                   TevDerDocEnums::eDocSubType subType, std::int64_t id,
                                   const TevString& fileName, const TevString& relPath,
                                   const TevString& ncName)
    : m_type(type)
    , m_subType(subType)
    , m_id(id)
    , m_fileName(fileName)
    , m_relPath(relPath)
    , m_ncName(ncName)
    , m_ncFlag(false) {}

TevDerivedDocKey::TevDerivedDocKey(const TevDerivedDocKey& other) = default;

TevDerivedDocKey& TevDerivedDocKey::operator=(const TevDerivedDocKey& other) = default;

TevDerivedDocKey::~TevDerivedDocKey() = default;

bool TevDerivedDocKey::operator==(const TevDerivedDocKey& other) const {
    return m_type == other.m_type && m_subType == other.m_subType && m_id == other.m_id &&
           m_fileName == other.m_fileName && m_relPath == other.m_relPath &&
           m_ncName == other.m_ncName;
}

TevString TevHash<TevDerivedDocKey>::text(const TevDerivedDocKey& key) {
    TevString formatted;
    // %ld reads a long; the low 32 bits of the id are what gets printed.
    formatted.format(u"%d %d %ld %s %s %s", static_cast<int>(key.m_type),
                     static_cast<int>(key.m_subType), static_cast<long>(key.m_id),
                     key.m_fileName.getStringW(), key.m_relPath.getStringW(),
                     key.m_ncName.getStringW());
    return formatted;
}

// The same fold as tevFoldHash(text(key)), unit for unit.
std::uint32_t TevHash<TevDerivedDocKey>::operator()(const TevDerivedDocKey& key) const {
    TextFold fold;
    fold.decimal(key.m_type);
    fold.unit(u' ');
    fold.decimal(key.m_subType);
    fold.unit(u' ');
    fold.decimal(low32(key.m_id));
    fold.unit(u' ');
    fold.text(key.m_fileName);
    fold.unit(u' ');
    fold.text(key.m_relPath);
    fold.unit(u' ');
    fold.text(key.m_ncName);
    return fold.hash();
}
