// SPDX-License-Identifier: MIT
#pragma once

// Building blocks shared by the three windows: every position and size is given in twips (1/1440
// inch, 15 to a pixel at 96 dpi) as the layouts are drawn, and converted here, once.

#include "designcalculator.h"

#include <QColor>
#include <QRect>
#include <QString>

class QFont;
class QImage;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vorrel {

constexpr int kTwipsPerPixel = 15;

// A rectangle given in twips as left, top, width, height.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;

    constexpr QRect pixels() const
    {
        return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                height / kTwipsPerPixel};
    }
};

namespace colours {
inline const QColor kLightYellow{0xFF, 0xFF, 0x80};
inline const QColor kBlue{0x00, 0x00, 0xFF};
// The text on a fixed background that names no text colour of its own: a desktop theme's text
// colour is chosen for the theme's own backgrounds and may vanish on light yellow.
inline const QColor kBlack{0x00, 0x00, 0x00};
} // namespace colours

// The contrast ratio of two colours as the WCAG defines it, from 1 (the same) to 21 (black on
// white); text is readable for most people from 4.5.
double contrastRatio(const QColor &a, const QColor &b);

// The face every control uses; the start-up code maps it to a metric-compatible font where the
// system has no face of that name.
inline constexpr char kFontFace[] = "MS Sans Serif";
constexpr double kDefaultPointSize = 8.25;

QFont controlFont(double pointSize, bool underline = false);

// The decimal separator of the user's locale, and the calculator's view of it.
QString userDecimalSeparator();
NumberFormat userNumberFormat();

enum class Border { None, Sunken };

struct BoxLook {
    double pointSize = kDefaultPointSize;
    Border border = Border::Sunken;
    QColor background; // invalid: the system's colour for a text box
    QColor text;       // invalid: black on a fixed background, else the system's colour for text
};

// A single-line, editable text box. A caption box is one with a window-coloured background and no
// border: it stays editable, as every box of the program does.
QLineEdit *makeTextBox(QWidget *parent, const char *name, TwipRect rect, const QString &text,
                       const BoxLook &look, const QString &accessibleName);

// Replaces a box's whole text and shows it from its start, as a box shows a text the program puts
// there (QLineEdit would leave the caret, and so the view, at its end).
void setBoxText(QLineEdit *box, const QString &text);

// A command button: no default or auto-default, and Enter presses it when it has the focus.
QPushButton *makeButton(QWidget *parent, const char *name, TwipRect rect, const QString &caption,
                        double pointSize = kDefaultPointSize);

// A PNG from the program's resources, read without probing the image-format plugins.
QImage readPng(const QString &path);

// Draws the focus frame of a control that paints itself: a dotted line in the colour of its text,
// which is as readable on its background as the text is.
void drawFocusFrame(QWidget *widget, const QRect &rect, const QColor &colour);

// Gives a window its fixed background colour, and black text on it.
void setWindowBackground(QWidget *window, const QColor &colour);

} // namespace vorrel
