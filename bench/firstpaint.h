// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace vorrel::bench {

// Ends the process as soon as `window` has been painted for the first time. The exit is queued
// behind the paint, so the backing store has been flushed to the window system by then; _exit
// skips the teardown, which is no part of start-up.
class ExitOnFirstPaint : public QObject {
public:
    explicit ExitOnFirstPaint(QWidget *window) : QObject(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, watched, [] {
                std::fflush(nullptr);
                _exit(0);
            });
        }
        return false;
    }

private:
    bool painted_ = false;
};

} // namespace vorrel::bench
