// The document key: how each document kind derives its key from the path it is created
// from, and the key's copy, equality, text and hash (TevHash<TevDerivedDocKey>).
//
// Input, line by line (UTF-8 texts, numbers as lumfuzz::wrappingNumber reads them):
//   1 kind: a first letter d/D detail, b/B BOM, n/N NC; any other by its byte value
//   2 the creation path (a detail's path, a BOM report's file path, an NC path)
//   3 the detail id (64 bits) or the BOM report number (its low 32 bits)
//   4 the NC sub-kind (its low 32 bits, also values beyond the listed ones)
//   5 the NC name
//   6 the BOM's dstv integer or the NC flag (nonzero: a DSTV list, the flag set)
//   7 the model's derived-documents folder
//   8 which second key to compare the document's key with (see secondKey)
//   9... the fields of an arbitrary second key: type, sub-kind, id, file name, path, NC name
//
// Properties:
// - the kinds' splitting rules: the detail appends ".dwg" unless the extension is .dwg
//   in any case, takes the folder without its first two characters when it contains
//   "..", else "\Details\" after reporting the assertion "0"; the BOM takes the same
//   folder, else "\DSTV\" or "\BOM\", without an assertion; the NC takes a backslash and
//   the whole folder; each takes name and extension of SplitPath as the file name;
// - the kinds' keys: type, sub-kind, id, NC name and flag as each constructor documents;
// - the full file name is folder, relative path and file name joined (empty without a
//   file name); the update file name replaces the extension with ".upd";
// - a copy (constructed or assigned) equals the key, keeps the NC flag and has its hash;
// - equality compares type, sub-kind, the whole id and the three texts, not the flag;
// - the text is "%d %d %ld %s %s %s" of the six fields with the id's low 32 bits read
//   as a signed number; the hash is the fold h * 5 + c over that text; equal keys have
//   equal texts and hashes, keys with different texts are different;
// - a hash table keyed by keys keeps one entry for equal keys, two for different ones.
#include "FuzzSupport.h"

#include "TevDerivedDocKey.h"
#include "TevDerivedDocumentBom.h"
#include "TevDerivedDocumentDetail.h"
#include "TevDerivedDocumentNC.h"
#include "TevDerivedDocumentsModel.h"
#include "TevHashTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace {

// The smallest host that lets documents be constructed: a model, a factory and the
// three document kinds; none of their operations is reached by this target.
class BareModel final : public TevDerivedDocumentsModel {
public:
    explicit BareModel(const TevString& folder)
        : TevDerivedDocumentsModel(folder) {}

    TevReportManager* getReportManager() override { return nullptr; }
    void addUpdOnlyDerivedObjects(TevDerivedDocument*, bool, bool) override {}
    void checkDerivedObjects(TevDerivedDocument*, bool, bool) override {}
    TevDerDocEnums::ErrorStatus getNewUpdate(TevDerivedObject*, bool) override {
        return TevDerDocEnums::eStatusOk;
    }
    int fillNewInfo(TevDerivedObject*, TevDerivedObjectInfo*) override { return 0; }
    void fillNewInfo(TevDerivedDocument*, TevDerivedDocumentInfo*) override {}
    void refreshNewInfo(TevDerivedObject*, TevDerivedObjectInfo*,
                        TevDerDocEnums::eDerivedDocInfo) override {}
    void refreshNewInfo(TevDerivedDocument*, TevDerivedDocumentInfo*,
                        TevDerDocEnums::eDerivedDocInfo) override {}
    void derivedDocModified(TevDerDocEnums::ModificationState) override {}
    int isCommandActive(const TevString&) override { return 0; }
    void prepareCheckHasUpdReq(TevDerDocEnums::eDocType) override {}
    void derivedDocRefreshed(TevDerivedDocument*) override {}
    void addDerivedBomDocs(bool, TevArray<TevDerivedDocument*>&) override {}
    void addDerivedNCDocs(bool, TevArray<TevDerivedDocument*>&) override {}
    void addDerivedDetailDocs(bool, TevArray<TevDerivedDocument*>&) override {}
};

template <class Kind>
class BareDocument final : public Kind {
public:
    template <class... Args>
    explicit BareDocument(Args&&... args)
        : Kind(std::forward<Args>(args)...) {}

