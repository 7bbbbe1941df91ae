#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Runs Debian's Orca over the path a blind user takes through the program and checks what it says.

Orca first reads a GTK entry, to prove that the set-up speaks at all; then the program: Tab to the
frequency box, type 146, Tab to INCHES and press Enter (where Qt announces, Orca speaks the results
at once), Tab through the four results (each read whole, with its unit), CM (announced likewise,
and the radiator box then reads centimetres), "abc" and INCHES (the message is read, and after OK the focus is back on the
designer), GO (MULTIBAND and its diagram are read), WEBSITE (the link is announced as a link with
its address, and Enter opens it once). What Orca spoke is read from its debug log.

Orca 43 (Debian 12) ends its utterances with a full stop and calls a button a "push button"; Orca 48
(Debian 13) does neither. Both are accepted.

Run it inside a private session bus, X display and home (orca.sh does all three):
    orca.py [--announces] PATH/TO/vorrel
--announces: the program was built with a Qt that sends announcements (6.8 and later).
Exit status: 0 pass, 1 fail, 77 when Orca or its speech server cannot be started here.
"""

import os
import re
import shutil
import subprocess
import sys
import time

SKIP = 77

# Orca opens its debug file block-buffered, so lines still in the buffer would be missing while we
# wait for them. This runs Orca's own launcher with that one file opened line-buffered.
LAUNCH_ORCA = """
import builtins, runpy, sys
def line_buffered_open(file, mode="r", *args, **kwargs):
    if "w" in mode and not args and "buffering" not in kwargs:
        kwargs["buffering"] = 1
    return builtins.open(file, mode, *args, **kwargs)
