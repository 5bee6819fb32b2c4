# Front door of the project: every target configures and drives CMake with Ninja.
#   make demo    builds everything and runs the reference host on the bundled sample
#   make test    builds and runs every test, first normally, then under
#                AddressSanitizer and UndefinedBehaviorSanitizer, then builds the
#                reference host and a pkg-config host against the Linux release archive
#   make test-windows  cross builds for 64-bit Windows with MinGW-w64 (DLLs, tests and
#                the reference host), runs every test under Wine, then builds the
#                reference host against the Windows release archive and runs it
#   make docs    builds the API reference (Doxygen) into build/docs/html; any warning fails
#   make package  writes the release archives into build/packages: the Linux tar.gz and
#                the Windows zip (which needs the MinGW cross build)
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
#
# Every build is a preset of CMakePresets.json (`cmake --list-presets`) with its folder
# build/<preset>; `cmake --workflow --preset <name>` configures, builds and tests one
# from a shell without this file.

BUILD_ROOT ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# The commands for build $(1): configure, build (more cmake --build options in $(2)),
# test and pack. BUILD_ROOT=<dir> (a git worktree's own folder, say) moves build X to
# <dir>/X: it is configured from the same preset with -B, then built, tested and packed
# in that folder by name, since build, test and package presets know only build/X;
# cmake/preset-test-command.cmake spells the test preset out as a ctest command for it.
ifeq ($(abspath $(BUILD_ROOT)),$(abspath build))
configure = cmake --preset $(1)
build_with = cmake --build --preset $(1) -j $(JOBS) $(2)
test_with = ctest --preset $(1) -j $(JOBS)
package_with = cpack --preset $(1)
else
configure = cmake --preset $(1) -B $(BUILD_ROOT)/$(1)
build_with = cmake --build $(BUILD_ROOT)/$(1) -j $(JOBS) $(2)
test_with = command=$$(cmake -DPRESET=$(1) -DDIR=$(abspath $(BUILD_ROOT)/$(1)) \
	-P cmake/preset-test-command.cmake) && $$command -j $(JOBS)
package_with = cpack --config $(BUILD_ROOT)/$(1)/CPackConfig.cmake -B $(PACKAGE_DIR)
endif

SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.h' '*.cpp' 2>/dev/null)

.PHONY: all deps build demo test test-normal test-sanitize test-package \
	package package-linux package-windows build-windows host-linux test-windows \
	mutate deps-windows memcheck deps-memcheck coverage deps-coverage abi-check abi-update \
	fuzz deps-fuzz bench deps-bench docs deps-docs format format-check clean

all: build

deps:
	@tools/ensure-deps.sh build json

build: deps
	$(call configure,normal)
	$(call build_with,normal)

demo: build
	$(BUILD_ROOT)/normal/examples/reference-host/derived-docs show

test: test-normal test-sanitize test-package docs format-check

test-normal: build
	$(call test_with,normal)

# The sanitizer options (ASAN_OPTIONS, UBSAN_OPTIONS) are the sanitize test preset's.
test-sanitize: deps
	$(call configure,sanitize)
	$(call build_with,sanitize)
	$(call test_with,sanitize)

