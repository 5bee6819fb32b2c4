# Front door of the project: every target configures and drives CMake with Ninja.
#   make demo    builds everything and runs the reference host on the bundled sample
#   make test    builds and runs every test, first normally, then under
#                AddressSanitizer and UndefinedBehaviorSanitizer, then builds the
#                reference host against the installed package
#   make test-windows  cross builds for 64-bit Windows with MinGW-w64 (DLLs, tests and
#                the reference host) and runs every test under Wine
#   make memcheck  builds a Debug build without sanitizers and runs every test program
#                under valgrind memcheck; any memory error or leaked byte fails
#   make coverage  builds with gcc --coverage, runs every test and fails when the line
#                or branch coverage of the library and the root layer is below the bar
#   make fuzz    builds the libFuzzer targets of fuzz/ with clang (ASan + UBSan) and runs
#                each for FUZZ_SECONDS (default 30), two at a time; any finding fails
#   make bench   builds lum-bench (bench/) optimised and times the library's operations
#                and their baselines at 4,000, 40,000 and 100,000 documents, then
#                prints the table of tools/bench-table.py (a few minutes)
#   make bench-host  builds the reference host and times 'derived-docs show --time' on a
#                generated model of 100,000 documents (tools/make-big-model.py)
#   make abi-check  compares the libraries' ABI with the checked-in baselines and checks
#                that no library exports a symbol of the standard library or the tests
#   make mutate  runs seeded one-line mutants of the sources against the test suite
#                (MUTANTS, MUTATE_SEED) and prints the kill rate and every survivor
#   make format  reformats the sources with the repository's .clang-format

BUILD_ROOT ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS := -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON

SANITIZER_ENV := \
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.h' '*.cpp' 2>/dev/null)

INSTALL_CHECK := $(abspath $(BUILD_ROOT))/install-check

.PHONY: all deps build demo test test-normal test-sanitize test-install test-windows \
	mutate deps-windows memcheck deps-memcheck coverage deps-coverage abi-check abi-update \
	fuzz deps-fuzz bench deps-bench format format-check clean

all: build

deps:
	@tools/ensure-deps.sh build

build: deps
	cmake -S . -B $(BUILD_ROOT)/normal $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_ROOT)/normal -j $(JOBS)

demo: build
	$(BUILD_ROOT)/normal/examples/reference-host/derived-docs show

test: test-normal test-sanitize test-install format-check

test-normal: build
	ctest --test-dir $(BUILD_ROOT)/normal --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(BUILD_ROOT)/sanitize $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUM_SANITIZE=ON
	cmake --build $(BUILD_ROOT)/sanitize -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(BUILD_ROOT)/sanitize --output-on-failure -j $(JOBS)

# Installs into a scratch prefix and builds the reference host on its own against the
# installed package, as a host project would, then runs it on the sample.
test-install: build
	rm -rf $(INSTALL_CHECK)
	cmake --install $(BUILD_ROOT)/normal --prefix $(INSTALL_CHECK)/prefix
	cmake -S examples/reference-host -B $(INSTALL_CHECK)/host $(CMAKE_FLAGS) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_PREFIX_PATH=$(INSTALL_CHECK)/prefix
	cmake --build $(INSTALL_CHECK)/host -j $(JOBS)
	$(INSTALL_CHECK)/host/derived-docs show > $(INSTALL_CHECK)/show.txt
	@echo "test-install: the reference host builds and runs against the installed package"

# Mutation testing of the suite (tools/mutate.py): MUTANTS seeded one-line mutants of the
# library, the root layer and the host layers, each built incrementally in a Debug build
# without sanitizers and run against every test. Warnings are not errors here, so that a
# mutant that only leaves a variable unused still builds. Executables are not relinked
# when only a shared library changed, which keeps a mutant to one compile and one link.
# The results go to $(MUTATE_BUILD)/mutants-<seed>.json; MUTATE_BASELINE=<json> replays
# an earlier run's mutants instead, writes mutants-<baseline name>.json and fails when a
# mutant the baseline killed survives.
MUTATE_BUILD := $(BUILD_ROOT)/mutate
MUTANTS ?= 200
MUTATE_SEED ?= 1
MUTATE_BASELINE ?=

