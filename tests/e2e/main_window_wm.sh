#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: how a window manager sees the real program's main window, and whether the keyboard
# can always reach it. Under openbox the designer is an ordinary (not a utility) window listed in
# the task bar (openbox leaves a window that skips it out of Alt+Tab and out of its focus
# fallback), with the focus once shown. After a message box the focus is back on the control that
# had it; after MULTIBAND or the designer closes it is on the program's window still open; Alt+Tab
# from another program reaches the designer. Under a window manager that names itself KWin the
# designer skips the task bar and the pager, opened again after Alt+F4 closed it.
# Usage: main_window_wm.sh PATH/TO/vorrel
set -euo pipefail
program=$1
source "$(dirname "$0")/../../scripts/lib/xsession.sh"
for tool in Xvfb openbox xdotool xprop xdpyinfo xmessage; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

start_x_session
cleanup() { kill "${app:-}" "${other_pid:-}" 2>/dev/null || true; stop_x_session; }
trap cleanup EXIT

# wait_for_focus ID WHEN: waits until the window ID has the keyboard focus.
wait_for_focus() {
    local id=$1 when=$2 focus=""
    for _ in $(seq 1 300); do
        focus=$(xdotool getwindowfocus 2>/dev/null || true)
        [ "$focus" = "$id" ] && { echo "$when: focus on \"$(xdotool getwindowname "$id")\""; return 0; }
        sleep 0.1
    done
    echo "FAIL ($when): the focus is on \"$(xdotool getwindowname "$focus" 2>/dev/null || echo nothing)\"," \
        "not on \"$(xdotool getwindowname "$id")\""
    exit 1
}

# wait_for_message_box: prints the id of the calculation's message box, which has the designer's
# title but is another window.
wait_for_message_box() {
    local box
    for _ in $(seq 1 300); do
        box=$(xdotool search --onlyvisible --name '^Vorrel Designer$' 2>/dev/null | grep -vx "$form1" | head -n 1 || true)
        [ -n "$box" ] && { echo "$box"; return 0; }
        sleep 0.1
    done
    echo "FAIL: no message box appeared" >&2
    return 1
}

# check_main_window ID WHEN listed|skipped: the window's type, its task bar and pager states, and
# that it has the focus and the window manager names it the active window.
check_main_window() {
    local id=$1 when=$2 expected=$3 types states active=""
    types=$(xprop -id "$id" _NET_WM_WINDOW_TYPE)
    states=$(xprop -id "$id" _NET_WM_STATE)
    echo "$when: $types"
    echo "$when: $states"
    # The first type of the window-manager specification that the list names is the one used.
    [ "$(tr -d ' ' <<<"${types#*=}" | tr ',' '\n' | grep -m 1 '^_NET_WM_WINDOW_TYPE_')" = _NET_WM_WINDOW_TYPE_NORMAL ] ||
        { echo "FAIL ($when): the main window is not a normal window"; exit 1; }
    for state in _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER; do
        if [ "$expected" = skipped ]; then
            grep -qw "$state" <<<"$states" || { echo "FAIL ($when): $state is missing"; exit 1; }
        else
            ! grep -qw "$state" <<<"$states" || { echo "FAIL ($when): $state is set"; exit 1; }
        fi
    done
    wait_for_focus "$id" "$when"
    for _ in $(seq 1 300); do
        active=$(xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*# //p')
        [ "$active" = "$(printf '0x%x' "$id")" ] && break
        sleep 0.1
    done
    [ "$active" = "$(printf '0x%x' "$id")" ] ||
        { echo "FAIL ($when): the window manager does not name the main window active"; exit 1; }
}

"$program" &
app=$!
form1=$(wait_for_window 'Vorrel Designer')
check_main_window "$form1" "at start" listed

# INCHES with the initial "00.00": a click gives the button the focus, and a message box opens.
xdotool mousemove --window "$form1" 440 80 click 1
box=$(wait_for_message_box)
wait_for_focus "$box" "message box"
xdotool key Return
wait_for_focus "$form1" "after OK on the message box"
# Enter presses INCHES again only if the focus is back on it.
xdotool key Return
box=$(wait_for_message_box)
wait_for_focus "$box" "message box after Enter"
xdotool key Return
wait_for_focus "$form1" "after OK on the second message box"

xdotool mousemove --window "$form1" 472 384 click 1                 # GO
form2=$(wait_for_window MULTIBAND)
wait_for_focus "$form2" "after GO"
xdotool key --clearmodifiers alt+F4
wait_for_focus "$form1" "after Alt+F4 on MULTIBAND"

xmessage -title 'Another program' 'another program' >/dev/null 2>&1 &
other_pid=$!
other=$(wait_for_window 'Another program')
wait_for_focus "$other" "another program"
xdotool key --clearmodifiers alt+Tab
wait_for_focus "$form1" "after Alt+Tab"
kill "$other_pid"

# The window manager's name, as KWin gives it, on the window that identifies the running one.
check=$(xprop -root _NET_SUPPORTING_WM_CHECK | sed -n 's/.*# //p')
xprop -id "$check" -f _NET_WM_NAME 8u -set _NET_WM_NAME KWin
xdotool mousemove --window "$form1" 472 384 click 1                 # GO
form2=$(wait_for_window MULTIBAND)
wait_for_focus "$form2" "after GO again"
xdotool windowactivate --sync "$form1" key --clearmodifiers alt+F4
wait_for_focus "$form2" "after Alt+F4 on the designer"
kill -0 "$app" || { echo "FAIL: Alt+F4 on the main window ended the program"; exit 1; }
xdotool mousemove --window "$form2" 368 192 click 1                 # Return to designer
form1=$(wait_for_window 'Vorrel Designer')
check_main_window "$form1" "opened again under \"KWin\"" skipped
echo "PASS: the designer is a normal window in the task bar under openbox (out of it under KWin), in reach of Alt+Tab, and the focus comes back after a message box and a closed window"
