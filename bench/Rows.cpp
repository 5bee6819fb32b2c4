// The document manager: the host's table TevArray<TevDocManObject> attached to a
// model, its rows appended, refreshed and taken out through the documents. The
// baseline is the table a host would keep itself: an std::vector of the same rows, in
// which an object's row is found by a linear scan, then refreshed, marked or erased.
#include "Suite.h"

#include <algorithm>
#include <iterator>

namespace lumbench {

namespace {

using Table = TevArray<TevDocManObject>;
using Rows = std::vector<TevDocManObject>;
using TableStep = std::function<void(Standing&, Table&)>;
using RowStep = std::function<void(TevDerivedObject*, Rows&, Rows::iterator)>;

constexpr int kGrowthStep = Table::kDefaultGrowthStep;

// Room for every row, as a host that knows how many rows it shows creates its table.
int sizedFor(const Standing& shared) {
    const int rows = static_cast<int>(shared.objects.size());
    return rows + rows / kGrowthStep + kGrowthStep;
}

// The host opens the manager: attaches the table, opens it and appends every row.
void openAndAppend(Standing& shared, Table& table) {
    shared.model->setDocManObjects(&table);
    shared.model->setDocumentsManagerOpen(true);
    for (TevDerivedDocument* doc : shared.docs) {
        doc->addDocManObjects(&table);
    }
}

// Detached first, so that closing erases nothing: marked rows go with the table.
void detach(BenchModel& model) {
    model.setDocManObjects(nullptr);
    model.setDocumentsManagerOpen(false);
}

enum class Left { EveryRow, Marked, Nothing };

// Whether `rows` hold what the operation should leave: every row, only marked ones, or
// none.
template <class Container>
bool leaves(const Container& rows, const Standing& shared, Left left) {
    const auto marked = [](const TevDocManObject& row) { return row.m_removed; };
    const auto size = static_cast<std::size_t>(rows.end() - rows.begin());
    return left == Left::Marked ? std::all_of(rows.begin(), rows.end(), marked)
                                : size == (left == Left::EveryRow ? shared.objects.size() : 0);
}

// Passes over a model whose table holds every row, the manager left `open` or not:
// `prepare` (may be empty) readies the state, `measured` is timed. `fresh`: the
// operation disposes of documents, so that every pass needs a model of its own.
void tablePasses(benchmark::State& state, const Run& run, bool open, bool fresh,
                 const TableStep& prepare, const TableStep& measured, Left left) {
    runPasses(state, run, [&](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = modelFor(run.documents, isolated || fresh, own);
        Table table(sizedFor(shared), kGrowthStep);
        openAndAppend(shared, table);
        shared.model->setDocumentsManagerOpen(open);
        if (prepare) {
            prepare(shared, table);
        }
        clock.start();
        measured(shared, table);
        clock.stop();
        const bool passed = leaves(table, shared, left);
        detach(*shared.model);
        return passed;
    });
}

// The same rows in a vector of the host's: for every object, in document order, a
// linear scan finds the first unmarked row that shows it and hands it to `step`.
void rowsPasses(benchmark::State& state, const Run& run, const RowStep& step, Left left) {
    runPasses(state, run, [&](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = modelFor(run.documents, isolated, own);
        Rows rows;
        {
            Table table(sizedFor(shared), kGrowthStep);
            openAndAppend(shared, table);
            detach(*shared.model);
            rows.assign(std::make_move_iterator(table.begin()),
                        std::make_move_iterator(table.end()));
        }
        clock.start();
        for (TevDerivedObject* obj : shared.objects) {
            const auto row = std::find_if(rows.begin(), rows.end(), [obj](const auto& candidate) {
                return candidate.m_derivedObject == obj && !candidate.m_removed;
            });
            if (row != rows.end()) {
                step(obj, rows, row);
            }
        }
        clock.stop();
        return leaves(rows, shared, left);
    });
}

// (a) A default table, which grows by its fixed step while the rows are appended, and
// (b) a table sized for the rows beforehand.
template <bool sized>
void openManager(benchmark::State& state, const Run& run) {
    runPasses(state, run, [&](PassClock& clock, bool isolated) {
        std::unique_ptr<Standing> own;
        Standing& shared = modelFor(run.documents, isolated, own);
        Table table = sized ? Table(sizedFor(shared), kGrowthStep) : Table();
        clock.start();
        openAndAppend(shared, table);
        clock.stop();
        detach(*shared.model);
        return leaves(table, shared, Left::EveryRow);
    });
}

void removeEveryDocumentsRows(Standing& shared, Table& table) {
    for (TevDerivedDocument* doc : shared.docs) {
        doc->removeDocManInformations(&table);
    }
}

// (c) Refreshing the rows of every document, with the manager open.
void libraryRefreshRows(benchmark::State& state, const Run& run) {
    const TableStep refresh = [](Standing& shared, Table& table) {
        for (TevDerivedDocument* doc : shared.docs) {
            doc->updateDocManInformations(&table);
        }
    };
    tablePasses(state, run, true, false, {}, refresh, Left::EveryRow);
}

void baselineRefreshRows(benchmark::State& state, const Run& run) {
    const RowStep refresh = [](TevDerivedObject* obj, Rows&, Rows::iterator row) {
        obj->getUpdate();
        obj->fillDocManObjectData(*row);
    };
    rowsPasses(state, run, refresh, Left::EveryRow);
}

// (d) Taking out the rows of every document with the manager open: they are marked.
void libraryRemoveRowsOpen(benchmark::State& state, const Run& run) {
    tablePasses(state, run, true, false, {}, removeEveryDocumentsRows, Left::Marked);
}

void baselineRemoveRowsOpen(benchmark::State& state, const Run& run) {
    const RowStep mark = [](TevDerivedObject*, Rows&, Rows::iterator row) {
        row->m_removed = true;
    };
    rowsPasses(state, run, mark, Left::Marked);
}

// (e) Closing the manager with every row marked: the close erases them all. The marks
// are set directly, as (d) leaves them, so that the state builds in linear time.
void libraryCloseManager(benchmark::State& state, const Run& run) {
    const TableStep markAll = [](Standing& shared, Table& table) {
        for (TevDocManObject& row : table) {
            row.m_removed = true;
        }
        for (TevDerivedDocument* doc : shared.docs) {
            doc->removeFromTable();
        }
    };
    const TableStep close = [](Standing& shared, Table&) {
        shared.model->setDocumentsManagerOpen(false);
    };
    tablePasses(state, run, true, false, markAll, close, Left::Nothing);
}

// (f) Resetting every document while the filled table is attached: with the manager
// open no row may stay unmarked, with it closed every row is erased.
template <bool open>
void resetAll(benchmark::State& state, const Run& run) {
    const TableStep reset = [](Standing& shared, Table&) {
        shared.model->resetDerivedDocs(TevDerDocEnums::eDocTypeAll);
    };
    tablePasses(state, run, open, true, {}, reset, open ? Left::Marked : Left::Nothing);
}

// (g) Erasing the rows of every document, one call per document, with the manager
// closed: each call erases at the front of the table, and every row behind it moves.
void libraryEraseRows(benchmark::State& state, const Run& run) {
    tablePasses(state, run, false, false, {}, removeEveryDocumentsRows, Left::Nothing);
}

void baselineEraseRows(benchmark::State& state, const Run& run) {
    const RowStep erase = [](TevDerivedObject*, Rows& rows, Rows::iterator row) {
        rows.erase(row);
    };
    rowsPasses(state, run, erase, Left::Nothing);
}

} // namespace

std::vector<Operation> rowOperations() {
    return {
        {"OpenUnsized", true, openManager<false>, kLargest, nullptr, 0},
        {"OpenSized", false, openManager<true>, kLargest, nullptr, 0},
        {"RefreshRows", true, libraryRefreshRows, kLargest, baselineRefreshRows, kUpTo40k},
        {"RemoveRowsOpen", true, libraryRemoveRowsOpen, kLargest, baselineRemoveRowsOpen, kUpTo40k},
        {"CloseManager", false, libraryCloseManager, kLargest, nullptr, 0},
        {"ResetOpen", true, resetAll<true>, kLargest, nullptr, 0},
        {"ResetClosed", true, resetAll<false>, kLargest, nullptr, 0},
        {"EraseRows", true, libraryEraseRows, kUpTo40k, baselineEraseRows, kUpTo40k},
    };
}

} // namespace lumbench
