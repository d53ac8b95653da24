#!/bin/sh
# Start-up time (exec to first window mapped), resident memory after start-up
# and CPU while idle, for Pellix and for a minimal Qt Widgets window, under Xvfb.
# Usage: bench/startup.sh BUILD_DIR [RUNS]
set -eu
build=${1:-build-bench}
runs=${2:-7}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" sh "$0" "$@"
fi

# Each program runs from a copy in a fresh folder, so Pellix starts without a
# settings file and its desktop shortcut goes into the temporary home.
measure() { # name binary title
    name=$1 bin=$2 title=$3
    times=""
    for i in $(seq "$runs"); do
        dir="$work/$name$i"
        mkdir -p "$dir/home"
        cp "$bin" "$dir/"
        start=$(date +%s%N)
        HOME="$dir/home" "$dir/$(basename "$bin")" >/dev/null 2>&1 &
        pid=$!
        while ! xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
            sleep 0.002
        done
        end=$(date +%s%N)
        times="$times $(( (end - start) / 1000000 ))"
        if [ "$i" -eq "$runs" ]; then
            sleep 1
            rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
            t0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
            sleep 5
            t1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
        fi
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    done
    median=$(echo "$times" | tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    printf '%-8s start-up median %4d ms (runs:%s)  RSS %6d KiB  idle CPU over 5 s: %d ticks\n' \
        "$name" "$median" "$times" "$rss" $((t1 - t0))
}

measure minimal "$root/$build/bench/minimal_window" "Minimal"
measure pellix "$root/$build/pellix" "Pellix"
