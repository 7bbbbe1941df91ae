// SPDX-License-Identifier: MIT
#pragma once

#include "controls.h"

#include <QLabel>

namespace vorrel {

// A picture box: one of the program's diagrams at its natural size in device-independent pixels,
// sharp at any scale. At 1x and 2x it shows the PNG rendered at build time; at any other device
// pixel ratio (1.25, 1.5, 3, ...) it renders the diagram's SVG once for that ratio, and again when
// the window moves to a screen of another ratio.
//
// It takes the focus in its place in the tab order, so that keyboard and screen-reader users meet
// the diagram and its description; a focus frame shows when the focus came from the keyboard.
class PictureBox : public QLabel {
    Q_OBJECT

public:
    PictureBox(QWidget *parent, const char *name, TwipRect rect, const QString &resource,
               const QString &accessibleName);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void render();

    QString resource_;
    qreal renderedRatio_ = 0.0; // of the picture shown
    bool showFocus_ = false;
};

} // namespace vorrel
