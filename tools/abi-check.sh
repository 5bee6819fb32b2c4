#!/bin/sh
# Compares the ABI of the built shared libraries with the checked-in baselines abi/<lib>.abi.
# (abi/virtual-slots.txt beside them is the slot listing of tools/check-virtual-slots.py.)
#
#   tools/abi-check.sh BUILD_DIR            fails when a library's ABI changed other than
#                                           by additions
#   tools/abi-check.sh --update BUILD_DIR   rewrites the baselines from BUILD_DIR
#
# BUILD_DIR is a build with debug info (RelWithDebInfo), such as build/normal. abidw
# describes each library from its exported symbols and debug info; abidiff compares that
# description with the baseline. Additions (a new exported function or variable) are
# shown and pass; every other change (a removed or changed function, a changed class
# size, layout or virtual table) fails, and so does an exported symbol of the standard
# library, GoogleTest or the tests (tools/check-exports.py). Needs abidw and abidiff
# from abigail-tools (tools/ensure-deps.sh abi).
set -eu

LIBRARIES="LumRoots LumTable QXRepositoryProxy LumDerivedDocumentsBase"

usage() {
    echo "usage: $0 [--update] BUILD_DIR" >&2
    exit 2
}

update=0
if [ "${1:-}" = "--update" ]; then
    update=1
    shift
fi
[ $# -eq 1 ] || usage
build=$1
[ -d "$build" ] || { echo "abi-check: no build folder $build; build it first" >&2; exit 2; }

root=$(cd "$(dirname "$0")/.." && pwd)
baselines="$root/abi"
work="$build/abi-check"

"$root/tools/ensure-deps.sh" abi

# The public headers of every library: types declared elsewhere count as private.
headerDirs="--headers-dir $root/Sources/Base/LUMRoots/Exp"
for dir in "$root"/host-interfaces/*/; do
    headerDirs="$headerDirs --headers-dir ${dir%/}"
done
headerDirs="$headerDirs --headers-dir $root/Sources/Base/LUMDerivedDocumentsBase/interface"

# Writes the ABI description of library $1 to file $2, without absolute paths so that the
# baselines do not depend on where the tree was checked out.
describe() {
    # shellcheck disable=SC2086
    abidw $headerDirs --drop-undefined-syms --no-corpus-path --no-comp-dir-path \
        --short-locs --type-id-style hash --out-file "$2" "$1"
}

find_library() {
    found=$(find "$build" -name "lib$1.so" -not -path "*/abi-check/*" | sort)
    count=$(printf '%s\n' "$found" | grep -c . || true)
    if [ "$count" -ne 1 ]; then
        echo "abi-check: expected one lib$1.so under $build, found $count" >&2
        exit 2
    fi
    if ! readelf -S "$found" | grep -q '\.debug_info'; then
        echo "abi-check: $found has no debug info; use a RelWithDebInfo build" >&2
        exit 2
    fi
    printf '%s\n' "$found"
}

mkdir -p "$work"
failed=""
for lib in $LIBRARIES; do
    path=$(find_library "$lib")
    if [ "$update" = 1 ]; then
        mkdir -p "$baselines"
        describe "$path" "$baselines/$lib.abi"
        echo "abi-check: wrote abi/$lib.abi from $path"
        continue
    fi
    if [ ! -f "$baselines/$lib.abi" ]; then
        echo "abi-check: FAIL $lib: no baseline abi/$lib.abi (create it with --update)"
        failed="$failed $lib"
        continue
    fi
    describe "$path" "$work/$lib.abi"
    # abidiff's status is a bit field: 1 error, 2 usage error, 4 ABI change, 8 incompatible
    # change. Without the added symbols, any change left (a removed or changed function or
    # variable, a changed class size, layout or virtual table) breaks the hosts built
    # against the baseline, though abidiff itself sets bit 8 for removals only.
    status=0
    abidiff --no-added-syms "$baselines/$lib.abi" "$work/$lib.abi" >/dev/null 2>&1 || status=$?
    full=0
    abidiff "$baselines/$lib.abi" "$work/$lib.abi" > "$work/$lib.diff" 2>&1 || full=$?
    if [ $((status & 3)) -ne 0 ] || [ $((full & 3)) -ne 0 ]; then
        echo "abi-check: FAIL $lib: abidiff could not compare (status $status/$full)"
        cat "$work/$lib.diff"
        failed="$failed $lib"
    elif [ $((status & 12)) -ne 0 ]; then
        echo "abi-check: FAIL $lib: incompatible ABI change against abi/$lib.abi"
        cat "$work/$lib.diff"
        failed="$failed $lib"
    elif [ $((full & 12)) -ne 0 ]; then
        echo "abi-check: $lib: compatible ABI change (additions only) against abi/$lib.abi:"
        cat "$work/$lib.diff"
        echo "abi-check: $lib passes; record the additions with: $0 --update $build"
    else
        echo "abi-check: $lib: ABI unchanged"
    fi
done

# Whatever the baselines hold, nothing of the standard library or the tests is exported.
if [ "$update" = 0 ]; then
    paths=""
    for lib in $LIBRARIES; do
        paths="$paths $(find_library "$lib")"
    done
    # shellcheck disable=SC2086
    python3 "$root/tools/check-exports.py" $paths || failed="$failed (foreign exports)"
fi

if [ -n "$failed" ]; then
    echo "abi-check: incompatible with the baseline:$failed" >&2
    echo "abi-check: if the break is intended, rewrite the baselines with:" \
         "$0 --update $build" >&2
    exit 1
fi
[ "$update" = 1 ] || echo "abi-check: every library is compatible with its baseline"
