#!/usr/bin/python3
"""click_sound_test.py PELLIX SOUND_MODULE CLICK_WAV: the key click heard
through a real sound server, Debian's PulseAudio with a null sink in a private
runtime folder, its monitor recorded with parec while keys are typed into the
real window on an X server of its own.

Each key puts one click shaped like the program's own waveform into the sink;
a server killed while Pellix runs leaves the next key silent without a hang,
and a new server brings the clicks back; with the sound off nothing is heard
and the sound module is never loaded."""

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
from xsession import end, fail, private_env, start_xvfb, stored, wait_for, window_of, xdotool  # noqa: E402,E501

RATE = 11025  # the click's own rate; the monitor is recorded at it too
LOUD = 6000  # a sample above this belongs to a click's transient


def start_pulse(env, log):
    pulse = subprocess.Popen(
        ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
         "-L", "module-native-protocol-unix", "-L", "module-null-sink sink_name=clicks"],
        env=env, stdout=log, stderr=log)
    wait_for("the sound server", lambda: subprocess.run(
        ["pactl", "info"], env=env, capture_output=True).returncode == 0)
    return pulse


def record(env, path):
    """Records the sink's monitor. A stream of silence keeps the sink running
    meanwhile: an idle null sink renders nothing, so its monitor would leave
    out the time between clicks."""
    raw = ["--raw", "--format=s16le", "--channels=1", "--rate=%d" % RATE]
    processes = (subprocess.Popen(["pacat", *raw, "--latency-msec=20", "/dev/zero"], env=env),
                 subprocess.Popen(["parec", "--device=clicks.monitor", *raw,
                                   "--latency-msec=10", path], env=env))
    wait_for("the recording", lambda: os.path.exists(path) and os.path.getsize(path) > 0)
    return processes


def envelope(samples, start, count):
    """Loudness in 1 ms blocks: the rate conversions on the way through the
    server shift single samples, never the loudness over a millisecond."""
    return [max(map(abs, samples[i:i + RATE // 1000]))
            for i in range(start, start + count - RATE // 1000 + 1, RATE // 1000)]


def check_clicks(path, template, expected, what):
    """Finds the clicks of a recording; each must follow the template's
    loudness (correlation at the best lag), its peak in place and as loud."""
    with open(path, "rb") as f:
        samples = array.array("h", f.read()[:os.path.getsize(path) // 2 * 2])
    top = max(range(len(template)), key=lambda i: abs(template[i]))
    peak, shape = abs(template[top]), envelope(template, 0, len(template))
    clicks, i = [], 0
    while i < len(samples):
        if abs(samples[i]) < LOUD:
            i += 1
            continue
        at = max(range(i, min(len(samples), i + RATE // 20)), key=lambda j: abs(samples[j]))
        match = max((sum(a * b for a, b in zip(seg, shape)) /
                     (sum(a * a for a in seg) * sum(b * b for b in shape)) ** 0.5, lag)
                    for lag in range(-20, 21) if 0 <= at - top + lag <= len(samples) - len(template)
                    for seg in [envelope(samples, at - top + lag, len(template))])
        clicks.append((round(match[0], 3), match[1], abs(samples[at])))
        i = at + RATE // 5  # the next click is at least 200 ms later
    if len(clicks) != expected or any(
            m < 0.95 or abs(lag) > 11 or not 0.7 * peak <= v <= 1.1 * peak for m, lag, v in clicks):
        fail(f"{what}: {expected} keys, clicks (match, peak moved, peak of {peak}): {clicks}")


def main(pellix, module, click_wav):
    with wave.open(click_wav) as w:
        template = array.array("h", w.readframes(w.getnframes()))
    with tempfile.TemporaryDirectory(prefix="pellix-click-") as tmp:
        env = private_env(tmp)
        shutil.copy2(pellix, tmp)
        shutil.copy2(module, tmp)
        log = open(os.path.join(tmp, "log"), "w")
        xvfb, env["DISPLAY"] = start_xvfb(env)
        pulse, calc, rec = None, None, ()

        def run(sound, first_keys, *then):
            """Pellix with the sound on or off, keys typed 350 ms apart into it and
            recorded; `then` are further steps (keys or callables) recorded anew."""
            nonlocal calc, rec
            with open(os.path.join(tmp, "pellix.ini"), "w") as f:
                f.write(f"[ZunMain]\r\nSound={sound}\r\n")
            calc = subprocess.Popen([os.path.join(tmp, "pellix")], cwd=tmp, env=env, stdout=log,
                                    stderr=log)
            window = window_of(env, calc)
            for number, step in enumerate((first_keys,) + then):
                if callable(step):
                    step()
                    continue
                recording = os.path.join(tmp, f"{sound}.{number}.raw")
                rec = record(env, recording)
                if sound:
                    wait_for("the sound module", lambda: module_loaded(calc.pid))
                time.sleep(0.5)
                for key in step:
                    xdotool(env, "windowfocus", "--sync", window, "key", key)
                    time.sleep(0.35)
                time.sleep(0.6)
                end(*rec)
                check_clicks(recording, template, len(step) * sound,
                             f"sound {sound}, keys {step}")
            if module_loaded(calc.pid) != bool(sound):
                fail(f"the sound module loaded: {module_loaded(calc.pid)}, sound {sound}")
            xdotool(env, "windowfocus", "--sync", window, "key", "q")
            if calc.wait(timeout=15) != 0:  # a hung sound worker: TimeoutExpired
                fail(f"pellix ended with {calc.returncode}")

        def server_killed_and_back():
            nonlocal pulse
            pulse.send_signal(signal.SIGKILL)
            pulse.wait()
            xdotool(env, "key", "4")  # silent, and no hang
            pulse = start_pulse(env, log)

        try:
            pulse = start_pulse(env, log)
            run(1, ["1", "2", "3"], server_killed_and_back, ["5", "Return"])
            if float(stored(os.path.join(tmp, "pellix.ini"))["Zun.Stack[0]"]) != 12345:
                fail("the keys did not all arrive: " + str(stored(os.path.join(tmp, "pellix.ini"))))
            run(0, ["1", "2", "3"])
        finally:
            end(calc, *rec, pulse, xvfb)
            log.close()
            with open(os.path.join(tmp, "log"), encoding="utf-8", errors="replace") as f:
                sys.stderr.write(f.read())
    print("3 keys, 3 clicks; server killed and back: 2 keys, 2 clicks; sound off: none")
    return 0


def module_loaded(pid):
    with open(f"/proc/{pid}/maps", encoding="utf-8") as f:
        return "pellix-sound" in f.read()


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
