// SPDX-License-Identifier: MIT
#include "weblinkwindow.h"

#include "clicknotifier.h"
#include "controls.h"
#include "windowset.h"

#include <QBitmap>
#include <QCursor>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
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
    const QBitmap shape(QStringLiteral(":/hand.xbm"));
    const QBitmap mask(QStringLiteral(":/hand-mask.xbm"));
    return QCursor(shape, mask, kHotspotX, kHotspotY);
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
    auto *link = makeLabel(this, "lblWebPage", kLink, pageAddress(), Qt::AlignLeft | Qt::AlignTop);
    link->setFont(controlFont(kDefaultPointSize, true));
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, colours::kBlue);
    link->setPalette(blue);
    link->setCursor(handCursor());
    link->setAccessibleName(tr("link to the author's web page"));
    link->setAccessibleDescription(tr("Opens %1 in the default browser").arg(pageAddress()));

    connect(new ClickNotifier(link), &ClickNotifier::clicked, this,
            windows.guard([this] { openPage(); }));
}

void WebLinkWindow::openPage()
{
    const QString address = pageAddress() + QLatin1Char('/');
    if (QDesktopServices::openUrl(QUrl(address)))
        return;
    QMessageBox::warning(this, windowTitle(),
                         tr("The web page could not be opened. To visit it, type this address "
                            "into your web browser:\n\n%1")
                             .arg(address));
}

} // namespace vorrel
