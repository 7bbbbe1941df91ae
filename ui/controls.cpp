// SPDX-License-Identifier: MIT
#include "controls.h"

#include <QFont>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPalette>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorrel {
namespace {

// A push button that Enter presses as well as Space, as on the platforms where a focused button
// takes Enter. Qt's own button takes Enter only as a dialog's (auto-)default, which no button
// here is, so that Enter in a text box presses nothing.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers others = event->modifiers() & ~Qt::KeypadModifier;
        if (enter && others == Qt::NoModifier) {
            if (!event->isAutoRepeat())
                click();
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

double relativeLuminance(const QColor &colour)
{
    const auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QFont controlFont(double pointSize, bool underline)
{
    QFont font(QString::fromLatin1(kFontFace));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setUnderline(underline);
    return font;
}

QString userDecimalSeparator()
{
    return QLocale().decimalPoint();
}

NumberFormat userNumberFormat()
{
    return NumberFormat{userDecimalSeparator().toStdString()};
}

QLineEdit *makeTextBox(QWidget *parent, const char *name, TwipRect rect, const QString &text,
                       const BoxLook &look, const QString &accessibleName)
{
    // The text goes in after the font: a text given to the constructor would be laid out in the
    // application's default font first, which costs start-up time and is never shown.
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setGeometry(rect.pixels());
    box->setFont(controlFont(look.pointSize));
    box->setText(text);
    box->setFrame(look.border == Border::Sunken);
    // No length limit: a box takes whatever the user pastes into it.
    box->setMaxLength(std::numeric_limits<int>::max());
    // A fixed background takes a fixed text colour with it; a box without either takes both from
    // the desktop's palette, so the two always come from one place.
    if (look.background.isValid()) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, look.background);
        palette.setColor(QPalette::Text, look.text.isValid() ? look.text : colours::kBlack);
        box->setPalette(palette);
    }
    // Show a long text from its start, as a text box does before the user moves the caret.
    box->setCursorPosition(0);
    return box;
}

void setBoxText(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0);
}

QPushButton *makeButton(QWidget *parent, const char *name, TwipRect rect, const QString &caption,
                        double pointSize)
{
    auto *button = new CommandButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect.pixels());
    button->setFont(controlFont(pointSize));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QImage readPng(const QString &path)
{
    // Naming the format and turning detection off keeps Qt from loading every image-format plugin
    // (and the libraries behind them) only to ask each one whether it reads PNG.
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void drawFocusFrame(QWidget *widget, const QRect &rect, const QColor &colour)
{
    QPainter painter(widget);
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

void setWindowBackground(QWidget *window, const QColor &colour)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, colours::kBlack);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

} // namespace vorrel