# The release archives (cmake/LumPackage.cmake, CPack) go to $(PACKAGE_DIR): the Linux
# tar.gz from the normal build, the Windows zip from the MinGW cross build. Each holds
# the shared libraries (on Windows the DLLs and their import libraries), the headers,
# the CMake package, the pkg-config file, LICENSE and a short README; no test program,
# no example and no GoogleTest. Their names come from the build's CPackConfig.cmake:
# LumDerivedDocumentsBase-<version>-Linux-x86_64.tar.gz and -<version>-win64.zip.
PACKAGE_DIR := $(BUILD_ROOT)/packages
PACKAGE_CHECK := $(BUILD_ROOT)/package-check
archive_of = $(PACKAGE_DIR)/$(shell sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$$/\1/p' \
	$(BUILD_ROOT)/$(1)/CPackConfig.cmake)$(if $(filter windows,$(1)),.zip,.tar.gz)
# The output every archive's reference host must match: the in-tree Linux build's.
REFERENCE_HOST := $(BUILD_ROOT)/normal/examples/reference-host/derived-docs

package: package-linux package-windows

package-linux: build
	$(call package_with,normal)

package-windows: build-windows
	$(call package_with,windows)

# The Linux archive as a host project gets it (tests/package/check-package.sh): unpacked
# into $(PACKAGE_CHECK)/linux, its contents checked, the reference host built on its own
# against it with find_package and run on the sample (its output must equal the in-tree
# build's), and tests/package/pkgconfig-host.cpp built with nothing but pkg-config's
# flags and run.
test-package: package-linux
	tests/package/check-package.sh --archive $(call archive_of,normal) \
		--scratch $(PACKAGE_CHECK)/linux --expected-host $(REFERENCE_HOST) --jobs $(JOBS)

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
	$(call configure,mutate)
	$(call build_with,mutate)
	python3 tools/mutate.py $(MUTATE_BUILD) --mutants $(MUTANTS) --seed $(MUTATE_SEED) \
		--json $(MUTATE_BUILD)/mutants-$(if $(MUTATE_BASELINE),$(basename $(notdir $(MUTATE_BASELINE))),$(MUTATE_SEED)).json \
		$(if $(MUTATE_BASELINE),--baseline $(MUTATE_BASELINE))

# The Windows build: MinGW-w64 compiles, Wine runs. GoogleTest is built from Debian's
# sources with the cross compiler; every .exe and .dll lands in build/windows/bin.
# A test may be started up to three times: Wine occasionally fails to start a program
# that runs beside others; a failure of the test itself fails every time.
# After the tests, the Windows archive is checked as the Linux one is: the reference host
# built against it with the MinGW toolchain and run under Wine must print what the
# in-tree Linux build prints (line ends aside), and so must the pkg-config host.
WINDOWS_BUILD := $(BUILD_ROOT)/windows

deps-windows:
	@tools/ensure-deps.sh build json windows

build-windows: deps-windows
	$(call configure,windows)
	$(call build_with,windows)

# Only the in-tree Linux reference host, whose output the Windows one must match.
host-linux: deps
	$(call configure,normal)
	$(call build_with,normal,--target derived-docs)

test-windows: build-windows host-linux
	$(WINDOWS_BUILD)/run-under-wine.sh --prepare
	$(call test_with,windows)
	$(call package_with,windows)
	tests/package/check-package.sh --archive $(call archive_of,windows) \
		--scratch $(PACKAGE_CHECK)/windows --expected-host $(REFERENCE_HOST) --jobs $(JOBS) \
		--toolchain cmake/toolchain-mingw-w64.cmake --runner $(WINDOWS_BUILD)/run-under-wine.sh
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
	@tools/ensure-deps.sh build json memcheck

memcheck: deps-memcheck
	$(call configure,memcheck)
	$(call build_with,memcheck)
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
	@tools/ensure-deps.sh build json coverage

coverage: deps-coverage
	$(call configure,coverage)
	find $(COVERAGE_BUILD) -name '*.gcda' -delete
	$(call build_with,coverage)
	find $(COVERAGE_BUILD) -name '*.gcda' -delete
	$(call test_with,coverage)
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
	$(call configure,fuzz)
	$(call build_with,fuzz)
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
	$(call configure,bench)
	$(call build_with,bench)
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
# The API reference: Doxygen over the public headers (docs/Doxyfile), README.md as its
# main page; an undocumented public or protected member or enum value, a broken reference
# or a wrong \param fails (tools/make-docs.sh).
DOCS_BUILD := $(BUILD_ROOT)/docs

deps-docs:
	@tools/ensure-deps.sh docs

docs: deps-docs
	tools/make-docs.sh $(DOCS_BUILD)

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
