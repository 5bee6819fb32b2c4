#!/bin/sh
# Checks a release archive the way a host project receives it:
#     tests/package/check-package.sh --archive FILE --scratch DIR --expected-host EXE
#         [--jobs N] [--toolchain FILE --runner SCRIPT]
# 1. Unpacks FILE into DIR/unpacked (anew) and checks what it holds: the shared
#    libraries, the headers, the CMake package, the pkg-config file, LICENSE and
#    README.md; no program, test or GoogleTest.
# 2. Builds examples/reference-host on its own against it with find_package and runs
#    `derived-docs show` on examples/sample-model: its output and exit status must equal
#    those of EXE, the in-tree Linux build's reference host.
# 3. Compiles tests/package/pkgconfig-host.cpp with nothing but
#    `pkg-config --cflags --libs lum-derived-documents-base`, the archive's .pc file found
#    through PKG_CONFIG_PATH, runs it and compares its output with
#    tests/package/pkgconfig-host.expected.
# With --toolchain (cmake/toolchain-mingw-w64.cmake) both programs are cross built for
# Windows and run through --runner (the Windows build's run-under-wine.sh), with the
# archive's DLLs copied beside them as a Windows host ships them. Wine's output ends its
# lines with CR LF; the CRs are dropped before comparing, nothing else is changed.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
sample="$source_dir/examples/sample-model"
package_name=lum-derived-documents-base

archive="" scratch="" expected_host="" jobs=2 toolchain="" runner=""

fail() {
    echo "check-package: $*" >&2
    exit 1
}

absolute() { # an existing file's absolute path
    [ -e "$1" ] || fail "no such file: $1"
    echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
}

while [ "$#" -gt 0 ]; do
    [ "$#" -ge 2 ] || fail "option $1 needs a value"
    case "$1" in
    --archive) archive=$(absolute "$2") ;;
    --scratch) scratch=$2 ;;
    --expected-host) expected_host=$(absolute "$2") ;;
    --jobs) jobs=$2 ;;
    --toolchain) toolchain=$(absolute "$2") ;;
    --runner) runner=$(absolute "$2") ;;
    *) fail "unknown option $1" ;;
    esac
    shift 2
done
if [ -z "$archive" ] || [ -z "$scratch" ] || [ -z "$expected_host" ]; then
    fail "usage: $0 --archive FILE --scratch DIR --expected-host EXE [--jobs N] [--toolchain FILE --runner SCRIPT]"
fi
[ -z "$toolchain" ] || [ -n "$runner" ] || fail "--toolchain needs --runner"
command -v pkg-config >/dev/null 2>&1 || fail "pkg-config is needed (Debian package pkgconf)"

rm -rf "$scratch"
mkdir -p "$scratch/unpacked"
scratch=$(cd "$scratch" && pwd)
name=$(basename "$archive")

# ---------------------------------------------------------------- 1. contents
(cd "$scratch/unpacked" && cmake -E tar xf "$archive")
set -- "$scratch/unpacked"/*
if [ "$#" -ne 1 ] || [ ! -d "$1" ]; then
    fail "$name: expected one top folder, found: $*"
fi
prefix=$1
pc_file=$(find "$prefix" -name "$package_name.pc")
[ -n "$pc_file" ] || fail "$name: no $package_name.pc"
libdir=$(dirname "$(dirname "$pc_file")")
(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort) >"$scratch/contents.txt"

libraries="LumDerivedDocumentsBase LumTable QXRepositoryProxy LumRoots"
required="LICENSE README.md include/LumDerivedDocumentsBase.h include/TevString.h
include/LumTable/TevDocManObject.h include/QXNativeDataObjects/StructProjReport.h
include/QXRepositoryProxy/Prompts.h"
for file in LumDerivedDocumentsBaseConfig.cmake LumDerivedDocumentsBaseConfigVersion.cmake \
    LumDerivedDocumentsBaseTargets.cmake; do
    required="$required ${libdir#"$prefix"/}/cmake/LumDerivedDocumentsBase/$file"
done
for library in $libraries; do
    if [ -n "$toolchain" ]; then
        required="$required bin/lib$library.dll ${libdir#"$prefix"/}/lib$library.dll.a"
    else
        required="$required ${libdir#"$prefix"/}/lib$library.so"
    fi
done
for file in $required; do
    grep -qx "$file" "$scratch/contents.txt" || fail "$name lacks $file"
done
# Programs, the test suites and their support library, GoogleTest, the benchmark and the
# fuzz targets stay out of an archive.
if grep -E '\.exe$|Test|gtest|gmock|derived-docs|lum-bench|(^|/)fuzz-' "$scratch/contents.txt"; then
    fail "$name holds the files above, which are no part of a release"
fi
echo "check-package: $name holds $(wc -l <"$scratch/contents.txt") files, the expected ones"

# ---------------------------------------------------------------- 2. reference host
host="$scratch/host"
set -- -DCMAKE_PREFIX_PATH="$prefix"
if [ -n "$toolchain" ]; then
    # The toolchain confines find_package to the MinGW root, so the package is named
    # by its folder, as a cross-building host project names it.
    set -- "$@" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DLumDerivedDocumentsBase_DIR="$libdir/cmake/LumDerivedDocumentsBase"
fi
cmake -S "$source_dir/examples/reference-host" -B "$host" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >"$host.log" 2>&1 ||
    { cat "$host.log"; fail "the reference host does not configure against $name"; }
found=$(sed -n 's/^LumDerivedDocumentsBase_DIR:[A-Z]*=//p' "$host/CMakeCache.txt")
[ "$found" = "$libdir/cmake/LumDerivedDocumentsBase" ] ||
    fail "the reference host found the package in $found, not in the archive"
cmake --build "$host" -j "$jobs" >>"$host.log" 2>&1 ||
    { cat "$host.log"; fail "the reference host does not build against $name"; }
# The compiler the host project's build chose (a cross build's toolchain sets it
# without caching it).
cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$host"/CMakeFiles/*/CMakeCXXCompiler.cmake)
[ -n "$cxx" ] || fail "no C++ compiler recorded in $host"

