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
from xsession import end, fail, private_env, start_xvfb, stored, wait_for, xdotool  # noqa: E402,E501


def main(pellix, how):
    with tempfile.TemporaryDirectory(prefix="pellix-display-") as tmp:
        env = private_env(tmp)
        xvfb, env["DISPLAY"] = start_xvfb(env)
        calc = subprocess.Popen([shutil.copy2(pellix, tmp)], cwd=tmp, env=env)

        def windows(*pattern):
            return xdotool(env, "search", "--onlyvisible", "--pid", str(calc.pid),
                           *(pattern or [""]))

        try:
            window = wait_for("the window", lambda: windows("--name", "^Pellix"), timeout=60)[0]
            shown = len(windows())
            # The menu the Menu key opens after the keys shows once they are handled.
            xdotool(env, "windowfocus", "--sync", window)
            xdotool(env, "key", "5", "5", "Return", "Menu")
            wait_for("the menu", lambda: len(windows()) > shown)
            xvfb.kill() if how == "display-lost" else xdotool(env, "windowclose", window)
            code = calc.wait(timeout=30)  # not ended: TimeoutExpired
            if code != 0 and how == "window-destroyed":  # a lost display's exit is Qt's
                fail(f"pellix ended with {code}")
            ini = stored(os.path.join(tmp, "pellix.ini"))
            if (ini.get("Zun.Stack[0]"), ini.get("Zun.Stack[1]")) != ("55", "55"):
                fail(f"stored {ini}")
            return 0
        finally:
            end(calc, xvfb)


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
