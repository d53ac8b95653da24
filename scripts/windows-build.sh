#!/bin/sh
# Builds the whole of Pellix for 64-bit Windows: the Qt kit first (built once
# into a cache folder, see build-qt-windows.sh), then the programs and every
# test program, cross-compiled with MinGW-w64 against that kit.
#
#   sh scripts/windows-build.sh [build folder] [jobs]
#
# Prints the kit's folder on standard output, and nothing else there: what
# the build says goes to standard error.
set -eu
exec 3>&1 1>&2
cd "$(dirname "$0")/.."
BUILD=${1:-build-win}
JOBS=${2:-$(nproc 2>/dev/null || echo 2)}

sh scripts/install-deps.sh --windows
KIT=$(sh scripts/build-qt-windows.sh "$JOBS")

# A folder configured without the kit (or against another one) starts afresh:
# CMake keeps the toolchain of a folder's first configuration.
toolchain="$KIT/lib/cmake/Qt6/qt.toolchain.cmake"
if [ -f "$BUILD/CMakeCache.txt" ] && ! grep -qx "CMAKE_TOOLCHAIN_FILE:[A-Z]*=$toolchain" "$BUILD/CMakeCache.txt"; then
    rm -rf "$BUILD"
fi
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DPELLIX_GTEST_SOURCE=/usr/src/googletest -DPELLIX_WERROR=ON
cmake --build "$BUILD" -j "$JOBS"
echo "$KIT" >&3
