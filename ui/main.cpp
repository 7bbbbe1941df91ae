// SPDX-License-Identifier: MIT
#include "program.h"

#include <QApplication>

#ifdef Q_OS_WASM
#include <emscripten.h>

// In a web page the program lives as long as the page: exec() hands the page back to the browser
// by throwing, which would destroy everything on main's stack, so the application and the windows
// are made on the heap and kept. A page cannot close itself: when the program ends, the page says
// so and offers to start it again.
int main(int argc, char *argv[])
{
    static int arguments = argc;
    auto *app = new QApplication(arguments, argv);
    auto *program = new vorrel::Program(*app);
    QObject::connect(&program->windows(), &vorrel::WindowSet::programEnding, app, [] {
        EM_ASM({
            if (typeof window.vorrelProgramEnded === 'function')
                window.vorrelProgramEnded();
        });
    });
    return QApplication::exec();
}
#else
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vorrel::Program program(app);
    return QApplication::exec();
}
#endif
