// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QCursor;

namespace vorrel {

class WindowSet;

// "Web Page Link": a small fixed window whose underlined address opens the author's page in the
// user's default browser on every click.
class WebLinkWindow : public QWidget {
    Q_OBJECT

public:
    explicit WebLinkWindow(WindowSet &windows, QWidget *parent = nullptr);

    // The page address as shown, without a trailing slash; the address opened adds one.
    static const QString &pageAddress();

    // The pointing hand shown over the address: 32 x 32, black and white, hotspot on the fingertip.
    static QCursor handCursor();

private:
    void openPage();
};

} // namespace vorrel
