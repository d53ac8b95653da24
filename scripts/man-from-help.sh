#!/bin/sh
# Writes a manual page whose SYNOPSIS, DESCRIPTION and the sections after it
# come from PROGRAM --help, so that the help stays the one source of those
# facts. TEMPLATE is the rest of the page in roff; its line `.\" --help`
# marks where the converted help goes.
# Usage: scripts/man-from-help.sh PROGRAM TEMPLATE OUTPUT
#
# The help's layout: "Usage: NAME ARGS" first, then paragraphs of the
# description; a line in column 0 ending in ":" heads a section; an entry is
# indented by two spaces, its term parted from its text by two or more spaces
# and its text continued on lines indented deeper; an indented line without
# such a gap stands alone.
set -eu
program=$1
template=$2
output=$3

help=$("$program" --help)
grep -qx '\.\\" --help' "$template" || {
    echo "man-from-help: no '.\\\" --help' line in $template" >&2
    exit 1
}

printf '%s\n' "$help" | awk -v template="$template" '
# Roff-escapes text: backslashes, and dashes that begin a word (options, the
# minus key) become minus signs; a hyphen inside a word stays a hyphen.
function esc(s,    out, i, c, prev) {
    gsub(/\\/, "\\e", s)
    out = ""; prev = " "
    for (i = 1; i <= length(s); i++) {
        c = substr(s, i, 1)
        if (c == "-" && (prev ~ /[ [(,=|]/ || prev == "-" && dash)) {
            out = out "\\-"; dash = 1
        } else {
            out = out c; dash = 0
        }
        prev = c
    }
    if (out ~ /^[.'\'']/) out = "\\&" out
    return out
}
# An option word: "--name=VALUE" or "-x", bold name and italic value.
function optword(w,    eq) {
    eq = index(w, "=")
    if (eq == 0) return "\\fB" esc(w) "\\fR"
    return "\\fB" esc(substr(w, 1, eq - 1)) "\\fR=\\fI" esc(substr(w, eq + 1)) "\\fR"
}
# A word of the usage line: options bold, placeholders in capitals italic.
function synword(w,    lead, trail) {
    lead = ""; trail = ""
    if (w ~ /^\[/) { lead = "["; w = substr(w, 2) }
    if (w ~ /\]$/) { trail = "]"; w = substr(w, 1, length(w) - 1) }
    if (w ~ /^-/) return lead optword(w) trail
    if (match(w, /^[A-Z]+/)) return lead "\\fI" substr(w, 1, RLENGTH) "\\fR" esc(substr(w, RLENGTH + 1)) trail
    return lead esc(w) trail
}
# An entry term: in the options section each comma-separated option is
# formatted, elsewhere the term is shown as written.
function term(t,    n, parts, i, out) {
    if (section != "OPTIONS" || t !~ /^-/) return esc(t)
    n = split(t, parts, /, /)
    out = optword(parts[1])
    for (i = 2; i <= n; i++) out = out ", " optword(parts[i])
    return out
}
function emit(line) { body = body line "\n" }
NR == 1 {
    if ($1 != "Usage:") { print "man-from-help: the help does not begin with Usage:" > "/dev/stderr"; exit 1 }
    emit(".SH SYNOPSIS")
    emit(".B " esc($2))
    for (i = 3; i <= NF; i++) emit(synword($i))
    emit(".SH DESCRIPTION")
    section = "DESCRIPTION"; state = "text"; started = 0
    next
}
/^[ \t]*$/ { if (started) state = "gap"; next }
/^[^ ].*:$/ {
    section = toupper(substr($0, 1, length($0) - 1))
    emit(".SH \"" esc(section) "\"")
    state = "text"; started = 0
    next
}
/^  [^ ]/ {
    line = substr($0, 3)
    if (match(line, /  +[^ ][^ ]*( [^ ]+)*$/) && RSTART > 1) {
        t = substr(line, 1, RSTART - 1)
        d = substr(line, RSTART); sub(/^ +/, "", d)
        emit(".TP"); emit(term(t)); emit(esc(d))
        state = "entry"
    } else {
        emit(state == "alone" ? ".br" : ".IP")
        emit(esc(line))
        state = "alone"
    }
    started = 1
    next
}
/^   / {
    line = $0; sub(/^ +/, "", line)
    if (state == "alone") emit(".br")
    emit(esc(line))
    started = 1
    next
}
{
    if (state != "text" || started && state == "gap") emit(".PP")
    emit(esc($0))
    state = "text"; started = 1
}
END {
    while ((getline line < template) > 0) {
        if (line == ".\\\" --help") printf "%s", body
        else print line
    }
}
' >"$output.tmp"
mv "$output.tmp" "$output"
