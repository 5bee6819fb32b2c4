#include "PassRunner.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumbench {

namespace {

// Repeating a pass: enough timed work for a stable mean, bounded in passes and time.
constexpr double kMinTimedSeconds = 0.2;
constexpr int kMinPasses = 3;
constexpr double kLongPassSeconds = 0.5;
constexpr int kMaxPasses = 30;
constexpr double kMaxWallSeconds = 3.0;
// An isolated pass: how long its state may take to build, and to check and take down.
constexpr int kSetupMilliseconds = 300 * 1000;
constexpr int kTeardownMilliseconds = 300 * 1000;

int assertionCount = 0;

// Messages of an isolated pass: a start byte, then the time, then the outcome.
struct Stopped {
    double seconds;
};

struct Finished {
    int ok;
    int assertions;
};

bool writeAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Reads `size` bytes within `milliseconds`; false on timeout, end of file or error.
bool readWithin(int fd, void* data, std::size_t size, int milliseconds) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    char* bytes = static_cast<char*>(data);
    while (size > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t got = ::read(fd, bytes, size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

void setCounters(benchmark::State& state, int passes, bool capped) {
    state.counters["passes"] = benchmark::Counter(passes);
    state.counters["capped"] = benchmark::Counter(capped ? 1 : 0);
}

} // namespace

class PassRunner {
public:
    static void repeated(benchmark::State& state, const Pass& pass);
    static void isolated(benchmark::State& state, const Pass& pass);
};

void PassClock::start() {
    if (m_parent >= 0) {
        const char started = 1;
        writeAll(m_parent, &started, 1);
    }
    m_start = Clock::now();
}

void PassClock::stop() {
    const std::chrono::duration<double> elapsed = Clock::now() - m_start;
    m_seconds = elapsed.count();
    if (m_parent >= 0) {
        const Stopped stopped{m_seconds};
        writeAll(m_parent, &stopped, sizeof stopped);
    }
}

void PassRunner::repeated(benchmark::State& state, const Pass& pass) {
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const Clock::time_point begun = Clock::now();
        double timed = 0;
        int passes = 0;
        bool ok = true;
        for (;;) {
            PassClock clock;
            ok = pass(clock, false) && ok;
            timed += clock.seconds();
            ++passes;
            const std::chrono::duration<double> wall = Clock::now() - begun;
            const bool enough = timed >= kMinTimedSeconds &&
                                (passes >= kMinPasses || timed / passes >= kLongPassSeconds);
            if (enough || passes >= kMaxPasses || wall.count() >= kMaxWallSeconds) {
                break;
            }
        }
        state.SetIterationTime(timed / passes);
        setCounters(state, passes, false);
        if (!ok) {
            state.SkipWithError("the operation's result was wrong");
        }
    }
}

void PassRunner::isolated(benchmark::State& state, const Pass& pass) {
    for (auto _ : state) {
        int channel[2];
        if (::pipe(channel) != 0) {
            state.SkipWithError("no pipe for an isolated pass");
            return;
        }
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child < 0) {
            ::close(channel[0]);
            ::close(channel[1]);
            state.SkipWithError("no child process for an isolated pass");
            return;
        }
        if (child == 0) {
            ::close(channel[0]);
            PassClock clock;
            clock.m_parent = channel[1];
            const int before = assertionsReported();
            const bool ok = pass(clock, true);
            const Finished finished{ok ? 1 : 0, assertionsReported() - before};
            writeAll(channel[1], &finished, sizeof finished);
            ::_exit(0);
        }
        ::close(channel[1]);
        const double cap = capSeconds();
        char started = 0;
        Stopped stopped{0};
        Finished finished{0, 0};
        bool capped = false;
        const char* failure = nullptr;
        if (!readWithin(channel[0], &started, 1, kSetupMilliseconds)) {
            failure = "an isolated pass did not start its operation";
        } else if (!readWithin(channel[0], &stopped, sizeof stopped,
                               static_cast<int>(cap * 1000))) {
            capped = true;
        } else if (!readWithin(channel[0], &finished, sizeof finished, kTeardownMilliseconds)) {
            failure = "an isolated pass did not finish";
        }
        if (capped || failure != nullptr) {
            ::kill(child, SIGKILL);
        }
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        ::close(channel[0]);
        assertionCount += finished.assertions;
        state.SetIterationTime(capped ? cap : stopped.seconds);
        setCounters(state, 1, capped);
        if (failure != nullptr) {
            state.SkipWithError(failure);
        } else if (!capped && finished.ok == 0) {
            state.SkipWithError("the operation's result was wrong");
        }
    }
}

void runPasses(benchmark::State& state, bool isolated, const Pass& pass) {
    if (isolated) {
        PassRunner::isolated(state, pass);
    } else {
        PassRunner::repeated(state, pass);
    }
}

double capSeconds() {
    const char* text = std::getenv("LUM_BENCH_CAP_SECONDS");
    const double cap = text != nullptr ? std::atof(text) : 0;
    return cap > 0 ? cap : 20.0;
}

void countAssertion(const char* expression, const char* file, int line) {
    if (++assertionCount <= 5) {
        std::fprintf(stderr, "lum-bench: assertion \"%s\" reported at %s:%d\n", expression, file,
                     line);
    }
}

int assertionsReported() {
    return assertionCount;
}

} // namespace lumbench
