#!/bin/sh
# The include layering, checked from the sources alone (no build needed):
# a folder includes headers of its own and of lower layers only, two folders
# never include each other, and the standard C++ folders include no Qt header.
# Headers are included by bare name through include directories, so each
# project header's name tells its folder.
#
# Usage: sh scripts/check-includes.sh [source-root]
# Exit 0 when the layering holds; 1 naming every offending file and include.

# Source folders, lowest layer first. A folder may include its own headers and
# those of folders on lines above it; folders on one line sit side by side and
# include none of each other.
# A listed folder that does not exist is passed over; a folder that exists but
# is in no line is reported and only checked for folders including each other.
LAYERS='
engine
keypad
ini
state
cli seam
shell
about
app
'

# Folders that stay standard C++: no Qt header.
QT_FREE='engine keypad ini state cli'

# Top-level folders outside the layering: tests, tools, build scripts, data.
NOT_LAYERED='tests bench fuzz cmake resources scripts'

root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2

folders=
for d in */; do
    d=${d%/}
    case " $NOT_LAYERED " in *" $d "*) continue ;; esac
    case $d in build*) continue ;; esac
    if [ -z "$(find "$d" -type f \( -name '*.h' -o -name '*.cpp' \) | head -n 1)" ]; then
        continue
    fi
    case "$LAYERS" in
    *"
$d
"* | *"
$d "* | *" $d
"* | *" $d "*) ;;
    *) echo "check-includes: $d/ is in no layer of LAYERS; only checked for folders that include each other" >&2 ;;
    esac
    folders="$folders $d"
done

headers=$(mktemp) || exit 2
trap 'rm -f "$headers"' EXIT
# shellcheck disable=SC2086 # the folder list is split on purpose
find $folders -type f -name '*.h' >"$headers"
# shellcheck disable=SC2086
sources=$(find $folders -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# shellcheck disable=SC2086
awk -v layers="$(printf '%s' "$LAYERS" | tr '\n' ';')" -v qtfree="$QT_FREE" '
BEGIN {
    n = split(layers, rows, ";")
    for (i = 1; i <= n; ++i) {
        m = split(rows[i], names, " ")
        for (j = 1; j <= m; ++j) rank[names[j]] = i
    }
    m = split(qtfree, names, " ")
    for (j = 1; j <= m; ++j) noqt[names[j]] = 1
}
FNR == NR {
    base = $0; sub(/.*\//, "", base)
    top = $0; sub(/\/.*/, "", top)
    owner[base] = top
    next
}
FNR == 1 { from = FILENAME; sub(/\/.*/, "", from) }
/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
    name = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*[<"]/, "", name)
    sub(/[>"].*/, "", name)
    where = FILENAME ":" FNR ": #include " name
    if ((from in noqt) && name ~ /^Q/) {
        print where ": a Qt header in " from "/"; bad = 1
        next
    }
    base = name; sub(/.*\//, "", base)
    if (!(base in owner)) next # a system or library header
    to = owner[base]
    if (to == from) next
    if (!((from, to) in edge)) edge[from, to] = where
    if ((from in rank) && (to in rank) && rank[to] >= rank[from]) {
        print where ": " to "/ is not below " from "/"; bad = 1
    }
}
END {
    for (e in edge) {
        split(e, p, SUBSEP)
        if (p[1] < p[2] && ((p[2], p[1]) in edge)) {
            print p[1] "/ and " p[2] "/ include each other: " edge[e] "; " edge[p[2], p[1]]
            bad = 1
        }
    }
    exit bad
}' "$headers" $sources
