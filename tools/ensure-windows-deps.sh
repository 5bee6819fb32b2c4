#!/bin/sh
# Makes sure the tools of the Windows cross build are present: the MinGW-w64 C++
# compiler, Wine to run the built programs, and GoogleTest's sources to build it with
# that compiler. Missing ones are installed with apt-get when running as root on a
# Debian-like system; otherwise the script names the packages to install and fails.
set -eu

"$(dirname "$0")/ensure-build-deps.sh"

missing=""
command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 ||
    command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1 || missing="$missing g++-mingw-w64-x86-64"
[ -x /usr/lib/wine/wine64 ] || command -v wine64 >/dev/null 2>&1 || missing="$missing wine64"
[ -f /usr/src/googletest/CMakeLists.txt ] || missing="$missing googletest"

# shellcheck disable=SC2086
exec "$(dirname "$0")/install-missing-packages.sh" "Windows build tools" $missing
