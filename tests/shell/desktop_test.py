#!/usr/bin/python3
"""The real pellix on desktops started privately for the test: X11 under a
window manager (Xvfb, openbox), and a headless Wayland compositor (weston)
with and without XWayland. Usage: desktop_test.py x11|wayland PELLIX"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def wait_for(what, predicate):
    deadline = time.monotonic() + 30  # generous: CI machines are loaded
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def read(path):
    with open(path) as f:
        return f.read()


def run(env, *args):
    result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=30)
    return result.stdout if result.returncode == 0 else ""


class Session:
    """A temporary home with a copy of the program and its settings file
    beside it; every process started here is killed at the end."""

    def __init__(self, tmp, pellix):
        self.tmp, self.procs = tmp, []
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("DBUS_", "XDG_", "QT_", "LC_", "WAYLAND", "DISPLAY"))}
        for name, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "home/.config"),
                          ("XDG_RUNTIME_DIR", "run")):
            self.env[name] = os.path.join(tmp, sub)
            os.makedirs(self.env[name], mode=0o700, exist_ok=True)
        self.env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
        if "ASAN_OPTIONS" in self.env:  # the window system's libraries keep memory to the end
            self.env["ASAN_OPTIONS"] += ":detect_leaks=0"
        self.program = os.path.join(tmp, "pellix")
        shutil.copy2(pellix, self.program)

    def start(self, args, env, log=subprocess.DEVNULL, **kwargs):
        self.procs.append(subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=log,
                                           **kwargs))
        return self.procs[-1]

    def pellix(self, env, ini):
        with open(self.program + ".ini", "w") as f:
            f.write("[ZunMain]\nlastShowAbout=1\n" + ini)
        log = os.path.join(self.tmp, "pellix-%d.log" % len(self.procs))
        return self.start([self.program], env, open(log, "w"), cwd=self.tmp), log

    def end(self, proc, *keys):
        """Ends the program as a session's end does; returns what it stored."""
        proc.send_signal(signal.SIGTERM)
        assert proc.wait(timeout=30) == 0, "pellix ended with %d" % proc.returncode
        text = read(self.program + ".ini")
        return [re.search("^" + re.escape(k) + "=(.*)$", text, re.M).group(1) for k in keys]


def windows_of(env, proc):
    return run(env, "xdotool", "search", "--onlyvisible", "--pid", str(proc.pid)).split()


def x11(session):
    read_end, write_end = os.pipe()
    session.start(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
                   "1024x768x24"], session.env, pass_fds=(write_end,))
    os.close(write_end)
    env = dict(session.env, DISPLAY=":" + os.fdopen(read_end).readline().strip(),
               QT_QPA_PLATFORM="xcb")
    session.start(["openbox", "--sm-disable"], env)
    wait_for("openbox", lambda: "window id" in run(env, "xprop", "-root",
                                                   "_NET_SUPPORTING_WM_CHECK"))
    proc, log = session.pellix(env, "Left=300\nTop=200\n")
    window = wait_for("the window", lambda: windows_of(env, proc))[0]

    def above():
        return "_NET_WM_STATE_ABOVE" in run(env, "xprop", "-id", window, "_NET_WM_STATE")

    def menu(*keys):  # a right click on the face, then keys in the menu
        run(env, "xdotool", "mousemove", "--window", window, "20", "20", "click", "3")
        wait_for("the menu", lambda: len(windows_of(env, proc)) > 1)
        run(env, "xdotool", "key", *keys, "Return")

    # Stay On Top leaves the window manager's "above" band; the same window
    # stays, and the keyboard with it: 7 ENTER 5 * copy paste + gives 70.
    assert above(), "not above at the start"
    menu("Down", "Down", "Down")
    wait_for("the band to change", lambda: not above())
    wait_for("the menu to close, the window unchanged", lambda: windows_of(env, proc) == [window])
    run(env, "xdotool", "key", "--delay", "50", "7", "Return", "5", "asterisk", "ctrl+Insert",
        "shift+Insert", "plus")
    # After the About box, closed with Escape: copy paste + gives 140.
    menu(*["Down"] * 6)
    wait_for("the About box", lambda: len(windows_of(env, proc)) == 2 and run(
        env, "xdotool", "getactivewindow").strip() not in ("", window))
    run(env, "xdotool", "key", "Escape")
    wait_for("the calculator active again", lambda: windows_of(env, proc) == [window] and run(
        env, "xdotool", "getactivewindow").strip() == window)
    run(env, "xdotool", "key", "--delay", "50", "ctrl+Insert", "shift+Insert", "plus")
    stored = session.end(proc, "Left", "Top", "StayOnTop", "Zun.Stack[0]")
    assert stored == ["300", "200", "0", "140"], "stored %s; %s" % (stored, read(log))


NOTE = "the compositor places the window"


def wayland(session):
    for xwayland in (True, False):
        socket = "pellix-test-%d-%d" % (os.getpid(), xwayland)
        weston_log = os.path.join(session.tmp, socket + ".log")
        if xwayland and not os.path.isdir("/tmp/.X11-unix"):  # where XWayland's sockets go
            os.makedirs("/tmp/.X11-unix")
            os.chmod("/tmp/.X11-unix", 0o1777)
        session.start(["weston", "--backend=headless-backend.so", "--socket=" + socket,
                       "--idle-time=0", "--log=" + weston_log] + ["--xwayland"] * xwayland,
                      session.env)
        wait_for("weston", lambda: os.path.exists(os.path.join(session.tmp, "run", socket)))
        env = dict(session.env, WAYLAND_DISPLAY=socket, XDG_SESSION_TYPE="wayland")
        if xwayland:
            env["DISPLAY"] = wait_for("XWayland", lambda: re.search(
                r"xserver listening on display (:\d+)", read(weston_log))).group(1)
        proc, log = session.pellix(env, "Left=123\nTop=45\n")
        if xwayland:  # on X11 through XWayland: a window there, and no note
            wait_for("the window on XWayland", lambda: windows_of(env, proc))
        else:
            wait_for("the note on stderr", lambda: NOTE in read(log))
        stored = session.end(proc, "Left", "Top")
        assert read(log).count(NOTE) == 1 - xwayland, read(log)
        assert stored == ["123", "45"], "stored %s with XWayland=%s" % (stored, xwayland)


def main():
    with tempfile.TemporaryDirectory(prefix="pellix-desktop-") as tmp:
        session = Session(tmp, sys.argv[2])
        try:
            {"x11": x11, "wayland": wayland}[sys.argv[1]](session)
        finally:
            for proc in reversed(session.procs):
                proc.kill()
                proc.wait()


if __name__ == "__main__":
    main()
