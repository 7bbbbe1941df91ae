// SPDX-License-Identifier: MIT
#pragma once

#include "program.h"
#include "windowset.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace vorrel::test {

// Application-wide settings as the program makes them, with the locale pinned so that decimal
// separators do not depend on the machine running the tests.
inline void configureApplication(const QLocale &locale = QLocale::c())
{
    static bool configured = false;
    if (!configured) {
        Program::configure(*qApp);
        configured = true;
    }
    QLocale::setDefault(locale);
}

// After the program was told to end, Qt refuses to start any further event loop (modal message
// boxes included) until the application's own loop has run once; run it once, empty.
inline void clearProgramEnd()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

template <typename T> T *control(QWidget *window, const char *name)
{
    return window ? window->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// Answers the next modal message box with OK once it appears, and records its text. Message boxes
// run their own event loop, so the answer has to come from a timer started before the click.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            text_ = box->text();
            buttons_ = box->buttons().size();
            ++answered_;
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        });
        timer_.start();
    }

    QString text() const { return text_; }
    int answered() const { return answered_; }
    int buttons() const { return buttons_; }

private:
    QTimer timer_;
    QString text_;
    int answered_ = 0;
    int buttons_ = 0;
};

// Stands in for the desktop's URL opener (QDesktopServices::setUrlHandler).
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace vorrel::test
