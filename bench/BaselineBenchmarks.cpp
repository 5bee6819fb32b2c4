// The standard-library baselines: the same essential work as each library operation,
// written plainly with std containers, so that every library figure has a yardstick
// measured in the same run.
//
// - Documents and objects are plain structs; the registry creates a document the way a
//   factory would (new, split of the path into folder and file name) and owns it
//   through a plain pointer; objects are owned by their document (std::unique_ptr).
// - The registry is an std::unordered_map<std::u16string, BaseDocument*> keyed by the
//   text the library hashes: "%d %d %ld %s %s %s" of type, sub-kind, the id's low 32
//   bits as a signed number, file name, folder and NC name. Registering and looking up
//   format that text once and hash it once.
// - Walks visit the map bucket by bucket, and whenever they leave a bucket they format
//   and hash the key text of its last document to find the bucket that follows, as the
//   library's table does (TevHashTable::next computes the bucket of the node it
//   leaves): one key text per non-empty bucket.
// - Document-manager rows are an std::vector of a row struct with a few std::u16string
//   fields and a pointer to the object. As in the library, an object finds its rows by
//   scanning the table: removing scans the whole vector per object and erases with
//   std::vector::erase, refreshing scans for the first row of the object; closing the
//   manager erases the marked rows with std::remove_if.
// - Infos are built on first use and kept, as the library keeps them.
#include "BenchHost.h"
#include "BenchSuite.h"
#include "BenchWorkload.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace lumbench {

namespace {

constexpr int kTypeDetail = 0;
constexpr int kTypeBom = 1;
constexpr int kTypeNC = 2;
constexpr int kTypeAll = 3;

constexpr int kStatusOk = 0;
constexpr int kStatusUndetermined = 9;
constexpr int kStatusFileMissing = 1001;

struct BaseDocument;

struct BaseObject {
    BaseDocument* doc = nullptr;
    int type = kTypeDetail;
    std::int64_t id = 0;
    std::u16string handle;
    bool updateOnly = false;
    bool inTable = false;
    int status = kStatusUndetermined;
    std::optional<std::u16string> title; // the info: built on first use
};

struct BaseDocumentInfo {
    std::u16string number;
    std::u16string prefix;
};

struct BaseDocument {
    int type = kTypeDetail;
    int subType = kSubTypeNone;
    std::int64_t id = 0;
    std::u16string fileName;
    std::u16string relPath;
    std::u16string ncName;
    bool requiresUpdate = false;
    std::vector<std::unique_ptr<BaseObject>> objects;
    std::optional<BaseDocumentInfo> info; // built on first use
};

struct BaseKey {
    int type = kTypeAll;
    int subType = kSubTypeNone;
    std::int64_t id = -1;
    std::u16string fileName;
    std::u16string relPath;
    std::u16string ncName;
};

struct BaseRow {
    std::u16string fileName;
    std::u16string path;
    std::u16string title;
    std::u16string fullDwgNo;
    std::u16string ncName;
    const BaseObject* object = nullptr;
    int status = 0;
    int category = -1;
    int subCategory = -1;
    bool removed = false;
};

using Rows = std::vector<BaseRow>;

void appendDecimal(std::u16string& out, std::int64_t value) {
    char16_t reversed[24];
    int count = 0;
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        reversed[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        out += u'-';
    }
    while (count > 0) {
        out += reversed[--count];
    }
}

// The registry's key text of a document or key.
template <class Keyed>
std::u16string keyText(const Keyed& keyed) {
    std::u16string text;
    text.reserve(keyed.fileName.size() + keyed.relPath.size() + keyed.ncName.size() + 40);
    appendDecimal(text, keyed.type);
    text += u' ';
    appendDecimal(text, keyed.subType);
    text += u' ';
    appendDecimal(text, static_cast<std::int32_t>(static_cast<std::uint32_t>(keyed.id)));
    text += u' ';
    text += keyed.fileName;
    text += u' ';
    text += keyed.relPath;
    text += u' ';
    text += keyed.ncName;
    return text;
}

std::u16string fullFileName(const BaseDocument& doc) {
    std::u16string full = kModelFolder;
    full += doc.relPath;
    full += doc.fileName;
    return full;
}

char16_t lower(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 0x20) : unit;
}

