// The operations on the library, driven the way a host drives them: registration
// through addDetailDoc, addBomDoc and addNCDoc, queries on the model, and the rows of
// a document-manager table through the documents. The documents are never asked to
// check their files, and every model lives in the benchmark host (BenchHost.h).
#include "BenchHost.h"
#include "BenchSuite.h"
#include "BenchWorkload.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace lumbench {

namespace {

BenchFactory& factory() {
    static BenchFactory instance;
    return instance;
}

TevString text(const std::u16string& units) {
    return TevString(units.c_str());
}

// The workload of one size in the library's own types, converted once.
struct Inputs {
    std::vector<DocumentRecord> records;
    std::vector<TevString> paths;
    std::vector<TevString> ncNames;
    std::vector<StructProjReport> reports;
    // Keys of documents that are never registered: each record's kind, with a number
    // beyond every registered one.
    std::vector<TevDerivedDocKey> unregisteredKeys;
};

TevDerivedDocKey unregisteredKey(const DocumentRecord& record, std::int64_t ordinal) {
    const TevString number = text(decimal(ordinal));
    switch (record.kind) {
    case Kind::Detail:
        return TevDerivedDocKey(TevDerDocEnums::eDocTypeDetail, TevDerDocEnums::eDocSubTypeNone,
                                ordinal, TevString(u"D") + number + TevString(u".dwg"),
                                u"\\Details\\", TevString());
    case Kind::List:
        return TevDerivedDocKey(
            TevDerDocEnums::eDocTypeBom,
            record.dstv ? TevDerDocEnums::eDocSubTypeDstv : TevDerDocEnums::eDocSubTypeNone,
            ordinal, TevString(u"L") + number + TevString(u".txt"), u"\\BOM\\", TevString());
    case Kind::NC:
        break;
    }
    return TevDerivedDocKey(
        TevDerDocEnums::eDocTypeNC, static_cast<TevDerDocEnums::eDocSubType>(record.ncSubType), 1,
        TevString(u"P") + number + TevString(u".nc1"), u"\\NC\\", TevString(u"P") + number);
}

const Inputs& inputs(int documents) {
    static std::map<int, std::unique_ptr<Inputs>> cache;
    std::unique_ptr<Inputs>& slot = cache[documents];
    if (slot == nullptr) {
        slot = std::make_unique<Inputs>();
        Inputs& in = *slot;
        in.records = makeWorkload(documents);
        for (const DocumentRecord& record : in.records) {
            in.paths.push_back(text(record.path));
            in.ncNames.push_back(text(record.ncName));
            StructProjReport report;
            if (record.kind == Kind::List) {
                report.m_number = static_cast<int>(record.ordinal);
                report.m_name = u"List";
                report.m_filePath = text(record.path);
            }
            in.reports.push_back(report);
            in.unregisteredKeys.push_back(
                unregisteredKey(record, record.ordinal + 10 * std::int64_t{documents}));
        }
    }
    return *slot;
}

// Registers record `index` as a host does: no update, no file check, statuses reset.
TevDerivedDocument* registerRecord(BenchModel& model, const Inputs& in, std::size_t index) {
    const DocumentRecord& record = in.records[index];
    switch (record.kind) {
    case Kind::Detail:
        return model.addDetailDoc(record.ordinal, in.paths[index], false, false, true);
    case Kind::List:
        return model.addBomDoc(in.reports[index], false, false, true);
    case Kind::NC:
        break;
    }
    return model.addNCDoc(in.paths[index],
                          static_cast<TevDerDocEnums::eDocSubType>(record.ncSubType),
                          in.ncNames[index], false, false, false, true);
}

std::unique_ptr<BenchModel> buildModel(int documents) {
    auto model = std::make_unique<BenchModel>(factory());
    const Inputs& in = inputs(documents);
    for (std::size_t index = 0; index < in.records.size(); ++index) {
        registerRecord(*model, in, index);
    }
    return model;
}

// Every document's and object's info, built as the first document-manager fill would.
void buildInfos(const TevArray<TevDerivedDocument*>& docs) {
    for (TevDerivedDocument* doc : docs) {
        doc->getInfo();
    }
}

// The registered documents in registry order, with their infos built.
std::vector<TevDerivedDocument*> registryOrder(BenchModel& model) {
    TevArray<TevDerivedDocument*> docs;
    model.getDerivedDocs(docs);
    buildInfos(docs);
    return std::vector<TevDerivedDocument*>(docs.begin(), docs.end());
}

// A model that the read-only operations share: registered once per size, infos built.
struct Standing {
    std::unique_ptr<BenchModel> model;
    std::vector<TevDerivedDocument*> docs; // registry order
};

std::map<int, std::unique_ptr<Standing>>& standingModels() {
    static std::map<int, std::unique_ptr<Standing>> models;
    return models;
}

std::unique_ptr<Standing> makeStanding(int documents) {
    auto made = std::make_unique<Standing>();
    made->model = buildModel(documents);
    made->docs = registryOrder(*made->model);
    return made;
}

Standing& standing(int documents) {
    std::unique_ptr<Standing>& slot = standingModels()[documents];
    if (slot == nullptr) {
        slot = makeStanding(documents);
    }
    return *slot;
}

// The model a pass works on without changing its documents: the shared one of its
// size, or in an isolated pass one of its own in `own`.
Standing& modelFor(int documents, bool isolated, std::unique_ptr<Standing>& own) {
    if (!isolated) {
        return standing(documents);
    }
    own = makeStanding(documents);
    return *own;
}

// Fills `table` with the rows of every document, as the manager's first opening does,
// with room reserved beforehand so that building the state stays linear.
void fillTable(BenchModel& model, const std::vector<TevDerivedDocument*>& docs,
               TevArray<TevDocManObject>& table) {
    table.setPhysicalLength(static_cast<int>(docs.size() + docs.size() / 8 + 8));
    model.setDocManObjects(&table);
    for (TevDerivedDocument* doc : docs) {
        doc->addDocManObjects(&table);
    }
}

// Detaches the table (every object forgets its row) with the manager closed; marked
// rows stay in the table, which the caller throws away.
void detachTable(BenchModel& model) {
    model.setDocManObjects(nullptr);
    model.setDocumentsManagerOpen(false);
}

// The registry positions (2k + 1) * n / 2K, k < K: spread evenly, on average half-way.
std::vector<std::size_t> spreadPositions(std::size_t count) {
    std::vector<std::size_t> positions;
    for (int call = 0; call < kGetAtCalls; ++call) {
        positions.push_back((2 * static_cast<std::size_t>(call) + 1) * count / (2 * kGetAtCalls));
    }
    return positions;
}

void fail(benchmark::State& state, const char* what) {
    state.SkipWithError(what);
}

} // namespace

