#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: how a window manager sees the real program's main window. It is an ordinary
# (not a utility) window, stays out of the task bar and the pager, and has the focus once shown;
# the same holds when it is opened again after Alt+F4 closed it.
# Usage: main_window_wm.sh PATH/TO/vorrel
set -euo pipefail
program=$1
source "$(dirname "$0")/../../scripts/lib/xsession.sh"
for tool in Xvfb openbox xdotool xprop xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

start_x_session
cleanup() { kill "${app:-}" 2>/dev/null || true; stop_x_session; }
trap cleanup EXIT

check_main_window() {
    local id=$1 when=$2 types states focus="" active=""
    types=$(xprop -id "$id" _NET_WM_WINDOW_TYPE)
    states=$(xprop -id "$id" _NET_WM_STATE)
    echo "$when: $types"
    echo "$when: $states"
    # The first type of the window-manager specification that the list names is the one used.
    [ "$(tr -d ' ' <<<"${types#*=}" | tr ',' '\n' | grep -m 1 '^_NET_WM_WINDOW_TYPE_')" = _NET_WM_WINDOW_TYPE_NORMAL ] ||
        { echo "FAIL ($when): the main window is not a normal window"; exit 1; }
    for state in _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER; do
        grep -qw "$state" <<<"$states" || { echo "FAIL ($when): $state is missing"; exit 1; }
    done
    # The keyboard focus, and the window manager's word that the window is the active one.
    for _ in $(seq 1 100); do
        focus=$(xdotool getwindowfocus 2>/dev/null || true)
        active=$(xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*# //p')
        [ "$focus" = "$id" ] && [ "$active" = "$(printf '0x%x' "$id")" ] && break
        sleep 0.1
    done
    echo "$when: focus on $focus, active window ${active:-none}"
    [ "$focus" = "$id" ] || { echo "FAIL ($when): the main window ($id) has no keyboard focus"; exit 1; }
    [ "$active" = "$(printf '0x%x' "$id")" ] ||
        { echo "FAIL ($when): the window manager does not name the main window active"; exit 1; }
}

"$program" &
app=$!
form1=$(wait_for_window 'Vorrel Designer')
check_main_window "$form1" "at start"

xdotool mousemove --window "$form1" 472 384 click 1                 # GO
form2=$(wait_for_window MULTIBAND)
xdotool windowactivate --sync "$form1" key --clearmodifiers alt+F4
for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name '^Vorrel Designer$' >/dev/null 2>&1 || break
    sleep 0.1
done
kill -0 "$app" || { echo "FAIL: Alt+F4 on the main window ended the program"; exit 1; }
xdotool mousemove --window "$form2" 368 192 click 1                 # Return to designer
form1=$(wait_for_window 'Vorrel Designer')
check_main_window "$form1" "opened again"
echo "PASS: the main window is a normal window out of the task bar and pager, with the focus"
