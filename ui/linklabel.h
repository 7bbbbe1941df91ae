// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace vorrel {

// A web address shown as a link: underlined, in link colour, with the pointing hand. It takes the
// focus with Tab and shows it with a focus frame; a click, Enter or Space activates it, and to
// assistive technology it is a link with a press action that does the same.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    LinkLabel(const QString &address, QWidget *parent);

    // Does what a click does. Also the accessible press action.
    void activate();

signals:
    void activated();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void chooseColour();
};

} // namespace vorrel