void installLibraryHost() {
    TevDerivedDocumentsModel::setFactory(&factory());
}

void prepareLibraryModel(int documents) {
    standing(documents);
}

void releaseLibraryHost() {
    standingModels().clear();
    TevDerivedDocumentsModel::setFactory(nullptr);
}

void libraryRegisterAll(benchmark::State& state, const Run& run) {
    const Inputs& in = inputs(run.documents);
    runPasses(state, run.isolated, [&in](PassClock& clock, bool) {
        auto model = std::make_unique<BenchModel>(factory());
        clock.start();
        for (std::size_t index = 0; index < in.records.size(); ++index) {
            benchmark::DoNotOptimize(registerRecord(*model, in, index));
        }
        clock.stop();
        TevArray<TevDerivedDocument*> docs;
        model->getDerivedDocs(docs);
        return docs.length() == static_cast<int>(in.records.size());
    });
    setItems(state, run.documents);
}

// Registering a registered key again: the factory's new document goes back and the
// registry answers the document registered first.
void libraryLookupByKey(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    const Inputs& in = inputs(run.documents);
    Stopwatch watch;
    bool same = true;
    for (auto _ : state) {
        watch.start();
        for (std::size_t index = 0; index < in.records.size(); ++index) {
            benchmark::DoNotOptimize(registerRecord(*shared.model, in, index));
        }
        watch.stop(state);
    }
    for (std::size_t index = 0; index < in.records.size() && same; ++index) {
        same = registerRecord(*shared.model, in, index) != nullptr;
    }
    TevArray<TevDerivedDocument*> after;
    shared.model->getDerivedDocs(after);
    if (!same || after.length() != static_cast<int>(shared.docs.size())) {
        fail(state, "registering again changed the registry");
    }
    setItems(state, run.documents);
}

void libraryUnregistMiss(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    const Inputs& in = inputs(run.documents);
    Stopwatch watch;
    int found = 0;
    for (auto _ : state) {
        watch.start();
        for (const TevDerivedDocKey& key : in.unregisteredKeys) {
            found += shared.model->unregistDoc(key) == TevDerDocEnums::eStatusOk ? 1 : 0;
        }
        watch.stop(state);
    }
    if (found != 0) {
        fail(state, "an unregistered key was found");
    }
    setItems(state, run.documents);
}

void libraryWalkDocs(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    Stopwatch watch;
    for (auto _ : state) {
        TevArray<TevDerivedDocument*> docs;
        watch.start();
        shared.model->getDerivedDocs(docs);
        watch.stop(state);
        benchmark::DoNotOptimize(docs.length());
    }
    setItems(state, run.documents);
}

