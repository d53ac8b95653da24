#!/usr/bin/python3
"""Runs the real pellix on the desktops people use, each started privately for
the test: X11 with two screens (Xvfb with Xinerama) under a real window
manager (openbox), and a Wayland compositor (weston, headless) with and
without XWayland.

Usage: desktop_test.py x11|wayland|screens PELLIX

Home, XDG folders and the runtime folder lie in a temporary folder, and the
program is copied there so that its settings file beside it is private too.
Every server and program started is killed at the end, also on failure.
"""

import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TIMEOUT = 30  # seconds for anything to happen on a loaded machine


class Failure(Exception):
    pass


def wait_for(what, predicate, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise Failure("timed out waiting for " + what)


class Session:
    """A temporary home with the program and its settings file, and every
    process started in it."""

    def __init__(self, tmp, pellix):
        self.tmp = tmp
        self.procs = []
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("DBUS_", "XDG_", "QT_", "LC_", "WAYLAND", "DISPLAY"))}
        for name, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "home/.config"),
                          ("XDG_DATA_HOME", "home/.local/share"),
                          ("XDG_CACHE_HOME", "home/.cache"), ("XDG_RUNTIME_DIR", "runtime")):
            self.env[name] = os.path.join(tmp, sub)
            os.makedirs(self.env[name], mode=0o700, exist_ok=True)
        os.makedirs(os.path.join(self.env["HOME"], "Desktop"))
        self.env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
        if "ASAN_OPTIONS" in self.env:
            # Libraries of the window system keep memory to the end of the
            # process; the test programs check the program's own code for leaks.
            self.env["ASAN_OPTIONS"] += ":detect_leaks=0"
        self.program = os.path.join(tmp, "bin", "pellix")
        os.makedirs(os.path.dirname(self.program))
        shutil.copy2(pellix, self.program)
        self.ini = self.program + ".ini"

    def start(self, args, env=None, **kwargs):
        proc = subprocess.Popen(args, env=env or self.env, **kwargs)
        self.procs.append(proc)
        return proc

    def kill_all(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.kill()
            proc.wait()

    def write_ini(self, lines):
        with open(self.ini, "w") as f:
            f.write("[ZunMain]\nlastShowAbout=1\n" + lines)

    def stored(self, key):
        with open(self.ini) as f:
            match = re.search(r"^" + re.escape(key) + r"=(.*)$", f.read(), re.M)
        return match.group(1) if match else None

    def run_pellix(self, env, name):
        """Starts the program; returns the process and its stderr file."""
        log = os.path.join(self.tmp, name + ".log")
        proc = self.start([self.program], env=env, cwd=os.path.dirname(self.program),
                          stdout=subprocess.DEVNULL, stderr=open(log, "w"))
        return proc, log

    def end_pellix(self, proc):
        """Ends the program as a session's end does; it stores its state."""
        proc.send_signal(signal.SIGTERM)
        if proc.wait(timeout=TIMEOUT) != 0:
            raise Failure("pellix ended with %d" % proc.returncode)


def read(path):
    with open(path) as f:
        return f.read()


def x(env, *args):
    result = subprocess.run(list(args), env=env, capture_output=True, text=True, timeout=TIMEOUT)
    return result.stdout if result.returncode == 0 else ""


# ---------------------------------------------------------------- X11

def start_xvfb(session, screens):
    read_end, write_end = os.pipe()
    args = ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp"]
    for number, size in enumerate(screens):
        args += ["-screen", str(number), size + "x24"]
    session.start(args, pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                  stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    if not number:
        raise Failure("Xvfb did not start")
    env = dict(session.env, DISPLAY=":" + number)
    session.start(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                  stderr=subprocess.DEVNULL)
    wait_for("openbox", lambda: "window id" in x(env, "xprop", "-root",
                                                   "_NET_SUPPORTING_WM_CHECK"))
    return env


def windows_of(env, proc):
    return x(env, "xdotool", "search", "--onlyvisible", "--pid", str(proc.pid)).split()


def geometry(env, window):
    out = x(env, "xdotool", "getwindowgeometry", window)
    match = re.search(r"Position: (-?\d+),(-?\d+).*\n.*Geometry: (\d+)x(\d+)", out)
    return tuple(int(v) for v in match.groups()) if match else None


def above(env, window):
    return "_NET_WM_STATE_ABOVE" in x(env, "xprop", "-id", window, "_NET_WM_STATE")


def x11(session):
    env = start_xvfb(session, ["1024x768"])
    env["QT_QPA_PLATFORM"] = "xcb"
    session.write_ini("Left=300\nTop=200\n")
    proc, log = session.run_pellix(env, "pellix-x11")
    window = wait_for("the window", lambda: windows_of(env, proc))[0]

    # Stay On Top, switched through the menu: the same native window leaves
    # the window manager's "above" band; the keyboard stays with the calculator.
    if not above(env, window):
        raise Failure("not in the above band at the start")
    x(env, "xdotool", "mousemove", "--window", window, "20", "20", "click", "3")
    wait_for("the menu", lambda: len(windows_of(env, proc)) > 1)
    x(env, "xdotool", "key", "Down", "Down", "Down", "Return")
    wait_for("the band to change", lambda: not above(env, window))
    wait_for("the menu to close", lambda: windows_of(env, proc) == [window])
    type_keys = ["7", "Return", "5", "asterisk", "ctrl+Insert", "shift+Insert", "plus"]
    x(env, "xdotool", "key", "--delay", "50", *type_keys)  # 7 ENTER 5 * copy paste + : 70

    # The About box from the menu, closed with Escape: the keyboard comes back.
    x(env, "xdotool", "mousemove", "--window", window, "20", "20", "click", "3")
    wait_for("the menu", lambda: len(windows_of(env, proc)) > 1)
    x(env, "xdotool", "key", *(["Down"] * 6), "Return")
    wait_for("the About box", lambda: x(env, "xdotool", "getactivewindow").strip() not in
             ("", window) and len(windows_of(env, proc)) == 2)
    x(env, "xdotool", "key", "Escape")
    wait_for("the About box to close", lambda: windows_of(env, proc) == [window])
    wait_for("the calculator active again",
             lambda: x(env, "xdotool", "getactivewindow").strip() == window)
    x(env, "xdotool", "key", "--delay", "50", "ctrl+Insert", "shift+Insert", "plus")  # 140

    session.end_pellix(proc)
    results = {key: session.stored(key) for key in ("Left", "Top", "StayOnTop", "Zun.Stack[0]")}
    expected = {"Left": "300", "Top": "200", "StayOnTop": "0", "Zun.Stack[0]": "140"}
    if results != expected:
        raise Failure("stored %s, expected %s; stderr: %s" % (results, expected, read(log)))


# ---------------------------------------------------------------- Wayland

NOTE = "the compositor places the window"


def start_weston(session, xwayland):
    env = dict(session.env)
    socket = "pellix-test-%d-%d" % (os.getpid(), xwayland)
    log = os.path.join(session.tmp, "weston-%d.log" % xwayland)
    args = ["weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0",
            "--log=" + log]
    if xwayland:
        # XWayland's sockets live in the system's X socket folder.
        if not os.path.isdir("/tmp/.X11-unix"):
            os.makedirs("/tmp/.X11-unix", exist_ok=True)
            os.chmod("/tmp/.X11-unix", 0o1777)
        args.append("--xwayland")
    session.start(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("weston", lambda: os.path.exists(os.path.join(env["XDG_RUNTIME_DIR"], socket)))
    env.update(WAYLAND_DISPLAY=socket, XDG_SESSION_TYPE="wayland")
    if xwayland:
        display = wait_for("XWayland", lambda: re.search(
            r"xserver listening on display (:\d+)", read(log)))
        env["DISPLAY"] = display.group(1)
    return env


def wayland(session):
    for xwayland in (True, False):
        env = start_weston(session, xwayland)
        session.write_ini("Left=123\nTop=45\n")
        proc, log = session.run_pellix(env, "pellix-wayland-%d" % xwayland)
        if xwayland:
            # Run on X11 through XWayland: a window there, and no note.
            wait_for("the window on XWayland", lambda: windows_of(env, proc))
        else:
            wait_for("the note on stderr", lambda: NOTE in read(log))
        session.end_pellix(proc)
        notes = read(log).count(NOTE)
        if notes != (0 if xwayland else 1):
            raise Failure("%d notes with XWayland=%s: %s" % (notes, xwayland, read(log)))
        stored = (session.stored("Left"), session.stored("Top"))
        if stored != ("123", "45"):
            raise Failure("stored position %s with XWayland=%s" % (stored, xwayland))
        session.kill_all()
        session.procs = []


# ---------------------------------------------------------------- screens

# Screens (x, y, width, height) of Qt's offscreen platform, a stored place,
# and where the window comes back. Xvfb lays the screens of its Xinerama on
# one another, so the screens beside each other come from Qt's own platform.
SCREENS = [
    ([(0, 0, 1024, 768), (1024, 0, 800, 600)], (1100, 150), (1100, 150)),
    ([(0, 0, 1024, 768), (-800, 100, 800, 600)], (-700, 150), (-700, 150)),
    # The screen right of the first is gone: the window comes back whole.
    ([(0, 0, 1024, 768)], (1000, 100), (1024 - 641, 100)),
]


def screens(session):
    for number, (areas, stored, shown) in enumerate(SCREENS):
        config = os.path.join(session.tmp, "screens-%d.json" % number)
        with open(config, "w") as f:
            json.dump({"screens": [{"name": "screen%d" % i, "x": a[0], "y": a[1],
                                    "width": a[2], "height": a[3]}
                                   for i, a in enumerate(areas)]}, f)
        env = dict(session.env, QT_QPA_PLATFORM="offscreen:configfile=" + config)
        session.write_ini("Left=%d\nTop=%d\n" % stored)
        proc, log = session.run_pellix(env, "pellix-screens-%d" % number)
        # Started once it handles the termination request: it has read its file.
        wait_for("the window", lambda: "SigCgt" in read("/proc/%d/status" % proc.pid) and
                 int(re.search(r"SigCgt:\s*(\w+)", read("/proc/%d/status" % proc.pid))
                     .group(1), 16) & (1 << (signal.SIGTERM - 1)))
        session.end_pellix(proc)
        place = (int(session.stored("Left")), int(session.stored("Top")))
        if place != shown:
            raise Failure("screens %s: %s came back at %s, not %s" % (areas, stored, place, shown))


def main():
    tests = {"x11": x11, "wayland": wayland, "screens": screens}
    if len(sys.argv) != 3 or sys.argv[1] not in tests:
        print(__doc__, file=sys.stderr)
        return 2
    with tempfile.TemporaryDirectory(prefix="pellix-desktop-") as tmp:
        session = Session(tmp, sys.argv[2])
        try:
            tests[sys.argv[1]](session)
        except Failure as failure:
            print("FAIL: %s" % failure, file=sys.stderr)
            return 1
        finally:
            session.kill_all()
    return 0


if __name__ == "__main__":
    sys.exit(main())
