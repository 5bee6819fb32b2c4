// The registry's operations, and their baseline: the registry a host would otherwise
// write itself. It makes the same documents through the same factory, lets them add
// their objects as registration does, and keeps them in an std::unordered_map by key
// (a hash of the key's fields): only the registry differs between the two sides.
#include "Suite.h"

#include <map>
#include <string_view>
#include <type_traits>
#include <unordered_map>

namespace lumbench {

namespace {

struct KeyHash {
    static constexpr std::size_t kMix = 1000003;

    std::size_t operator()(const TevDerivedDocKey& key) const {
        std::size_t hash = std::hash<std::int64_t>()(key.m_id) * kMix +
                           static_cast<std::size_t>(key.m_type * 8 + key.m_subType);
        for (const TevString* text : {&key.m_fileName, &key.m_relPath, &key.m_ncName}) {
            const std::u16string_view units(text->getStringW(),
                                            static_cast<std::size_t>(text->length()));
            hash = hash * kMix + std::hash<std::u16string_view>()(units);
        }
        return hash;
    }
};

// The host's own registry: documents by key, disposed of through the factory.
class HostRegistry {
public:
    HostRegistry() = default;
    HostRegistry(const HostRegistry&) = delete;
    HostRegistry& operator=(const HostRegistry&) = delete;
    ~HostRegistry() {
        for (auto& entry : m_docs) {
            factory().disposeDocument(entry.second, &m_model);
        }
    }

    // As addDetailDoc, addBomDoc and addNCDoc: a key met again keeps its document.
    friend TevDerivedDocument* add(HostRegistry& registry, const Record& record) {
        BenchModel& model = registry.m_model;
        TevDerivedDocument* doc = createDocument(model, record);
        const auto [entry, added] = registry.m_docs.try_emplace(doc->getKey(), doc);
        if (!added) {
            factory().disposeDocument(doc, &model);
            const bool resetStatus = record.type != TevDerDocEnums::eDocTypeDetail;
            entry->second->addAllDerivedObjects(false, true, false, resetStatus);
        } else if (doc->addAllDerivedObjects(false, false, false, true) == 0) {
            registry.m_docs.erase(entry);
            factory().disposeDocument(doc, &model);
            return nullptr;
        }
        return entry->second;
    }
    friend std::size_t count(const HostRegistry& registry) { return registry.m_docs.size(); }

