// Timing of operations that need fresh state for every pass (registering into an empty
// model, removing every row, resetting, destroying) and of the heavy ones, which may
// be quadratic in the library.
//
// A pass builds its state, runs the operation between PassClock::start and stop, then
// checks and takes down its state; only the operation is timed. The runner repeats the
// pass itself within one benchmark iteration, until the operation has run for the
// minimum time (at least three passes unless a pass is long, at most thirty, and no
// more than a few seconds in all), and reports the mean time per pass.
//
// An isolated pass runs once, in a child process, and the parent waits for its
// operation at most the cap (LUM_BENCH_CAP_SECONDS, 20 by default): a pass that takes
// longer is stopped and reported as taking the cap, with the counter "capped" set, so
// that one quadratic operation at 40,000 documents cannot hold up the whole run. The
// child builds everything it touches itself, after the fork.
#ifndef LUM_BENCH_PASS_RUNNER_H
#define LUM_BENCH_PASS_RUNNER_H

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

namespace lumbench {

class PassClock {
public:
    void start();
    void stop();
    double seconds() const { return m_seconds; }

private:
    friend class PassRunner;
    using Clock = std::chrono::steady_clock;

    Clock::time_point m_start;
    double m_seconds = 0;
    int m_parent = -1; // in an isolated pass: the pipe to the waiting parent
};

// One pass; `isolated` says that it runs alone in a child process. False when the
// pass found the operation's result wrong.
using Pass = std::function<bool(PassClock& clock, bool isolated)>;

// Runs `pass` repeatedly in this process, or once isolated, and reports the time per
// pass as the benchmark's single iteration. Register such benchmarks with
// Iterations(1) and UseManualTime.
void runPasses(benchmark::State& state, bool isolated, const Pass& pass);

// The cap of an isolated pass, in seconds.
double capSeconds();

// Assertions the library reported, counted by the handler lum-bench installs; an
// isolated pass sends its count to the parent.
void countAssertion(const char* expression, const char* file, int line);
int assertionsReported();

} // namespace lumbench

#endif // LUM_BENCH_PASS_RUNNER_H
