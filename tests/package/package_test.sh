#!/bin/sh
# Builds the Debian package of a build folder into a temporary folder and
# checks it as a distribution would: lintian without errors or warnings, the
# AppStream metainfo and desktop entry valid in the installed tree, both
# manual pages free of lint, and changelog and metainfo of the package's
# version. Exits 77 (skipped) when a tool is missing.
# Usage: package_test.sh BUILD APP_ID
set -eu
build=$1
id=$2

missing=""
for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-parsechangelog lintian appstreamcli mandoc \
    desktop-file-validate groff; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    echo "skipped, missing:$missing (scripts/install-deps.sh installs them)"
    exit 77
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/home"
export HOME="$tmp/home"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    exit 1
fi
set -- "$tmp"/out/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || { echo "FAIL: cpack made no single .deb: $*"; exit 1; }
deb=$1
echo "== $(basename "$deb")"
dpkg-deb -x "$deb" "$tmp/root"
root=$tmp/root
version=$(dpkg-deb -f "$deb" Version)

# Overrides, if any, ship in the package with their reasons; lintian reads them.
echo "== lintian"
lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1 || fail "lintian"
grep -v '^running with root privileges' "$tmp/lintian.log" || true
grep -q '^[EW]: ' "$tmp/lintian.log" && fail "lintian reports errors or warnings"

echo "== dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in
*"libc6 (>="*) ;;
*) fail "Depends lacks what dpkg-shlibdeps computes (libc6)" ;;
esac
# The click needs the sound server's client library and ALSA, nothing of Qt's
# multimedia or network modules, neither in the Depends nor in what loads.
for lib in libpulse0 libasound2; do
    case "$depends" in *"$lib "*) ;; *) fail "Depends lacks $lib" ;; esac
done
case "$depends" in *multimedia* | *network*) fail "Depends names Qt Multimedia or Network" ;; esac
module=$(find "$root/usr/lib" -name pellix-sound.so)
[ -n "$module" ] || fail "no sound module in the package"
for binary in "$root/usr/bin/pellix" "$module"; do
    ! ldd "$binary" | grep -E 'Multimedia|Network|gstreamer|avcodec' || fail "$binary loads them"
done

echo "== AppStream"
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
desktop=$root/usr/share/applications/$id.desktop
[ -f "$metainfo" ] || fail "no $id.metainfo.xml"
[ -f "$desktop" ] || fail "no $id.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
# The tree check also finds the desktop entry the metainfo launches.
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"

echo "== documentation"
doc=$root/usr/share/doc/pellix
[ -f "$doc/copyright" ] || fail "no copyright file"
if [ -f "$doc/changelog.gz" ]; then
    gzip -dc "$doc/changelog.gz" >"$tmp/changelog"
    newest=$(dpkg-parsechangelog -l "$tmp/changelog" -S Version)
    [ "$newest" = "$version" ] || fail "changelog's newest entry is $newest, the package $version"
else
    fail "no changelog.gz"
fi

echo "== manual pages"
for page in pellix pellix-keys; do
    file=$root/usr/share/man/man1/$page.1.gz
    if [ ! -f "$file" ]; then
        fail "no $page.1.gz"
        continue
    fi
    mandoc -T lint -W style "$file" || fail "mandoc lint of $page(1)"
    gzip -dc "$file" >"$tmp/$page.1"
    groff -ww -man -z "$tmp/$page.1" 2>"$tmp/groff.log" || fail "groff on $page(1)"
    if [ -s "$tmp/groff.log" ]; then
        cat "$tmp/groff.log"
        fail "groff warns on $page(1)"
    fi
done

[ $status -eq 0 ] && echo "the package passes"
exit $status