mutate: deps
	cmake -S . -B $(MUTATE_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUM_SANITIZE=OFF \
		-DCMAKE_LINK_DEPENDS_NO_SHARED=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF
	cmake --build $(MUTATE_BUILD) -j $(JOBS)
	python3 tools/mutate.py $(MUTATE_BUILD) --mutants $(MUTANTS) --seed $(MUTATE_SEED) \
		--json $(MUTATE_BUILD)/mutants-$(if $(MUTATE_BASELINE),$(basename $(notdir $(MUTATE_BASELINE))),$(MUTATE_SEED)).json \
		$(if $(MUTATE_BASELINE),--baseline $(MUTATE_BASELINE))

# The Windows build: MinGW-w64 compiles, Wine runs. GoogleTest is built from Debian's
# sources with the cross compiler; every .exe and .dll lands in build/windows/bin.
# A test may be started up to three times: Wine occasionally fails to start a program
# that runs beside others; a failure of the test itself fails every time.
WINDOWS_BUILD := $(BUILD_ROOT)/windows

deps-windows:
	@tools/ensure-deps.sh build windows

test-windows: deps-windows
	cmake -S . -B $(WINDOWS_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchain-mingw-w64.cmake) -DLUM_GTEST_FROM_SOURCE=ON
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	$(WINDOWS_BUILD)/run-under-wine.sh --prepare
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS) --repeat until-pass:3
	$(WINDOWS_BUILD)/run-under-wine.sh --wait

# Every C++ test program runs once under valgrind memcheck (tools/run-memcheck.py; the
# other tests, scripts such as the interface checks, run without it). Any memcheck
# error and any byte definitely or indirectly lost makes valgrind exit with 99, which
# fails the run; possibly lost and still reachable blocks do not count.
MEMCHECK_BUILD := $(BUILD_ROOT)/memcheck
MEMCHECK_OPTIONS := --tool=memcheck --error-exitcode=99 --leak-check=full \
	--show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
	--track-origins=yes --num-callers=40 --child-silent-after-fork=yes

deps-memcheck:
	@tools/ensure-deps.sh build memcheck