bool equalNoCase(const std::u16string& first, const std::u16string& second) {
    return first.size() == second.size() &&
           std::equal(first.begin(), first.end(), second.begin(),
                      [](char16_t a, char16_t b) { return lower(a) == lower(b); });
}

bool fileExists(const std::u16string& path) {
    std::string native(path.size(), '\0');
    std::transform(path.begin(), path.end(), native.begin(),
                   [](char16_t unit) { return unit == u'\\' ? '/' : static_cast<char>(unit); });
    struct stat status {};
    return ::stat(native.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

int toInteger(const std::u16string& digits) {
    int value = 0;
    for (char16_t unit : digits) {
        if (unit < u'0' || unit > u'9') {
            break;
        }
        value = value * 10 + (unit - u'0');
    }
    return value;
}

// The document the factory would build from `record`: key fields from its path.
std::unique_ptr<BaseDocument> makeDocument(const DocumentRecord& record) {
    auto doc = std::make_unique<BaseDocument>();
    const std::size_t nameStart = record.path.find_last_of(u"\\/") + 1;
    const std::u16string folder = record.path.substr(0, nameStart);
    doc->fileName = record.path.substr(nameStart);
    const bool dotted = folder.find(u"..") != std::u16string::npos;
    switch (record.kind) {
    case Kind::Detail:
        doc->type = kTypeDetail;
        doc->id = record.ordinal;
        doc->relPath = dotted ? folder.substr(2) : u"\\Details\\";
        if (doc->fileName.size() < 4 ||
            !equalNoCase(doc->fileName.substr(doc->fileName.size() - 4), u".dwg")) {
            doc->fileName += u".dwg";
        }
        doc->requiresUpdate = detailRequiresUpdate(record.ordinal);
        break;
    case Kind::List:
        doc->type = kTypeBom;
        doc->subType = record.ordinal % 2 == 0 ? kSubTypeDstv : kSubTypeNone;
        doc->id = record.ordinal;
        doc->relPath = dotted ? folder.substr(2) : u"\\BOM\\";
        break;
    case Kind::NC:
        doc->type = kTypeNC;
        doc->subType = record.ncSubType;
        doc->id = 1;
        doc->relPath = u"\\" + folder;
        doc->ncName = record.ncName;
        break;
    }
    return doc;
}

BaseObject* adopt(BaseDocument& doc, std::int64_t id, std::u16string handle) {
    auto obj = std::make_unique<BaseObject>();
    obj->doc = &doc;
    obj->type = doc.type;
    obj->id = id;
    obj->handle = std::move(handle);
    doc.objects.push_back(std::move(obj));
    return doc.objects.back().get();
}

// The objects of a registered document: its one object when it has none, and the
// update-only object of a detail that requires an update.
void addObjects(BaseDocument& doc) {
    if (doc.objects.empty()) {
        const bool detail = doc.type == kTypeDetail;
        BaseObject* obj =
            adopt(doc, detail ? doc.id : 0, detail ? u"D" + decimal(doc.id) : std::u16string());
        obj->status = kStatusOk;
    }
    if (doc.requiresUpdate) {
        const std::u16string handle = u"U" + decimal(doc.id);
        const bool present = std::any_of(
            doc.objects.begin(), doc.objects.end(),
            [&](const std::unique_ptr<BaseObject>& obj) { return obj->handle == handle; });
        if (!present) {
            adopt(doc, doc.id, handle)->updateOnly = true;
        }
    }
}

void ensureInfos(BaseDocument& doc) {
    if (doc.info) {
        return;
    }
    doc.info.emplace();
    if (doc.type == kTypeDetail) {
        doc.info->number = drawingNumberOf(doc.id);
        doc.info->prefix = drawingPrefixOf(doc.id);
    }
    for (const std::unique_ptr<BaseObject>& obj : doc.objects) {
        obj->title = doc.type == kTypeDetail ? obj->handle : doc.fileName;
    }
}

int displayCode(int status) {
    switch (status) {
    case 1002:
        return -4;
    case 1008:
        return -3;
    case kStatusFileMissing:
        return -2;
    case 6:
        return -1;
    case kStatusUndetermined:
        return 3;
    default:
        return status > 1000 ? -5 : status;
    }
}

void fillRow(BaseRow& row, const BaseObject& obj) {
    BaseDocument& doc = *obj.doc;
    row.fileName = doc.fileName;
    row.path = kModelFolder;
    row.path += doc.relPath;
    ensureInfos(doc);
    row.fullDwgNo = doc.info->prefix + doc.info->number;
    row.title = *obj.title;
    row.status = displayCode(obj.status);
    row.object = &obj;
    switch (doc.type) {
    case kTypeDetail:
        row.category = 0;
        row.subCategory = -1;
        break;
    case kTypeBom:
        row.category = doc.subType == kSubTypeDstv ? 2 : 1;
        if (doc.subType == kSubTypeDstv) {
            row.subCategory = 0;
        }
        break;
    default:
        if (doc.subType == kSubTypeNCNamed) {
            row.category = 2;
            row.subCategory = 2;
            row.ncName = doc.ncName;
        } else if (doc.subType == kSubTypeNCDxf) {
            std::u16string upper = doc.ncName;
            std::transform(upper.begin(), upper.end(), upper.begin(), [](char16_t unit) {
                return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 0x20) : unit;
            });
            row.category = 3;
            row.subCategory = upper.find(u"DXF") != std::u16string::npos ? 2 : -1;
            row.ncName = doc.ncName;
        }
        break;
    }
}

// Erases every row of `obj`, scanning the whole table as the library does.
void eraseRowsOf(Rows& rows, BaseObject& obj) {
    for (std::size_t index = 0; index < rows.size();) {
        if (rows[index].object == &obj) {
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
        } else {
            ++index;
        }
    }
    obj.inTable = false;
}

void markRowsOf(Rows& rows, BaseObject& obj) {
    for (BaseRow& row : rows) {
        if (row.object == &obj) {
            row.removed = true;
        }
    }
    obj.inTable = false;
}

class BaseRegistry {
public:
    BaseRegistry() = default;
    BaseRegistry(const BaseRegistry&) = delete;
    BaseRegistry& operator=(const BaseRegistry&) = delete;
    ~BaseRegistry() { reset(nullptr); }

    // Files a new document under its key text and adds its objects; when the key is
    // registered already, the new document goes and the earlier one is answered.
    BaseDocument* add(std::unique_ptr<BaseDocument> fresh) {
        const auto [entry, inserted] = m_docs.try_emplace(keyText(*fresh), fresh.get());
        if (!inserted) {
            addObjects(*entry->second);
            return entry->second;
        }
        addObjects(*fresh);
        return fresh.release();
    }

    bool contains(const BaseKey& key) const { return m_docs.find(keyText(key)) != m_docs.end(); }

    // Visits every document, bucket by bucket; `visit` answers false to stop. Leaving a
    // bucket formats and hashes the key text of its last document to find that bucket,
    // before the visit, which may dispose of the document.
    template <class Visit>
    void walk(Visit&& visit) const {
        const std::size_t buckets = m_docs.bucket_count();
        for (std::size_t bucket = 0; bucket < buckets;) {
            auto entry = m_docs.begin(bucket);
            const auto end = m_docs.end(bucket);
            std::size_t following = bucket + 1;
            while (entry != end) {
                BaseDocument* doc = entry->second;
                if (++entry == end) {
                    following = m_docs.bucket(keyText(*doc)) + 1;
                }
                if (!visit(doc)) {
                    return;
                }
            }
            bucket = following;
        }
    }

    // Disposes of every document, taking its objects' rows out of `rows` first.
    void reset(Rows* rows) {
        walk([rows](BaseDocument* doc) {
            if (rows != nullptr) {
                for (const std::unique_ptr<BaseObject>& obj : doc->objects) {
                    eraseRowsOf(*rows, *obj);
                }
            }
            delete doc;
            return true;
        });
        m_docs.clear();
    }

    // What a query does before it reads: every document of `type` without objects
    // adds them.
    void addMissingObjects(int type) const {
        walk([type](BaseDocument* doc) {
            if ((type == kTypeAll || doc->type == type) && doc->objects.empty()) {
                addObjects(*doc);
            }
            return true;
        });
    }

    std::vector<BaseDocument*> documentsOfType(int type) const {
        addMissingObjects(type);
        std::vector<BaseDocument*> docs;
        walk([&docs, type](BaseDocument* doc) {
            if (type == kTypeAll || doc->type == type) {
                docs.push_back(doc);
            }
            return true;
        });
        return docs;
    }

private:
    std::unordered_map<std::u16string, BaseDocument*> m_docs;
};

const std::vector<DocumentRecord>& records(int documents) {
    static std::map<int, std::vector<DocumentRecord>> cache;
    std::vector<DocumentRecord>& slot = cache[documents];
    if (slot.empty()) {
        slot = makeWorkload(documents);
    }
    return slot;
}

std::unique_ptr<BaseRegistry> buildRegistry(int documents) {
    auto registry = std::make_unique<BaseRegistry>();
    for (const DocumentRecord& record : records(documents)) {
        registry->add(makeDocument(record));
    }
    return registry;
}

std::vector<BaseDocument*> walkOrder(const BaseRegistry& registry) {
    std::vector<BaseDocument*> docs;
    registry.walk([&docs](BaseDocument* doc) {
        docs.push_back(doc);
        return true;
    });
    for (BaseDocument* doc : docs) {
        ensureInfos(*doc);
    }
    return docs;
}

struct Standing {
    std::unique_ptr<BaseRegistry> registry;
    std::vector<BaseDocument*> docs; // walk order, infos built
};

std::map<int, std::unique_ptr<Standing>>& standingRegistries() {
    static std::map<int, std::unique_ptr<Standing>> registries;
    return registries;
}

std::unique_ptr<Standing> makeStanding(int documents) {
    auto made = std::make_unique<Standing>();
    made->registry = buildRegistry(documents);
    made->docs = walkOrder(*made->registry);
    return made;
}

Standing& standing(int documents) {
    std::unique_ptr<Standing>& slot = standingRegistries()[documents];
    if (slot == nullptr) {
        slot = makeStanding(documents);
    }
    return *slot;
}

Standing& registryFor(int documents, bool isolated, std::unique_ptr<Standing>& own) {
    if (!isolated) {
        return standing(documents);
    }
    own = makeStanding(documents);
    return *own;
}

void appendRows(const std::vector<BaseDocument*>& docs, Rows& rows) {
    for (BaseDocument* doc : docs) {
        for (const std::unique_ptr<BaseObject>& obj : doc->objects) {
            if (!obj->inTable) {
                BaseRow row;
                fillRow(row, *obj);
                rows.push_back(std::move(row));
                obj->inTable = true;
            }
        }
    }
}

// The table of the manager's first opening, with room reserved beforehand.
void fillTable(const std::vector<BaseDocument*>& docs, Rows& rows) {
    rows.reserve(docs.size() + docs.size() / 8 + 8);
    appendRows(docs, rows);
}

void forgetTable(const std::vector<BaseDocument*>& docs) {
    for (BaseDocument* doc : docs) {
        for (const std::unique_ptr<BaseObject>& obj : doc->objects) {
            obj->inTable = false;
        }
    }
}

std::vector<std::size_t> spreadPositions(std::size_t count) {
    std::vector<std::size_t> positions;
    for (int call = 0; call < kGetAtCalls; ++call) {
        positions.push_back((2 * static_cast<std::size_t>(call) + 1) * count / (2 * kGetAtCalls));
    }
    return positions;
}

struct DrawingNumber {
    std::u16string fileName;
    std::u16string fullFileName;
    std::u16string number;
    std::u16string prefix;
};

} // namespace

