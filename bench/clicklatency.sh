#!/bin/sh
# Key-to-click latency of the real window: a private PulseAudio server with a
# null sink, Pellix with its sound module on a private X server, 50 typed keys
# and the time from each to the first sample of its click at the sink.
# Usage: bench/clicklatency.sh BUILD_DIR [PRESSES]
set -eu
. "$(dirname "$0")/common.sh"
bench_start 1280x1024 "$@"
presses=${2:-50}
work=$(mktemp -d)
pulse=""
calc=""
silence=""
trap 'kill $calc $silence $pulse 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
mkdir -m 700 "$work/run" "$work/home"
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
start_null_sink

# The null sink has a fixed latency of two seconds unless a stream asks for
# less, where a sound card's adapts to the stream: a stream of silence asking
# for 20 ms makes it render like one, and keeps its monitor continuous.
pacat --raw --format=s16le --channels=1 --rate=11025 --latency-msec=20 /dev/zero &
silence=$!

cp "$build/pellix" "$build/pellix-sound.so" "$work/"
printf '[ZunMain]\r\nSound=1\r\n' >"$work/pellix.ini"
"$work/pellix" >"$work/pellix.log" 2>&1 &
calc=$!
tries=0
until grep -q pellix-sound "/proc/$calc/maps" 2>/dev/null && window=$(xdotool search --onlyvisible --pid "$calc" | head -n 1) && [ -n "$window" ]; do
    tries=$((tries + 1))
    [ $tries -lt 400 ] || { echo "no window with its sound module" >&2; exit 1; }
    sleep 0.05
done
sleep 0.5
"$build/bench/clicklatency" "$window" clicks.monitor "$root/resources/click.wav" "$presses" 1 2 3
