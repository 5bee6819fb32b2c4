#!/bin/sh
# Runs every fuzz target of a fuzz build (`make fuzz`) for a fixed time, a few at a time,
# and fails when any of them reports a finding.
#     tools/run-fuzzers.sh <fuzz build folder> [seconds per target] [targets at a time]
#
# The targets are those listed in <build>/fuzzers.txt (written by fuzz/CMakeLists.txt:
# name, executable, seed corpus folder). Each one runs in <build>/work/<name>/ on a fresh
# copy of its seed corpus, so the corpus in the repository is never changed; what the
# run adds stays in corpus/ there, crash files land in artifacts/, the whole output in
# log.txt. A target's result counts as a finding when it exits with an error or leaves
# a file in artifacts/ (a crash, a leak, a timeout, an out-of-memory input).
set -eu

if [ "${1-}" = "--one" ]; then
    # One target, run by the loop below: writes <work>/<name>/summary.txt.
    build=$2
    seconds=$3
    name=$4
    line=$(awk -F '\t' -v name="$name" '$1 == name' "$build/fuzzers.txt")
    exe=$(printf '%s\n' "$line" | cut -f 2)
    seeds=$(printf '%s\n' "$line" | cut -f 3)
    dir="$build/work/$name"
    rm -rf "$dir"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    if [ -d "$seeds" ]; then
        cp -R "$seeds/." "$dir/corpus/"
    fi
    echo "[$name] running for ${seconds} s on $(ls "$dir/corpus" | wc -l) seeds"
    status=0
    "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$dir/artifacts/" "$dir/corpus" >"$dir/log.txt" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log.txt" | tail -n 1)
    found=$(ls "$dir/artifacts")
    if [ "$status" -eq 0 ] && [ -z "$found" ]; then
        result="no findings"
    else
        result="FINDING (exit status $status${found:+, $(echo "$found" | head -n 1)})"
    fi
    printf '%s\t%s\t%s\n' "$name" "${runs:-?}" "$result" >"$dir/summary.txt"
    echo "[$name] done: ${runs:-?} runs, $result"
    exit 0
fi

build=${1:?usage: tools/run-fuzzers.sh <fuzz build folder> [seconds] [targets at a time]}
seconds=${2:-30}
jobs=${3:-2}
list="$build/fuzzers.txt"
if [ ! -s "$list" ]; then
    echo "run-fuzzers: no fuzz targets listed in $list; configure with -DLUM_FUZZ=ON" >&2
    exit 1
fi

symbolizer=$(command -v llvm-symbolizer || true)
ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1${symbolizer:+:external_symbolizer_path=$symbolizer}"
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${symbolizer:+:external_symbolizer_path=$symbolizer}"
export ASAN_OPTIONS UBSAN_OPTIONS

count=$(wc -l <"$list")
echo "run-fuzzers: $count targets, ${seconds} s each, $jobs at a time"
cut -f 1 "$list" | xargs -P "$jobs" -I '{}' "$0" --one "$build" "$seconds" '{}'

failed=0
echo
echo "fuzz summary (${seconds} s per target):"
for name in $(cut -f 1 "$list"); do
    dir="$build/work/$name"
    if [ -f "$dir/summary.txt" ]; then
        IFS=$(printf '\t') read -r _ runs result <"$dir/summary.txt"
    else
        runs="?"
        result="FINDING (did not run)"
    fi
    printf '  %-24s %12s runs   %s\n' "$name" "$runs" "$result"
    case "$result" in
    "no findings") ;;
    *) failed=1 ;;
    esac
done

if [ "$failed" -ne 0 ]; then
    for name in $(cut -f 1 "$list"); do
        dir="$build/work/$name"
        case "$(cut -f 3 "$dir/summary.txt" 2>/dev/null)" in
        "no findings") continue ;;
        esac
        exe=$(awk -F '\t' -v name="$name" '$1 == name { print $2 }' "$list")
        echo
        echo "==== $name: the end of $dir/log.txt (progress lines left out) ===="
        grep -v -E '^#[0-9]+' "$dir/log.txt" 2>/dev/null | tail -n 80 || true
        for artifact in "$dir"/artifacts/*; do
            [ -e "$artifact" ] || continue
            echo "reproduce: $exe $artifact"
        done
    done
    echo
    echo "run-fuzzers: a fuzz target reported a finding (see above)" >&2
    exit 1
fi
echo "run-fuzzers: no findings"
