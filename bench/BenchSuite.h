// The operations of lum-bench. Every operation has two bodies: "Library" runs it on
// the library through the benchmark host, "Baseline" does the same essential work with
// the standard library. Both are registered at each model size as
// "<Library|Baseline>/<operation>/<documents>", which tools/bench-table.py pairs up.
//
// Every body times only the operation itself (manual timing): the state it needs is
// built before the clock starts and taken down after it stops. Operations that only
// read share one model per size and let Google Benchmark choose the iterations; the
// others build fresh state for every pass (PassRunner.h). The counter "items" tells
// how many units one iteration handles (documents, lookups or calls), so that a time
// per pass can also be read per unit.
#ifndef LUM_BENCH_BENCH_SUITE_H
#define LUM_BENCH_BENCH_SUITE_H

#include "PassRunner.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace lumbench {

// What one registered benchmark measures: the model size, and for operations timed in
// passes whether the single pass runs isolated in a child process.
struct Run {
    int documents;
    bool isolated;
};

using Body = void (*)(benchmark::State& state, const Run& run);

enum class Style {
    // Reads a shared model; Google Benchmark chooses the iterations.
    Shared,
    // Fresh state for every pass, repeated by the pass runner.
    Passes,
    // As Passes, but possibly quadratic in the library: at the large size one pass,
    // isolated, under the time cap.
    Heavy,
};

struct Operation {
    const char* name;
    Body library;
    Body baseline;
    Style style;
};

// Measures the timed region of one iteration of a shared-model benchmark.
class Stopwatch {
public:
    void start() { m_start = Clock::now(); }
    void stop(benchmark::State& state) {
        const std::chrono::duration<double> elapsed = Clock::now() - m_start;
        state.SetIterationTime(elapsed.count());
    }

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point m_start;
};

// How many lookups getAt makes per iteration, at registry positions spread evenly.
constexpr int kGetAtCalls = 16;

void setItems(benchmark::State& state, double items);

// The library's bodies (LibraryBenchmarks.cpp).
void libraryRegisterAll(benchmark::State& state, const Run& run);
void libraryLookupByKey(benchmark::State& state, const Run& run);
void libraryUnregistMiss(benchmark::State& state, const Run& run);
void libraryWalkDocs(benchmark::State& state, const Run& run);
void libraryGetAtId(benchmark::State& state, const Run& run);
void libraryGetAtName(benchmark::State& state, const Run& run);
void libraryObjectsOfTypeAll(benchmark::State& state, const Run& run);
void libraryObjectsOfTypeDetail(benchmark::State& state, const Run& run);
void libraryCheckUpdReq(benchmark::State& state, const Run& run);
void libraryDrawingNumbersLists(benchmark::State& state, const Run& run);
void libraryDrawingNumbersTables(benchmark::State& state, const Run& run);
void libraryOpenAppendRows(benchmark::State& state, const Run& run);
void libraryOpenAppendRowsStep8(benchmark::State& state, const Run& run);
void libraryRefreshRows(benchmark::State& state, const Run& run);
void libraryRemoveRowsClosed(benchmark::State& state, const Run& run);
void libraryRemoveRowsOpen(benchmark::State& state, const Run& run);
void libraryCloseManager(benchmark::State& state, const Run& run);
void libraryResetWithTable(benchmark::State& state, const Run& run);
void libraryDestroyModel(benchmark::State& state, const Run& run);
// Installs the benchmark host's factory; releasing disposes of the shared models first.
// Preparing builds the shared model of a size before anything is measured, so that its
// documents lie in memory as a freshly loaded model's do, whatever runs before.
void installLibraryHost();
void prepareLibraryModel(int documents);
void releaseLibraryHost();

// The standard-library baselines (BaselineBenchmarks.cpp).
void baselineRegisterAll(benchmark::State& state, const Run& run);
void baselineLookupByKey(benchmark::State& state, const Run& run);
void baselineUnregistMiss(benchmark::State& state, const Run& run);
void baselineWalkDocs(benchmark::State& state, const Run& run);
void baselineGetAtId(benchmark::State& state, const Run& run);
void baselineGetAtName(benchmark::State& state, const Run& run);
void baselineObjectsOfTypeAll(benchmark::State& state, const Run& run);
void baselineObjectsOfTypeDetail(benchmark::State& state, const Run& run);
void baselineCheckUpdReq(benchmark::State& state, const Run& run);
void baselineDrawingNumbersLists(benchmark::State& state, const Run& run);
void baselineDrawingNumbersTables(benchmark::State& state, const Run& run);
void baselineOpenAppendRows(benchmark::State& state, const Run& run);
void baselineOpenAppendRowsStep8(benchmark::State& state, const Run& run);
void baselineRefreshRows(benchmark::State& state, const Run& run);
void baselineRemoveRowsClosed(benchmark::State& state, const Run& run);
void baselineRemoveRowsOpen(benchmark::State& state, const Run& run);
void baselineCloseManager(benchmark::State& state, const Run& run);
void baselineResetWithTable(benchmark::State& state, const Run& run);
void baselineDestroyModel(benchmark::State& state, const Run& run);
void prepareBaselineModel(int documents);
void releaseBaselineModels();

} // namespace lumbench

#endif // LUM_BENCH_BENCH_SUITE_H