void prepareBaselineModel(int documents) {
    standing(documents);
}

void releaseBaselineModels() {
    standingRegistries().clear();
}

void baselineRegisterAll(benchmark::State& state, const Run& run) {
    const std::vector<DocumentRecord>& inputs = records(run.documents);
    runPasses(state, run.isolated, [&inputs](PassClock& clock, bool) {
        auto registry = std::make_unique<BaseRegistry>();
        clock.start();
        for (const DocumentRecord& record : inputs) {
            benchmark::DoNotOptimize(registry->add(makeDocument(record)));
        }
        clock.stop();
        return walkOrder(*registry).size() == inputs.size();
    });
    setItems(state, run.documents);
}

void baselineLookupByKey(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    const std::vector<DocumentRecord>& inputs = records(run.documents);
    Stopwatch watch;
    for (auto _ : state) {
        watch.start();
        for (const DocumentRecord& record : inputs) {
            benchmark::DoNotOptimize(shared.registry->add(makeDocument(record)));
        }
        watch.stop(state);
    }
    setItems(state, run.documents);
}

void baselineUnregistMiss(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    Standing& shared = standing(documents);
    std::vector<BaseKey> keys;
    for (const DocumentRecord& record : records(documents)) {
        const std::unique_ptr<BaseDocument> doc = makeDocument(record);
        const std::int64_t ordinal = record.ordinal + 10 * std::int64_t{documents};
        const std::u16string number = decimal(ordinal);
        BaseKey key{doc->type, doc->subType, doc->id, {}, doc->relPath, {}};
        switch (record.kind) {
        case Kind::Detail:
            key.id = ordinal;
            key.fileName = u"D" + number + u".dwg";
            break;
        case Kind::List:
            key.id = ordinal;
            key.fileName = u"L" + number + u".txt";
            break;
        case Kind::NC:
            key.fileName = u"P" + number + u".nc1";
            key.ncName = u"P" + number;
            break;
        }
        keys.push_back(std::move(key));
    }
    Stopwatch watch;
    int found = 0;
    for (auto _ : state) {
        watch.start();
        for (const BaseKey& key : keys) {
            found += shared.registry->contains(key) ? 1 : 0;
        }
        watch.stop(state);
    }
    if (found != 0) {
        state.SkipWithError("an unregistered key was found");
    }
    setItems(state, documents);
}

