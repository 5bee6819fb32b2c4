#!/bin/sh
# Makes sure the tools of the named sets are present, set by set in the order given:
#     tools/ensure-deps.sh build windows
# Missing packages are installed with apt-get when running as root on a Debian-like
# system; otherwise the script names them and fails. Each set is a function set_<name>
# below: what it is for, then one `need PACKAGES CHECK...` per tool, where CHECK is a
# command that succeeds when the tool is present. A new set is one more such function.
set -eu

set_build() {
    purpose "build tools"
    need cmake have cmake
    need ninja-build have ninja
    need g++ have g++
    need libgtest-dev has_gtest
    need pkgconf have pkg-config
}

set_bench() { # Google Benchmark, and python3 for the table
    purpose "benchmark tools"
    need libbenchmark-dev has_header benchmark/benchmark.h
    need python3 have python3
}

set_coverage() { # gcov comes with gcc; gcovr sums up its counts
    purpose "coverage tools"
    need gcc have gcov
    need gcovr have gcovr
}

set_docs() { # Doxygen, and python3 for the check of the enum values (tools/make-docs.sh)
    purpose "documentation tools"
    need doxygen have doxygen
    need python3 have python3
}

set_fuzz() { # clang with its runtime libraries: libFuzzer and the sanitizers
    purpose "fuzz build tools"
    # The distribution's default clang and the runtime package that goes with it.
    need "clang libclang-rt-dev" have clang++
    if have clang++; then
        # libFuzzer ships in the runtime package named after clang's major version.
        need "libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev" has_libfuzzer
    fi
}

set_abi() { purpose "ABI tools"; need abigail-tools have_all abidw abidiff; }

set_json() { # nlohmann/json, header-only: the reference host's --format json
    purpose "JSON library for the reference host"
    need nlohmann-json3-dev has_header nlohmann/json.hpp
}

set_memcheck() { purpose "memcheck tools"; need valgrind have valgrind; }

set_windows() { # MinGW-w64, Wine to run the programs, GoogleTest's sources for MinGW
    purpose "Windows build tools"
    need g++-mingw-w64-x86-64 have_any x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++
    need wine64 has_wine64
    need googletest test -f /usr/src/googletest/CMakeLists.txt
}

# ---------------------------------------------------------------- checks

have() { command -v "$1" >/dev/null 2>&1; }

have_all() {
    for program in "$@"; do
        have "$program" || return 1
    done
}

have_any() {
    for program in "$@"; do
        if have "$program"; then return 0; fi
    done
    return 1
}

has_header() {
    [ -f "/usr/include/$1" ] || [ -f "/usr/local/include/$1" ]
}

has_gtest() {
    have g++ || return 1
    printf '#include <gtest/gtest.h>\n' | g++ -x c++ -fsyntax-only - >/dev/null 2>&1 || return 1
    for dir in /usr/lib/*/cmake/GTest /usr/lib/cmake/GTest /usr/local/lib/cmake/GTest \
               /usr/local/lib/*/cmake/GTest /usr/share/cmake/GTest; do
        if [ -f "$dir/GTestConfig.cmake" ]; then return 0; fi
    done
    return 1
}

has_libfuzzer() {
    [ -f "$(clang++ -print-file-name="libclang_rt.fuzzer-$(uname -m).a")" ]
}

has_wine64() { [ -x /usr/lib/wine/wine64 ] || have wine64; }

# ---------------------------------------------------------------- driver

purpose() { what=$1; }

# need PACKAGES CHECK...: PACKAGES (one argument, blank-separated) are missing unless
# CHECK succeeds.
need() {
    packages=$1
    shift
    "$@" >/dev/null 2>&1 || missing="$missing $packages"
}

# Installs the packages named after the first argument (what they are for), or names them
# and fails when apt-get cannot be used.
install_missing() {
    what=$1
    shift
    if [ "$#" -eq 0 ]; then return 0; fi
    if [ "$(id -u)" = 0 ] && have apt-get; then
        echo "Installing missing $what: $*"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -q
        apt-get install -y -q --no-install-recommends "$@"
        return 0
    fi
    echo "make: these packages ($what) are needed and missing: $*" >&2
    echo "Install them (for example: sudo apt-get install $*) and run make again." >&2
    exit 1
}

known_sets() { sed -n 's/^set_\([a-z0-9_]*\)().*/\1/p' "$0" | paste -sd ' '; }

if [ "$#" -eq 0 ]; then
    echo "usage: $0 SET... (sets: $(known_sets))" >&2
    exit 2
fi
for name in "$@"; do
    case " $(known_sets) " in
    *" $name "*) ;;
    *)
        echo "ensure-deps: unknown set '$name' (sets: $(known_sets))" >&2
        exit 2
        ;;
    esac
done
for name in "$@"; do
    what="" missing=""
    "set_$name"
    # shellcheck disable=SC2086
    install_missing "$what" $missing
done