sys.argv = ["orca"] + sys.argv[1:]
runpy.run_path("/usr/bin/orca", init_globals={"open": line_buffered_open}, run_name="__main__")
"""

# A GTK entry: its toolkit's accessibility is what Orca is written against.
KNOWN_ENTRY = """
import gi
gi.require_version("Gtk", "3.0")
from gi.repository import Gtk
window = Gtk.Window(title="Known entry")
entry = Gtk.Entry()
entry.set_text("INPUT FREQUENCY IN MEGAHERTZ")
window.add(entry)
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()
"""

# Radiator 8370, stud 2787, gap 165 and feed point 345 inch-MHz over 146 MHz, to three places
# (the calculator's constants; the same figures as screenreader.py).
RESULTS = [("radiator", "57.329", "INCHES long"), ("stud", "19.089", "INCHES long"),
           ("gap", "1.13", "INCHES"), ("feed point", "2.363", "INCHES up")]
# What the program announces after INCHES and after CM: the four rows as one sentence.
ANNOUNCED = {
    "INCHES": "The radiator will be 57.329 INCHES long, the driven stud is 19.089 INCHES long, "
              "the Gap space is 1.13 INCHES, the Feedpoint is about 2.363 INCHES up.",
    "CM": "The radiator will be 145.615 CM long, the driven stud is 48.486 CM long, "
          "the Gap space is 2.871 CM, the Feedpoint is about 6.002 CM up.",
}
PAGE_SHOWN = "http://www.qt0nrv.example"
PAGE_OPENED = PAGE_SHOWN + "/"

# How Orca ends what it says of a control that gets the focus: the name, then the role.
FOCUS = re.compile(r"^(?P<name>.*?) (?P<role>text|push button|button|image|link|label)\.?$")
CONTINUATION = " " * 18
RECORD_START = re.compile(r"\n(?!" + CONTINUATION + ")")
UTTERANCE = re.compile(r"^\S+ - SPEECH OUTPUT: '(.*)'(?: ?\{[^\n]*\})?(?: voice=\S+)?\s*$",
                       re.DOTALL)


class Failure(Exception):
    pass


class Skip(Exception):
    pass


class Speech:
    """What Orca has spoken so far, read from its debug log as it grows."""

    def __init__(self, path):
        self.path = path
        self.utterances = []
        self.heard = 0  # utterances before this one are taken
        self._offset = 0
        self._partial = ""

    def _read(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as log:
                log.seek(self._offset)
                chunk = log.read()
                self._offset = log.tell()
        except FileNotFoundError:
            return
        # Orca indents the further lines of a multi-line entry; the last entry may still grow.
        entries = RECORD_START.split(self._partial + chunk)
        self._partial = entries.pop()
        for entry in entries:
            match = UTTERANCE.search(entry)
            if match:
                self.utterances.append(match.group(1).replace("\n" + CONTINUATION, "\n").strip())

    def expect(self, pattern, what, timeout=30.0):
        """Waits for a new utterance that matches pattern; the ones before it are taken."""
        return self.expect_report([re.compile(pattern)], what, quiet=None, timeout=timeout)

    def expect_report(self, regexes, what, quiet=5.0, timeout=30.0):
        """Waits for a new utterance that matches one of regexes and returns its match; with quiet,
        None once Orca has said something else and then nothing for quiet seconds."""
        deadline = time.monotonic() + timeout
        start, count, changed = self.heard, -1, time.monotonic()
        while True:
            self._read()
            for index in range(self.heard, len(self.utterances)):
                for regex in regexes:
                    match = regex.search(self.utterances[index])
                    if match:
                        self.heard = index + 1
                        return match
            now = time.monotonic()
            if len(self.utterances) != count:
                count, changed = len(self.utterances), now
            if quiet is not None and count > start and now - changed > quiet:
                self.heard = count
                return None
            if now > deadline:
                said = "\n".join(f"    '{u}'" for u in self.utterances[start:]) or "    (nothing)"
                raise Failure(f"Orca did not say {what} within {timeout:.0f} s; it said:\n{said}")
            time.sleep(0.05)


def key(*names):
    subprocess.run(["xdotool", "key", *names], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "50", text], check=True)


def focused_window_name():
    result = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True,
                            text=True)
    return result.stdout.strip()


def tab_to(speech, name, role, limit=30):
    """Presses Tab until Orca names the control; returns what it said of the others on the way.
    Each Tab is followed to its echo, then to Orca's report of the control it moved to: the name,
    then the role. Orca 48 leaves out the role of an editable text box that it already holds for
    its locus of focus when the focus event comes, as on a busy machine where it handles the box's
    caret event first: the target, if a text box, may be named alone; any other control Orca speaks
    of without a role counts as one passed on the way, once Orca has fallen silent."""
    passed = []
    alone = [re.compile(rf"^(?P<name>{re.escape(name)})\.?$")] if role == "text" else []
    for _ in range(limit):
        key("Tab")
        speech.expect(r"^tab$", f"the echo of Tab (on the way to {name})")
        said = speech.expect_report([FOCUS] + alone, f"what Tab moved to (on the way to {name})")
        if said is None:
            passed.append("(without a role) " + " / ".join(speech.utterances[speech.heard - 2:speech.heard]))
            continue
        if said.group("name") == name:
            spoken = (said.groupdict().get("role") or "").replace("push button", "button")
            if spoken not in (role.replace("push ", ""), "" if role == "text" else None):
                raise Failure(f'"{name}" is read as {spoken or "nothing"}, not as {role}')
            return passed
        passed.append(said.group(0))
    raise Failure(f'{limit} presses of Tab never reached "{name}"; Orca named:\n    '
                  + "\n    ".join(passed))


def start_speech_server(work):
    """Speech Dispatcher on a private socket, speaking through ALSA into a null device: its default
    PulseAudio output blocks every request where no sound server runs, and Orca with it."""
    config = os.path.join(work, "speech-dispatcher")
    shutil.copytree("/etc/speech-dispatcher", config)
    with open(os.path.join(config, "speechd.conf"), "a", encoding="utf-8") as conf:
        conf.write('\nAudioOutputMethod "alsa"\n')
    with open(os.path.join(os.environ["HOME"], ".asoundrc"), "w", encoding="utf-8") as asound:
        asound.write("pcm.!default { type null }\n")
    socket = os.path.join(work, "speechd.sock")
    server = subprocess.Popen(
        ["speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", config,
         "--communication-method", "unix_socket", "--socket-path", socket,
         "--pid-file", os.path.join(work, "speechd.pid"), "--log-dir", work],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 10
    while not os.path.exists(socket):
        if server.poll() is not None or time.monotonic() > deadline:
            raise Skip("speech-dispatcher did not open its socket")
        time.sleep(0.05)
    os.environ["SPEECHD_ADDRESS"] = f"unix_socket:{socket}"
    return server


def start_orca(work, log):
    output = open(os.path.join(work, "orca.out"), "w", encoding="utf-8")
    orca = subprocess.Popen(["/usr/bin/python3", "-c", LAUNCH_ORCA, "--debug", "--debug-file", log],
                            stdout=output, stderr=subprocess.STDOUT)
    speech = Speech(log)
    try:
        speech.expect(r"^Screen reader on\.?$", '"Screen reader on."', timeout=30.0)
    except Failure:
        orca.poll()
        with open(os.path.join(work, "orca.out"), encoding="utf-8", errors="replace") as said:
            tail = said.read().strip()[-600:]
        raise Skip("Orca did not start speaking within 30 s"
                   + (f" (it ended with status {orca.returncode})" if orca.returncode is not None
                      else "") + (f":\n{tail}" if tail else "")) from None
    return orca, speech


def prove_set_up(speech):
    entry = subprocess.Popen(["/usr/bin/python3", "-c", KNOWN_ENTRY])
    try:
        speech.expect(r"^INPUT FREQUENCY IN MEGAHERTZ selected\.?$",
                      "a GTK entry's whole text on focus (the set-up itself does not work)")
    finally:
        entry.terminate()
        entry.wait()


def walk(speech, record, announces):
    """The blind user's path through the program."""
    speech.expect(r"^Vorrel Designer frame\.?$", "the designer's title when it opens", timeout=20.0)
    speech.expect(r"^title text\.?$", "the title box's name")

    tab_to(speech, "frequency box", "text")
    speech.expect(r"^00\.00 selected\.?$", "the frequency box's text on focus")
    type_text("146")
    speech.expect(r"^6 ?$", "the echo of the last digit typed")

    tab_to(speech, "INCHES", "push button")
    key("Return")
    hear_announcement(speech, "INCHES", announces)
    for label, value, unit in RESULTS:
        tab_to(speech, f"{label} value", "text")
        speech.expect(rf"^{re.escape(value)}( selected)?\.?$", f'the {label} value "{value}" whole')
        tab_to(speech, f"{label} unit", "text")
        speech.expect(rf"^{re.escape(unit)}( selected)?\.?$", f'the {label} unit "{unit}" whole')
        print(f"  {label}: {value} {unit}")

    tab_to(speech, "CM", "push button")
    key("Return")
    hear_announcement(speech, "CM", announces)
    tab_to(speech, "radiator value", "text")
    speech.expect(r"^145\.615( selected)?\.?$", 'the radiator value in centimetres "145.615"')
    print("  after CM: radiator 145.615")

    tab_to(speech, "frequency box", "text")
    speech.expect(r"^146 selected\.?$", "the frequency box's text on focus")
    type_text("abc")
    tab_to(speech, "INCHES", "push button")
    key("Return")
    speech.expect(r"^The frequency box does not hold a number\.", "the calculation's message")
    print("  message read")
    key("Return")
    # Orca 48 names the window it returns to without its role.
    speech.expect(r"^Vorrel Designer( frame)?\.?$", "the designer after OK on the message")
    speech.expect(r"^INCHES (push )?button\.?$", "the control that had the focus before the message")
    if focused_window_name() != "Vorrel Designer":
        raise Failure(f'after OK the focus is on "{focused_window_name()}", not the designer')
    print("  after OK: focus back on INCHES in the designer")

    tab_to(speech, "GO", "push button")
    key("Return")
    speech.expect(r"^MULTIBAND frame\.?$", "the multiband window's title")
    speech.expect(r"^diagram of three antennas on one mast .* image\.?$",
                  "the diagram, which has the focus")
    print("  MULTIBAND: diagram read")

    tab_to(speech, "WEBSITE", "push button")
    key("Return")
    speech.expect(r"^Web Page Link frame\.?$", "the link window's title")
    link = speech.expect(rf"^{re.escape(PAGE_SHOWN)} link\.?$", "the link with its address")
    print(f"  link: '{link.group(0)}'")
    key("Return")
    deadline = time.monotonic() + 10
    while opened(record) == [] and time.monotonic() < deadline:
        time.sleep(0.05)
    time.sleep(0.5)  # time for a second opening, which must not come
    if opened(record) != [PAGE_OPENED]:
        raise Failure(f"Enter on the link handed the URL opener {opened(record)}, "
                      f"not {PAGE_OPENED} once")
    print(f"  Enter on the link opened {PAGE_OPENED} once")