void baselineWalkDocs(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    Stopwatch watch;
    for (auto _ : state) {
        std::vector<BaseDocument*> docs;
        watch.start();
        shared.registry->walk([&docs](BaseDocument* doc) {
            docs.push_back(doc);
            return true;
        });
        watch.stop(state);
        benchmark::DoNotOptimize(docs.size());
    }
    setItems(state, run.documents);
}

// The first document of the walk that `matches`, as getAt finds it.
template <class Matches>
BaseDocument* firstInWalk(const BaseRegistry& registry, Matches matches) {
    BaseDocument* found = nullptr;
    registry.walk([&found, &matches](BaseDocument* doc) {
        if (matches(*doc)) {
            found = doc;
            return false;
        }
        return true;
    });
    return found;
}

void baselineGetAtId(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    std::vector<std::int64_t> ids;
    for (std::size_t position : spreadPositions(shared.docs.size())) {
        while (shared.docs[position]->type != kTypeDetail) {
            ++position;
        }
        ids.push_back(shared.docs[position]->id);
    }
    Stopwatch watch;
    for (auto _ : state) {
        watch.start();
        for (std::int64_t id : ids) {
            benchmark::DoNotOptimize(firstInWalk(*shared.registry, [id](const BaseDocument& doc) {
                return doc.type == kTypeDetail && doc.id == id;
            }));
        }
        watch.stop(state);
    }
    setItems(state, kGetAtCalls);
}

