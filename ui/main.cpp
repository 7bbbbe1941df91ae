// SPDX-License-Identifier: MIT
#include "program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vorrel::Program program(app);
    return QApplication::exec();
}
