#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end on Wayland: the real program on weston's headless backend, driven through AT-SPI
# (there is no pointer to click with). A calculation error's message box is answered, then
# GO, WEBSITE, the link (a stand-in URL opener records it), "Return to designer" and Exit; the
# program must end with status 0 and print nothing. Skips when weston, the Qt Wayland plugin or
# the accessibility stack is missing (scripts/test installs them).
# Usage: wayland.sh PATH/TO/vorrel
set -euo pipefail
program=$1
here=$(dirname "$0")
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
compgen -G "$(qtpaths6 --plugin-dir 2>/dev/null)/platforms/libqwayland-*.so" >/dev/null \
    || { echo "SKIP: the Qt Wayland platform plugin (qt6-wayland) is not installed"; exit 77; }
command -v dbus-run-session >/dev/null \
    || { echo "SKIP: dbus-run-session is not installed"; exit 77; }

work=$(mktemp -d) # 0700: weston's runtime directory, and a home and URL opener for the program
unset DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS NO_AT_BRIDGE
export XDG_RUNTIME_DIR=$work HOME=$work WAYLAND_DISPLAY=wayland-vorrel QT_QPA_PLATFORM=wayland
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --width=1280 --height=800 \
    --no-config >"$work/weston.log" 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -S "$work/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
[ -S "$work/$WAYLAND_DISPLAY" ] \
    || { cat "$work/weston.log"; echo "SKIP: weston did not start"; exit 77; }

mkdir "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" QT_FORCE_STDERR_LOGGING=1 PYTHONPATH="$here/../a11y"
# Under the sanitizers: Qt's Wayland plugin and Mesa's EGL keep some of their objects to the end;
# the program's own leaks are looked for by the checks under X.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
status=0
timeout 100 dbus-run-session -- /usr/bin/python3 - "$program" "$work/stderr" <<'EOF' || status=$?
import os, subprocess, sys
import screenreader as sr  # exits 77 when the AT-SPI bindings are missing
import pyatspi

desktop = sr.bring_up_accessibility_bus()
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", LC_ALL="C.UTF-8")
process = subprocess.Popen([sys.argv[1]], env=env, stderr=open(sys.argv[2], "w"))
try:
    app = sr.find_application(desktop, process)
    def showing(name, alert=False):
        def probe():
            app.clearCache()
            return next((w for w in app if w is not None and w.name == name
                         and (w.getRole() == pyatspi.ROLE_ALERT) == alert
                         and w.getState().contains(pyatspi.STATE_SHOWING)), None)
        what = "a message box" if alert else "a window"
        return sr.wait_for(f'{what} named "{name}"', probe, timeout=10.0)
    form1 = showing("Vorrel Designer")
    sr.find_named(form1, "frequency box").queryEditableText().setTextContents("abc")
    sr.press(form1, "INCHES")
    sr.press(showing("Vorrel Designer", alert=True), "OK")
    sr.press(form1, "GO")
    form2 = showing("MULTIBAND")
    sr.press(form2, "WEBSITE")
    web = showing("Web Page Link")
    link = pyatspi.findDescendant(
        web, lambda acc: acc is not None and acc.getRole() == pyatspi.ROLE_LINK)
    link.queryAction().doAction(0)
    sr.press(form2, "Return to designer")
    sr.press(form2, "Exit")
    status = sr.wait_for("the program ending after Exit", process.poll, timeout=10.0)
    print(f"the three windows and a message box opened; Exit ended the program with {status}")
    sys.exit(0 if status == 0 else 1)
except sr.Failure as failure:
    print(f"FAIL: {failure}")
    sys.exit(1)
finally:
    if process.poll() is None:
        process.kill()
EOF
[ "$status" -eq 0 ] || { echo "FAIL: the run on weston ended with status $status"; exit "$status"; }
[ ! -s "$work/stderr" ] || { cat "$work/stderr"; echo "FAIL: the program printed this"; exit 1; }
expected="http://www.qt0nrv.example/"
[ "$(cat "$work/opened" 2>/dev/null)" = "$expected" ] \
    || { echo "FAIL: the URL opener was not handed $expected once"; exit 1; }
echo "PASS: on weston the three windows and a message box open, the link opens, Exit ends with 0"
