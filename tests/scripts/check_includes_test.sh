#!/bin/sh
# The include check on a small tree: it passes on a sound layering, then fails
# naming the include that runs from keypad/ up to shell/ and the one that names
# another folder's header bare.
set -u
check=$1
tree=$(mktemp -d) || exit 1
trap 'rm -rf "$tree"' EXIT
mkdir "$tree/engine" "$tree/keypad" "$tree/shell"
printf '#include <string>\n' >"$tree/engine/calc.h"
printf '#include "engine/calc.h"\n' >"$tree/keypad/keys.h"
printf '#include "keys.h"\n' >"$tree/keypad/keys.cpp"
printf '#include "keypad/keys.h"\n#include <QWidget>\n' >"$tree/shell/window.h"
if ! sh "$check" "$tree" >/dev/null; then
    echo "FAIL: a sound layering was refused"
    sh "$check" "$tree"
    exit 1
fi
printf '#include "shell/window.h"\n#include "calc.h"\n' >>"$tree/keypad/keys.h"
printf '#include <QString>\n' >>"$tree/keypad/keys.cpp"
out=$(sh "$check" "$tree")
rc=$?
echo "$out"
for expected in 'keypad/keys.h:2: #include shell/window.h: shell/ is not below keypad/' \
    'keypad/keys.h:3: #include calc.h: not in keypad/; include it by its folder' \
    'keypad/keys.cpp:2: a Qt header in keypad/'; do
    if [ "$rc" -ne 1 ] || ! printf '%s\n' "$out" | grep -qxF "$expected"; then
        echo "FAIL: not named (exit $rc): $expected"
        exit 1
    fi
done
