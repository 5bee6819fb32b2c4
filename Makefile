# Front door of the project: every target configures and drives CMake with Ninja.
#   make demo    builds everything and runs the reference host on the bundled sample
#   make test    builds and runs every test, first normally, then under
#                AddressSanitizer and UndefinedBehaviorSanitizer, then builds the
#                reference host against the installed package
#   make test-windows  cross builds for 64-bit Windows with MinGW-w64 (DLLs, tests and
#                the reference host) and runs every test under Wine
#   make abi-check  compares the libraries' ABI with the checked-in baselines
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
	deps-windows abi-check abi-update \
	update-interface-listings format format-check clean

all: build

deps:
	@tools/ensure-build-deps.sh

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

# The Windows build: MinGW-w64 compiles, Wine runs. GoogleTest is built from Debian's
# sources with the cross compiler; every .exe and .dll lands in build/windows/bin.
# A test may be started up to three times: Wine occasionally fails to start a program
# that runs beside others; a failure of the test itself fails every time.
WINDOWS_BUILD := $(BUILD_ROOT)/windows

deps-windows:
	@tools/ensure-windows-deps.sh

test-windows: deps-windows
	cmake -S . -B $(WINDOWS_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchain-mingw-w64.cmake) -DLUM_GTEST_FROM_SOURCE=ON
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	$(WINDOWS_BUILD)/run-under-wine.sh --prepare
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS) --repeat until-pass:3
	$(WINDOWS_BUILD)/run-under-wine.sh --wait

# Compares the ABI of the built libraries with the checked-in baselines in abi/; fails
# on anything but additions. abi-update rewrites the baselines after a deliberate change.
abi-check: build
	tools/abi-check.sh $(BUILD_ROOT)/normal

abi-update: build
	tools/abi-check.sh --update $(BUILD_ROOT)/normal

# Rewrites the checked-in lists of exported symbols after a deliberate interface change.
update-interface-listings: build
	cmake --build $(BUILD_ROOT)/normal --target update-interface-listings

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
