#!/bin/sh
# Start-up time (exec to first window mapped), resident memory one second
# after the map, CPU while idle, and key-to-screen latency at zoom 1 and 2,
# for Pellix and for a minimal Qt Widgets window, under Xvfb; then the targets.
# Usage: bench/startup.sh BUILD_DIR [RUNS]
# PELLIX_BEFORE=path/to/another/pellix adds that build to every round (for
# before/after figures from one run).
set -eu
. "$(dirname "$0")/common.sh"
bench_start 1920x1080 "$@"
runs=${2:-9}
work=$(mktemp -d)
pulse=""
trap 'kill $pulse 2>/dev/null; rm -rf "$work"' EXIT
# A sound server as on a desktop, so that the sound module connects to it.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
start_null_sink

# name|program|title: Pellix runs with its sound module beside it, so the
# module loads after the window is shown as in the build tree.
programs="minimal|$build/bench/minimal_window|Minimal pellix|$build/pellix|Pellix"
if [ -n "${PELLIX_BEFORE:-}" ]; then
    programs="$programs before|$PELLIX_BEFORE|Pellix"
fi

median() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Starts a program from a copy in a fresh folder (no settings file, the
# desktop shortcut in the temporary home), with ZOOM stored for Pellix;
# sets pid and the milliseconds from exec to the first mapped window.
start() { # name program title zoom
    dir="$work/$1.$$.$(date +%s%N)"
    mkdir -p "$dir/home"
    cp "$2" "$dir/"
    if [ "$1" = pellix ] && [ -f "$(dirname "$2")/pellix-sound.so" ]; then
        cp "$(dirname "$2")/pellix-sound.so" "$dir/"
    fi
    if [ "$4" != 1 ]; then
        printf '[ZunMain]\r\nTotalScale=%s\r\n' "$4" >"$dir/pellix.ini"
    fi
    zoomarg=""
    [ "$1" = minimal ] && zoomarg=$4
    t0=$(date +%s%N)
    HOME="$dir/home" "$dir/$(basename "$2")" $zoomarg >/dev/null 2>&1 &
    pid=$!
    while ! xdotool search --onlyvisible --name "$3" >/dev/null 2>&1; do
        if [ $((($(date +%s%N) - t0) / 1000000)) -gt 30000 ]; then
            echo "$1: no window after 30 s" >&2
            exit 1
        fi
        sleep 0.002
    done
    ms=$((($(date +%s%N) - t0) / 1000000))
}

stop() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

echo "Start-up: $runs alternating rounds, medians"
for i in $(seq "$runs"); do
    for p in $programs; do
        IFS='|' read -r name bin title <<EOF
$p
EOF
        start "$name" "$bin" "$title" 1
        echo "$ms" >>"$work/$name.ms"
        sleep 1
        awk '/VmRSS/ {print $2}' "/proc/$pid/status" >>"$work/$name.rss"
        if [ "$i" -eq "$runs" ]; then
            grep -q pellix-sound "/proc/$pid/maps" && echo yes >"$work/$name.module"
            t0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
            sleep 5
            t1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
            echo $((t1 - t0)) >"$work/$name.idle"
        fi
        stop
    done
done
for p in $programs; do
    name=${p%%|*}
    ms=$(median <"$work/$name.ms")
    rss=$(median <"$work/$name.rss")
    echo "$ms" >"$work/$name.msm"
    echo "$rss" >"$work/$name.rssm"
    module=""
    [ -f "$work/$name.module" ] && module="  (sound module loaded)"
    printf '%-8s exec to map %4d ms (runs: %s)  RSS %6d KiB  idle CPU over 5 s: %s ticks%s\n' \
        "$name" "$ms" "$(tr '\n' ' ' <"$work/$name.ms")" "$rss" "$(cat "$work/$name.idle")" "$module"
done

echo
echo "Key to screen: XTest key press to the first X Damage of the window and to the end of that repaint"
keys="1 2 3 BackSpace Return KP_Add"
for zoom in 1 2; do
    for p in $programs; do
        IFS='|' read -r name bin title <<EOF
$p
EOF
        start "$name" "$bin" "$title" "$zoom"
        sleep 1
        window=$(xdotool search --onlyvisible --name "$title" | head -n 1)
        echo "-- $name, zoom $zoom"
        "$build/bench/keylatency" "$window" "$runs" $keys | tee "$work/$name.$zoom.keys"
        awk '$1 == "all" {print $4}' "$work/$name.$zoom.keys" >"$work/$name.$zoom.first"
        stop
    done
done

# The targets, from this run's figures.
echo
echo "Targets"
verdict() { if [ "$1" = 1 ]; then echo met; else echo "NOT met"; fi; }
min_ms=$(cat "$work/minimal.msm")
pel_ms=$(cat "$work/pellix.msm")
ok=$(awk -v a="$pel_ms" -v b="$min_ms" 'BEGIN {print (a <= 1.1 * b) ? 1 : 0}')
printf 'exec to map <= 1.1 x minimal:          %s ms vs %s ms (%.2f x): %s\n' "$pel_ms" "$min_ms" \
    "$(awk -v a="$pel_ms" -v b="$min_ms" 'BEGIN {print a / b}')" "$(verdict "$ok")"
min_rss=$(cat "$work/minimal.rssm")
pel_rss=$(cat "$work/pellix.rssm")
ok=$(awk -v a="$pel_rss" -v b="$min_rss" 'BEGIN {print (a - b <= 2048) ? 1 : 0}')
printf 'RSS <= minimal + 2 MiB:                 %+.1f MiB: %s\n' \
    "$(awk -v a="$pel_rss" -v b="$min_rss" 'BEGIN {print (a - b) / 1024}')" "$(verdict "$ok")"
ok=$(awk -v a="$pel_rss" -v b="$min_rss" 'BEGIN {print (a - b <= 5632) ? 1 : 0}')
printf 'RSS <= minimal + 5.5 MiB, module loaded: %+.1f MiB: %s\n' \
    "$(awk -v a="$pel_rss" -v b="$min_rss" 'BEGIN {print (a - b) / 1024}')" "$(verdict "$ok")"
idle=$(cat "$work/pellix.idle")
loaded=no
[ -f "$work/pellix.module" ] && loaded=yes
ok=$([ "$idle" -eq 0 ] && [ "$loaded" = yes ] && echo 1 || echo 0)
printf 'idle CPU 0 ticks with the module loaded: %s ticks, module loaded: %s: %s\n' "$idle" "$loaded" \
    "$(verdict "$ok")"
for zoom in 1 2; do
    a=$(cat "$work/pellix.$zoom.first")
    b=$(cat "$work/minimal.$zoom.first")
    ok=$(awk -v a="$a" -v b="$b" 'BEGIN {print (a <= 2000 && a <= 1.5 * b) ? 1 : 0}')
    printf 'key to first repaint, zoom %s: <= 2 ms and <= 1.5 x minimal: %s us vs %s us: %s\n' \
        "$zoom" "$a" "$b" "$(verdict "$ok")"
done