void libraryGetAtId(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    std::vector<std::int64_t> ids;
    std::vector<TevDerivedDocument*> expected;
    for (std::size_t position : spreadPositions(shared.docs.size())) {
        while (shared.docs[position]->getKey().m_type != TevDerDocEnums::eDocTypeDetail) {
            ++position;
        }
        ids.push_back(shared.docs[position]->getKey().m_id);
        expected.push_back(shared.docs[position]);
    }
    for (std::size_t call = 0; call < ids.size(); ++call) {
        if (shared.model->getAt(ids[call], TevDerDocEnums::eDocTypeDetail) != expected[call]) {
            fail(state, "getAt by id answered another document");
            return;
        }
    }
    Stopwatch watch;
    for (auto _ : state) {
        watch.start();
        for (std::int64_t id : ids) {
            benchmark::DoNotOptimize(shared.model->getAt(id, TevDerDocEnums::eDocTypeDetail));
        }
        watch.stop(state);
    }
    setItems(state, kGetAtCalls);
}

void libraryGetAtName(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    std::vector<TevString> names;
    std::vector<TevDerivedDocument*> expected;
    for (std::size_t position : spreadPositions(shared.docs.size())) {
        names.push_back(shared.docs[position]->getFileName());
        expected.push_back(shared.docs[position]);
    }
    for (std::size_t call = 0; call < names.size(); ++call) {
        if (shared.model->getAt(names[call], TevDerDocEnums::eDocTypeAll) != expected[call]) {
            fail(state, "getAt by name answered another document");
            return;
        }
    }
    Stopwatch watch;
    for (auto _ : state) {
        watch.start();
        for (const TevString& name : names) {
            benchmark::DoNotOptimize(shared.model->getAt(name, TevDerDocEnums::eDocTypeAll));
        }
        watch.stop(state);
    }
    setItems(state, kGetAtCalls);
}

namespace {

void objectsOfType(benchmark::State& state, int documents, TevDerDocEnums::eDocType type) {
    Standing& shared = standing(documents);
    Stopwatch watch;
    for (auto _ : state) {
        TevArray<TevDerivedObject*> objects;
        watch.start();
        shared.model->getDerivedObjectsOfType(objects, type);
        watch.stop(state);
        benchmark::DoNotOptimize(objects.length());
    }
    setItems(state, documents);
}

} // namespace

void libraryObjectsOfTypeAll(benchmark::State& state, const Run& run) {
    objectsOfType(state, run.documents, TevDerDocEnums::eDocTypeAll);
}

void libraryObjectsOfTypeDetail(benchmark::State& state, const Run& run) {
    objectsOfType(state, run.documents, TevDerDocEnums::eDocTypeDetail);
}

void libraryCheckUpdReq(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    Stopwatch watch;
    for (auto _ : state) {
        watch.start();
        shared.model->checkHasUpdReqForDerivedDocs(TevDerDocEnums::eDocTypeAll, false);
        watch.stop(state);
    }
    setItems(state, run.documents);
}

void libraryDrawingNumbersLists(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = modelFor(documents, isolated, own);
        TevArray<TevString> prefixes, numbers, fileNames, fullFileNames;
        clock.start();
        shared.model->getAllDerivedDetailDrawingNumbers(prefixes, numbers, fileNames,
                                                        fullFileNames);
        clock.stop();
        return fullFileNames.length() == documents * 9 / 20;
    });
    setItems(state, documents);
}

void libraryDrawingNumbersTables(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = modelFor(documents, isolated, own);
        TevHashTable<int, TevDerivedDwgNo> byNumber;
        TevHashTable<TevString, TevDerivedDwgNo> byText;
        TevHashSet<TevString> fullFileNames;
        TevArray<TevString> prefixes, numbers, fileNames;
        clock.start();
        shared.model->getAllDerivedDetailDrawingNumbers(byNumber, byText, fullFileNames, prefixes,
                                                        numbers, fileNames);
        clock.stop();
        return fullFileNames.size() == documents * 9 / 20;
    });
    setItems(state, documents);
}

// Attaching a fresh table, opening the manager and appending the rows of every
// document, as the host's first opening of the dialog does. The host sizes its table
// for the rows it expects (TevArray(physicalLength, growthStep)); tables grow by a fixed
// step, so appending to an unsized table copies all rows every eight (OpenAppendRowsStep8).
void libraryOpenAndAppendRows(benchmark::State& state, const Run& run, bool sized) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents, sized](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = modelFor(documents, isolated, own);
        TevArray<TevDocManObject> table(sized ? documents + documents / 8 + 8 : 0, 8);
        clock.start();
        shared.model->setDocManObjects(&table);
        shared.model->setDocumentsManagerOpen(true);
        for (TevDerivedDocument* doc : shared.docs) {
            doc->addDocManObjects(&table);
        }
        clock.stop();
        detachTable(*shared.model);
        return table.length() > documents;
    });
    setItems(state, documents);
}

