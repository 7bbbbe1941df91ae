# SPDX-License-Identifier: MIT
# A virtual X display with a window manager, for screenshots and end-to-end checks.
# start_x_session: sets DISPLAY and starts Xvfb (96 dpi) and openbox; stop_x_session ends them.

X_SESSION_PACKAGES=(xvfb xauth openbox x11-utils x11-xserver-utils xdotool imagemagick xclip)

start_x_session() {
    # Xvfb takes the first free display itself and writes its number to descriptor 3 once it
    # accepts connections, so two sessions started at once cannot pick the same one.
    local displayfile number="" i
    displayfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for i in $(seq 1 100); do
        # A whole line only: read fails on a number still being written.
        read -r number <"$displayfile" && break
        number=""
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$displayfile"
    if [ -z "$number" ]; then
        echo "start_x_session: Xvfb did not start" >&2
        kill "$XVFB_PID" 2>/dev/null || true
        return 1
    fi
    export DISPLAY=":$number"
    xsetroot -solid '#3a6ea5' 2>/dev/null || true
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    # Windows mapped before the window manager manages the screen would get no frame. While
    # several displays start at once, openbox now and then fails to open its new one and exits:
    # it is started again then.
    for i in $(seq 1 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        if ! kill -0 "$WM_PID" 2>/dev/null; then
            openbox >/dev/null 2>&1 &
            WM_PID=$!
        fi
        sleep 0.1
    done
}

stop_x_session() {
    kill "${WM_PID:-}" "${XVFB_PID:-}" 2>/dev/null || true
    wait "${WM_PID:-}" "${XVFB_PID:-}" 2>/dev/null || true
}

# wait_for_window NAME [SECONDS]: prints the id of the first visible window whose title is NAME,
# waiting up to SECONDS (30) for it: a program started on a busy machine, or under Wine or qemu,
# may take that long.
wait_for_window() {
    local id deadline=$((SECONDS + ${2:-30}))
    while :; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        [ "$SECONDS" -lt "$deadline" ] || break
        sleep 0.1
    done
    echo "no window named $1 appeared within ${2:-30} s" >&2
    return 1
}

# read_results WINDOW [SECONDS]: the designer's four result boxes (radiator, stud, gap, feed
# point), each clicked, selected and copied, then read from the clipboard, which is emptied before
# each copy and waited on for up to SECONDS (20) each; printed on one line, separated by blanks. A
# Windows program under Wine copies with its line ends.
read_results() {
    local window=$1 wait=${2:-20} box value values=() deadline
    for box in "408 144" "408 200" "408 264" "424 328"; do
        # xclip holds the empty clipboard until the program takes it over with its copy.
        xclip -selection clipboard -i /dev/null
        # shellcheck disable=SC2086
        xdotool mousemove --window "$window" $box click 1 key ctrl+a ctrl+c
        deadline=$((SECONDS + wait))
        while value=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r'); [ -z "$value" ]; do
            [ "$SECONDS" -lt "$deadline" ] || break
            sleep 0.05
        done
        values+=("$value")
    done
    echo "${values[*]}"
}

# capture_window ID FILE: writes a PNG of the window with its frame, as the user sees it.
capture_window() {
    local id=$1 file=$2 x y w h left right top bottom extents info
    info=$(xwininfo -id "$id")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
    IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
    import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" +repage "$file"
}
