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

# shellcheck disable=SC2086
exec "$(dirname "$0")/install-missing-packages.sh" "build tools" $missing
