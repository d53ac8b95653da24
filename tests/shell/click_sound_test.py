#!/usr/bin/python3
"""The key click heard through a real sound server: Debian's PulseAudio with a
null sink in a private runtime folder, its monitor recorded with parec, keys
typed into the real window on a private X server.

Usage: click_sound_test.py PELLIX SOUND_MODULE CLICK_WAV

Each typed key must put one click into the sink, shaped like the program's
own waveform; a server killed while Pellix runs leaves the next keys silent
without a hang, and clicks come back with a new server; with the sound off
no click is heard and the sound module is never loaded.
"""

import array
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import wave

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
from xsession import end, fail, private_env, start_xvfb, wait_for  # noqa: E402

RATE = 11025  # the click's own rate; the recording is made at it too
LOUD = 6000  # a sample above this belongs to a click's transient


def read_click(path):
    with wave.open(path) as w:
        return array.array("h", w.readframes(w.getnframes()))


def start_pulse(env, log):
    pulse = subprocess.Popen(
        ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
         "--disallow-exit=no", "-L", "module-native-protocol-unix",
         "-L", "module-null-sink sink_name=clicks"],
        env=env, stdout=log, stderr=log)
    wait_for("the sound server", lambda: pulse.poll() is None and subprocess.run(
        ["pactl", "info"], env=env, stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL).returncode == 0)
    return pulse


def record(env, path):
    """Records the sink's monitor. A stream of silence keeps the sink running
    meanwhile: an idle null sink renders nothing, so its monitor would leave
    out the time between clicks and the start of the first."""
    silence = subprocess.Popen(
        ["pacat", "--raw", "--format=s16le", "--channels=1", "--rate=%d" % RATE,
         "--latency-msec=20", "/dev/zero"], env=env)
    recorder = subprocess.Popen(
        ["parec", "--device=clicks.monitor", "--raw", "--format=s16le", "--channels=1",
         "--rate=%d" % RATE, "--latency-msec=10", path], env=env)
    wait_for("the recording", lambda: os.path.exists(path) and os.path.getsize(path) > 0)
    return silence, recorder


def envelope(samples, start, count):
    """Loudness in 1 ms blocks: the rate conversions on the way through the
    server shift single samples, never the loudness over a millisecond."""
    block = RATE // 1000
    return [max(abs(v) for v in samples[i:i + block])
            for i in range(start, start + count - block + 1, block)]


def correlation(a, b):
    dot = sum(x * y for x, y in zip(a, b))
    return dot / ((sum(x * x for x in a) * sum(y * y for y in b)) ** 0.5 or 1)


