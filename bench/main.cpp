// lum-bench: every operation on the library and on its standard-library baseline, at
// 4,000 and at 40,000 documents. With --benchmark_format=json the results go to
// standard output as JSON and a line per finished benchmark goes to standard error,
// so that a long run shows how far it got. Any assertion the library reports fails the
// run: the benchmark host must use the library within its contract.
#include "BenchSuite.h"

#include "TevAssert.h"

#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <string>
#include <utility>
#include <vector>

namespace lumbench {

void setItems(benchmark::State& state, double items) {
    state.counters["items"] = benchmark::Counter(items);
}

namespace {

constexpr int kSizes[] = {4000, 40000};

const Operation kOperations[] = {
    {"RegisterAll", libraryRegisterAll, baselineRegisterAll, Style::Passes},
    {"LookupByKey", libraryLookupByKey, baselineLookupByKey, Style::Shared},
    {"UnregistMiss", libraryUnregistMiss, baselineUnregistMiss, Style::Shared},
    {"WalkDocs", libraryWalkDocs, baselineWalkDocs, Style::Shared},
    {"GetAtId", libraryGetAtId, baselineGetAtId, Style::Shared},
    {"GetAtName", libraryGetAtName, baselineGetAtName, Style::Shared},
    {"ObjectsOfTypeAll", libraryObjectsOfTypeAll, baselineObjectsOfTypeAll, Style::Shared},
    {"ObjectsOfTypeDetail", libraryObjectsOfTypeDetail, baselineObjectsOfTypeDetail, Style::Shared},
    {"CheckUpdReq", libraryCheckUpdReq, baselineCheckUpdReq, Style::Shared},
    {"DrawingNumbersLists", libraryDrawingNumbersLists, baselineDrawingNumbersLists, Style::Heavy},
    {"DrawingNumbersTables", libraryDrawingNumbersTables, baselineDrawingNumbersTables,
     Style::Heavy},
    {"OpenAppendRows", libraryOpenAppendRows, baselineOpenAppendRows, Style::Heavy},
    {"OpenAppendRowsStep8", libraryOpenAppendRowsStep8, baselineOpenAppendRowsStep8, Style::Heavy},
    {"RefreshRows", libraryRefreshRows, baselineRefreshRows, Style::Heavy},
    {"RemoveRowsClosed", libraryRemoveRowsClosed, baselineRemoveRowsClosed, Style::Heavy},
    {"RemoveRowsOpen", libraryRemoveRowsOpen, baselineRemoveRowsOpen, Style::Heavy},
    {"CloseManager", libraryCloseManager, baselineCloseManager, Style::Heavy},
    {"ResetWithTable", libraryResetWithTable, baselineResetWithTable, Style::Heavy},
    {"DestroyModel", libraryDestroyModel, baselineDestroyModel, Style::Passes},
};

// Shared-model benchmarks run at least this long: the suite has to fit in a few
// minutes, and their passes are short and many.
constexpr double kMinSeconds = 0.2;

void registerAll() {
    for (const Operation& operation : kOperations) {
        for (int documents : kSizes) {
            const Run run{documents, operation.style == Style::Heavy && documents > kSizes[0]};
            const std::string suffix =
                std::string("/") + operation.name + "/" + std::to_string(documents);
            const std::pair<const char*, Body> sides[] = {{"Library", operation.library},
                                                          {"Baseline", operation.baseline}};
            for (const auto& [side, body] : sides) {
                benchmark::internal::Benchmark* bench = benchmark::RegisterBenchmark(
                    (side + suffix).c_str(),
                    [body = body, run](benchmark::State& state) { body(state, run); });
                bench->UseManualTime()->Unit(benchmark::kMicrosecond);
                if (operation.style == Style::Shared) {
                    bench->MinTime(kMinSeconds);
                } else {
                    bench->Iterations(1); // the pass runner repeats the pass itself
                }
            }
        }
    }
}

// The JSON reporter, telling on standard error which benchmark just finished.
class ProgressJsonReporter : public benchmark::JSONReporter {
public:
    void ReportRuns(const std::vector<benchmark::BenchmarkReporter::Run>& reports) override {
        benchmark::JSONReporter::ReportRuns(reports);
        for (const benchmark::BenchmarkReporter::Run& report : reports) {
            const auto capped = report.counters.find("capped");
            const bool wasCapped = capped != report.counters.end() && capped->second.value > 0;
            std::fprintf(stderr, "lum-bench: %-34s %14.1f us%s\n", report.benchmark_name().c_str(),
                         report.GetAdjustedRealTime(),
                         wasCapped ? " or more (stopped at the cap)" : "");
        }
    }
};

// The allocator serves every block of up to 32 MB from its heap and keeps what is freed,
// from the start: by default it maps large blocks separately until the first frees
// raise that threshold, so the cost of growing a large table would depend on what ran
// before it in the process.
void fixAllocator() {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
}

bool wantsJson(int argc, char** argv) {
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--benchmark_format=json") == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

} // namespace lumbench

int main(int argc, char** argv) {
    using namespace lumbench;
    fixAllocator();
    const bool json = wantsJson(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    char cap[32];
    std::snprintf(cap, sizeof cap, "%g", capSeconds());
    benchmark::AddCustomContext("lum_cap_seconds", cap);
    benchmark::AddCustomContext("lum_build_type", LUM_BENCH_BUILD_TYPE);
    TevAssert::setHandler(countAssertion);
    installLibraryHost();
    registerAll();
    for (int documents : kSizes) {
        prepareLibraryModel(documents);
        prepareBaselineModel(documents);
    }
    if (json) {
        ProgressJsonReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    releaseBaselineModels();
    releaseLibraryHost();
    TevAssert::setHandler(nullptr);
    if (assertionsReported() != 0) {
        std::fprintf(stderr, "lum-bench: the library reported %d assertion(s)\n",
                     assertionsReported());
        return 1;
    }
    return 0;
}
