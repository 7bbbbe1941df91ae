// SPDX-License-Identifier: MIT
// The program's start-up exactly as main.cpp runs it, ended at the main window's first paint.
#include "firstpaint.h"
#include "program.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vorrel::Program program(app);
    QWidget *form1 = program.windows().window(vorrel::WindowId::Form1);
    if (form1 == nullptr) {
        std::fputs("startup_harness: the program opened no main window\n", stderr);
        return 1;
    }
    new vorrel::bench::ExitOnFirstPaint(form1);
    QApplication::exec();
    std::fputs("startup_harness: the main window was never painted\n", stderr);
    return 1;
}
