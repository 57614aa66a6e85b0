#!/usr/bin/python3
"""A player's short session with the launcher, driven as a screen reader drives it, over AT-SPI:
every button, check box and menu item of the main window has an accessible name; Help > About
opens About, whose OK closes it; Exit asks, and Yes quits. Each control is found by its name.
Run inside a D-Bus session of its own, it starts the launcher once the accessibility bus and
its registry answer, as a desktop's do before any program starts (a launcher that asks while
they are still starting is never listed). Exits 1, saying which step failed, when one does.
Usage: atspi_session.py LAUNCHER"""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

NAMED_ROLES = {"push button", "check box", "menu item"}


def fail(step):
    print(f"FAIL: {step}")
    sys.exit(1)


def wait_for(step, find, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except gi.repository.GLib.Error:  # a window that went while it was read
            found = None
        if found:
            return found
        time.sleep(0.2)
    fail(step)


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def descendants(node):
    for child in children(node):
        if child is not None:
            yield child
            yield from descendants(child)


def launcher():
    desktop = Atspi.get_desktop(0)
    desktop.clear_cache()  # asked anew: an application that came meanwhile may be missing there
    return next((app for app in children(desktop) if app and app.get_name() == "kelvor-launcher"),
                None)


def windows(title):
    app = launcher()
    if app:
        app.clear_cache()
    return [w for w in children(app) if w.get_name() == title and
            w.get_state_set().contains(Atspi.StateType.SHOWING)] if app else []


def window(title):
    return next(iter(windows(title)), None)


def control(parent, role, name):
    return next((c for c in descendants(parent)
                 if c.get_role_name() == role and c.get_name() == name), None)


def press(parent, role, name):
    found = wait_for(f'the {role} "{name}" is found by its name',
                     lambda: control(parent, role, name))
    found.do_action(0)


Atspi.get_desktop(0).get_child_count()  # brings the bus and the registry up
launched = subprocess.Popen([sys.argv[1]], stderr=subprocess.DEVNULL)
try:
    main = wait_for("the main window shows over AT-SPI", lambda: window("Kelvor Launcher"))
    named = [c for c in descendants(main) if c.get_role_name() in NAMED_ROLES]
    nameless = [c.get_role_name() for c in named if not c.get_name()]
    if len(named) < 10 or nameless:
        fail(f"each of the main window's {len(named)} controls has a name; "
             f"these have none: {nameless}")
    print(f"AT-SPI: the main window's {len(named)} buttons, check boxes and menu items "
          "all have names")

    press(main, "menu item", "About")
    about = wait_for("About opens", lambda: window("About"))
    press(about, "push button", "OK")
    wait_for("About closes on OK", lambda: not window("About"))
    press(main, "push button", "Exit")
    question = wait_for("Exit asks first", lambda: next(
        (w for w in windows("Kelvor Launcher") if control(w, "push button", "Yes")), None))
    press(question, "push button", "Yes")
    wait_for("the launcher quits on Yes", lambda: launched.poll() == 0)
    print("AT-SPI: About opened and closed, and Exit quit the launcher, "
          "each control found by name")
finally:
    if launched.poll() is None:
        launched.kill()
