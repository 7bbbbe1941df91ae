#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: the real program in a virtual X display, real clicks on GO, WEBSITE and the link,
# and a stand-in URL opener first on PATH that records what it is handed.
# Usage: weblink_click.sh PATH/TO/vorrel
set -euo pipefail
program=$1
source "$(dirname "$0")/../../scripts/lib/xsession.sh"
for tool in Xvfb xdotool xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<STUB
#!/bin/sh
printf '%s\n' "\$*" >>"$work/opened"
STUB
chmod +x "$work/bin/xdg-open"

start_x_session
cleanup() { kill "${app:-}" 2>/dev/null || true; stop_x_session; rm -rf "$work"; }
trap cleanup EXIT

PATH="$work/bin:$PATH" "$program" &
app=$!
form1=$(wait_for_window 'Vorrel Designer')
xdotool mousemove --window "$form1" 472 384 click 1                 # GO
form2=$(wait_for_window MULTIBAND)
# The caption is the window's own, with nothing appended by the toolkit.
caption=$(xprop -id "$form2" _NET_WM_NAME | sed -n 's/^[^"]*"\(.*\)"$/\1/p')
[ "$caption" = "MULTIBAND" ] || { echo "FAIL: the multiband window's caption is '$caption'"; exit 1; }
xdotool mousemove --window "$form2" 380 312 click 1                 # WEBSITE
web=$(wait_for_window 'Web Page Link')
sleep 0.3
xdotool mousemove --window "$web" 60 97 click 1                     # the link
for _ in $(seq 1 300); do [ -s "$work/opened" ] && break; sleep 0.1; done
xdotool mousemove --window "$web" 60 97 click 1                     # and once more
for _ in $(seq 1 300); do [ "$(wc -l <"$work/opened" 2>/dev/null || echo 0)" -ge 2 ] && break; sleep 0.1; done

expected="http://www.qt0nrv.example/"
printf 'opener was handed:\n'; cat "$work/opened" 2>/dev/null || true
[ "$(cat "$work/opened")" = "$expected"$'\n'"$expected" ] || { echo "FAIL: expected $expected twice"; exit 1; }
kill -0 "$app" || { echo "FAIL: the program ended"; exit 1; }
echo "PASS: each click on the link handed $expected to the URL opener"
