"""What the suite's scripts that work the real program share: a private home,
an X server of its own, and waiting for a condition with a time limit."""

import os
import subprocess
import sys
import time


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def private_env(tmp, **extra):
    """The environment without the caller's desktop session, with home, XDG
    folders and a desktop folder inside tmp."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("DBUS_", "AT_SPI_", "XDG_", "QT_", "LC_", "WAYLAND", "PULSE_"))}
    for name, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "home/.config"),
                      ("XDG_DATA_HOME", "home/.local/share"),
                      ("XDG_CACHE_HOME", "home/.cache"), ("XDG_RUNTIME_DIR", "runtime")):
        env[name] = os.path.join(tmp, sub)
        os.makedirs(env[name], mode=0o700, exist_ok=True)
    os.makedirs(os.path.join(env["HOME"], "Desktop"), exist_ok=True)
    env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
    # Under the sanitizers: the desktop's libraries (D-Bus, audio) keep memory
    # to the end of the process, which a leak check reports; the test programs
    # check this program's own code for leaks.
    env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
    env.update(extra)
    return env


def start_xvfb(env, screen="1280x1024x24"):
    """An X server on a free display; returns the process and the display name."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", screen, "-nolisten", "tcp"],
        pass_fds=(write,), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        number = f.readline().strip()
    if not number:
        xvfb.kill()
        fail("Xvfb did not start")
    return xvfb, ":" + number


def wait_for(what, predicate, timeout=30, pump=lambda: None):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pump()
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    fail("timed out waiting for " + what)


def xdotool(env, *args):
    """xdotool's words of output; a failure shows as none."""
    return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True,
                          timeout=30, check=False).stdout.split()


def window_of(env, process):
    """The visible window of a started program, once it is shown."""
    return wait_for("the window", lambda: xdotool(
        env, "search", "--onlyvisible", "--pid", str(process.pid)), timeout=60)[0]


def stored(ini):
    """The keys of a settings file."""
    with open(ini, encoding="utf-8") as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)


def end(*processes, timeout=5):
    """Ends processes for sure: SIGTERM, then SIGKILL."""
    for process in processes:
        if process is not None and process.poll() is None:
            process.terminate()
    for process in processes:
        if process is None:
            continue
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