    int addAllDerivedObjects(bool, bool, bool, bool) override { return 1; }
    TevDerDocEnums::ErrorStatus updateDerivedObject(int&, const TevString&,
                                                    TevDerDocEnums::ObjectModification, bool, bool,
                                                    bool) override {
        return TevDerDocEnums::eStatusOk;
    }
    void fillOldInfo(TevDerivedDocumentInfo*) override {}
    void refreshOldInfo(TevDerivedDocumentInfo*, TevDerDocEnums::eDerivedDocInfo) override {}
};

class BareFactory final : public TevDerivedDocumentsFactory {
public:
    void disposeObject(TevDerivedObject*& obj, TevDerivedDocumentsModel*) override {
        obj = nullptr;
    }
    void disposeDocument(TevDerivedDocument*& doc, TevDerivedDocumentsModel*) override {
        delete doc;
        doc = nullptr;
    }
    TevDerivedDocument* createBomDocument(TevDerivedDocumentsModel*, const StructProjReport&,
                                          int) override {
        return nullptr;
    }
    TevDerivedDocument* createNCDocument(TevDerivedDocumentsModel*, const TevString&,
                                         TevDerDocEnums::eDocSubType, const TevString&,
                                         bool) override {
        return nullptr;
    }
    TevDerivedDocument* createDetailDocument(TevDerivedDocumentsModel*, std::int64_t,
                                             const TevString&) override {
        return nullptr;
    }
    TevDerivedObject* createBomObject(TevDerivedDocument*, const TevString&) override {
        return nullptr;
    }
    TevDerivedObject* createNCObject(TevDerivedDocument*) override { return nullptr; }
};

std::string show(const TevDerivedDocKey& key) {
    return "{" + std::to_string(key.m_type) + " " + std::to_string(key.m_subType) + " " +
           std::to_string(key.m_id) + " " + lumfuzz::show(key.m_fileName) + " " +
           lumfuzz::show(key.m_relPath) + " " + lumfuzz::show(key.m_ncName) +
           (key.m_ncFlag ? " flag}" : "}");
}

bool sameFields(const TevDerivedDocKey& a, const TevDerivedDocKey& b) {
    return a.m_type == b.m_type && a.m_subType == b.m_subType && a.m_id == b.m_id &&
           lumfuzz::unitsOf(a.m_fileName) == lumfuzz::unitsOf(b.m_fileName) &&
           lumfuzz::unitsOf(a.m_relPath) == lumfuzz::unitsOf(b.m_relPath) &&
           lumfuzz::unitsOf(a.m_ncName) == lumfuzz::unitsOf(b.m_ncName);
}

std::u16string ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// The text the key's hash folds, formed here from the fields.
std::u16string expectedText(const TevDerivedDocKey& key) {
    const auto low32 = static_cast<std::int32_t>(static_cast<std::uint32_t>(key.m_id));
    return ascii(std::to_string(static_cast<std::int32_t>(key.m_type)) + " " +
                 std::to_string(static_cast<std::int32_t>(key.m_subType)) + " " +
                 std::to_string(low32) + " ") +
           lumfuzz::unitsOf(key.m_fileName) + u" " + lumfuzz::unitsOf(key.m_relPath) + u" " +
           lumfuzz::unitsOf(key.m_ncName);
}

std::uint32_t fold(const std::u16string& text) {
    std::uint32_t hash = 0;
    for (const char16_t c : text) {
        hash = hash * 5U + c;
    }
    return hash;
}

void checkKey(const TevDerivedDocKey& key) {
    const TevHash<TevDerivedDocKey> hash;
    const std::u16string text = lumfuzz::unitsOf(TevHash<TevDerivedDocKey>::text(key));
    const std::u16string expected = expectedText(key);
    LUM_FUZZ_CHECK(text == expected, "the text of " + show(key) + " is " + lumfuzz::show(text) +
                                         ", expected " + lumfuzz::show(expected));
    LUM_FUZZ_CHECK(hash(key) == fold(expected),
                   "the hash of " + show(key) + " is not the fold of its text");
    LUM_FUZZ_CHECK(key == key, "a key is not equal to itself: " + show(key));

    const TevDerivedDocKey copy(key);
    LUM_FUZZ_CHECK(copy == key && sameFields(copy, key) && copy.m_ncFlag == key.m_ncFlag,
                   "the copy " + show(copy) + " of " + show(key) + " differs");
    LUM_FUZZ_CHECK(hash(copy) == hash(key), "a copy hashes differently: " + show(key));

    TevDerivedDocKey assigned(TevDerDocEnums::eDocTypeNC, TevDerDocEnums::eDocSubTypeNCDxf, 7,
                              u"previous.nc", u"\\Previous\\", u"previous");
    assigned.m_ncFlag = !key.m_ncFlag;
    assigned = key;
    LUM_FUZZ_CHECK(assigned == key && sameFields(assigned, key) &&
                       assigned.m_ncFlag == key.m_ncFlag,
                   "the assigned copy " + show(assigned) + " of " + show(key) + " differs");
    const TevDerivedDocKey& itself = assigned;
    assigned = itself;
    LUM_FUZZ_CHECK(sameFields(assigned, key) && assigned.m_ncFlag == key.m_ncFlag,
                   "self-assignment changed " + show(key));

    const TevDerivedDocKey visible(key.m_type, key.m_subType, key.m_id, key.m_fileName,
                                   key.m_relPath, key.m_ncName);
    LUM_FUZZ_CHECK(!visible.m_ncFlag, "the value constructor set the NC flag");
    LUM_FUZZ_CHECK(visible == key && hash(visible) == hash(key),
                   "a key built from the six visible fields of " + show(key) + " differs");
}

