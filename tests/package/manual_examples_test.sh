#!/bin/sh
# Runs the examples of a manual page and compares their output with the page.
# In each .EX block a line "$ COMMAND" is a command, run by the shell in a
# fresh folder, in the C locale, with PROGRAM's folder first on PATH; the
# lines up to the next command or .EE are what it prints.
# Usage: manual_examples_test.sh PROGRAM PAGE
set -eu
program=$1
page=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The page's text as typed: roff's minus, apostrophe, backslash and
# zero-width escapes undone.
awk -v expected="$tmp/expected" -v script="$tmp/run.sh" '
function plain(s) {
    gsub(/\\-/, "-", s); gsub(/\\\(aq/, "\047", s); gsub(/\\&/, "", s); gsub(/\\e/, "\\", s)
    return s
}
/^\.EX/ { inside = 1; next }
/^\.EE/ { inside = 0; next }
inside {
    line = plain($0)
    print line > expected
    if (line ~ /^\$ /) {
        command = substr(line, 3)
        quoted = line; gsub(/\047/, "\047\\\047\047", quoted)
        print "printf \"%s\\n\" \047" quoted "\047" > script
        print command " || echo \"(exit status $?)\"" > script
        count++
    }
}
END { if (count == 0) { print "no example in the page" > "/dev/stderr"; exit 1 } }
' "$page"

dir=$(cd "$(dirname "$program")" && pwd)
mkdir "$tmp/work"
(cd "$tmp/work" && HOME="$tmp/work" LC_ALL=C PATH="$dir:$PATH" sh "$tmp/run.sh") >"$tmp/actual" 2>&1
if ! diff -u "$tmp/expected" "$tmp/actual"; then
    echo "the examples of $page print otherwise (- page, + program)"
    exit 1
fi
echo "$(grep -c '^\$ ' "$tmp/expected") examples print what the page shows"