void baselineGetAtName(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    std::vector<std::u16string> names;
    for (std::size_t position : spreadPositions(shared.docs.size())) {
        names.push_back(shared.docs[position]->fileName);
    }
    Stopwatch watch;
    for (auto _ : state) {
        watch.start();
        for (const std::u16string& name : names) {
            benchmark::DoNotOptimize(
                firstInWalk(*shared.registry, [&name](const BaseDocument& doc) {
                    return equalNoCase(doc.fileName, name) || equalNoCase(fullFileName(doc), name);
                }));
        }
        watch.stop(state);
    }
    setItems(state, kGetAtCalls);
}

namespace {

void objectsOfType(benchmark::State& state, int documents, int type) {
    Standing& shared = standing(documents);
    Stopwatch watch;
    for (auto _ : state) {
        std::vector<BaseObject*> objects;
        watch.start();
        for (BaseDocument* doc : shared.registry->documentsOfType(type)) {
            for (const std::unique_ptr<BaseObject>& obj : doc->objects) {
                if (type == kTypeAll || obj->type == type) {
                    objects.push_back(obj.get());
                }
            }
        }
        watch.stop(state);
        benchmark::DoNotOptimize(objects.size());
    }
    setItems(state, documents);
}

} // namespace

void baselineObjectsOfTypeAll(benchmark::State& state, const Run& run) {
    objectsOfType(state, run.documents, kTypeAll);
}

