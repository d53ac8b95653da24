#!/bin/sh
# Installs the Debian packages that building, running and testing Pellix need,
# skipping those already present. Uses sudo when not run as root.
set -eu

packages="build-essential cmake make googletest libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
    fonts-comic-neue fonts-dejavu-core desktop-file-utils valgrind
    libpulse-dev libasound2-dev"
# The formatting check.
packages="$packages clang-format"
# The package test's checkers: Debian's package checker, the AppStream
# validator and the manual-page lint.
packages="$packages lintian appstream mandoc"
# The accessibility test: its own X server, session bus and AT-SPI bus, read through pyatspi.
packages="$packages xvfb dbus-daemon dbus-session-bus-common at-spi2-core python3 python3-pyatspi gir1.2-atspi-2.0"
# The launcher test starts the desktop launcher with GLib's own launcher (gio).
packages="$packages libglib2.0-bin"
# The screen-reader test: Orca, speaking through speech-dispatcher's generic
# module into a text file, its sound to libao's null driver.
packages="$packages orca speech-dispatcher libao4"
# The Wayland test: a compositor with XWayland, and Qt's Wayland platform.
packages="$packages weston xwayland qt6-wayland"
# Regional settings of other countries, for the tests of the number separators.
packages="$packages locales-all"
# The click test: a real sound server with a null sink, and its recorder.
packages="$packages pulseaudio pulseaudio-utils"
# The key-to-screen latency benchmark: key events through XTest, repaints through X Damage.
packages="$packages xdotool pkg-config libxcb-damage0-dev libxcb-xtest0-dev"

# `--fuzz` adds clang's libFuzzer runtime. `--windows` installs instead what
# the Windows build and its tests need: the MinGW-w64 cross compiler (POSIX
# thread model), Wine to run the tests, GoogleTest's sources, and for the
# downloads and their test: zip, NSIS, an X server, xdotool and ImageMagick.
case "${1:-}" in
--fuzz) packages="$packages clang libclang-rt-14-dev" ;;
--windows) packages="cmake make g++-mingw-w64-x86-64-posix wine64 googletest
    nsis zip xvfb xdotool imagemagick" ;;
# `--windows-kit`: what cross-building Qt for Windows needs, the host Qt's
# tools (moc, rcc, uic) among them.
--windows-kit) packages="cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools xz-utils" ;;
esac
# The Windows run compares its numbers with a Linux build of the same parts.
case "${1:-}" in --windows) packages="$packages g++" ;; esac

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
