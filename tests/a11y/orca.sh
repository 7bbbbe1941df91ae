#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs orca.py against the real program: Debian's Orca in a virtual X display with a private session
# bus and a private home, so that neither the caller's desktop nor its settings take part.
# Usage: orca.sh [--announces] PATH/TO/vorrel
set -euo pipefail
here=$(dirname "$0")
source "$here/../../scripts/lib/xsession.sh"
for tool in Xvfb xdpyinfo openbox dbus-run-session xdotool orca speech-dispatcher; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
for daemon in /usr/libexec/at-spi-bus-launcher /usr/libexec/at-spi2-registryd; do
    [ -x "$daemon" ] || { echo "SKIP: $daemon is not installed (at-spi2-core)"; exit 77; }
done
# Orca refuses to start beside another Orca of the same user, and must never end one.
if pgrep -u "$(id -u)" -x orca >/dev/null; then
    echo "SKIP: another Orca of this user is running"
    exit 77
fi

work=$(mktemp -d)
start_x_session
trap 'stop_x_session; rm -rf "$work"' EXIT
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS NO_AT_BRIDGE SPEECHD_ADDRESS
export XDG_RUNTIME_DIR=$work HOME=$work XDG_CONFIG_HOME=$work/.config
export XDG_DATA_HOME=$work/.local/share XDG_CACHE_HOME=$work/.cache GSETTINGS_BACKEND=memory
status=0
timeout 120 dbus-run-session -- /usr/bin/python3 "$here/orca.py" "$@" || status=$?
[ "$status" -eq 124 ] && echo "FAIL: the Orca run did not finish within 120 s"
exit "$status"
