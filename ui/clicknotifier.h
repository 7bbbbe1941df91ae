// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QWidget;

namespace vorrel {

// Reports a click (left button pressed and released over the widget) on a widget that has no
// click signal of its own, such as a text box or a label. The widget's own handling of the mouse
// (placing the caret, selecting) goes on as usual.
class ClickNotifier : public QObject {
    Q_OBJECT

public:
    explicit ClickNotifier(QWidget *watched);

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *watched_;
};

} // namespace vorrel
