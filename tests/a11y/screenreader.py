#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Drives the real program through AT-SPI the way a screen reader does.

Finds the program on the accessibility bus, types a frequency through the frequency box's
EditableText interface, presses INCHES and CM through their Action interface, reads the four values
and their units through the Text interface, then opens the multiband window with GO, reads its
sample table, opens the link window with WEBSITE, finds its link by the address it shows and opens
the page through the link's press action and with Enter and Space (a stand-in URL opener records
each), and ends the program with the multiband window's Exit button.

Run it inside a private session bus and an X display (screenreader.sh does both):
    screenreader.py PATH/TO/vorrel
Exit status: 0 pass, 1 fail, 77 when the accessibility stack cannot be brought up.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Gio, GLib
    import pyatspi
except (ImportError, ValueError) as error:
    print(f"SKIP: the AT-SPI Python bindings are missing ({error})")
    sys.exit(SKIP)

FREQUENCY = "146"

# Each value is the design constant (radiator 8370, stud 2787, gap 165, feed point 345 inch-MHz)
# divided by 146 MHz, times 2.54 for CM, rounded to three places: 8370/146 = 57.3288,
# 8370/146*2.54 = 145.6151, 2787/146 = 19.0890 (48.4862), 165/146 = 1.1301 (2.8705),
# 345/146 = 2.3630 (6.0021). The unit texts are the calculator's for each unit (unitTexts in
# calc/designcalculator.h).
CALCULATIONS = [
    ("INCHES", [
        ("radiator", "57.329", "INCHES long"),
        ("stud", "19.089", "INCHES long"),
        ("gap", "1.13", "INCHES"),
        ("feed point", "2.363", "INCHES up"),
    ]),
    ("CM", [
        ("radiator", "145.615", "CM long"),
        ("stud", "48.486", "CM long"),
        ("gap", "2.871", "CM"),
        ("feed point", "6.002", "CM up"),
    ]),
]

# The first row of the fixed three-band sample table (440 MHz) the multiband window shows.
SAMPLE_FIRST_LINE = "440         R1=18.875          S1=6.250         Gap=.375"

# The author's page: shown as the link's text, opened with a slash added.
PAGE_SHOWN = "http://www.qt0nrv.example"
PAGE_OPENED = PAGE_SHOWN + "/"


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=15.0, interval=0.1):
    """Calls probe until it returns something other than None; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            result = probe()
            if result is not None:
                return result
        except GLib.Error as error:  # an object that went away while we looked at it
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error.message})" if last_error else ""
            raise Failure(f"{what} did not happen within {timeout:.0f} s{detail}")
        time.sleep(interval)


def bring_up_accessibility_bus():
    """Starts the accessibility bus and the registry; exits with SKIP when that is impossible.

    org.a11y.Status IsEnabled is left alone: at-spi-bus-launcher would store it in the user's
    settings for good, and the program's bridge is switched on by its environment instead."""
    try:
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        # Asking for the address starts at-spi-bus-launcher through D-Bus activation.
        bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                      GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 20000, None)
        pyatspi.setTimeout(5000, 20000)
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.childCount  # the first call on the registry starts at-spi2-registryd
    except GLib.Error as error:
        print(f"SKIP: the AT-SPI accessibility bus or registry does not start: {error.message}")
        sys.exit(SKIP)
    return desktop


def find_application(desktop, process):
    def probe():
        if process.poll() is not None:
            raise Failure(f"the program ended with status {process.returncode} before it showed up "
                          "on the accessibility bus")
        desktop.clearCache()
        for app in desktop:
            if app is not None and app.get_process_id() == process.pid:
                return app
        return None

    return wait_for("the program appearing on the accessibility bus", probe)


def find_named(root, name, role=None):
    """The descendant of root with this accessible name (and role), or a Failure naming it."""
    def matches(acc):
        return acc is not None and acc.name == name and (role is None or acc.getRole() == role)

    found = pyatspi.findDescendant(root, matches)
    if found is None:
        raise Failure(f'no control with the accessible name "{name}" under "{root.name}"')
    return found


def window_named(app, title):
    def probe():
        app.clearCache()
        for window in app:
            if window is not None and window.name == title and window.getState().contains(
                    pyatspi.STATE_SHOWING):
                if window.getRole() != pyatspi.ROLE_FRAME:
                    raise Failure(f'the window "{title}" is a {window.getRoleName()}, not a frame')
                return window
        return None

    return wait_for(f'a window named "{title}"', probe, timeout=10.0)


def text_of(acc):
    return acc.queryText().getText(0, -1)


def press(window, caption):
    button = find_named(window, caption, pyatspi.ROLE_PUSH_BUTTON)
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for index, name in enumerate(names):
        if name.lower() in ("press", "click", "activate"):
            if not action.doAction(index):
                raise Failure(f'the "{caption}" button refused its "{name}" action')
            return
    raise Failure(f'the "{caption}" button offers no press action, only {names}')


def opened_pages(record):
    try:
        with open(record, encoding="utf-8") as lines:
            return lines.read().splitlines()
    except FileNotFoundError:
        return []


