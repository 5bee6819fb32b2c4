#!/bin/sh
# Makes sure the tools of the coverage build are present: those of every build, gcov
# (it comes with g++) and gcovr, which sums up gcov's counts. Missing ones are installed
# with apt-get when running as root on a Debian-like system; otherwise the script names
# the packages to install and fails.
set -eu

"$(dirname "$0")/ensure-build-deps.sh"

missing=""
command -v gcov >/dev/null 2>&1 || missing="$missing gcc"
command -v gcovr >/dev/null 2>&1 || missing="$missing gcovr"

# shellcheck disable=SC2086
exec "$(dirname "$0")/install-missing-packages.sh" "coverage tools" $missing