def clicks_in(path, template):
    """The clicks of a recording: for each, how well its loudness follows the
    template's (correlation at the best lag), that lag in samples and the
    loudest sample's magnitude."""
    with open(path, "rb") as f:
        data = f.read()
    samples = array.array("h", data[:len(data) // 2 * 2])
    top = max(range(len(template)), key=lambda i: abs(template[i]))
    shape = envelope(template, 0, len(template))
    found, i = [], 0
    while i < len(samples):
        if abs(samples[i]) < LOUD:
            i += 1
            continue
        peak = max(range(i, min(len(samples), i + RATE // 20)), key=lambda j: abs(samples[j]))
        best = (-1.0, 0)
        for lag in range(-20, 21):
            start = peak - top + lag
            if 0 <= start and start + len(template) <= len(samples):
                best = max(best, (correlation(envelope(samples, start, len(template)), shape), lag))
        found.append((best[0], best[1], abs(samples[peak])))
        i = peak + RATE // 5  # the next click is at least 200 ms later
    return found


def check_clicks(path, template, expected, what):
    clicks = clicks_in(path, template)
    if len(clicks) != expected:
        fail(f"{what}: {len(clicks)} clicks heard for {expected} keys: {clicks}")
    peak = max(abs(v) for v in template)
    for match, lag, value in clicks:
        if match < 0.95 or abs(lag) > 11 or not 0.7 * peak <= value <= 1.1 * peak:
            fail(f"{what}: a click unlike the program's: match {match:.3f}, peak moved by "
                 f"{lag} samples, peak {value} (the waveform's {peak})")


def type_keys(env, window, keys, gap=0.35):
    for key in keys:
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", key], env=env,
                       check=True, timeout=10)
        time.sleep(gap)


def module_loaded(pid):
    try:
        with open(f"/proc/{pid}/maps", encoding="utf-8") as f:
            return "pellix-sound" in f.read()
    except OSError:
        return False


def run_pellix(folder, env, ini, log):
    with open(os.path.join(folder, "pellix.ini"), "w", encoding="utf-8") as f:
        f.write(ini)
    calc = subprocess.Popen([os.path.join(folder, "pellix")], cwd=folder, env=env, stdout=log,
                            stderr=log)
    window = wait_for("the window", lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--pid", str(calc.pid)], env=env,
        capture_output=True, text=True).stdout.split()[:1])[0]
    return calc, window


def close(calc, env, window):
    subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "q"], env=env,
                   timeout=10, check=False)
    try:
        code = calc.wait(timeout=15)
    except subprocess.TimeoutExpired:
        fail("pellix did not end after Q (a hung sound worker?)")
    if code != 0:
        fail(f"pellix ended with {code}")


def stored_x(folder):
    with open(os.path.join(folder, "pellix.ini"), encoding="utf-8") as f:
        stored = dict(line.strip().split("=", 1) for line in f if "=" in line)
    return float(stored.get("Zun.Stack[0]", "nan"))


def main(pellix, module, click_wav):
    template = read_click(click_wav)
    with tempfile.TemporaryDirectory(prefix="pellix-click-") as tmp:
        env = private_env(tmp)
        if "ASAN_OPTIONS" in env:
            env["ASAN_OPTIONS"] += ":detect_leaks=0"  # the audio libraries' own threads
        folder = os.path.join(tmp, "bin")
        os.makedirs(folder)
        shutil.copy2(pellix, folder)
        shutil.copy2(module, folder)
        log = open(os.path.join(tmp, "log"), "w")
        xvfb, env["DISPLAY"] = start_xvfb(env)
        pulse = calc = None
        rec = ()
        try:
            pulse = start_pulse(env, log)
            recording = os.path.join(tmp, "on.raw")
            rec = record(env, recording)
            calc, window = run_pellix(folder, env, "[ZunMain]\r\nSound=1\r\n", log)
            wait_for("the sound module", lambda: module_loaded(calc.pid))
            time.sleep(0.5)
            type_keys(env, window, ["1", "2", "3"])
            time.sleep(0.6)
            end(*rec)
            check_clicks(recording, template, 3, "sound on")

            # The server goes away: keys stay silent and quick, then a new
            # server brings the clicks back.
            pulse.send_signal(signal.SIGKILL)
            pulse.wait()
            type_keys(env, window, ["4"])
            pulse = start_pulse(env, log)
            recording = os.path.join(tmp, "again.raw")
            rec = record(env, recording)
            time.sleep(0.5)
            type_keys(env, window, ["5", "Return"], gap=0.8)
            end(*rec)
            check_clicks(recording, template, 2, "after the server came back")
            close(calc, env, window)
            if stored_x(folder) != 12345:
                fail(f"stored X is {stored_x(folder)}, not 12345")

            recording = os.path.join(tmp, "off.raw")
            rec = record(env, recording)
            calc, window = run_pellix(folder, env, "[ZunMain]\r\nSound=0\r\n", log)
            time.sleep(0.5)
            type_keys(env, window, ["1", "2", "3"])
            time.sleep(0.6)
            end(*rec)
            check_clicks(recording, template, 0, "sound off")
            if module_loaded(calc.pid):
                fail("the sound module was loaded with the sound off")
            close(calc, env, window)
        finally:
            end(calc, *rec, pulse, xvfb)
            log.close()
            with open(os.path.join(tmp, "log"), encoding="utf-8", errors="replace") as f:
                sys.stderr.write(f.read())
    print("3 keys, 3 clicks; server killed and back: 2 keys, 2 clicks; sound off: none")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
