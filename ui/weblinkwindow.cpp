// SPDX-License-Identifier: MIT
#include "weblinkwindow.h"

#include "controls.h"
#include "linklabel.h"
#include "windowset.h"

#include <QCursor>
#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QUrl>

namespace vorrel {
namespace {

// The layout, in twips.
constexpr TwipRect kClientArea{2130, 1695, 3315, 1845}; // placed on the screen
constexpr TwipRect kNotice{525, 75, 2265, 390};
constexpr TwipRect kPrompt{450, 750, 2490, 345};
constexpr TwipRect kLink{525, 1335, 2205, 255};

constexpr int kHotspotX = 13;
constexpr int kHotspotY = 9;

QLabel *makeLabel(QWidget *parent, const char *name, TwipRect rect, const QString &caption,
                  Qt::Alignment alignment)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect.pixels());
    label->setFont(controlFont(kDefaultPointSize));
    label->setAlignment(alignment);
    label->setAutoFillBackground(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

const QString &WebLinkWindow::pageAddress()
{
    static const QString address = QStringLiteral("http://www.qt0nrv.example");
    return address;
}

QCursor WebLinkWindow::handCursor()
{
    // The hand is kept as an outline and a mask, but handed over as an ARGB picture: Wayland
    // compositors show only picture cursors, and the other platforms show it just the same.
    const QImage outline(QStringLiteral(":/hand.xbm"));
    const QImage mask(QStringLiteral(":/hand-mask.xbm"));
    const QRgb ink = qRgb(0, 0, 0);
    QImage hand(outline.size(), QImage::Format_ARGB32);
    for (int y = 0; y < hand.height(); ++y) {
        for (int x = 0; x < hand.width(); ++x) {
            const QRgb pixel = mask.pixel(x, y) != ink   ? qRgba(0, 0, 0, 0)
                               : outline.pixel(x, y) == ink ? ink
                                                            : qRgb(0xFF, 0xFF, 0xFF);
            hand.setPixel(x, y, pixel);
        }
    }
    return QCursor(QPixmap::fromImage(hand), kHotspotX, kHotspotY);
}

WebLinkWindow::WebLinkWindow(WindowSet &windows, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("web"));
    setWindowTitle(QStringLiteral("Web Page Link"));
    setGeometry(kClientArea.pixels());
    setFixedSize(kClientArea.pixels().size());

    auto *notice = makeLabel(this, "Label1", kNotice,
                             QStringLiteral("The link will be opened in your default browser."),
                             Qt::AlignHCenter | Qt::AlignTop);
    notice->setWordWrap(true);
    makeLabel(this, "Label2", kPrompt, QStringLiteral("Click Link Below to "),
              Qt::AlignHCenter | Qt::AlignTop);
    auto *link = new LinkLabel(pageAddress(), this);
    link->setObjectName(QStringLiteral("lblWebPage"));
    link->setGeometry(kLink.pixels());
    link->setFont(controlFont(kDefaultPointSize, true));
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link->setCursor(handCursor());
    link->setAccessibleDescription(tr("the author's web page; opens in the default browser"));

    connect(link, &LinkLabel::activated, this, windows.guard([this] { openPage(); }));
}

void WebLinkWindow::openPage()
{
    const QString address = pageAddress() + QLatin1Char('/');
    if (QDesktopServices::openUrl(QUrl(address)))
        return;
    WindowSet::showWarning(this, windowTitle(),
                           tr("The web page could not be opened. To visit it, type this address "
                              "into your web browser:\n\n%1")
                               .arg(address));
}

} // namespace vorrel
