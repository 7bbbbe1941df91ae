// SPDX-License-Identifier: MIT
#include "taskbar.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace vorrel {
namespace {

// Windows gives every unowned top-level window a task bar button. The tool-window style would
// take the button away but also drop the window from Alt+Tab; an owned window has no button and
// stays in Alt+Tab, so the window gets an owner that is never shown. Qt sets a window's owner
// from its transient parent each time it shows the window (and clears an owner set any other
// way), so the owner is given as the transient parent, before each show.
class HiddenOwner : public QObject {
public:
    explicit HiddenOwner(QWidget *window) : QObject(window)
    {
        owner_.create();
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            QWindow *handle = static_cast<QWidget *>(watched)->windowHandle();
            if (handle && handle->transientParent() != &owner_)
                handle->setTransientParent(&owner_);
        }
        return false;
    }

private:
    // Destroyed before the owned window: Qt releases an owned window from its owner first, so
    // that Windows does not destroy it along with the owner.
    QWindow owner_;
};

} // namespace

void keepOutOfTaskbarIfReachable(QWidget *window)
{
    new HiddenOwner(window);
}

} // namespace vorrel
