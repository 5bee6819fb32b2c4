#!/bin/sh
# Makes sure the tools of make bench are present: those of every build, Google
# Benchmark's development files and python3 (for the table). Missing ones are installed
# with apt-get when running as root on a Debian-like system; otherwise the script names
# the packages to install and fails.
set -eu

"$(dirname "$0")/ensure-build-deps.sh"

missing=""
found_benchmark=""
for include in /usr/include /usr/local/include; do
    [ -f "$include/benchmark/benchmark.h" ] && found_benchmark=yes
done
[ -n "$found_benchmark" ] || missing="$missing libbenchmark-dev"
command -v python3 >/dev/null 2>&1 || missing="$missing python3"

# shellcheck disable=SC2086
exec "$(dirname "$0")/install-missing-packages.sh" "benchmark tools" $missing
