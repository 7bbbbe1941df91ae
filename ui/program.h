// SPDX-License-Identifier: MIT
#pragma once

#include "windowset.h"

class QApplication;

namespace vorrel {

// The program's start-up: names the application, sets its icon and fonts, creates the window set
// and shows the main window. main() runs the event loop afterwards; nothing else runs at start.
class Program {
public:
    explicit Program(QApplication &app);

    WindowSet &windows() { return windows_; }

    // Application-wide settings that every window relies on: name, version, icon, fonts, style.
    static void configure(QApplication &app);

    // Where Qt picks its Windows 11 style (on Windows 11), the classic Windows style instead,
    // unless the user chose a style (QT_STYLE_OVERRIDE, -style).
    static void keepClassicWindowsStyle();

private:
    WindowSet windows_;
};

} // namespace vorrel
