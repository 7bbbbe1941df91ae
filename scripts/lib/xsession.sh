# SPDX-License-Identifier: MIT
# A virtual X display with a window manager, for screenshots and end-to-end checks.
# start_x_session: sets DISPLAY and starts Xvfb (96 dpi) and openbox; stop_x_session ends them.

X_SESSION_PACKAGES=(xvfb xauth openbox x11-utils x11-xserver-utils xdotool imagemagick)

start_x_session() {
    local n
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    export DISPLAY=":$n"
    Xvfb "$DISPLAY" -screen 0 1280x800x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xsetroot -solid '#3a6ea5' 2>/dev/null || true
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    sleep 1
}

stop_x_session() {
    kill "${WM_PID:-}" "${XVFB_PID:-}" 2>/dev/null || true
    wait "${WM_PID:-}" "${XVFB_PID:-}" 2>/dev/null || true
}

# wait_for_window NAME: prints the id of the first visible window whose title is NAME.
wait_for_window() {
    local i id
    for i in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "no window named $1 appeared" >&2
    return 1
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
