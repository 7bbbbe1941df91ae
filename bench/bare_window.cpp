// SPDX-License-Identifier: MIT
// The floor for start-up: an empty Qt window of the main window's size, ended at its first paint.
#include "firstpaint.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(600, 425);
    window.show();
    new vorrel::bench::ExitOnFirstPaint(&window);
    QApplication::exec();
    std::fputs("bare_window: the window was never painted\n", stderr);
    return 1;
}