def hear_announcement(speech, button, announces):
    """Where Qt announces, Orca speaks the results as soon as the button is pressed, the focus
    staying on the button."""
    if not announces:
        return
    sentence = ANNOUNCED[button]
    speech.expect(rf"^{re.escape(sentence[:-1])}\.?$", f"the results announced after {button}")
    print(f"  announced after {button}: '{sentence}'")


def opened(record):
    try:
        with open(record, encoding="utf-8") as lines:
            return lines.read().splitlines()
    except FileNotFoundError:
        return []


def run(program, announces):
    work = os.environ["HOME"]
    log = os.path.join(work, "orca-debug.log")
    # A stand-in URL opener, first on PATH, records each address it is handed.
    bin_dir = os.path.join(work, "bin")
    os.mkdir(bin_dir)
    record = os.path.join(work, "opened")
    with open(os.path.join(bin_dir, "xdg-open"), "w", encoding="utf-8") as stub:
        stub.write(f'#!/bin/sh\nprintf \'%s\\n\' "$*" >>"{record}"\n')
    os.chmod(os.path.join(bin_dir, "xdg-open"), 0o755)

    children = []
    started = time.monotonic()
    try:
        children.append(start_speech_server(work))
        orca, speech = start_orca(work, log)
        children.append(orca)
        prove_set_up(speech)
        print(f"Orca reads a GTK entry whole ({time.monotonic() - started:.1f} s)")
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8",
                   PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""))
        process = subprocess.Popen([program], env=env)
        children.append(process)
        walk(speech, record, announces)
    except Skip as skip:
        print(f"SKIP: {skip}")
        return SKIP
    except Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        for child in reversed(children):
            if child.poll() is None:
                child.terminate()
                try:
                    child.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    child.kill()
                    child.wait()
    print(f"PASS: Orca read the designer, its results, the message, MULTIBAND and the link "
          f"({time.monotonic() - started:.1f} s)")
    return 0


if __name__ == "__main__":
    arguments = sys.argv[1:]
    with_announcements = "--announces" in arguments
    if with_announcements:
        arguments.remove("--announces")
    if len(arguments) != 1:
        sys.exit("usage: orca.py [--announces] PATH/TO/vorrel")
    sys.exit(run(arguments[0], with_announcements))
