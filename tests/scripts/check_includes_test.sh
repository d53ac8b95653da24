#!/bin/sh
# The include check on a small tree: it passes on a sound layering, then fails
# naming the one include that runs from keypad/ up to shell/.
set -u
check=$1
tree=$(mktemp -d) || exit 1
trap 'rm -rf "$tree"' EXIT
mkdir "$tree/engine" "$tree/keypad" "$tree/shell"
printf '#include <string>\n' >"$tree/engine/calc.h"
printf '#include "calc.h"\n' >"$tree/keypad/keys.h"
printf '#include "keys.h"\n#include <QWidget>\n' >"$tree/shell/window.h"
if ! sh "$check" "$tree"; then
    echo "FAIL: a sound layering was refused"
    exit 1
fi
printf '#include "window.h"\n' >>"$tree/keypad/keys.h"
out=$(sh "$check" "$tree")
rc=$?
echo "$out"
if [ "$rc" -ne 1 ] || ! printf '%s\n' "$out" | grep -q '^keypad/keys.h:2: #include window.h: shell/ is not below keypad/$'; then
    echo "FAIL: the include from keypad/ up to shell/ was not named (exit $rc)"
    exit 1
fi
