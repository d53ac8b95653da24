#!/bin/sh
# The include layering, checked from the sources alone (no build needed).
# Project headers are included by their folder ("engine/zuncalc.h"), or bare
# from the same folder; a folder includes its own headers and those of lower
# layers only, and the standard C++ folders include no Qt header.
#
# Usage: sh scripts/check-includes.sh [source-root]
# Exit 0 when the layering holds; 1 naming every offending file and include.

# Lowest layer first; folders on one line sit side by side and include none of
# each other.
LAYERS='base;engine;keypad ini;state;cli seam;shell lang about;app'
QT_FREE='base engine keypad ini state cli'
# Top-level folders outside the layering: tests, tools, build scripts, data.
UNLAYERED='tests bench fuzz cmake resources scripts'

cd "${1:-$(dirname "$0")/..}" || exit 2
for d in */; do
    d=${d%/}
    case " $(echo "$LAYERS" | tr ';' ' ') $UNLAYERED " in
    *" $d "*) ;;
    *) [ -n "$(find "$d" -name '*.h' -o -name '*.cpp' | head -n 1)" ] && case $d in build*) ;; *)
        echo "check-includes: $d/ is in no layer" && bad=1 ;; esac ;;
    esac
done
for d in $(echo "$LAYERS" | tr ';' ' '); do [ -d "$d" ] && dirs="${dirs-} $d"; done
# shellcheck disable=SC2086 # the folder list is split on purpose
find ${dirs-} -type f \( -name '*.h' -o -name '*.cpp' \) | sort | xargs awk -v layers="$LAYERS" -v qtfree=" $QT_FREE " '
BEGIN {
    n = split(layers, rows, ";"); for (i = 1; i <= n; ++i) { m = split(rows[i], f, " "); for (j = 1; j <= m; ++j) rank[f[j]] = i }
    for (i = 1; i < ARGC; ++i) source[ARGV[i]] = 1 # every header checked is one of the files read
}
FNR == 1 { from = FILENAME; sub(/\/.*/, "", from); dir = FILENAME; sub(/\/[^\/]*$/, "", dir) }
/^[ \t]*#[ \t]*include[ \t]*</ && index(qtfree, " " from " ") && /include[ \t]*<Q/ {
    print FILENAME ":" FNR ": a Qt header in " from "/"; bad = 1
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
    name = $0; sub(/^[^"]*"/, "", name); sub(/".*/, "", name)
    where = FILENAME ":" FNR ": #include " name
    if (name !~ /\//) {
        if (!((dir "/" name) in source) && name !~ /\.moc$/) { print where ": not in " dir "/; include it by its folder"; bad = 1 }
        next
    }
    to = name; sub(/\/.*/, "", to)
    if (to == from || !(to in rank)) next
    if (rank[to] >= rank[from]) { print where ": " to "/ is not below " from "/"; bad = 1 }
}
END { exit bad }' || bad=1
exit ${bad:-0}