def check_link(app, form2, record):
    """Opens the link window and the page through the link's action, Enter and Space."""
    press(form2, "WEBSITE")
    web = window_named(app, "Web Page Link")
    link = pyatspi.findDescendant(web, lambda acc: acc is not None
                                  and acc.getRole() == pyatspi.ROLE_LINK)
    if link is None:
        raise Failure("the link window has no control with the role link")
    if PAGE_SHOWN not in link.name:
        raise Failure(f'the link is named "{link.name}", not by the address it shows')
    print(f'link: role {link.getRoleName()}, name "{link.name}"')
    opened = 0
    action = link.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names or not action.doAction(names.index("press")):
        raise Failure(f"the link offers no press action that works, only {names}")
    ways = [("its press action", None), ("Enter", "Return"), ("keypad Enter", "KP_Enter"),
            ("Space", "space")]
    for way, key in ways:
        if key:
            # Keys go to the focused control: the link, the only one its window has.
            if not link.getState().contains(pyatspi.STATE_FOCUSED):
                raise Failure("the link does not have the keyboard focus")
            subprocess.run(["xdotool", "key", key], check=True)
        opened += 1
        wait_for(f"the page opened once more by {way}",
                 lambda: True if opened_pages(record) == [PAGE_OPENED] * opened else None,
                 timeout=5.0)
        print(f"  {way}: the URL opener was handed {PAGE_OPENED}")


def check_calculation(form1, unit_button, rows):
    press(form1, unit_button)
    boxes = [(label, find_named(form1, f"{label} value"), find_named(form1, f"{label} unit"))
             for label, _, _ in rows]

    def read():
        return [(label, text_of(value_box), text_of(unit_box)) for label, value_box, unit_box in boxes]

    # The click handler runs in the program's event loop, after doAction has returned.
    try:
        wait_for(f"the results after {unit_button}", lambda: True if read() == rows else None,
                 timeout=5.0)
    except Failure as timeout:
        wrong = [f'  {label}: read "{got_value}" "{got_unit}", expected "{want_value}" "{want_unit}"'
                 for (label, got_value, got_unit), (_, want_value, want_unit) in zip(read(), rows)
                 if (got_value, got_unit) != (want_value, want_unit)]
        raise Failure(f"{FREQUENCY} MHz in {unit_button}:\n" + ("\n".join(wrong) or f"  {timeout}")) from None
    for label, value, unit in rows:
        print(f"  {unit_button:6} {label + ' value':17} {value:>8}  {label + ' unit':16} {unit}")


def dump(acc, depth=0, out=None):
    out = out if out is not None else []
    try:
        line = f"{'  ' * depth}{acc.getRoleName()} \"{acc.name}\""
        if "Text" in acc.get_interfaces():
            line += f" text={text_of(acc)!r}"
        out.append(line)
        for child in acc:
            if child is not None:
                dump(child, depth + 1, out)
    except GLib.Error as error:
        out.append(f"{'  ' * depth}(unreadable: {error.message})")
    return out


def run(program):
    desktop = bring_up_accessibility_bus()
    # A stand-in URL opener, first on PATH, records each address it is handed.
    opener = tempfile.mkdtemp()
    record = os.path.join(opener, "opened")
    with open(os.path.join(opener, "xdg-open"), "w", encoding="utf-8") as stub:
        stub.write(f'#!/bin/sh\nprintf \'%s\\n\' "$*" >>"{record}"\n')
    os.chmod(os.path.join(opener, "xdg-open"), 0o755)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               LC_ALL="C.UTF-8", PATH=opener + os.pathsep + os.environ.get("PATH", ""))
    process = subprocess.Popen([program], env=env)
    app = None
    try:
        app = find_application(desktop, process)
        print(f'found application "{app.name}" (pid {process.pid}) on the accessibility bus')
        form1 = window_named(app, "Vorrel Designer")

        box = find_named(form1, "frequency box")
        if not box.queryEditableText().setTextContents(FREQUENCY):
            raise Failure("the frequency box refused the text set through EditableText")
        wait_for("the frequency box showing the text set through EditableText",
                 lambda: True if text_of(box) == FREQUENCY else None, timeout=5.0)
        # Its text is one run of text attributes, as a GTK entry's is: Orca joins the runs of a
        # line to choose its voice, and reads the line only as far as the last run ends.
        _, start, end = box.queryText().getAttributeRun(0)
        if (start, end) != (0, len(FREQUENCY)):
            raise Failure(f"the frequency box's text attributes run over {start}-{end}, "
                          f"not over its whole text, 0-{len(FREQUENCY)}")
        print(f'frequency box: "{text_of(box)}", one run of text attributes')

        for unit_button, rows in CALCULATIONS:
            check_calculation(form1, unit_button, rows)

        press(form1, "GO")
        form2 = window_named(app, "MULTIBAND")
        table = find_named(form2, "sample dimensions")
        first_line = text_of(table).split("\n")[0]
        if first_line != SAMPLE_FIRST_LINE:
            raise Failure(f'sample dimensions, first line: read "{first_line}", '
                          f'expected "{SAMPLE_FIRST_LINE}"')
        print(f'sample dimensions, first line: "{first_line}"')

        check_link(app, form2, record)

        press(form2, "Exit")
        status = wait_for("the program ending after Exit",
                          lambda: process.poll(), timeout=10.0)
        if status != 0:
            raise Failure(f"the program ended with status {status} after Exit")
        print("Exit ended the program with status 0")
    except Failure as failure:
        print(f"FAIL: {failure}")
        if app is not None and process.poll() is None:
            print("what the accessibility bus shows of the program:")
            print("\n".join(dump(app)))
        return 1
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        shutil.rmtree(opener, ignore_errors=True)
    print("PASS: the designer, the multiband window and the link read and work through AT-SPI")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: screenreader.py PATH/TO/vorrel")
    sys.exit(run(sys.argv[1]))