// Two keys: equality by the fields, the flag ignored; text and hash follow equality.
void checkPair(const TevDerivedDocKey& a, const TevDerivedDocKey& b) {
    const TevHash<TevDerivedDocKey> hash;
    const std::string pair = show(a) + " and " + show(b);
    const bool equal = a == b;
    LUM_FUZZ_CHECK(equal == sameFields(a, b), "equality is wrong for " + pair);
    LUM_FUZZ_CHECK(equal == (b == a), "equality is not symmetric for " + pair);
    LUM_FUZZ_CHECK((equalTo<TevDerivedDocKey>()(a, b)) == equal,
                   "equalTo disagrees with == for " + pair);
    const TevString textA = TevHash<TevDerivedDocKey>::text(a);
    const TevString textB = TevHash<TevDerivedDocKey>::text(b);
    if (equal) {
        LUM_FUZZ_CHECK(textA == textB && hash(a) == hash(b),
                       "equal keys with different texts or hashes: " + pair);
    }
    if (textA != textB) {
        LUM_FUZZ_CHECK(!equal, "keys with different texts are equal: " + pair);
    }

    TevHashTable<TevDerivedDocKey, int> table;
    LUM_FUZZ_CHECK(table.insert(a, 1).second, "a new table refused " + show(a));
    const auto second = table.insert(b, 2);
    LUM_FUZZ_CHECK(second.second == !equal,
                   "inserting the second of " + pair + (equal ? " added a node" : " found a node"));
    LUM_FUZZ_CHECK(table.size() == (equal ? 1 : 2), "table size after inserting " + pair);
    const auto* found = table.find(b);
    LUM_FUZZ_CHECK(found != nullptr && found->value() == (equal ? 1 : 2),
                   "the table finds the wrong node for " + show(b));
    const auto* first = table.find(a);
    LUM_FUZZ_CHECK(first != nullptr && first->value() == 1,
                   "the table finds the wrong node for " + show(a));
}

TevString text(const std::string& bytes) {
    return TevString(lumfuzz::untilNul(bytes).c_str());
}

struct Split {
    TevString drive, dir, name, ext;
    explicit Split(const TevString& path) { path.SplitPath(drive, dir, name, ext); }
};

bool hasDwgExtension(const TevString& ext) {
    const std::u16string units = lumfuzz::unitsOf(ext);
    return units.size() == 4 && units[0] == u'.' && (units[1] == u'd' || units[1] == u'D') &&
           (units[2] == u'w' || units[2] == u'W') && (units[3] == u'g' || units[3] == u'G');
}

// The relative path of a detail or BOM path: the folder without its first two
// characters when it contains "..", else `fallback`.
TevString relativeFolder(const Split& parts, const char16_t* fallback) {
    const std::u16string dir = lumfuzz::unitsOf(parts.dir);
    if (dir.find(u"..") != std::u16string::npos) {
        return lumfuzz::stringOf(dir.substr(2));
    }
    return TevString(fallback);
}

void checkSplit(const char* kind, const TevString& path, const TevDerivedDocKey& key,
                const TevString& relPath, const TevString& fileName) {
    LUM_FUZZ_CHECK(key.m_relPath == relPath && key.m_fileName == fileName,
                   std::string(kind) + " from " + lumfuzz::show(path) + " has the key " +
                       show(key) + ", expected the folder " + lumfuzz::show(relPath) +
                       " and the file " + lumfuzz::show(fileName));
}