    void walk(std::vector<TevDerivedDocument*>& docs) const {
        docs.clear();
        docs.reserve(m_docs.size());
        for (const auto& entry : m_docs) {
            docs.push_back(entry.second);
        }
    }

private:
    BenchModel m_model; // the documents' model; its own registry stays empty
    std::unordered_map<TevDerivedDocKey, TevDerivedDocument*, KeyHash> m_docs;
};

std::map<int, std::unique_ptr<Standing>> sharedModels;
std::map<int, std::unique_ptr<HostRegistry>> sharedRegistries;

// The library's side of registering a record and counting the documents.
TevDerivedDocument* add(BenchModel& model, const Record& record) {
    return registerRecord(model, record);
}

std::size_t count(BenchModel& model) {
    TevArray<TevDerivedDocument*> docs;
    model.getDerivedDocs(docs);
    return static_cast<std::size_t>(docs.length());
}

template <class Side>
std::unique_ptr<Side> build(int documents) {
    auto side = std::make_unique<Side>();
    for (const Record& record : records(documents)) {
        add(*side, record);
    }
    return side;
}

std::unique_ptr<Standing> buildStanding(int documents) {
    auto made = std::make_unique<Standing>();
    made->model = build<BenchModel>(documents);
    TevArray<TevDerivedDocument*> docs;
    made->model->getDerivedDocs(docs);
    TevArray<TevDerivedObject*> objects;
    for (TevDerivedDocument* doc : docs) {
        doc->fillInfoAllDerObjs(false);
        made->docs.push_back(doc);
        doc->getDerivedObjects(objects, TevDerDocEnums::eDocTypeAll);
        made->objects.insert(made->objects.end(), objects.begin(), objects.end());
    }
    return made;
}

// The side that the passes of a size share.
template <class Side>
Side& shared(int documents) {
    if constexpr (std::is_same_v<Side, BenchModel>) {
        return *standing(documents).model;
    } else {
        std::unique_ptr<HostRegistry>& slot = sharedRegistries[documents];
        if (slot == nullptr) {
            slot = build<HostRegistry>(documents);
        }
        return *slot;
    }
}

// Times `operation` on state that the passes share; `check` then tells whether it did
// its work.
template <class Operation, class Check>
void timed(benchmark::State& state, const Run& run, const Operation& operation,
           const Check& check) {
    runPasses(state, run, [&](PassClock& clock, bool) {
        clock.start();
        operation();
        clock.stop();
        return check();
    });
}

template <class Side>
void registerAll(benchmark::State& state, const Run& run) {
    const std::vector<Record>& list = records(run.documents);
    runPasses(state, run, [&list](PassClock& clock, bool) {
        Side side;
        clock.start();
        for (const Record& record : list) {
            benchmark::DoNotOptimize(add(side, record));
        }
        clock.stop();
        return count(side) == list.size();
    });
}

// Registering every registered key again: each new document goes back to the factory
// and the one registered first is answered.
template <class Side>
void lookupByKey(benchmark::State& state, const Run& run) {
    const std::vector<Record>& list = records(run.documents);
    Side& side = shared<Side>(run.documents);
    const auto again = [&] {
        for (const Record& record : list) {
            benchmark::DoNotOptimize(add(side, record));
        }
    };
    timed(state, run, again, [&] { return count(side) == list.size(); });
}

// Destroying a registered model without a table: every document goes to the factory.
template <class Side>
void destroy(benchmark::State& state, const Run& run) {
    runPasses(state, run, [&run](PassClock& clock, bool) {
        std::unique_ptr<Side> side = build<Side>(run.documents);
        clock.start();
        side.reset();
        clock.stop();
        return true;
    });
}

void libraryWalkDocs(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    TevArray<TevDerivedDocument*> docs;
    timed(
        state, run, [&] { shared.model->getDerivedDocs(docs); },
        [&] { return docs.length() == static_cast<int>(shared.docs.size()); });
}

void baselineWalkDocs(benchmark::State& state, const Run& run) {
    HostRegistry& registry = shared<HostRegistry>(run.documents);
    std::vector<TevDerivedDocument*> docs;
    timed(
        state, run, [&] { registry.walk(docs); }, [&] { return docs.size() == count(registry); });
}

void libraryObjectsOfType(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    TevArray<TevDerivedObject*> objects;
    timed(
        state, run,
        [&] { shared.model->getDerivedObjectsOfType(objects, TevDerDocEnums::eDocTypeAll); },
        [&] { return objects.length() == static_cast<int>(shared.objects.size()); });
}

void libraryCheckUpdReq(benchmark::State& state, const Run& run) {
    Standing& shared = standing(run.documents);
    timed(
        state, run,
        [&] { shared.model->checkHasUpdReqForDerivedDocs(TevDerDocEnums::eDocTypeAll, false); },
        [] { return true; });
}

} // namespace

Standing& standing(int documents) {
    std::unique_ptr<Standing>& slot = sharedModels[documents];
    if (slot == nullptr) {
        slot = buildStanding(documents);
    }
    return *slot;
}

Standing& modelFor(int documents, bool isolated, std::unique_ptr<Standing>& own) {
    if (!isolated) {
        return standing(documents);
    }
    own = buildStanding(documents);
    return *own;
}

void prepareBaseline(int documents) {
    shared<HostRegistry>(documents);
}

void releaseShared() {
    sharedRegistries.clear();
    sharedModels.clear();
}

std::vector<Operation> registryOperations() {
    return {
        {"RegisterAll", false, registerAll<BenchModel>, kLargest, registerAll<HostRegistry>,
         kLargest},
        {"LookupByKey", false, lookupByKey<BenchModel>, kLargest, lookupByKey<HostRegistry>,
         kLargest},
        {"WalkDocs", false, libraryWalkDocs, kLargest, baselineWalkDocs, kLargest},
        {"ObjectsOfType", false, libraryObjectsOfType, kLargest, nullptr, 0},
        {"CheckUpdReq", false, libraryCheckUpdReq, kLargest, nullptr, 0},
        {"DestroyModel", false, destroy<BenchModel>, kLargest, destroy<HostRegistry>, kLargest},
    };
}

} // namespace lumbench
