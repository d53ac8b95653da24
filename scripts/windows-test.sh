#!/bin/sh
# Cross-compiles Pellix for 64-bit Windows with MinGW-w64 and runs its tests
# under Wine.
#
#   sh scripts/windows-test.sh [build folder] [jobs] [--qt]
#
# Without --qt: everything that needs no Qt (engine, keypad, ini, state, cli,
# the Windows-native pieces and the Windows resources), its test programs, and
# random key sequences through pellix-keys.exe and a Linux pellix-keys, which
# must print the same to the byte.
# With --qt: the whole program against the Qt kit (windows-build.sh; the kit is
# built once into ~/.cache/pellix), every test program, then the zip and the
# installer put together and tried as a user would (tests/win/program_test.sh).
#
# Wine runs in a temporary prefix whose home is a temporary folder too, so the
# desktop, documents and settings it sees are throwaway folders; both go when
# the run ends.
set -eu
cd "$(dirname "$0")/.."
BUILD=${1:-build-win}
JOBS=${2:-$(nproc 2>/dev/null || echo 2)}
WITH_QT=${3:-}

if [ "$WITH_QT" = --qt ]; then
    KIT=$(sh scripts/windows-build.sh "$BUILD" "$JOBS")
else
    sh scripts/install-deps.sh --windows
    cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DPELLIX_LIBRARIES="engine;ini;keypad;state;cli" -DPELLIX_GTEST_SOURCE=/usr/src/googletest \
        -DPELLIX_WERROR=ON
    cmake --build "$BUILD" -j "$JOBS"
fi

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
scratch=$(mktemp -d "${TMPDIR:-/tmp}/pellix-wine.XXXXXX")
export WINEPREFIX="$scratch/prefix"
export HOME="$scratch/home"
cleanup() {
    "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT INT TERM
mkdir -p "$HOME"

# Wine links the prefix's desktop and documents to folders of $HOME and takes
# the user's folders from the XDG variables: none of them may lead out of the
# scratch folder.
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_DESKTOP_DIR XDG_DOCUMENTS_DIR \
    XDG_DOWNLOAD_DIR XDG_MUSIC_DIR XDG_PICTURES_DIR XDG_VIDEOS_DIR XDG_RUNTIME_DIR \
    DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all
# No Mono or Gecko installer, no menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C
# The shortcut tests may use this prefix's desktop folder itself.
export PELLIX_SCRATCH_DESKTOP=1
unset PULSE_SERVER
# Sound goes to ALSA's null output, which plays into nothing: the click is
# really played, and never reaches a loudspeaker.
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"

# The first start creates the prefix. Windows need the graphics driver that
# works without a display; sound takes the ALSA driver.
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null
"$WINESERVER" -w

if [ "$WITH_QT" = --qt ]; then
    # The Qt test programs find the kit's libraries and plugins, and the
    # compiler's runtime that those link to; they draw off screen.
    runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
    pthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
    WINEPATH="$("$WINE" winepath -w "$KIT/bin");$("$WINE" winepath -w "$runtime")"
    export WINEPATH="$WINEPATH;$("$WINE" winepath -w "$pthread")"
    export QT_PLUGIN_PATH="$("$WINE" winepath -w "$KIT/plugins")" QT_QPA_PLATFORM=offscreen
fi
ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM

# The same random key sequences through a Linux build of the Qt-free parts:
# both must print the same numbers, to the bit.
cmake -S . -B "$BUILD/host" -DPELLIX_LIBRARIES="engine;ini;keypad;state;cli" \
    -DPELLIX_GTEST_SOURCE=/usr/src/googletest -DPELLIX_WERROR=ON
cmake --build "$BUILD/host" -j "$JOBS" --target pellix-keys keys_batch
sh scripts/keys-differential.sh "$BUILD/host" "$BUILD" "${PELLIX_KEYS_SEQUENCES:-2000}"

if [ "$WITH_QT" = --qt ]; then
    sh scripts/windows-dist.sh "$BUILD" "$KIT"
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
    sh tests/win/program_test.sh "$BUILD/pellix-$version-win64" "$BUILD/pellix-$version-setup.exe" \
        "$BUILD/pellix-win64-screenshot.png"
fi