void libraryOpenAppendRows(benchmark::State& state, const Run& run) {
    libraryOpenAndAppendRows(state, run, true);
}

void libraryOpenAppendRowsStep8(benchmark::State& state, const Run& run) {
    libraryOpenAndAppendRows(state, run, false);
}

// Passes over a model whose table holds the row of every object: the manager is
// opened or left closed, `prepare` readies the state untimed, `measured` is timed and
// `check` tells whether the pass left what it should; the table is detached after.
using TableStep = std::function<void(Standing&, TevArray<TevDocManObject>&)>;

void filledTablePasses(benchmark::State& state, const Run& run, bool managerOpen,
                       const TableStep& prepare, const TableStep& measured,
                       const std::function<bool(const TevArray<TevDocManObject>&)>& check) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [&](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = modelFor(documents, isolated, own);
        TevArray<TevDocManObject> table;
        fillTable(*shared.model, shared.docs, table);
        shared.model->setDocumentsManagerOpen(managerOpen);
        prepare(shared, table);
        clock.start();
        measured(shared, table);
        clock.stop();
        const bool passed = check(table);
        // Detached first: marked rows go with the table, not through a close.
        detachTable(*shared.model);
        return passed;
    });
    setItems(state, documents);
}

void nothingToPrepare(Standing&, TevArray<TevDocManObject>&) {}

void removeEveryDocumentsRows(Standing& shared, TevArray<TevDocManObject>& table) {
    for (TevDerivedDocument* doc : shared.docs) {
        doc->removeDocManInformations(&table);
    }
}

// Refreshing the row of every object, document by document, with the manager open.
void libraryRefreshRows(benchmark::State& state, const Run& run) {
    int rows = 0;
    filledTablePasses(
        state, run, true,
        [&rows](Standing&, TevArray<TevDocManObject>& table) { rows = table.length(); },
        [](Standing& shared, TevArray<TevDocManObject>& table) {
            for (TevDerivedDocument* doc : shared.docs) {
                doc->updateDocManInformations(&table);
            }
        },
        [&rows](const TevArray<TevDocManObject>& table) { return table.length() == rows; });
}

void libraryRemoveRowsClosed(benchmark::State& state, const Run& run) {
    filledTablePasses(state, run, false, nothingToPrepare, removeEveryDocumentsRows,
                      [](const TevArray<TevDocManObject>& table) { return table.isEmpty(); });
}

// Marking every row while the manager is open; the rows stay until it closes.
void libraryRemoveRowsOpen(benchmark::State& state, const Run& run) {
    filledTablePasses(state, run, true, nothingToPrepare, removeEveryDocumentsRows,
                      [](const TevArray<TevDocManObject>& table) {
                          return std::all_of(
                              table.begin(), table.end(),
                              [](const TevDocManObject& row) { return row.m_removed; });
                      });
}

// Closing the manager with every row marked as removed: the close erases them all.
void libraryCloseManager(benchmark::State& state, const Run& run) {
    filledTablePasses(
        state, run, true,
        [](Standing& shared, TevArray<TevDocManObject>& table) {
            // The state that removing every row with the manager open leaves, made directly.
            for (TevDocManObject& row : table) {
                row.m_removed = true;
            }
            for (TevDerivedDocument* doc : shared.docs) {
                doc->removeFromTable();
            }
        },
        [](Standing& shared, TevArray<TevDocManObject>&) {
            shared.model->setDocumentsManagerOpen(false);
        },
        [](const TevArray<TevDocManObject>& table) { return table.isEmpty(); });
}

void libraryResetWithTable(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents](PassClock& clock, bool) {
        std::unique_ptr<BenchModel> model = buildModel(documents);
        TevArray<TevDocManObject> table;
        fillTable(*model, registryOrder(*model), table);
        clock.start();
        model->resetDerivedDocs(TevDerDocEnums::eDocTypeAll);
        clock.stop();
        detachTable(*model);
        return table.isEmpty();
    });
    setItems(state, documents);
}

void libraryDestroyModel(benchmark::State& state, const Run& run) {
    const int documents = run.documents;
    runPasses(state, run.isolated, [documents](PassClock& clock, bool) {
        std::unique_ptr<BenchModel> model = buildModel(documents);
        clock.start();
        model.reset();
        clock.stop();
        return true;
    });
    setItems(state, documents);
}

} // namespace lumbench