void baselineObjectsOfTypeDetail(benchmark::State& state, const Run& run) {
    objectsOfType(state, run.documents, kTypeDetail);
}

void baselineCheckUpdReq(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    Stopwatch watch;
    for (auto _ : state) {
        watch.start();
        shared.registry->walk([](BaseDocument* doc) {
            if (doc->type == kTypeDetail) {
                doc->requiresUpdate = detailRequiresUpdate(doc->id);
            }
            addObjects(*doc);
            return true;
        });
        watch.stop(state);
    }
    setItems(state, run.documents);
}

void baselineDrawingNumbersLists(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = registryFor(documents, isolated, own);
        std::vector<std::u16string> prefixes, numbers, fileNames, fullFileNames;
        clock.start();
        for (BaseDocument* doc : shared.registry->documentsOfType(kTypeDetail)) {
            ensureInfos(*doc);
            const BaseDocumentInfo& info = *doc->info;
            if (info.number.empty() && info.prefix.empty()) {
                continue;
            }
            prefixes.push_back(info.prefix);
            numbers.push_back(info.number);
            fileNames.push_back(doc->fileName);
            fullFileNames.push_back(fullFileName(*doc));
        }
        clock.stop();
        return fullFileNames.size() == static_cast<std::size_t>(documents * 9 / 20);
    });
    setItems(state, documents);
}

void baselineDrawingNumbersTables(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = registryFor(documents, isolated, own);
        std::unordered_map<int, DrawingNumber> byNumber;
        std::unordered_map<std::u16string, DrawingNumber> byText;
        std::unordered_set<std::u16string> fullFileNames;
        std::vector<std::u16string> prefixes, numbers, fileNames;
        clock.start();
        for (BaseDocument* doc : shared.registry->documentsOfType(kTypeDetail)) {
            ensureInfos(*doc);
            const BaseDocumentInfo& info = *doc->info;
            if (info.number.empty() && info.prefix.empty()) {
                continue;
            }
            const DrawingNumber drawing{doc->fileName, fullFileName(*doc), info.number,
                                        info.prefix};
            const int numberKey = toInteger(drawing.number);
            std::u16string textKey = drawing.prefix;
            std::transform(textKey.begin(), textKey.end(), textKey.begin(), [](char16_t unit) {
                return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 0x20) : unit;
            });
            appendDecimal(textKey, numberKey);
            byNumber.try_emplace(numberKey, drawing);
            byText.try_emplace(std::move(textKey), drawing);
            fullFileNames.insert(drawing.fullFileName);
            prefixes.push_back(drawing.prefix);
            numbers.push_back(drawing.number);
            fileNames.push_back(drawing.fileName);
        }
        clock.stop();
        return fullFileNames.size() == static_cast<std::size_t>(documents * 9 / 20);
    });
    setItems(state, documents);
}

// The vector reserves for the rows as the library's host sizes its table; without,
// it grows geometrically, unlike the library's fixed step (OpenAppendRowsStep8).
void baselineOpenAndAppendRows(benchmark::State& state, const Run& run, bool sized) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents, sized](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = registryFor(documents, isolated, own);
        Rows rows;
        if (sized) {
            rows.reserve(static_cast<std::size_t>(documents + documents / 8 + 8));
        }
        clock.start();
        appendRows(shared.docs, rows);
        clock.stop();
        forgetTable(shared.docs);
        return rows.size() > static_cast<std::size_t>(documents);
    });
    setItems(state, documents);
}

void baselineOpenAppendRows(benchmark::State& state, const Run& run) {
    baselineOpenAndAppendRows(state, run, true);
}

