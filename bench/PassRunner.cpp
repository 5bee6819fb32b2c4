#include "Suite.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lumbench {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

struct PassOutcome {
    bool ok = true;
    int passes = 0;
    double seconds = 0;            // the median pass
    bool capped = false;           // the first pass ran past the cap
    const char* failure = nullptr; // why an isolated run gave no figure
};

// What an isolated run tells its parent, in memory the two processes share; the
// steady clock is the system's monotonic clock, the same in both.
struct ChildReport {
    enum Phase { Building, Timing, Repeating, Finished };
    std::atomic<int> phase{Building};
    std::atomic<int> assertions{0}; // kept up to date: a stopped child tells them too
    Clock::time_point started;
    PassOutcome outcome;
};

namespace {

// Each pass starts with the per-core caches cleared by writing this much elsewhere, so
// that the 4,000-document model its setup leaves in the level-2 cache starts from the
// same cache level as larger ones, and growth shows the algorithm.
constexpr std::size_t kEvictedBytes = std::size_t{16} << 20;

void clearCoreCaches() {
    static std::vector<unsigned char> scratch(kEvictedBytes);
    static unsigned char round = 0;
    for (std::size_t at = 0; at < scratch.size(); at += 64) {
        scratch[at] = static_cast<unsigned char>(scratch[at] + round + 1);
    }
    ++round;
    benchmark::ClobberMemory();
}

// Repeating a pass: enough timed work for a stable figure, bounded in passes and time.
constexpr double kMinTimedSeconds = 0.2;
constexpr int kMinPasses = 3;
constexpr double kLongPassSeconds = 0.5;
constexpr int kMaxPasses = 50;
constexpr double kMaxWallSeconds = 3.0;
constexpr double kDefaultCapSeconds = 20.0;
// How long an isolated run may take outside its first operation, and how often the
// parent looks at it.
constexpr double kUntimedLimitSeconds = 300;
constexpr std::chrono::milliseconds kPollInterval(5);
constexpr int kReportedAssertions = 5;

int assertionCount = 0;
ChildReport* childReport = nullptr; // in a child process: its report

} // namespace

struct PassRunner {
    static PassOutcome repeat(const Pass& pass, bool isolated, ChildReport* report) {
        const Clock::time_point begun = Clock::now();
        std::vector<double> times;
        bool ok = true;
        double timed = 0;
        for (;;) {
            PassClock clock;
            clock.m_report = times.empty() ? report : nullptr;
            ok = pass(clock, isolated) && ok;
            times.push_back(clock.seconds());
            timed += clock.seconds();
            const int passes = static_cast<int>(times.size());
            const bool enough = timed >= kMinTimedSeconds &&
                                (passes >= kMinPasses || timed / passes >= kLongPassSeconds);
            if (enough || passes >= kMaxPasses ||
                Seconds(Clock::now() - begun).count() >= kMaxWallSeconds) {
                break;
            }
        }
        const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
        std::nth_element(times.begin(), middle, times.end());
        return PassOutcome{ok, static_cast<int>(times.size()), *middle};
    }

    // Waits for the child: its first operation at most the cap, the rest within limits.
    static PassOutcome await(pid_t pid, ChildReport& report) {
        Clock::time_point phaseBegun = Clock::now();
        int lastPhase = ChildReport::Building;
        for (int status = 0;; std::this_thread::sleep_for(kPollInterval)) {
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                const bool finished = report.phase.load() == ChildReport::Finished;
                return finished ? report.outcome : failed("an isolated pass ended unfinished");
            }
            const int phase = report.phase.load();
            if (phase != lastPhase) {
                lastPhase = phase;
                phaseBegun = phase == ChildReport::Timing ? report.started : Clock::now();
            }
            const double limit = phase == ChildReport::Timing ? capSeconds() : kUntimedLimitSeconds;
            if (phase != ChildReport::Finished &&
                Seconds(Clock::now() - phaseBegun).count() > limit) {
                ::kill(pid, SIGKILL);
                while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
                }
                return phase == ChildReport::Timing
                           ? PassOutcome{true, 1, capSeconds(), true}
                           : failed("an isolated pass did not start or finish in time");
            }
        }
    }

    static PassOutcome failed(const char* why) { return PassOutcome{false, 0, 0, false, why}; }

    static PassOutcome isolated(const Pass& pass) {
        void* shared = ::mmap(nullptr, sizeof(ChildReport), PROT_READ | PROT_WRITE,
                              MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (shared == MAP_FAILED) {
            return failed("no shared memory for an isolated pass");
        }
        ChildReport* report = ::new (shared) ChildReport();
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            assertionCount = 0;
            childReport = report;
            report->outcome = repeat(pass, true, report);
            report->phase.store(ChildReport::Finished);
            ::_exit(0);
        }
        const PassOutcome outcome =
            pid < 0 ? failed("no child process for an isolated pass") : await(pid, *report);
        assertionCount += report->assertions.load();
        report->~ChildReport();
        ::munmap(shared, sizeof(ChildReport));
        return outcome;
    }
};

void PassClock::start() {
    clearCoreCaches();
    m_start = Clock::now();
    if (m_report != nullptr) {
        m_report->started = m_start;
        m_report->phase.store(ChildReport::Timing);
    }
}

void PassClock::stop() {
    m_seconds = Seconds(Clock::now() - m_start).count();
    if (m_report != nullptr) {
        m_report->phase.store(ChildReport::Repeating);
    }
}

void runPasses(benchmark::State& state, const Run& run, const Pass& pass) {
    for (auto _ : state) {
        const PassOutcome outcome =
            run.isolated ? PassRunner::isolated(pass) : PassRunner::repeat(pass, false, nullptr);
        state.SetIterationTime(outcome.seconds);
        state.counters["passes"] = benchmark::Counter(outcome.passes);
        state.counters["capped"] = benchmark::Counter(outcome.capped ? 1 : 0);
        if (!outcome.ok) {
            state.SkipWithError(outcome.failure != nullptr ? outcome.failure
                                                           : "the operation's result was wrong");
        }
    }
}

double capSeconds() {
    const char* text = std::getenv("LUM_BENCH_CAP_SECONDS");
    const double cap = text != nullptr ? std::atof(text) : 0;
    return cap > 0 ? cap : kDefaultCapSeconds;
}

void countAssertion(const char* expression, const char* file, int line) {
    if (++assertionCount <= kReportedAssertions) {
        std::fprintf(stderr, "lum-bench: assertion \"%s\" reported at %s:%d\n", expression, file,
                     line);
    }
    if (childReport != nullptr) {
        childReport->assertions.store(assertionCount);
    }
}

int assertionsReported() {
    return assertionCount;
}

} // namespace lumbench