memcheck: deps-memcheck
	cmake -S . -B $(MEMCHECK_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUM_SANITIZE=OFF
	cmake --build $(MEMCHECK_BUILD) -j $(JOBS)
	python3 tools/run-memcheck.py $(MEMCHECK_BUILD) --jobs $(JOBS) \
		-- $(MEMCHECK_OPTIONS)

# Line and branch coverage of the library and the root layer, measured over every test
# with a Debug build at -O0 instrumented by gcc --coverage and summed up by gcovr; below
# COVERAGE_MIN_LINES or COVERAGE_MIN_BRANCHES percent fails. The counters are zeroed
# before and after the build (test discovery runs the programs, and counts of an older
# build would not merge). Not counted as branches: the exception edges g++ adds to
# every call that might throw (--exclude-throw-branches) and the branches it knows to
# be unreachable (--exclude-unreachable-branches). The library never throws, so those
# edges are no decisions of its code and no test could take them. Not counted as lines:
# the empty bodies of the reserved virtual slots, which hold places in the hosts' virtual
# tables and have no behaviour to test. The shared libraries
# keep gcov's runtime to themselves (--exclude-libs), so that they export exactly their
# symbols here too.
COVERAGE_BUILD := $(BUILD_ROOT)/coverage
COVERAGE_MIN_LINES := 95
COVERAGE_MIN_BRANCHES := 85

deps-coverage:
	@tools/ensure-deps.sh build coverage

coverage: deps-coverage
	cmake -S . -B $(COVERAGE_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUM_SANITIZE=OFF \
		-DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS=--coverage \
		"-DCMAKE_SHARED_LINKER_FLAGS=--coverage -Wl,--exclude-libs,libgcov.a"
	find $(COVERAGE_BUILD) -name '*.gcda' -delete
	cmake --build $(COVERAGE_BUILD) -j $(JOBS)
	find $(COVERAGE_BUILD) -name '*.gcda' -delete
	ctest --test-dir $(COVERAGE_BUILD) --output-on-failure -j $(JOBS)
	gcovr --root . --object-directory $(COVERAGE_BUILD) -j $(JOBS) \
		--exclude-directories '.*/CMakeFiles/[0-9.]+$$' \
		--filter 'Sources/Base/LUMDerivedDocumentsBase/' --filter 'Sources/Base/LUMRoots/' \
		--exclude-throw-branches --exclude-unreachable-branches \
		--exclude-lines-by-pattern '.*::reserved\w*\(\) \{\}' \
		--txt $(COVERAGE_BUILD)/coverage.txt --print-summary \
		--fail-under-line $(COVERAGE_MIN_LINES) --fail-under-branch $(COVERAGE_MIN_BRANCHES) \
		|| { echo "coverage: below $(COVERAGE_MIN_LINES)% of lines or $(COVERAGE_MIN_BRANCHES)% of branches; per file: $(COVERAGE_BUILD)/coverage.txt"; exit 1; }
	@echo "coverage: at least $(COVERAGE_MIN_LINES)% of lines and $(COVERAGE_MIN_BRANCHES)% of branches; per file: $(COVERAGE_BUILD)/coverage.txt"

# The libFuzzer targets of fuzz/, built with clang: the libraries carry coverage
# instrumentation, ASan and UBSan; tests and examples are left out of this build.
# tools/run-fuzzers.sh runs every target for FUZZ_SECONDS, FUZZ_JOBS at a time, each on
# a scratch copy of its seed corpus fuzz/corpus/<name>/ in $(FUZZ_BUILD)/work/<name>/
# (with its log and crash files), prints one summary line per target and fails on any
# finding.
FUZZ_BUILD := $(BUILD_ROOT)/fuzz
FUZZ_SECONDS ?= 30
FUZZ_JOBS ?= 2

deps-fuzz:
	@tools/ensure-deps.sh build fuzz

fuzz: deps-fuzz
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DLUM_FUZZ=ON -DLUM_BUILD_TESTS=OFF -DLUM_BUILD_EXAMPLES=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_JOBS)

# The benchmarks of bench/ on an optimised build of their own: lum-bench times the
# library's operations, and their baselines where a host would otherwise write the
# thing itself, at 4,000, 40,000 and 100,000 documents. Its console lines show the run
# as it goes; Google Benchmark's JSON goes to $(BENCH_JSON), from which
# tools/bench-table.py prints per operation the times, the ratios to the baseline, the
# growth from size to size, the targets and the peak memory of the largest model. A
# heavy operation above 4,000 documents runs in a child process that is stopped after
# BENCH_CAP_SECONDS (shown as a lower bound), so that a quadratic one cannot hold up
# the run. BENCH_ARGS passes more options to lum-bench, for example
# BENCH_ARGS=--benchmark_filter=Rows.
BENCH_BUILD := $(BUILD_ROOT)/bench
BENCH_JSON := $(BENCH_BUILD)/lum-bench.json
BENCH_CAP_SECONDS ?= 20
BENCH_ARGS ?=

deps-bench:
	@tools/ensure-deps.sh build bench

bench: deps-bench
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DLUM_BUILD_BENCHMARKS=ON -DLUM_BUILD_TESTS=OFF -DLUM_BUILD_EXAMPLES=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	LUM_BENCH_CAP_SECONDS=$(BENCH_CAP_SECONDS) $(BENCH_BUILD)/bench/lum-bench \
		--benchmark_out=$(BENCH_JSON) --benchmark_out_format=json $(BENCH_ARGS)
	python3 tools/bench-table.py $(BENCH_JSON)

# The reference host on a large model: tools/make-big-model.py writes a scratch folder
# of BENCH_HOST_DOCUMENTS documents (half detail drawings, half NC files) in
# $(BENCH_HOST_MODEL), anew on every run, and `derived-docs show --time` runs on it from
# the normal build. Its rows go to $(BENCH_HOST_OUTPUT); its summary and the time it took
# are printed. The host's target at 100,000 documents is 3 s.
BENCH_HOST_DOCUMENTS ?= 100000
BENCH_HOST_MODEL := $(BUILD_ROOT)/big-model
BENCH_HOST_OUTPUT := $(BUILD_ROOT)/big-model-show.txt

.PHONY: bench-host
bench-host: build
	python3 tools/make-big-model.py $(BENCH_HOST_MODEL) --documents $(BENCH_HOST_DOCUMENTS)
	$(BUILD_ROOT)/normal/examples/reference-host/derived-docs show --time $(BENCH_HOST_MODEL) \
		> $(BENCH_HOST_OUTPUT)
	@tail -n 2 $(BENCH_HOST_OUTPUT)

# Compares the ABI of the built libraries with the checked-in baselines in abi/; fails
# on anything but additions, and on an exported symbol of the standard library or the
# tests. abi-update rewrites the baselines after a deliberate change (not the slot
# listing abi/virtual-slots.txt, which is kept by hand).
abi-check: build
	tools/abi-check.sh $(BUILD_ROOT)/normal

abi-update: build
	tools/abi-check.sh --update $(BUILD_ROOT)/normal

# Checks formatting when clang-format is installed; a machine without it skips the check.
format-check:
	@if [ -z "$(SOURCES)" ]; then \
		echo "format-check: no sources listed by git"; exit 1; \
	elif command -v clang-format >/dev/null 2>&1; then \
		clang-format --dry-run --Werror $(SOURCES) && echo "format-check: sources formatted"; \
	else \
		echo "format-check: clang-format not installed, skipped"; \
	fi

format:
	clang-format -i $(SOURCES)

clean:
	rm -rf $(BUILD_ROOT)
