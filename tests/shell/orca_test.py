#!/usr/bin/python3
"""Works the real pellix with the real Orca screen reader, as a blind user
does, and checks what Orca speaks: typed keys give the new display, Tab walks
the keys in face order.

Usage: orca_test.py PELLIX

Runs on its own X server and D-Bus session (see atspi_test.py). Orca speaks
through a speech dispatcher of the session whose only voice appends each
utterance to a text file; there is no sound card, so its audio goes to
libao's null driver.
"""

import os
import re
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no cache beside the sources
import atspi_test as session  # noqa: E402

TIMEOUT = 30  # seconds for anything to be spoken on a loaded machine
FACE_ORDER = ["square root", "e to the x", "10 to the x"]  # the first keys, row 1


def fail(message, spoken=None):
    if spoken is not None:
        print("Orca spoke:\n  " + "\n  ".join(spoken), file=sys.stderr)
    session.fail(message)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def configure_speech(home, config, log):
    """A dispatcher whose one module writes each utterance as a line of log."""
    write(os.path.join(home, ".libao"), "default_driver=null\n")
    speechd = os.path.join(config, "speech-dispatcher")
    write(os.path.join(speechd, "speechd.conf"), f"""\
AudioOutputMethod "libao"
DisableAutoSpawn
AddModule "textlog" "sd_generic" "textlog.conf"
DefaultModule textlog
DefaultLanguage "en"
LogLevel 3
LogDir "{speechd}"
""")
    write(os.path.join(speechd, "modules", "textlog.conf"), f"""\
GenericExecuteSynth "printf '%s\\\\n' \\'$DATA\\' >> {log}"
AddVoice "en" "MALE1" "textlog"
GenericLanguage "en" "english" "utf-8"
""")
    return speechd


def spoken(log):
    try:
        with open(log, encoding="utf-8", errors="replace") as f:
            return [line.strip() for line in f if line.strip()]
    except FileNotFoundError:
        return []


def wait_spoken(log, what, predicate):
    """Polls the speech log until predicate(lines) holds; returns the lines."""
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        lines = spoken(log)
        if predicate(lines):
            return lines
        time.sleep(0.1)
    fail("timed out waiting for Orca to speak " + what, spoken(log))


def after(lines, predicate, start=0):
    """The index of the first line from start on that satisfies predicate, or -1."""
    return next((i for i in range(start, len(lines)) if predicate(lines[i])), -1)


def stop(process, grace=3):
    if process is None or process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        process.kill()  # Orca may ignore SIGTERM
        process.wait()


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=TIMEOUT,
                   stdout=subprocess.DEVNULL)


def inside(program):
    tmp = os.path.dirname(os.path.dirname(program))
    log = os.path.join(tmp, "spoken.txt")
    speechd = configure_speech(os.environ["HOME"], os.environ["XDG_CONFIG_HOME"], log)
    env = dict(os.environ)
    env["SPEECHD_ADDRESS"] = "unix_socket:" + os.path.join(tmp, "speechd.sock")
    if "ASAN_OPTIONS" in env:
        env["ASAN_OPTIONS"] += ":detect_leaks=0"  # see atspi_test.py
    processes = []

    def start(args, **kwargs):
        processes.append(subprocess.Popen(args, env=env, **kwargs))
        return processes[-1]

    orca_log = os.path.join(tmp, "orca-debug.txt")
    try:
        start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        start(["speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", speechd,
               "--communication-method", "unix_socket", "--socket-path",
               os.path.join(tmp, "speechd.sock")], stdout=subprocess.DEVNULL,
              stderr=subprocess.DEVNULL)
        with open(program + ".log", "w") as calc_log:
            calc = start([program], cwd=os.path.dirname(program), stdout=calc_log,
                         stderr=calc_log)
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                 "^Pellix"], env=env, check=True, timeout=TIMEOUT,
                                capture_output=True, text=True).stdout.split()[0]
        # One Orca per user: another one running makes this one end at once.
        orca = start(["orca", "--user-prefs", os.path.join(tmp, "orca"), "--disable", "braille",
                      "--debug", "--debug-file", orca_log], stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL)
        wait_spoken(log, "its start", lambda lines: orca.poll() is None and lines)
        xdotool("windowfocus", "--sync", window)
        wait_spoken(log, "the window", lambda lines: any("Pellix" in s for s in lines))

        for keys in (["3"], ["Return"], ["4"], ["plus"]):
            xdotool("key", "--window", window, *keys)
            time.sleep(0.2)  # a person's pace: the key echo is not cut off
        wait_spoken(log, "7 after plus", lambda lines: after(
            lines, lambda s: re.search(r"\b7\b", s), after(lines, lambda s: s == "plus")) >= 0)

        start_at = len(spoken(log))
        for _ in range(3):
            xdotool("key", "--window", window, "Tab")
            time.sleep(0.2)

        def keys_named(lines):
            at = start_at
            for name in FACE_ORDER:
                at = after(lines, lambda s, n=name: s.startswith(n), at)
                if at < 0:
                    return False
            return True

        lines = wait_spoken(log, "three keys in face order", keys_named)
        print("Orca spoke:\n  " + "\n  ".join(lines))
        if calc.poll() is not None:
            fail(f"pellix ended with {calc.returncode}", lines)
        return 0
    finally:
        for process in reversed(processes):
            stop(process)
        if os.path.exists(program + ".log"):
            with open(program + ".log", encoding="utf-8", errors="replace") as f:
                sys.stderr.write(f.read())
        if os.path.exists(orca_log):
            with open(orca_log, encoding="utf-8", errors="replace") as f:
                said = [line.strip() for line in f if "SPEECH OUTPUT" in line]
            sys.stderr.write("Orca's debug file:\n  " + "\n  ".join(said) + "\n")


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == session.INNER:
        sys.exit(inside(sys.argv[2]))
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(session.run_in_session(__file__, sys.argv[1], "pellix-orca-"))
