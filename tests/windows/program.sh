#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real vorrel.exe under Wine, used as a Windows user would, each Windows window an X window
# that openbox manages: it starts with its frameless 600x425 designer focused and without a task bar
# button, 146 and INCHES give the four values, GO, WEBSITE and the link hand the page's address to
# the desktop's opener, and EXIT ends it with status 0.
# Usage: program.sh WINE PROGRAM WORK   (run by scripts/test-windows, which sets up the display,
#        the Wine prefix and a stand-in xdg-open that appends what it is handed to WORK/opened)
#   PROGRAM is vorrel.exe, or a shortcut to it (a .lnk, in Windows' form), started as Windows'
#   Start menu starts it.
set -euo pipefail
wine=$1 program=$2 work=$3
source "$(dirname "$0")/../../scripts/lib/xsession.sh"

fail() { echo "FAIL: vorrel.exe: $*"; exit 1; }

rm -f "$work/opened"
case $program in
    *.lnk) "$wine" start /wait "$program" >"$work/vorrel.log" 2>&1 & ;;
    *) "$wine" "$program" >"$work/vorrel.log" 2>&1 & ;;
esac
app=$!
trap 'kill "$app" 2>/dev/null || true' EXIT
form1=$(wait_for_window 'Vorrel Designer') || fail "no designer window"

geometry=$(xdotool getwindowgeometry "$form1" | sed -n 's/.*Geometry: //p')
[ "$geometry" = 600x425 ] || fail "the designer is $geometry, not 600x425"
extents=$(xprop -id "$form1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
[ "${extents:-0,0,0,0}" = 0,0,0,0 ] || fail "the designer has a frame ($extents)"
for _ in $(seq 1 100); do [ "$(xdotool getwindowfocus)" = "$form1" ] && break; sleep 0.1; done
[ "$(xdotool getwindowfocus getwindowname)" = 'Vorrel Designer' ] \
    || fail "the focus is on '$(xdotool getwindowfocus getwindowname)', not on the designer"
# Wine marks a window that Windows gives no task bar button (an owned window) so for X as well.
xprop -id "$form1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR \
    || fail "the designer would have a task bar button: $(xprop -id "$form1" _NET_WM_STATE)"
echo "designer: 600x425, frameless, focused, no task bar button"

xdotool windowmove --sync "$form1" 40 40
xdotool mousemove --window "$form1" 308 88 click 1 key ctrl+a type --delay 30 146
xdotool mousemove --window "$form1" 436 88 click 1                  # INCHES
sleep 0.3
shots=${VORREL_WINDOWS_SCREENSHOTS:-}
[ -z "$shots" ] || capture_window "$form1" "$shots/windows-main-window.png"
values=$(read_results "$form1")  # through the clipboard Wine shares with X
[ "$values" = "57.329 19.089 1.13 2.363" ] || fail "146 MHz in inches gave '$values'"
echo "146 MHz, INCHES: $values"

xdotool mousemove --window "$form1" 472 384 click 1                 # GO
form2=$(wait_for_window MULTIBAND) || fail "GO opened no MULTIBAND window"
xdotool windowmove --sync "$form2" 680 40                           # beside the designer
xdotool mousemove --window "$form2" 380 312 click 1                 # WEBSITE
web=$(wait_for_window 'Web Page Link') || fail "WEBSITE opened no link window"
sleep 0.3
xdotool mousemove --window "$web" 60 97 click 1                     # the link
for _ in $(seq 1 100); do [ -s "$work/opened" ] && break; sleep 0.1; done
[ "$(cat "$work/opened" 2>/dev/null)" = "http://www.qt0nrv.example/" ] \
    || fail "the opener was handed '$(cat "$work/opened" 2>/dev/null)', not http://www.qt0nrv.example/"
echo "the link handed http://www.qt0nrv.example/ to the desktop's opener"

if [ -n "$shots" ]; then
    capture_window "$form2" "$shots/windows-multiband-window.png"
    xdotool mousemove --window "$web" 60 97                         # the hand over the link
    sleep 0.3
    capture_window "$web" "$shots/windows-web-link-window.png"
fi

xdotool windowraise "$form1"
xdotool mousemove --window "$form1" 568 384 click 1                 # EXIT
status=0
timeout 30 tail --pid="$app" -f /dev/null || fail "EXIT did not end the program"
wait "$app" || status=$?
trap - EXIT
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "PASS: EXIT ended vorrel.exe with status 0"
