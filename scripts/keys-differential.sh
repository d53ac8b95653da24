#!/bin/sh
# Runs the same random key sequences through the Linux and the Windows build
# of pellix-keys and checks that they print the same bytes: the display after
# every key (--trace) and the stack and registers to 17 digits (--state).
#
#   sh scripts/keys-differential.sh HOST-BUILD WINDOWS-BUILD [COUNT] [SEED]
#
# Most sequences go through keys_batch (many runs of pellix-keys in one
# process, since each start of a Windows program under Wine is slow); the
# first few also through pellix-keys and pellix-keys.exe themselves. Wine's
# environment (WINEPREFIX and so on) comes from the caller.
set -eu
set -f # the key * is no file pattern
HOST=$1
WIN=$2
COUNT=${3:-2000}
SEED=${4:-17}
EXES=20
WINE=${WINE:-/usr/lib/wine/wine64}

work=$(mktemp -d "${TMPDIR:-/tmp}/pellix-keysdiff.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

# Sequences of 4 to 40 keys, digits and number entry more often than the rest
# so that numbers of every size reach the functions; f and g switch modes and
# reach the shifted functions; never f ENTER, the random number.
awk -v n=$((COUNT + COUNT / 20 + 10)) -v seed="$SEED" 'BEGIN {
    srand(seed)
    split("0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 . EEX EEX CHS ENTER ENTER " \
          "+ - * / SQRT EXP 10X YX INV SIN COS TAN SIN COS TAN XY RDN STO RCL SUM " \
          "f f f g g g BACK", keys, " ")
    count = 0
    for (k in keys) count++
    for (i = 0; i < n; i++) {
        line = "--decimal=. --group=, --trace --state"
        len = 4 + int(rand() * 37)
        prev = ""
        for (j = 0; j < len; j++) {
            do key = keys[1 + int(rand() * count)]; while (prev == "f" && key == "ENTER")
            line = line " " key
            prev = key
        }
        print line
    }
}' >"$work/drawn"

# A prefix key still waiting (f STO f ... ENTER) can draw a random number,
# which the clock seeds: such sequences print something else on every run.
# Two Linux runs find most of them (not one whose drawn number happens to
# show alike twice); the first COUNT of the others are compared. The batch
# runs compared seed every run's generator alike, so that such a sequence
# prints the same on both platforms; pellix-keys itself (the first EXES
# sequences) seeds from the clock.
"$HOST/tests/cli/keys_batch" "$work/drawn" "$work/run1"
"$HOST/tests/cli/keys_batch" "$work/drawn" "$work/run2"
paste -d '\t' "$work/run1" "$work/run2" |
    awk -F '\t' '/^#[0-9]+ exit/ { n = substr($1, 2) + 0 } $1 != $2 { print n }' >"$work/random"
awk 'NR == FNR { drop[$1] = 1; next } !(FNR in drop)' "$work/random" "$work/drawn" |
    head -n "$COUNT" >"$work/sequences"
if [ "$(wc -l <"$work/sequences")" -lt "$COUNT" ]; then
    echo "keys-differential: fewer than $COUNT sequences without a random number" >&2
    exit 1
fi

"$HOST/tests/cli/keys_batch" "$work/sequences" "$work/linux" "$SEED"
"$WINE" "$WIN/tests/cli/keys_batch.exe" "Z:$work/sequences" "Z:$work/windows" "$SEED"
if ! cmp -s "$work/linux" "$work/windows"; then
    echo "keys-differential: Linux and Windows differ (seed $SEED, $COUNT sequences):" >&2
    diff "$work/linux" "$work/windows" | head -20 >&2
    exit 1
fi

head -n "$EXES" "$work/sequences" | while read -r line; do
    # shellcheck disable=SC2086 # the line is the argument list
    "$HOST/cli/pellix-keys" $line >"$work/a"
    # shellcheck disable=SC2086
    "$WINE" "$WIN/cli/pellix-keys.exe" $line >"$work/b"
    if ! cmp -s "$work/a" "$work/b"; then
        echo "keys-differential: pellix-keys and pellix-keys.exe differ on: $line" >&2
        diff "$work/a" "$work/b" >&2 || true
        exit 1
    fi
done
echo "keys-differential: $COUNT sequences (seed $SEED) identical on Linux and Windows"