# Runs program $1 with the arguments after $2 and $3 (through the runner, if any, with the
# archive's DLLs beside it) and fails unless its output, CRs dropped, equals file $2 and
# its exit status is $3.
run_and_compare() {
    program=$1 expected=$2 expected_exit=$3
    shift 3
    output="$scratch/$(basename "$program")" status=0
    if [ -n "$runner" ]; then
        cp "$prefix"/bin/*.dll "$(dirname "$program")/"
        "$runner" "$program" "$@" >"$output.raw" || status=$?
    else
        "$program" "$@" >"$output.raw" || status=$?
    fi
    tr -d '\r' <"$output.raw" >"$output.txt"
    diff -u "$expected" "$output.txt" ||
        fail "$(basename "$program") built against $name prints other lines (above: - expected, + got)"
    [ "$status" = "$expected_exit" ] ||
        fail "$(basename "$program") built against $name exits with $status, not $expected_exit"
}

expected_status=0
"$expected_host" show "$sample" >"$scratch/expected-show.txt" || expected_status=$?
host_program="$host/derived-docs"
[ -z "$toolchain" ] || host_program="$host_program.exe"
run_and_compare "$host_program" "$scratch/expected-show.txt" "$expected_status" show "$sample"
echo "check-package: derived-docs built against $name shows what the in-tree build shows:" \
    "$(tail -n 1 "$scratch/expected-show.txt")"

# ---------------------------------------------------------------- 3. pkg-config host
PKG_CONFIG_PATH=$(dirname "$pc_file")
export PKG_CONFIG_PATH
pc_libdir=$(pkg-config --variable=libdir "$package_name")
[ "$(cd "$pc_libdir" && pwd)" = "$libdir" ] ||
    fail "$package_name.pc names the libraries in $pc_libdir, not where it lies"
mkdir -p "$scratch/pkgconfig-host"
pc_program="$scratch/pkgconfig-host/pkgconfig-host"
# shellcheck disable=SC2046 # pkg-config's flags are words
if [ -n "$toolchain" ]; then
    # Linked as the toolchain links every program: the compiler's runtime static
    # (-static), the project's DLLs through their import libraries (-Bdynamic).
    pc_program="$pc_program.exe"
    set -- -static-libgcc -static-libstdc++ -static \
        -Wl,-Bdynamic $(pkg-config --libs "$package_name") -Wl,-Bstatic
else
    set -- $(pkg-config --libs "$package_name") -Wl,-rpath,"$pc_libdir"
fi
"$cxx" -std=c++17 -Wall -Wextra -Werror $(pkg-config --cflags "$package_name") \
    "$here/pkgconfig-host.cpp" -o "$pc_program" "$@"
run_and_compare "$pc_program" "$here/pkgconfig-host.expected" 0
echo "check-package: pkgconfig-host built with pkg-config's flags for $name runs as expected"
