// SPDX-License-Identifier: MIT
// The bare window with one caption in Liberation Sans: what drawing any text at all adds to the
// start-up (the font configuration and database, one font file), before the program does anything.
#include "firstpaint.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(600, 425);
    auto *caption = new QLabel(QStringLiteral("INPUT FREQUENCY IN MEGAHERTZ"), &window);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(12.0);
    caption->setFont(font);
    caption->move(248, 32);
    window.show();
    new vorrel::bench::ExitOnFirstPaint(&window);
    QApplication::exec();
    std::fputs("caption_window: the window was never painted\n", stderr);
    return 1;
}
