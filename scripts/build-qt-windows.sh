#!/bin/sh
# Builds the Qt kit that the Windows program is linked against: qtbase from
# Debian's own source package (the same version as the host Qt, so the host's
# moc, rcc and uic serve the cross build), cross-compiled with the project's
# MinGW-w64 toolchain into a cache folder outside the work tree.
#
#   sh scripts/build-qt-windows.sh [jobs]
#
# Prints the kit's folder on standard output, and nothing else there: what
# the build says goes to standard error. A kit whose stamp names the same
# source version and options is reused; anything else in the folder (a build
# that stopped half-way, other options) is thrown away and built again.
# PELLIX_QT_KIT overrides the folder.
set -eu
exec 3>&1 1>&2
project=$(cd "$(dirname "$0")/.." && pwd)
JOBS=${1:-$(nproc 2>/dev/null || echo 2)}

cache=${XDG_CACHE_HOME:-$HOME/.cache}/pellix
QT_VERSION=6.4.2
KIT=${PELLIX_QT_KIT:-$cache/qt-$QT_VERSION-mingw64}

# Only what Pellix uses: Core, Gui, Widgets and Test with the windows and
# offscreen platform plugins and the bundled third-party libraries. OpenGL
# stays: the windows platform plugin of this version does not build without it.
# The source package lacks wintab.h, hence no tablet events.
OPTIONS="-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
 -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
 -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF
 -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
 -DFEATURE_network=OFF -DFEATURE_system_zlib=OFF -DINPUT_openssl=no
 -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_vulkan=OFF
 -DFEATURE_offscreen=ON -DFEATURE_testlib=ON"
stamp="qtbase $QT_VERSION;$(echo $OPTIONS | tr '\n' ' ')"

if [ -f "$KIT/pellix-kit.stamp" ] && [ "$(cat "$KIT/pellix-kit.stamp")" = "$stamp" ]; then
    echo "$KIT" >&3
    exit 0
fi

sh "$project/scripts/install-deps.sh" --windows-kit

# Debian's source package, fetched once through a deb-src twin of the
# machine's package sources.
src_cache="$cache/qtbase-src"
source_dir="$src_cache/qtbase-everywhere-src-$QT_VERSION"
if [ ! -f "$source_dir/.pellix-unpacked" ]; then
    if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
    if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
        list=/etc/apt/sources.list.d/pellix-deb-src.sources
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$list" >/dev/null
        else
            grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
                $SUDO tee /etc/apt/sources.list.d/pellix-deb-src.list >/dev/null
        fi
        $SUDO apt-get update -q
    fi
    rm -rf "$src_cache"
    mkdir -p "$src_cache"
    (cd "$src_cache" && apt-get source --download-only -q qt6-base)
    orig=$(ls "$src_cache"/qt6-base_"$QT_VERSION"*.orig.tar.* | head -n 1)
    tar -xf "$orig" -C "$src_cache"
    touch "$source_dir/.pellix-unpacked"
fi

build_dir="$cache/qtbase-build-mingw64"
rm -rf "$KIT" "$build_dir"
mkdir -p "$build_dir"
start=$(date +%s)
# shellcheck disable=SC2086 # the options are words on purpose
cmake -S "$source_dir" -B "$build_dir" -G Ninja $OPTIONS \
    -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$KIT" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_EXE_LINKER_FLAGS= -DCMAKE_CROSSCOMPILING_EMULATOR=
cmake --build "$build_dir" -j "$JOBS"
cmake --install "$build_dir"
echo "Qt kit built in $(($(date +%s) - start)) s"
rm -rf "$build_dir"
echo "$stamp" >"$KIT/pellix-kit.stamp"
echo "$KIT" >&3
