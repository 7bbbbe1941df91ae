// SPDX-License-Identifier: MIT
#include "taskbar.h"

namespace vorrel {

// Built where neither X11 nor Win32 nor AppKit is available: nothing to set.
void keepOutOfTaskbarIfReachable(QWidget *) {}

} // namespace vorrel
