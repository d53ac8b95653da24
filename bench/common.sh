# Sourced by the benchmark scripts that work the real window.

# Sets root to the source tree and build to the build folder (the first
# argument, default build-bench) made absolute; reruns the calling script
# under xvfb-run with a screen of size $1 (WxH) when there is no display.
# Usage: bench_start WxH "$@"
bench_start() {
    screen=$1
    shift
    root=$(cd "$(dirname "$0")/.." && pwd)
    build=${1:-build-bench}
    case $build in /*) ;; *) build="$root/$build" ;; esac
    if [ -z "${DISPLAY:-}" ]; then
        exec xvfb-run -a -s "-screen 0 ${screen}x24" sh "$0" "$@"
    fi
}

# Starts a private PulseAudio server with a null sink "clicks" in
# $XDG_RUNTIME_DIR (which the caller made private) and sets pulse to its
# process id. Needs $work for the server's log.
start_null_sink() {
    unset PULSE_SERVER
    mkdir -p "$work/pulse-home"
    HOME="$work/pulse-home" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        -L module-native-protocol-unix -L "module-null-sink sink_name=clicks" \
        >"$work/pulse.log" 2>&1 &
    pulse=$!
    tries=0
    until pactl info >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -lt 200 ] || { echo "no sound server" >&2; cat "$work/pulse.log" >&2; return 1; }
        sleep 0.05
    done
}
