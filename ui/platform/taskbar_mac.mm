// SPDX-License-Identifier: MIT
#include "taskbar.h"

#include <QEvent>
#include <QWidget>

#import <AppKit/AppKit.h>

namespace vorrel {
namespace {

// An ordinary window is listed in the Dock's menu of the application and in its Window menu;
// this leaves it out of both. It stays visible while other applications are active, as every
// window that is not a tool window does. Set on every show: Qt may give the widget a new NSWindow.
class LeaveOutOfWindowLists : public QObject {
public:
    explicit LeaveOutOfWindowLists(QWidget *window) : QObject(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            auto *view = reinterpret_cast<NSView *>(static_cast<QWidget *>(watched)->winId());
            view.window.excludedFromWindowsMenu = YES;
        }
        return false;
    }
};

} // namespace

void keepOutOfTaskbarIfReachable(QWidget *window)
{
    new LeaveOutOfWindowLists(window);
}

} // namespace vorrel
