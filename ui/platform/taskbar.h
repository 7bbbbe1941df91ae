// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace vorrel {

// Keeps a frameless top-level window out of the task bar and the pager (the Dock's window list on
// macOS) while it stays an ordinary window: it takes the focus when shown, appears in Alt+Tab and
// stays visible while other applications are active. Call it before the window is first shown;
// it applies again on every later show. Does nothing where the windowing system has no such
// notion (Wayland, offscreen).
void keepOutOfTaskbar(QWidget *window);

} // namespace vorrel
