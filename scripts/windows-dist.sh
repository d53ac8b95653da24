#!/bin/sh
# Puts together what a Windows user downloads, from a Windows build made
# against the Qt kit (scripts/windows-test.sh makes both):
#   <build>/pellix-<version>-win64/      the program folder
#   <build>/pellix-<version>-win64.zip   that folder, zipped
#   <build>/pellix-<version>-setup.exe   the installer (NSIS)
#
#   sh scripts/windows-dist.sh <build folder> <kit folder>
#
# The folder holds the two programs, the Qt libraries and plugins the window
# loads, and the compiler's runtime that the Qt libraries link to; nothing else.
set -eu
project=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "$1" && pwd)
KIT=$2

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
name="pellix-$version-win64"
dist="$BUILD/$name"
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
pthread=$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)

rm -rf "$dist" "$BUILD/$name.zip"
mkdir -p "$dist/platforms" "$dist/styles"
cp "$BUILD/pellix.exe" "$BUILD/cli/pellix-keys.exe" "$dist/"
for lib in Qt6Core Qt6Gui Qt6Widgets; do
    cp "$KIT/bin/$lib.dll" "$dist/"
done
cp "$KIT/plugins/platforms/qwindows.dll" "$dist/platforms/"
cp "$KIT/plugins/styles/qwindowsvistastyle.dll" "$dist/styles/"
cp "$runtime/libstdc++-6.dll" "$runtime/libgcc_s_seh-1.dll" "$pthread" "$dist/"
x86_64-w64-mingw32-strip --strip-unneeded "$dist"/*.exe "$dist"/*.dll "$dist"/*/*.dll

(cd "$BUILD" && zip -q -r -X "$name.zip" "$name")

# The installer's file list: what the folder holds, installed and removed again.
files="$BUILD/pellix-files.nsh"
{
    echo '!macro InstallFiles'
    (cd "$dist" && find . -type d | sort) | while read -r dir; do
        sub=$(echo "${dir#.}" | tr / '\\')
        echo "    SetOutPath \"\$INSTDIR$sub\""
        find "$dist/$dir" -maxdepth 1 -type f | sort | sed 's/^/    File "/; s/$/"/'
    done
    echo '!macroend'
    echo '!macro UninstallFiles'
    (cd "$dist" && find . -type f | sort) | sed 's|^\./||; s|/|\\|g; s/^/    Delete "$INSTDIR\\/; s/$/"/'
    (cd "$dist" && find . -mindepth 1 -type d | sort -r) | sed 's|^\./||; s|/|\\|g; s/^/    RMDir "$INSTDIR\\/; s/$/"/'
    echo '!macroend'
} >"$files"

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$files" \
    -DNAMES="$BUILD/resources/windows/names.nsh" \
    -DOUTFILE="$BUILD/pellix-$version-setup.exe" -DICON="$project/resources/windows/pellix.ico" \
    "$project/resources/windows/pellix.nsi"
ls -l "$BUILD/$name.zip" "$BUILD/pellix-$version-setup.exe"
