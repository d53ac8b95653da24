#!/bin/sh
# Installs the Debian packages that the Windows build and its tests need: the
# MinGW-w64 cross compiler (POSIX thread model), Wine to run the tests, and
# GoogleTest's sources to build it for Windows. Skips those already present;
# uses sudo when not run as root.
set -eu

packages="cmake make g++-mingw-w64-x86-64-posix wine64 googletest"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
echo "Installing:$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
