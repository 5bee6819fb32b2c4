/// \file
/// The identity of a derived document: its kind, sub-kind, id, file name, folder
/// relative to the model's derived-documents folder and NC name. The model's registry
/// files documents under this key. The NC flag travels with every copy but takes no
/// part in equality or hashing; an NC document's id follows it, though (0 with the flag,
/// 1 without). Paths: see Paths in TevDerivedDocumentsModel.
#ifndef TEV_DERIVED_DOC_KEY_H
#define TEV_DERIVED_DOC_KEY_H

#include "LumDerivedDocumentsBaseExport.h"
#include "TevArray.h"
#include "TevDerDocEnums.h"
#include "TevString.h"

#include <cstdint>

/// The identity of a derived document, under which the model's registry files it (see
/// TevDerivedDocKey.h).
class LUMDERDOC_EXPORT TevDerivedDocKey {
public:
    /// Type eDocTypeAll, sub-kind eDocSubTypeNone, id -1, empty texts, flag false.
    TevDerivedDocKey();
    /// Sets the six visible fields; the NC flag starts false.
    TevDerivedDocKey(TevDerDocEnums::eDocType type, TevDerDocEnums::eDocSubType subType,
                     std::int64_t id, const TevString& fileName, const TevString& relPath,
                     const TevString& ncName);
    /// Copies every field, the NC flag included.
    TevDerivedDocKey(const TevDerivedDocKey& other);
    /// Copies every field, the NC flag included.
    TevDerivedDocKey& operator=(const TevDerivedDocKey& other);
    /// Destroys the texts.
    ~TevDerivedDocKey();

    /// Compares type, sub-kind, the whole 64-bit id, then file name, relative path and
    /// NC name exactly; the NC flag is not looked at.
    bool operator==(const TevDerivedDocKey& other) const;

    TevDerDocEnums::eDocType m_type;       ///< The document's kind.
    TevDerDocEnums::eDocSubType m_subType; ///< The document's sub-kind.
    /// A detail's id in the host, a BOM document's report number, an NC document's 0 or 1.
    std::int64_t m_id;
    /// Name and extension: "A1.dwg".
    TevString m_fileName;
    /// The folder below the derived-documents folder, starting and ending with a
    /// backslash: `\Details\`.
    TevString m_relPath;
    TevString m_ncName; ///< An NC document's NC or DXF name; empty for the other kinds.
    bool m_ncFlag;      ///< The NC flag an NC document was registered with.
};

/// The registry's hash of a key: the fold of `TevHash<TevString>` over the key's text
/// `"%d %d %ld %s %s %s"` of type, sub-kind, id, file name, relative path and NC name.
/// The id is printed as a 32-bit long, so ids that differ only above their low 32 bits
/// hash alike. The fold is fed piece by piece, without building the text; text() builds
/// it for those who want to see it. A registry keeps each key's hash in its node.
template <>
struct LUMDERDOC_EXPORT TevHash<TevDerivedDocKey> {
    /// The hash of `key`: tevFoldHash(text(key)), computed without building the text.
    std::uint32_t operator()(const TevDerivedDocKey& key) const;

    /// The text that is folded.
    static TevString text(const TevDerivedDocKey& key);
};

#endif // TEV_DERIVED_DOC_KEY_H
