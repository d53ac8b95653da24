#!/usr/bin/python3
"""Works the real pellix through the desktop's accessibility bus, as a screen
reader does: the keys are push buttons pressed through their "Press" action,
and the display reports what it shows.

Usage: atspi_test.py PELLIX

Runs on its own X server (Xvfb), its own D-Bus session and the AT-SPI bus
launched in it, with the home and XDG folders in a temporary folder and the
program copied there, so that its settings file beside it is private too.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
from xsession import end, fail, private_env, start_xvfb, wait_for  # noqa: E402

INNER = "--inside-session"
TIMEOUT = 20  # seconds for anything to show up on the bus


def outside(pellix):
    with tempfile.TemporaryDirectory(prefix="pellix-atspi-") as tmp:
        env = private_env(tmp, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        program = os.path.join(tmp, "bin", "pellix")
        os.makedirs(os.path.dirname(program))
        shutil.copy2(pellix, program)
        xvfb, env["DISPLAY"] = start_xvfb(env)
        try:
            result = subprocess.run(
                ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), INNER,
                 program], env=env, timeout=120, check=False)
        finally:
            end(xvfb)
        return result.returncode


def inside(program):
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    log = open(program + ".log", "w")
    calc = None
    try:
        import pyatspi
        from gi.repository import GLib

        context = GLib.MainContext.default()

        def pump():
            while context.pending():
                context.iteration(False)

        events = []

        def on_event(event):
            events.append((event.type, event.source, event.any_data))

        for kind in ("object:text-changed", "object:property-change:accessible-name"):
            pyatspi.Registry.registerEventListener(on_event, kind)

        calc = subprocess.Popen([program], cwd=os.path.dirname(program), stdout=log, stderr=log)
        desktop = pyatspi.Registry.getDesktop(0)

        def our_app():
            for app in desktop:
                if app is not None and app.get_process_id() == calc.pid:
                    return app
            return None

        app = wait_for("pellix on the accessibility bus", our_app, pump=pump)
        frame = wait_for("its window", lambda: next(
            (c for c in app if c.getRole() == pyatspi.ROLE_FRAME), None), pump=pump)
        if frame.name != "Pellix":
            fail(f"window named {frame.name!r}, not 'Pellix'")
        if frame.childCount == 0:
            wait_for("the window's children", lambda: frame.childCount > 0, pump=pump)

        children = list(frame)
        buttons = {c.name: c for c in children if c.getRole() == pyatspi.ROLE_PUSH_BUTTON}
        others = [c for c in children if c.getRole() != pyatspi.ROLE_PUSH_BUTTON]
        # 35 key hot spots (ON, f and g among them) and the About badge; the
        # blank keys do nothing and are not shown.
        if len(buttons) != 36:
            fail(f"{len(buttons)} distinct push buttons: {sorted(buttons)}")
        for name, button in buttons.items():
            action = button.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            if names != ["Press"]:
                fail(f"{name!r} has the actions {names}")
        labels = [c for c in others if c.getRole() == pyatspi.ROLE_LABEL]
        if len(others) != len(labels) or len(labels) != 4:
            fail("other children: " + ", ".join(f"{c.name!r} {c.getRoleName()}" for c in others))
        display = next((c for c in labels if c.description == "Display"), None)
        if display is None:
            fail("no label described as 'Display'")
        if display.name != "0.000000000":
            fail(f"display starts as {display.name!r}")

        def key(legend):
            found = [b for n, b in buttons.items() if n.split(", ")[0] == legend]
            if len(found) != 1:
                fail(f"{len(found)} keys named {legend!r}")
            return found[0]

        # Keys are named in words, the typed key is the accelerator of the
        # key binding, and the description gives the shifted functions.
        for legend, binding, description in (
                ("square root", "w", "g: x squared"),
                ("ENTER", "Return", "f: random number, g: last x"), ("point", ".", ""),
                ("ON", "q", "Close Pellix"), ("About", "", ""), ("sigma plus", "", "")):
            button = key(legend)
            got = (button.queryAction().getKeyBinding(0), button.description)
            if got != (binding and ";;" + binding, description):
                fail(f"{legend!r}: key binding and description {got}")

        for legend in ("3", "ENTER", "4", "add"):
            if not key(legend).queryAction().doAction(0):
                fail(f"the action of {legend!r} was refused")
        wait_for("7.000000000 in the display", lambda: display.name == "7.000000000", pump=pump)
        text = display.queryText()
        if text.getText(0, -1) != "7.000000000":
            fail(f"the display's text is {text.getText(0, -1)!r}")

        # Every change reaches a screen reader: the deleted and inserted text
        # without the entry cursor, and the display's name.
        changes = [("object:text-changed:delete", "4"), ("object:text-changed:insert", "7.000000000")]
        wait_for("text-changed for the display", lambda: str(changes)[1:-1] in str([
            (t, d) for t, s, d in events if s == display and t.startswith("object:text-changed")]),
            pump=pump)
        names = [t for t, s, d in events
                 if s == display and t.startswith("object:property-change:accessible-name")]
        if len(names) != 4:
            fail(f"{len(names)} name changes of the display for four changes")

        # The f key toggles its annunciator, which announces itself too.
        key("f").queryAction().doAction(0)
        wait_for("the f annunciator", lambda: any(
            t.startswith("object:text-changed:insert") and s != display and d == "f"
            for t, s, d in events), pump=pump)
        key("f").queryAction().doAction(0)

        # ON closes the window and stores the state beside the program.
        key("ON").queryAction().doAction(0)
        try:
            code = calc.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            fail("ON did not close pellix")
        if code != 0:
            fail(f"pellix ended with {code}")
        with open(os.path.splitext(program)[0] + ".ini", encoding="utf-8") as f:
            stored = dict(line.strip().split("=", 1) for line in f if "=" in line)
        if float(stored.get("Zun.Stack[0]", "nan")) != 7:
            fail(f"stored X is {stored.get('Zun.Stack[0]')!r}")
        print("pellix worked through AT-SPI: 36 buttons, 3 ENTER 4 + = 7.000000000")
        return 0
    finally:
        if calc is not None and calc.poll() is None:
            calc.kill()
            calc.wait()
        log.close()
        with open(program + ".log", encoding="utf-8", errors="replace") as f:
            sys.stderr.write(f.read())
        launcher.send_signal(signal.SIGTERM)
        launcher.wait()


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == INNER:
        sys.exit(inside(sys.argv[2]))
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(outside(sys.argv[1]))