// The document's full and update file names from the key and the model's folder.
void checkFileNames(const TevDerivedDocument& doc, const TevString& folder) {
    const TevDerivedDocKey key = doc.getKey();
    const TevString full = doc.getFullFileName();
    const TevString expected =
        key.m_fileName.isEmpty() ? TevString() : folder + key.m_relPath + key.m_fileName;
    LUM_FUZZ_CHECK(full == expected, "the full file name of " + show(key) + " in " +
                                         lumfuzz::show(folder) + " is " + lumfuzz::show(full));
    const Split parts(full);
    const TevString upd = parts.drive + parts.dir + parts.name + TevString(u".upd");
    LUM_FUZZ_CHECK(doc.getFullUpdFileName() == upd, "the update file name of " +
                                                        lumfuzz::show(full) + " is " +
                                                        lumfuzz::show(doc.getFullUpdFileName()));
}

// The key that input line 8 asks for, compared with the document's key.
TevDerivedDocKey secondKey(const TevDerivedDocKey& key, std::uint64_t choice,
                           lumfuzz::ByteReader& reader) {
    TevDerivedDocKey other(key);
    switch (choice % 6) {
    case 0: // the same key with the other flag: equal
        other.m_ncFlag = !key.m_ncFlag;
        break;
    case 1: // an id that differs only above the low 32 bits: different, same text
        other.m_id = static_cast<std::int64_t>(static_cast<std::uint64_t>(key.m_id) +
                                               (std::uint64_t{1} << 32));
        break;
    case 2: { // a blank of the file name moved to the relative path: same text
        const std::u16string file = lumfuzz::unitsOf(key.m_fileName);
        const std::size_t blank = file.find(u' ');
        if (blank != std::u16string::npos) {
            other.m_fileName = lumfuzz::stringOf(file.substr(0, blank));
            other.m_relPath = lumfuzz::stringOf(file.substr(blank + 1) + u" ") + key.m_relPath;
        } else {
            other.m_fileName += TevString(u" ");
        }
        break;
    }
    case 3: // the texts in upper case
        other.m_fileName.toUpper();
        other.m_relPath.toUpper();
        other.m_ncName.toUpper();
        break;
    case 4: // the default key
        other = TevDerivedDocKey();
        break;
    default: { // a key from the remaining lines
        const auto type = static_cast<std::int32_t>(lumfuzz::wrappingNumber(reader.line()));
        const auto subType = static_cast<std::int32_t>(lumfuzz::wrappingNumber(reader.line()));
        const auto id = static_cast<std::int64_t>(lumfuzz::wrappingNumber(reader.line()));
        const TevString fileName = text(reader.line());
        const TevString relPath = text(reader.line());
        const TevString ncName = text(reader.line());
        other = TevDerivedDocKey(static_cast<TevDerDocEnums::eDocType>(type),
                                 static_cast<TevDerDocEnums::eDocSubType>(subType), id, fileName,
                                 relPath, ncName);
        break;
    }
    }
    return other;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static BareFactory factory;
    TevDerivedDocumentsModel::setFactory(&factory);

    // The default key, whose text and hash are fixed.
    const TevDerivedDocKey key;
    LUM_FUZZ_CHECK(lumfuzz::unitsOf(TevHash<TevDerivedDocKey>::text(key)) == u"3 3 -1   ",
                   "the text of the default key");
    LUM_FUZZ_CHECK(TevHash<TevDerivedDocKey>()(key) == 23353992U, "the hash of the default key");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumfuzz::ByteReader reader(data, size);
    const std::string kindLine = reader.line();
    const TevString path = text(reader.line());
    const std::uint64_t number = lumfuzz::wrappingNumber(reader.line());
    const auto subType = static_cast<std::int32_t>(lumfuzz::wrappingNumber(reader.line()));
    const TevString ncName = text(reader.line());
    const std::uint64_t flagValue = lumfuzz::wrappingNumber(reader.line());
    const TevString folder = text(reader.line());
    const std::uint64_t choice = lumfuzz::wrappingNumber(reader.line(), size);

    char kind = kindLine.empty() ? 'd' : kindLine[0];
    if (kind != 'd' && kind != 'D' && kind != 'b' && kind != 'B' && kind != 'n' && kind != 'N') {
        kind = "dbn"[static_cast<unsigned char>(kind) % 3];
    }

    lumfuzz::AssertionRecorder assertions;
    BareModel model(folder);
    const Split parts(path);
    TevDerivedDocKey key;
    if (kind == 'd' || kind == 'D') {
        const auto id = static_cast<std::int64_t>(number);
        const BareDocument<TevDerivedDocumentDetail> doc(&model, id, path);
        key = doc.getKey();
        TevString fileName = parts.name + parts.ext;
        if (!hasDwgExtension(parts.ext)) {
            fileName += TevString(u".dwg");
        }
        const TevString relPath = relativeFolder(parts, u"\\Details\\");
        checkSplit("a detail", path, key, relPath, fileName);
        const bool relative = lumfuzz::unitsOf(parts.dir).find(u"..") != std::u16string::npos;
        LUM_FUZZ_CHECK(assertions.reports() == (relative ? 0 : 1) &&
                           (relative || assertions.last() == "0"),
                       "a detail from " + lumfuzz::show(path) + " reported " +
                           std::to_string(assertions.reports()) + " assertions, the last \"" +
                           assertions.last() + "\"");
        LUM_FUZZ_CHECK(key.m_type == TevDerDocEnums::eDocTypeDetail &&
                           key.m_subType == TevDerDocEnums::eDocSubTypeNone && key.m_id == id &&
                           key.m_ncName.isEmpty() && !key.m_ncFlag,
                       "the key of a detail with the id " + std::to_string(id) + " is " +
                           show(key));
        TevString splitRel(u"junk"), splitFile(u"junk");
        TevDerivedDocumentDetail::getRelPathAndFileNameFromPath(path, splitRel, splitFile);
        checkSplit("the detail split", path, key, splitRel, splitFile);
        checkFileNames(doc, folder);
    } else if (kind == 'b' || kind == 'B') {
        StructProjReport report;
        report.m_number = static_cast<int>(static_cast<std::uint32_t>(number));
        report.m_name = ncName;
        report.m_filePath = path;
        const int dstv = static_cast<int>(static_cast<std::uint32_t>(flagValue));
        const BareDocument<TevDerivedDocumentBom> doc(&model, report, dstv);
        key = doc.getKey();
        const TevString relPath = relativeFolder(parts, dstv != 0 ? u"\\DSTV\\" : u"\\BOM\\");
        checkSplit("a BOM", path, key, relPath, parts.name + parts.ext);
        LUM_FUZZ_CHECK(assertions.reports() == 0, "a BOM from " + lumfuzz::show(path) +
                                                      " reported \"" + assertions.last() + "\"");
        LUM_FUZZ_CHECK(key.m_type == TevDerDocEnums::eDocTypeBom &&
                           key.m_subType == (dstv != 0 ? TevDerDocEnums::eDocSubTypeDstv
                                                       : TevDerDocEnums::eDocSubTypeNone) &&
                           key.m_id == report.m_number && key.m_ncName.isEmpty() && !key.m_ncFlag,
                       "the key of a BOM with the number " + std::to_string(report.m_number) +
                           " and dstv " + std::to_string(dstv) + " is " + show(key));
        TevString splitRel(u"junk"), splitFile(u"junk");
        TevDerivedDocumentBom::getRelPathAndFileNameFromPath(dstv != 0, path, splitRel, splitFile);
        checkSplit("the BOM split", path, key, splitRel, splitFile);
        checkFileNames(doc, folder);
    } else {
        const bool flag = flagValue != 0;
        const auto ncSubType = static_cast<TevDerDocEnums::eDocSubType>(subType);
        const BareDocument<TevDerivedDocumentNC> doc(&model, path, ncSubType, ncName, flag);
        key = doc.getKey();
        checkSplit("an NC", path, key, TevString(u"\\") + parts.dir, parts.name + parts.ext);
        LUM_FUZZ_CHECK(assertions.reports() == 0, "an NC from " + lumfuzz::show(path) +
                                                      " reported \"" + assertions.last() + "\"");
        LUM_FUZZ_CHECK(key.m_type == TevDerDocEnums::eDocTypeNC && key.m_subType == ncSubType &&
                           key.m_id == (flag ? 0 : 1) && key.m_ncName == ncName &&
                           key.m_ncFlag == flag,
                       "the key of an NC with the sub-kind " + std::to_string(subType) +
                           " and the flag " + std::to_string(flag) + " is " + show(key));
        TevString splitRel(u"junk"), splitFile(u"junk");
        TevDerivedDocumentNC::getRelPathAndFileNameFromPath(path, splitRel, splitFile);
        checkSplit("the NC split", path, key, splitRel, splitFile);
        checkFileNames(doc, folder);
    }

    checkKey(key);
    const TevDerivedDocKey other = secondKey(key, choice, reader);
    checkKey(other);
    checkPair(key, other);
    checkPair(other, key);
    return 0;
}
