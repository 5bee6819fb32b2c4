#!/bin/sh
# Installs the Debian packages named after the first argument (what they are for) with
# apt-get when running as root on a Debian-like system; otherwise names them and fails.
#     tools/install-missing-packages.sh "build tools" cmake ninja-build
set -eu

purpose="$1"
shift
[ "$#" -eq 0 ] && exit 0

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "Installing missing $purpose: $*"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "$@"
    exit 0
fi

echo "make: these packages ($purpose) are needed and missing: $*" >&2
echo "Install them (for example: sudo apt-get install $*) and run make again." >&2
exit 1
