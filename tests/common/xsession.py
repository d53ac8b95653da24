"""What the tests of the real program on a private X server share: a private
home and XDG folders, and an X server of their own."""

import os
import subprocess
import sys


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def private_env(tmp):
    """The environment without the user's session, its folders under tmp."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("DBUS_", "AT_SPI_", "XDG_", "QT_", "LC_", "WAYLAND"))}
    for name, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "home/.config"),
                      ("XDG_DATA_HOME", "home/.local/share"),
                      ("XDG_CACHE_HOME", "home/.cache"), ("XDG_RUNTIME_DIR", "runtime")):
        env[name] = os.path.join(tmp, sub)
        os.makedirs(env[name], mode=0o700, exist_ok=True)
    os.makedirs(os.path.join(env["HOME"], "Desktop"))
    env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
    return env


def start_xvfb(env):
    """An X server on a free display; returns the process and the display name."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write,), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        number = f.readline().strip()
    if not number:
        xvfb.kill()
        fail("Xvfb did not start")
    return xvfb, ":" + number
