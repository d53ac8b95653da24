#!/bin/sh
# Runs every test program of a build under valgrind memcheck: no errors and no
# definite leaks allowed. Usage: scripts/valgrind-tests.sh BUILD_DIR
set -eu
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
# The regular-expression JIT writes code valgrind cannot follow.
export QT_ENABLE_REGEXP_JIT=0 QT_QPA_PLATFORM=offscreen
status=0
for t in "$build"/tests/*/*_tests; do
    [ -x "$t" ] || continue
    echo "== valgrind $(basename "$t")"
    if ! valgrind -q --error-exitcode=9 --leak-check=full --errors-for-leak-kinds=definite \
        --suppressions="$root/tests/valgrind.supp" "$t" --gtest_brief=1 >"$build/valgrind-$(basename "$t").log" 2>&1; then
        tail -40 "$build/valgrind-$(basename "$t").log"
        status=1
    fi
done
exit $status
