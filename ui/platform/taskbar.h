// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace vorrel {

// Keeps a frameless top-level window out of the task bar and the pager (the Dock's window list on
// macOS) only where it stays reachable from the keyboard all the same: it takes the focus when
// shown, appears in the desktop's window switcher (Alt+Tab) and stays visible while other
// applications are active. So it does on Windows, on macOS and under KWin on X11. Under every other
// X11 window manager the window stays in the task bar: openbox and GNOME's mutter drop a window
// that skips the task bar from Alt+Tab (openbox also never hands it the focus), and being reachable
// comes first. Call it before the window is first shown; it applies again on every later show. Does
// nothing where the windowing system has no such notion (Wayland, offscreen).
void keepOutOfTaskbarIfReachable(QWidget *window);

} // namespace vorrel
