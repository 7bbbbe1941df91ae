#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs screenreader.py against the real program in a virtual X display with a private session bus,
# on which the accessibility bus and its registry start by D-Bus activation.
# Usage: screenreader.sh PATH/TO/vorrel
set -euo pipefail
program=$1
here=$(dirname "$0")
source "$here/../../scripts/lib/xsession.sh"
for tool in Xvfb xdpyinfo openbox dbus-run-session xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
for daemon in /usr/libexec/at-spi-bus-launcher /usr/libexec/at-spi2-registryd; do
    [ -x "$daemon" ] || { echo "SKIP: $daemon is not installed (at-spi2-core)"; exit 77; }
done
# The Debian interpreter, not whichever python3 comes first on PATH: pyatspi lives in its packages.
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null \
    || { echo "SKIP: /usr/bin/python3 cannot import pyatspi (python3-pyatspi)"; exit 77; }

work=$(mktemp -d)
start_x_session
trap 'stop_x_session; rm -rf "$work"' EXIT
# Nothing of the caller's desktop session may leak in: its session bus, accessibility bus, settings.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS NO_AT_BRIDGE
export XDG_RUNTIME_DIR=$work HOME=$work
status=0
timeout 100 dbus-run-session -- /usr/bin/python3 "$here/screenreader.py" "$program" || status=$?
[ "$status" -eq 124 ] && echo "FAIL: the screen-reader run did not finish within 100 s"
exit "$status"
