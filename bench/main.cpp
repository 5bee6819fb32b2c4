// lum-bench: the library's operations at 4,000, 40,000 and 100,000 documents, and
// their baselines, reported as any Google Benchmark binary reports (make bench keeps
// the JSON for tools/bench-table.py). Any assertion the library reports fails the run:
// the benchmark host must use the library within its contract.
#include "Suite.h"

#include "TevAssert.h"

#include <cstdio>
#include <malloc.h>
#include <string>
#include <sys/resource.h>

namespace lumbench {
namespace {

void registerSide(const char* side, const Operation& operation, Body body, int documents) {
    const Run run{documents, operation.heavy && documents > kSizes[0]};
    const std::string name =
        std::string(side) + "/" + operation.name + "/" + std::to_string(documents);
    benchmark::RegisterBenchmark(name.c_str(),
                                 [body, run](benchmark::State& state) { body(state, run); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(1); // the pass runner repeats the pass itself
}

void registerAll() {
    for (const std::vector<Operation>& operations : {registryOperations(), rowOperations()}) {
        for (const Operation& operation : operations) {
            for (int documents : kSizes) {
                if (documents <= operation.libraryUpTo) {
                    registerSide("Library", operation, operation.library, documents);
                }
                if (operation.baseline != nullptr && documents <= operation.baselineUpTo) {
                    registerSide("Baseline", operation, operation.baseline, documents);
                }
            }
        }
    }
}

// Large blocks come from the heap and freed memory is kept, from the start: by default
// the allocator changes both as it runs, so timings would depend on what ran before.
void fixAllocator() {
    constexpr int kMmapThreshold = 32 * 1024 * 1024;
    constexpr int kTrimThreshold = 1024 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
}

long peakResidentKib() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss; // KiB on Linux
}

// Builds the shared models, the largest first, and records the process's peak resident
// size right after the largest model was built, and how much that model raised it.
void prepareShared() {
    records(kLargest);
    const long before = peakResidentKib();
    standing(kLargest);
    const long after = peakResidentKib();
    benchmark::AddCustomContext("lum_peak_rss_kib", std::to_string(after));
    benchmark::AddCustomContext("lum_model_rss_kib", std::to_string(after - before));
    for (int documents : kSizes) {
        standing(documents);
        prepareBaseline(documents);
    }
}

} // namespace

} // namespace lumbench

int main(int argc, char** argv) {
    using namespace lumbench;
    fixAllocator();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::AddCustomContext("lum_cap_seconds", std::to_string(capSeconds()));
    benchmark::AddCustomContext("lum_build_type", LUM_BENCH_BUILD_TYPE);
    benchmark::AddCustomContext("lum_library_commit", LUM_BENCH_COMMIT);
    TevAssert::setHandler(countAssertion);
    TevDerivedDocumentsModel::setFactory(&factory());
    registerAll();
    prepareShared();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    releaseShared();
    TevDerivedDocumentsModel::setFactory(nullptr);
    TevAssert::setHandler(nullptr);
    if (assertionsReported() != 0) {
        std::fprintf(stderr, "lum-bench: the library reported %d assertion(s)\n",
                     assertionsReported());
        return 1;
    }
    return 0;
}
