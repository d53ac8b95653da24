#!/bin/sh
# The Windows program as a user gets it, under Wine on its own X server:
#  1. the zip's folder, unpacked under a path with a blank and a non-ASCII
#     letter: keys clicked on the face (3 ENTER 4 +), Q closes, the settings
#     file beside the program holds X = 7; a second start finds 7 again
#     (1 + then stores 8);
#  2. the installer, silently: the program lands in the user's programs
#     folder with a Start-menu entry, a desktop link and an entry in the
#     list of installed programs; the installed program stores and takes
#     that desktop link for its own (no second one at its first start); a silent
#     uninstall removes the program and keeps the settings file, one with
#     /RemoveSettings removes that too.
#
#   sh tests/win/program_test.sh <program folder> <installer> [screenshot.png]
#
# Wine's prefix and home are throwaway folders of the test's own.
set -eu
DIST=$(cd "$1" && pwd)
SETUP=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
SHOT=${3:-}
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

scratch=$(mktemp -d "${TMPDIR:-/tmp}/pellix-wine-ui.XXXXXX")
export WINEPREFIX="$scratch/prefix" HOME="$scratch/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_DESKTOP_DIR XDG_RUNTIME_DIR WAYLAND_DISPLAY
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine names Unix files in the locale's character set: a UTF-8 one, as a user has.
export LC_ALL=C.UTF-8
mkdir -p "$HOME"
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"

display=:$((90 + $$ % 50))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    "$WINESERVER" -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT INT TERM
export DISPLAY="$display"
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null
"$WINESERVER" -w

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the program, waits for its window, clicks the given keys (names of
# face keys: their centres in design pixels at zoom 1.0), then Q, and waits
# until it has ended.
declare_key() { eval "key_$1='$2'"; }
declare_key 3 "522 293"
declare_key 4 "406 230"
declare_key 1 "407 293"
declare_key enter "349 325"
declare_key add "580 359"
# Wine opens and closes windows of its own meanwhile: one that goes while
# xdotool looks at it ends that search with BadWindow, so the search is
# repeated rather than synced.
wait_for_window() {
    tries=120
    while [ "$tries" -gt 0 ]; do
        window=$(xdotool search --onlyvisible --name '^Pellix' 2>/dev/null | head -n 1)
        [ -z "$window" ] || return 0
        tries=$((tries - 1))
        sleep 0.5
    done
    return 1
}
run_and_click() {
    exe=$1
    shift
    "$WINE" "$exe" >/dev/null 2>&1 &
    wait_for_window || fail "no window from $exe"
    sleep 2
    eval "$(xdotool getwindowgeometry --shell "$window")"
    for key in "$@"; do
        eval "xy=\$key_$key"
        set -- $xy
        xdotool mousemove $((X + $1)) $((Y + $2)) click 1
        sleep 0.3
    done
    [ -z "$SHOT" ] || import -window root "$SHOT"
    xdotool key q
    "$WINESERVER" -w
}

stored_x() {
    grep -a 'Stack\[0\]=' "$1" | head -n 1 | sed 's/.*=//' | tr -d '\r'
}

# 1. The unpacked folder.
folder="$scratch/Programme für alle/Pellix $(basename "$DIST")"
mkdir -p "$folder"
cp -r "$DIST"/. "$folder"/
run_and_click "$folder/pellix.exe" 3 enter 4 add
[ "$(stored_x "$folder/pellix.ini")" = 7 ] || fail "stored X is '$(stored_x "$folder/pellix.ini")', not 7"
SHOT=""
run_and_click "$folder/pellix.exe" 1 add
[ "$(stored_x "$folder/pellix.ini")" = 8 ] || fail "after a restart X is not 8"
echo "unpacked folder: stores and restores"

# 2. The installer and the uninstaller. The desktop link that the unpacked
# program made at its first start goes first: the installer's own must be
# the one the installed program finds at its first start.
# Wine's desktop folder is a link into the home folder.
desktop=$(readlink -f "$WINEPREFIX/drive_c/users/$(id -un)/Desktop")
desktop_links() {
    find "$desktop" -maxdepth 1 -name '*.lnk'
}
find "$desktop" -maxdepth 1 -name '*.lnk' -delete
"$WINE" "$SETUP" /S
"$WINESERVER" -w
local_app="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local"
installed="$local_app/Programs/Pellix"
[ -f "$installed/pellix.exe" ] || fail "nothing installed in $installed"
find "$WINEPREFIX/drive_c/users/$(id -un)" -name 'Pellix.lnk' | grep -q 'Start Menu' ||
    fail "no Start-menu entry"
[ "$(desktop_links | wc -l)" -eq 1 ] || fail "the installer made $(desktop_links | wc -l) desktop links, not 1"
"$WINE" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellix' /v DisplayVersion |
    grep -q "$(basename "$DIST" | sed 's/^pellix-//; s/-win64$//')" || fail "no entry in the installed programs"
run_and_click "$installed/pellix.exe" 3 enter 4 add
[ "$(stored_x "$installed/pellix.ini")" = 7 ] || fail "the installed program did not store"
[ "$(desktop_links | wc -l)" -eq 1 ] || fail "the installed program made a second desktop link"

"$WINE" "$installed/uninstall.exe" /S
"$WINESERVER" -w
[ ! -e "$installed/pellix.exe" ] || fail "the uninstaller left the program"
[ -f "$installed/pellix.ini" ] || fail "the uninstaller removed the settings file"
! "$WINE" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellix' >/dev/null 2>&1 ||
    fail "the entry in the installed programs is left"
! find "$WINEPREFIX/drive_c/users" -name 'Pellix.lnk' | grep -q . || fail "a link is left"

"$WINE" "$SETUP" /S
"$WINESERVER" -w
"$WINE" "$installed/uninstall.exe" /S /RemoveSettings
"$WINESERVER" -w
[ ! -e "$installed" ] || fail "/RemoveSettings left $(ls "$installed")"
echo "installer: installs, stores, uninstalls (settings kept, then removed on request)"
