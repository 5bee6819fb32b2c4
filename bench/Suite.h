// The operations of lum-bench, registered per model size as "Library/<op>/<documents>"
// and, where a host would write the thing itself, "Baseline/<op>/<documents>". Each runs
// in passes that build or take their state, time the operation between PassClock::start
// and stop, then check and take down what they built; passes repeat (three, or up to
// fifty, a few seconds in all) and the median is the one iteration. A heavy operation,
// maybe quadratic, runs above 4,000 documents in a child process that builds all it
// touches; after the cap (LUM_BENCH_CAP_SECONDS, 20 by default) it is stopped, "capped".
#ifndef LUM_BENCH_SUITE_H
#define LUM_BENCH_SUITE_H

#include "BenchHost.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace lumbench {

constexpr int kSizes[] = {4000, 40000, 100000};
constexpr int kLargest = kSizes[2];
// The quadratic baselines, and erasing rows one call at a time, stop at 40,000.
constexpr int kUpTo40k = kSizes[1];

struct ChildReport;

class PassClock {
public:
    void start();
    void stop();
    double seconds() const { return m_seconds; }

private:
    friend struct PassRunner;

    std::chrono::steady_clock::time_point m_start;
    double m_seconds = 0;
    ChildReport* m_report = nullptr; // the first pass of an isolated run reports its phases
};

// One pass; `isolated`: it runs in a child process and builds its own state. False
// when the pass found the operation's result wrong.
using Pass = std::function<bool(PassClock& clock, bool isolated)>;

struct Run {
    int documents;
    bool isolated;
};

void runPasses(benchmark::State& state, const Run& run, const Pass& pass);
double capSeconds();
// Assertions the library reported, counted by the handler lum-bench installs.
void countAssertion(const char* expression, const char* file, int line);
int assertionsReported();

using Body = void (*)(benchmark::State& state, const Run& run);

struct Operation {
    const char* name;
    bool heavy;
    Body library;
    int libraryUpTo; // the largest size timed
    Body baseline;   // null where a host would not write the thing itself
    int baselineUpTo;
};

std::vector<Operation> registryOperations(); // Registry.cpp
std::vector<Operation> rowOperations();      // Rows.cpp

// A registered model with the infos of its documents and objects built, as a model
// that has been shown once has them.
struct Standing {
    std::unique_ptr<BenchModel> model;
    std::vector<TevDerivedDocument*> docs;  // registry order
    std::vector<TevDerivedObject*> objects; // document by document
};

// The model that the passes of a size share, built on first use.
Standing& standing(int documents);
// The shared model, or in a child process one of its own in `own`: a child that wrote
// to the parent's pages would time the copies the kernel makes of them.
Standing& modelFor(int documents, bool isolated, std::unique_ptr<Standing>& own);
// Builds the shared host registry of a size that the baselines use.
void prepareBaseline(int documents);
void releaseShared();

} // namespace lumbench

#endif // LUM_BENCH_SUITE_H
