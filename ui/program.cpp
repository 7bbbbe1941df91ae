// SPDX-License-Identifier: MIT
#include "program.h"

#include "controls.h"
#include "version.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QPixmap>
#include <QStyle>

namespace vorrel {

void Program::configure(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("vorrel"));
    QApplication::setApplicationVersion(QStringLiteral(VORREL_VERSION));
    // No display name: the windowing system would append it to every caption.
    QApplication::setDesktopFileName(QStringLiteral("org.vorrel.Designer"));
    // The window set decides when the program ends: when none of its windows is left open. Qt's
    // own rule leaves out a window that has an owner, as the main window has on Windows, and would
    // end the program there once the last other window closed.
    app.setQuitOnLastWindowClosed(false);

    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(readPng(QStringLiteral(":/icon-%1.png").arg(size))));
    QApplication::setWindowIcon(icon);

    // The layouts are measured for a face with Arial's metrics; where the named face is missing,
    // use one with the same metrics so that no caption is clipped. Windows has the outline heir
    // of the named bitmap face; a Windows without it (Wine has neither) takes Arial or one of its
    // metric twins, and only then a narrower sans, before Qt's own default, which may be a serif.
#if defined(Q_OS_WASM)
    // A web page lends the program none of the device's fonts: it carries its face.
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
    QFont::insertSubstitutions(QString::fromLatin1(kFontFace), {QStringLiteral("Liberation Sans")});
#elif defined(Q_OS_WIN)
    QFont::insertSubstitutions(QString::fromLatin1(kFontFace),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Tahoma")});
#else
    QFont::insertSubstitutions(QString::fromLatin1(kFontFace),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Arial"), QStringLiteral("Helvetica")});
#endif
    // Text without a font of its own (message boxes) in the same face, at the desktop's size: a
    // minimal system may resolve its default "sans-serif" to a monospace face.
    QFont text = QApplication::font();
    text.setFamilies({QString::fromLatin1(kFontFace)});
    QApplication::setFont(text);
#ifdef Q_OS_WIN
    keepClassicWindowsStyle();
#endif
}

void Program::keepClassicWindowsStyle()
{
    // The windows are laid out to the pixel for the classic Windows controls. The Windows 11
    // style's wider text margins cut the last letter of the gap's "INCHES" and of long results,
    // and its hovered and pressed buttons are translucent: under Windows' dark setting, white
    // text on the yellow window showing through.
    if (QApplication::style()->name() != QLatin1String("windows11") ||
        qEnvironmentVariableIsSet("QT_STYLE_OVERRIDE"))
        return;
    for (const QString &argument : QCoreApplication::arguments()) {
        if (argument == QLatin1String("-style") || argument.startsWith(QLatin1String("-style=")) ||
            argument == QLatin1String("--style") || argument.startsWith(QLatin1String("--style=")))
            return;
    }
    QApplication::setStyle(QStringLiteral("windowsvista"));
}

Program::Program(QApplication &app)
{
    configure(app);
    windows_.showWindow(WindowId::Form1);
}

} // namespace vorrel
