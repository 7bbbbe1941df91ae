// SPDX-License-Identifier: MIT
#include "clicknotifier.h"

#include <QMouseEvent>
#include <QWidget>

namespace vorrel {

ClickNotifier::ClickNotifier(QWidget *watched) : QObject(watched), watched_(watched)
{
    watched->installEventFilter(this);
}

bool ClickNotifier::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == watched_ && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            watched_->rect().contains(mouse->position().toPoint())) {
            emit clicked();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vorrel
