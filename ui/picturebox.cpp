// SPDX-License-Identifier: MIT
#include "picturebox.h"

#include <QFocusEvent>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace vorrel {
namespace {

QImage readSvg(const QString &path, QSize pixels)
{
    // Read through Qt's SVG image-format plugin, loaded only on a screen of a fractional ratio;
    // the program itself links no SVG code, so that it starts as fast as before at 1x and 2x.
    QImageReader reader(path, "svg");
    reader.setAutoDetectImageFormat(false);
    reader.setScaledSize(pixels);
    return reader.read();
}

bool fromKeyboard(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

} // namespace

PictureBox::PictureBox(QWidget *parent, const char *name, TwipRect rect, const QString &resource,
                       const QString &accessibleName)
    : QLabel(parent), resource_(resource)
{
    setObjectName(QString::fromLatin1(name));
    setAccessibleName(accessibleName);
    setGeometry(rect.pixels());
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::StrongFocus);
    render();
}

void PictureBox::render()
{
    const qreal ratio = devicePixelRatioF();
    if (ratio == renderedRatio_)
        return;
    const QString png = QStringLiteral(":/%1.png").arg(resource_);
    const QString png2x = QStringLiteral(":/%1@2x.png").arg(resource_);
    QImage image;
    if (ratio == 1.0) {
        image = readPng(png);
    } else if (ratio == 2.0) {
        image = readPng(png2x);
    } else {
        // The natural size from the 1x picture's header alone.
        QImageReader header(png, "png");
        header.setAutoDetectImageFormat(false);
        const QSize pixels = (QSizeF(header.size()) * ratio).toSize();
        image = readSvg(QStringLiteral(":/%1.svg").arg(resource_), pixels);
        if (image.size() != pixels) {
            // No SVG plugin installed: the 2x rendering scaled, blurred a little but whole.
            image = readPng(png2x).scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    image.setDevicePixelRatio(ratio);
    setPixmap(QPixmap::fromImage(image));
    renderedRatio_ = ratio;
}

bool PictureBox::event(QEvent *event)
{
    // ScreenChangeInternal reaches every widget of a window that moved to another screen.
    if (event->type() == QEvent::ScreenChangeInternal || event->type() == QEvent::Show)
        render();
    return QLabel::event(event);
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::ActiveWindowFocusReason)
        showFocus_ = fromKeyboard(event->reason());
    QLabel::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::ActiveWindowFocusReason)
        showFocus_ = false;
    QLabel::focusOutEvent(event);
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (showFocus_ && hasFocus())
        drawFocusFrame(this, contentsRect(), palette().color(QPalette::WindowText));
}

} // namespace vorrel