void baselineOpenAppendRowsStep8(benchmark::State& state, const Run& run) {
    baselineOpenAndAppendRows(state, run, false);
}

// Passes over a registry whose rows show every object: `prepare` readies the state
// untimed, `measured` is timed, `check` tells whether the pass left what it should.
using RowsStep = std::function<void(Standing&, Rows&)>;

void filledRowsPasses(benchmark::State& state, const Run& run, const RowsStep& prepare,
                      const RowsStep& measured, const std::function<bool(const Rows&)>& check) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [&](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = registryFor(documents, isolated, own);
        Rows rows;
        fillTable(shared.docs, rows);
        prepare(shared, rows);
        clock.start();
        measured(shared, rows);
        clock.stop();
        const bool passed = check(rows);
        forgetTable(shared.docs);
        return passed;
    });
    setItems(state, documents);
}

void nothingToPrepare(Standing&, Rows&) {}

// Re-reads every object's status (its file is looked for, as the library does), then
// refills the first row that shows it.
void baselineRefreshRows(benchmark::State& state, const Run& run) {
    std::size_t count = 0;
    filledRowsPasses(
        state, run, [&count](Standing&, Rows& rows) { count = rows.size(); },
        [](Standing& shared, Rows& rows) {
            for (BaseDocument* doc : shared.docs) {
                const std::u16string path = fullFileName(*doc);
                for (const std::unique_ptr<BaseObject>& obj : doc->objects) {
                    if (!fileExists(path)) {
                        obj->status = kStatusFileMissing;
                    } else if (obj->updateOnly) {
                        obj->status = kStatusOk;
                    }
                    const auto row =
                        std::find_if(rows.begin(), rows.end(),
                                     [&obj](const BaseRow& r) { return r.object == obj.get(); });
                    if (row != rows.end()) {
                        fillRow(*row, *obj);
                    }
                }
            }
        },
        [&count](const Rows& rows) { return rows.size() == count; });
}

void baselineRemoveRowsClosed(benchmark::State& state, const Run& run) {
    filledRowsPasses(
        state, run, nothingToPrepare,
        [](Standing& shared, Rows& rows) {
            for (BaseDocument* doc : shared.docs) {
                for (const std::unique_ptr<BaseObject>& obj : doc->objects) {
                    eraseRowsOf(rows, *obj);
                }
            }
        },
        [](const Rows& rows) { return rows.empty(); });
}

void baselineRemoveRowsOpen(benchmark::State& state, const Run& run) {
    filledRowsPasses(
        state, run, nothingToPrepare,
        [](Standing& shared, Rows& rows) {
            for (BaseDocument* doc : shared.docs) {
                for (const std::unique_ptr<BaseObject>& obj : doc->objects) {
                    markRowsOf(rows, *obj);
                }
            }
        },
        [](const Rows& rows) {
            return std::all_of(rows.begin(), rows.end(),
                               [](const BaseRow& row) { return row.removed; });
        });
}

void baselineCloseManager(benchmark::State& state, const Run& run) {
    filledRowsPasses(
        state, run,
        [](Standing& shared, Rows& rows) {
            for (BaseRow& row : rows) {
                row.removed = true;
            }
            forgetTable(shared.docs);
        },
        [](Standing&, Rows& rows) {
            rows.erase(std::remove_if(rows.begin(), rows.end(),
                                      [](const BaseRow& row) { return row.removed; }),
                       rows.end());
        },
        [](const Rows& rows) { return rows.empty(); });
}

void baselineResetWithTable(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents](PassClock& clock, bool) {
        std::unique_ptr<BaseRegistry> registry = buildRegistry(documents);
        Rows rows;
        fillTable(walkOrder(*registry), rows);
        clock.start();
        registry->reset(&rows);
        clock.stop();
        return rows.empty();
    });
    setItems(state, documents);
}

void baselineDestroyModel(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents](PassClock& clock, bool) {
        std::unique_ptr<BaseRegistry> registry = buildRegistry(documents);
        clock.start();
        registry.reset();
        clock.stop();
        return true;
    });
    setItems(state, documents);
}

} // namespace lumbench
