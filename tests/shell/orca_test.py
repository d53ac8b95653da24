#!/usr/bin/python3
"""Usage: orca_test.py PELLIX. Works the real pellix with the real Orca on its
own X server and D-Bus session; Orca speaks through a speech dispatcher whose
one voice appends each utterance to a file (sound to libao's null driver)."""

import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
import xsession  # noqa: E402

INNER = "--inside-session"
FACE_ORDER = ["square root", "e to the x", "10 to the x"]


def inside(program, tmp):
    log, sock = os.path.join(tmp, "spoken.txt"), os.path.join(tmp, "speechd.sock")
    speechd = os.path.join(os.environ["XDG_CONFIG_HOME"], "speech-dispatcher")
    # DisableAutoSpawn: Orca must not start a dispatcher of its own.
    for path, text in (
            (os.path.join(os.environ["HOME"], ".libao"), "default_driver=null\n"),
            (os.path.join(speechd, "speechd.conf"), 'AudioOutputMethod "libao"\nDisableAutoSpawn\n'
             'AddModule "textlog" "sd_generic" "textlog.conf"\nDefaultModule textlog\n'),
            (os.path.join(speechd, "modules", "textlog.conf"),
             f'GenericExecuteSynth "printf \'%s\\\\n\' \\\'$DATA\\\' >> {log}"\n'
             'AddVoice "en" "MALE1" "textlog"\nGenericLanguage "en" "english" "utf-8"\n')):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
    os.environ["SPEECHD_ADDRESS"] = "unix_socket:" + sock
    processes = []

    def start(*args, **kwargs):
        processes.append(subprocess.Popen(args, stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL, **kwargs))
        return processes[-1]

    def spoken():
        with open(log, encoding="utf-8", errors="replace") as f:
            return [line.strip() for line in f if line.strip()]

    def after(lines, pattern, start):
        return next((i for i in range(max(start, 0), len(lines))
                     if re.match(pattern, lines[i])), -1) if start >= 0 else -1

    def wait_spoken(what, predicate):
        xsession.wait_for(what, lambda: os.path.exists(log) and predicate(spoken()), timeout=40)

    def keys(*names):  # at a typist's pace, so that no key echo is cut off
        subprocess.run(["xdotool", "key", "--delay", "250", "--window", window, *names],
                       check=True, timeout=30)

    try:
        start("/usr/libexec/at-spi-bus-launcher", "--launch-immediately")
        start("speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", speechd,
              "--communication-method", "unix_socket", "--socket-path", sock)
        calc = start(program, cwd=os.path.dirname(program))
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                 "^Pellix"], check=True, timeout=30, capture_output=True,
                                text=True).stdout.split()[0]
        # Never --replace: it ends every Orca of this user. A second Orca ends at once.
        orca = start("orca", "--user-prefs", os.path.join(tmp, "orca"), "--disable", "braille")
        wait_spoken("Orca's start", lambda lines: orca.poll() is None and lines)
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=30)
        wait_spoken("the window", lambda lines: any("Pellix" in s for s in lines))

        keys("3", "Return", "4", "plus")
        wait_spoken("7 after plus",
                    lambda lines: after(lines, r".*\b7\b", after(lines, "plus$", 0)) >= 0)
        # One Tab at a time: a key pressed while Orca speaks cuts the speech off.
        at = len(spoken())
        for name in FACE_ORDER:
            keys("Tab")
            wait_spoken(name + " after tab", lambda lines: after(lines, re.escape(name), at) >= 0)
            at = after(spoken(), re.escape(name), at) + 1
        return 0 if calc.poll() is None else xsession.fail("pellix ended")
    finally:
        xsession.end(*reversed(processes), timeout=3)  # Orca may ignore SIGTERM
        if os.path.exists(log):
            print("Orca spoke:\n  " + "\n  ".join(spoken()), file=sys.stderr)


def outside(pellix):
    with tempfile.TemporaryDirectory(prefix="pellix-orca-") as tmp:
        env = xsession.private_env(tmp, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        program = os.path.join(tmp, "bin", "pellix")
        os.makedirs(os.path.dirname(program))
        shutil.copy2(pellix, program)
        xvfb, env["DISPLAY"] = xsession.start_xvfb(env)
        try:
            return subprocess.run(["dbus-run-session", "--", sys.executable,
                                   os.path.abspath(__file__), INNER, program, tmp],
                                  env=env, timeout=120, check=False).returncode
        finally:
            xsession.end(xvfb)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == INNER:
        sys.exit(inside(sys.argv[2], sys.argv[3]))
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(outside(sys.argv[1]))
