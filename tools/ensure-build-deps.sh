#!/bin/sh
# Makes sure the tools that build and test the project are present: cmake, ninja, g++
# and GoogleTest. Missing ones are installed with apt-get when running as root on a
# Debian-like system; otherwise the script names the packages to install and fails.
set -eu

missing=""
command -v cmake >/dev/null 2>&1 || missing="$missing cmake"
command -v ninja >/dev/null 2>&1 || missing="$missing ninja-build"
command -v g++ >/dev/null 2>&1 || missing="$missing g++"

has_gtest() {
    command -v g++ >/dev/null 2>&1 || return 1
    printf '#include <gtest/gtest.h>\n' | g++ -x c++ -fsyntax-only - >/dev/null 2>&1 || return 1
    for dir in /usr/lib/*/cmake/GTest /usr/lib/cmake/GTest /usr/local/lib/cmake/GTest \
               /usr/local/lib/*/cmake/GTest /usr/share/cmake/GTest; do
        [ -f "$dir/GTestConfig.cmake" ] && return 0
    done
    return 1
}
has_gtest || missing="$missing libgtest-dev"

[ -z "$missing" ] && exit 0

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "Installing missing build tools:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # shellcheck disable=SC2086
    apt-get install -y -q --no-install-recommends $missing
    exit 0
fi

echo "make: these packages are needed and missing:$missing" >&2
echo "Install them (for example: sudo apt-get install$missing) and run make again." >&2
exit 1
