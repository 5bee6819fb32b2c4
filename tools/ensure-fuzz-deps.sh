#!/bin/sh
# Makes sure the tools of the fuzz build are present: those of the ordinary build, and
# clang with its runtime libraries (libFuzzer and the sanitizers). Missing ones are
# installed with apt-get when running as root on a Debian-like system; otherwise the
# script names the packages to install and fails.
set -eu

"$(dirname "$0")/ensure-build-deps.sh"

missing=""
if ! command -v clang++ >/dev/null 2>&1; then
    # The distribution's default clang and the runtime package that goes with it.
    missing="$missing clang libclang-rt-dev"
elif [ ! -f "$(clang++ -print-file-name="libclang_rt.fuzzer-$(uname -m).a")" ]; then
    # libFuzzer ships in the runtime package named after clang's major version.
    missing="$missing libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev"
fi

# shellcheck disable=SC2086
exec "$(dirname "$0")/install-missing-packages.sh" "fuzz build tools" $missing
