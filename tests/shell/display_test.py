#!/usr/bin/python3
"""The real pellix on an X server of its own, whose window ends in ways that
bring it no close: the X server killed under it (the display lost), and its
window destroyed by another client (xdotool windowclose). The program ends
either way, and the settings file beside it holds what was typed.

Usage: display_test.py PELLIX lost|destroyed
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
from xsession import fail, private_env, start_xvfb  # noqa: E402

TIMEOUT = 30  # seconds for anything to happen


def wait_for(what, predicate):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    fail("timed out waiting for " + what)


def xdotool(env, *args):
    return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True,
                          timeout=TIMEOUT, check=False).stdout.split()


def type_55_enter(env, pid):
    def windows(*pattern):
        return xdotool(env, "search", "--onlyvisible", "--pid", str(pid), *pattern)

    window = wait_for("the window", lambda: windows("--name", "^Pellix"))[0]
    shown = len(windows(""))
    # Typed through the X server into the focused window; the face's menu,
    # opened by the Menu key after them, shows once they have been handled.
    xdotool(env, "windowfocus", "--sync", window)
    xdotool(env, "key", "5", "5", "Return", "Menu")
    wait_for("the menu", lambda: len(windows("")) > shown)
    xdotool(env, "key", "Escape")
    wait_for("the menu to close", lambda: len(windows("")) == shown)
    return window


def main(pellix, how):
    with tempfile.TemporaryDirectory(prefix="pellix-display-") as tmp:
        env = private_env(tmp)
        program = os.path.join(tmp, "bin", "pellix")
        os.makedirs(os.path.dirname(program))
        shutil.copy2(pellix, program)
        log_name = program + ".log"
        server, env["DISPLAY"] = start_xvfb(env)
        calc = None
        try:
            with open(log_name, "w") as log:
                calc = subprocess.Popen([program], cwd=tmp, env=env, stdout=log, stderr=log)
            window = type_55_enter(env, calc.pid)
            if how == "destroyed":
                xdotool(env, "windowclose", window)
            else:
                server.kill()
                server.wait()
            try:
                code = calc.wait(timeout=TIMEOUT)
            except subprocess.TimeoutExpired:
                fail("pellix goes on without its window")
            if how == "destroyed" and code != 0:
                fail(f"pellix ended with {code}")
            ini = os.path.splitext(program)[0] + ".ini"
            if not os.path.exists(ini):
                fail("nothing stored")
            with open(ini, encoding="utf-8") as f:
                stored = dict(line.strip().split("=", 1) for line in f if "=" in line)
            for key in ("Zun.Stack[0]", "Zun.Stack[1]"):
                if float(stored.get(key, "nan")) != 55:
                    fail(f"stored {key} is {stored.get(key)!r}")
            print(f"pellix ({how}) ended with {code}, 55 ENTER stored")
            return 0
        finally:
            if calc is not None and calc.poll() is None:
                calc.kill()
                calc.wait()
            if server.poll() is None:
                server.kill()
                server.wait()
            with open(log_name, encoding="utf-8", errors="replace") as f:
                sys.stderr.write(f.read())


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in ("lost", "destroyed"):
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
