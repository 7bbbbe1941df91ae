// SPDX-License-Identifier: MIT
#include "controls.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

#include <limits>

namespace vorrel {

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
    QPalette palette = box->palette();
    if (look.background.isValid())
        palette.setColor(QPalette::Base, look.background);
    if (look.text.isValid())
        palette.setColor(QPalette::Text, look.text);
    box->setPalette(palette);
    // Show a long text from its start, as a text box does before the user moves the caret.
    box->setCursorPosition(0);
    return box;
}

QPushButton *makeButton(QWidget *parent, const char *name, TwipRect rect, const QString &caption,
                        double pointSize)
{
    auto *button = new QPushButton(caption, parent);
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

QLabel *makePicture(QWidget *parent, const char *name, TwipRect rect, const QString &resource,
                    const QString &accessibleName)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setAccessibleName(accessibleName);
    picture->setGeometry(rect.pixels());
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const bool dense = qGuiApp->devicePixelRatio() > 1.0;
    const QString file =
        QStringLiteral(":/%1%2.png").arg(resource, dense ? QStringLiteral("@2x") : QString());
    QPixmap pixmap = QPixmap::fromImage(readPng(file));
    if (dense)
        pixmap.setDevicePixelRatio(2.0);
    picture->setPixmap(pixmap);
    return picture;
}

void setWindowBackground(QWidget *window, const QColor &colour)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

} // namespace vorrel
