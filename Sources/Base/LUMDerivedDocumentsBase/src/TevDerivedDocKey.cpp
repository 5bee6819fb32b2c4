#include "TevDerivedDocKey.h"

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

std::uint32_t TevHash<TevDerivedDocKey>::operator()(const TevDerivedDocKey& key) const {
    return tevFoldHash(text(key));
}
