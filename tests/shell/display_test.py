#!/usr/bin/python3
"""display_test.py PELLIX display-lost|window-destroyed: the real pellix on
an X server of its own is typed 55 ENTER; the server is killed, or another
client destroys the window. Either way it ends, its settings file holding 55."""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
from xsession import end, fail, private_env, start_xvfb, wait_for  # noqa: E402


def main(pellix, how):
    with tempfile.TemporaryDirectory(prefix="pellix-display-") as tmp:
        env = private_env(tmp)
        xvfb, env["DISPLAY"] = start_xvfb(env)
        calc = subprocess.Popen([shutil.copy2(pellix, tmp)], cwd=tmp, env=env)

        def xdotool(*args):
            return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True,
                                  timeout=30, check=False).stdout.split()

        def windows(*pattern):
            return xdotool("search", "--onlyvisible", "--pid", str(calc.pid), *(pattern or [""]))

        try:
            window = wait_for("the window", lambda: windows("--name", "^Pellix"), timeout=60)[0]
            shown = len(windows())
            # The menu the Menu key opens after the keys shows once they are handled.
            xdotool("windowfocus", "--sync", window)
            xdotool("key", "5", "5", "Return", "Menu")
            wait_for("the menu", lambda: len(windows()) > shown)
            xvfb.kill() if how == "display-lost" else xdotool("windowclose", window)
            code = calc.wait(timeout=30)  # not ended: TimeoutExpired
            if code != 0 and how == "window-destroyed":  # a lost display's exit is Qt's
                fail(f"pellix ended with {code}")
            with open(os.path.join(tmp, "pellix.ini"), encoding="utf-8") as f:
                stored = dict(line.strip().split("=", 1) for line in f if "=" in line)
            if (stored.get("Zun.Stack[0]"), stored.get("Zun.Stack[1]")) != ("55", "55"):
                fail(f"stored {stored}")
            return 0
        finally:
            end(calc, xvfb)


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
