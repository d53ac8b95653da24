#!/usr/bin/python3
"""wayland_test.py PELLIX: the real pellix under a headless weston of its own,
with XWayland (pellix runs on X11 there) and without (natively, where it says
once that the compositor places it); the stored position stays in both."""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
from xsession import wait_for, xdotool  # noqa: E402


def read(path):
    return open(path).read()


def session(tmp, procs, xwayland):
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("DBUS_", "XDG_", "QT_", "WAYLAND", "DISPLAY"))}
    env.update(HOME=tmp, XDG_CONFIG_HOME=tmp, XDG_RUNTIME_DIR=os.path.join(tmp, "run"),
               LC_ALL="C.UTF-8", XDG_SESSION_TYPE="wayland", WAYLAND_DISPLAY="pellix-test")
    if "ASAN_OPTIONS" in env:  # the window system's libraries keep memory to the end
        env["ASAN_OPTIONS"] += ":detect_leaks=0"
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    log = os.path.join(tmp, "weston.log")
    if xwayland and not os.path.isdir("/tmp/.X11-unix"):  # where XWayland's sockets go
        os.makedirs("/tmp/.X11-unix")
        os.chmod("/tmp/.X11-unix", 0o1777)
    procs.append(subprocess.Popen(
        ["weston", "--backend=headless-backend.so", "--socket=pellix-test", "--idle-time=0",
         "--log=" + log] + ["--xwayland"] * xwayland, env=env, stderr=subprocess.DEVNULL))
    wait_for("weston", lambda: os.path.exists(os.path.join(env["XDG_RUNTIME_DIR"],
                                                           "pellix-test")))
    if xwayland:
        env["DISPLAY"] = wait_for("XWayland", lambda: re.search(
            r"xserver listening on display (:\d+)", read(log))).group(1)
    return env


def run_pellix(program, xwayland):
    note = "the compositor places the window"
    with tempfile.TemporaryDirectory(prefix="pellix-wayland-") as tmp:
        procs = []
        try:
            env = session(tmp, procs, xwayland)
            pellix = os.path.join(tmp, "pellix")
            shutil.copy2(program, pellix)
            with open(pellix + ".ini", "w") as f:
                f.write("[ZunMain]\nlastShowAbout=1\nLeft=123\nTop=45\n")
            log = os.path.join(tmp, "pellix.log")
            procs.append(subprocess.Popen([pellix], env=env, cwd=tmp, stderr=open(log, "w")))
            if xwayland:  # a window on XWayland's X server
                wait_for("the window on X11", lambda: xdotool(
                    env, "search", "--onlyvisible", "--pid", str(procs[-1].pid)))
            else:
                wait_for("the note", lambda: note in read(log))
            procs[-1].send_signal(signal.SIGTERM)  # as a session's end: it stores
            assert procs[-1].wait(timeout=30) == 0 and read(log).count(note) == 1 - xwayland
            stored = re.findall(r"^(?:Left|Top)=(.*)$", read(pellix + ".ini"), re.M)
            assert stored == ["123", "45"], "stored %s with XWayland=%s" % (stored, xwayland)
        finally:
            for proc in reversed(procs):
                proc.kill()
                proc.wait()


if __name__ == "__main__":
    for with_xwayland in (True, False):
        run_pellix(sys.argv[1], with_xwayland)
