#!/bin/sh
# Makes sure the tools of the memcheck run are present: those of every build and
# valgrind. Missing ones are installed with apt-get when running as root on a
# Debian-like system; otherwise the script names the packages to install and fails.
set -eu

"$(dirname "$0")/ensure-build-deps.sh"

missing=""
command -v valgrind >/dev/null 2>&1 || missing="$missing valgrind"

# shellcheck disable=SC2086
exec "$(dirname "$0")/install-missing-packages.sh" "memcheck tools" $missing
