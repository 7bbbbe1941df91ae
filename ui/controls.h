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
class QLabel;
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
} // namespace colours

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
    QColor text;       // invalid: the system's colour for text
};

// A single-line, editable text box. A caption box is one with a window-coloured background and no
// border: it stays editable, as every box of the program does.
QLineEdit *makeTextBox(QWidget *parent, const char *name, TwipRect rect, const QString &text,
                       const BoxLook &look, const QString &accessibleName);

QPushButton *makeButton(QWidget *parent, const char *name, TwipRect rect, const QString &caption,
                        double pointSize = kDefaultPointSize);

// A PNG from the program's resources, read without probing the image-format plugins.
QImage readPng(const QString &path);

// A picture box showing a picture from the program's resources at its natural size in
// device-independent pixels, using the @2x rendering on high-density screens.
QLabel *makePicture(QWidget *parent, const char *name, TwipRect rect, const QString &resource,
                    const QString &accessibleName);

// Gives a window its fixed background colour.
void setWindowBackground(QWidget *window, const QColor &colour);

} // namespace vorrel
