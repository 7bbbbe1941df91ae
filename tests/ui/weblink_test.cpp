// SPDX-License-Identifier: MIT
// The web page link window: its look, the hand cursor, and handing the address to the browser.
#include "testsupport.h"
#include "weblinkwindow.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

using namespace vorrel;
using vorrel::test::control;

class WebLinkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::configureApplication(); }
    void init()
    {
        windows_ = std::make_unique<WindowSet>();
        windows_->showWindow(WindowId::Form1);
        QTest::mouseClick(control<QPushButton>(windows_->window(WindowId::Form1), "Command2"),
                          Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(windows_->window(WindowId::Form2), "Command3"),
                          Qt::LeftButton);
        web_ = windows_->window(WindowId::Web);
        QVERIFY(web_);
        QVERIFY(QTest::qWaitForWindowExposed(web_));
    }
    void cleanup()
    {
        windows_.reset();
        test::clearProgramEnd();
    }

    void windowIsSmallFixedAndPlaced()
    {
        QCOMPARE(web_->windowTitle(), QStringLiteral("Web Page Link"));
        QCOMPARE(web_->geometry(), QRect(142, 113, 221, 123));
        QCOMPARE(web_->minimumSize(), QSize(221, 123));
        QCOMPARE(web_->maximumSize(), QSize(221, 123));
        QVERIFY(web_->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!web_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!web_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!web_->windowIcon().isNull());
        // The dialog background of the platform, not the designer's yellow.
        QCOMPARE(web_->palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Window));
    }

    void labels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("alignment");
        // Layout sheet rows in twips, 15 to a pixel.
        QTest::newRow("notice wraps, centred")
            << "Label1" << QRect(525, 75, 2265, 390)
            << "The link will be opened in your default browser." << int(Qt::AlignHCenter);
        QTest::newRow("prompt keeps its trailing blank")
            << "Label2" << QRect(450, 750, 2490, 345) << "Click Link Below to "
            << int(Qt::AlignHCenter);
        QTest::newRow("link shows the address without a slash")
            << "lblWebPage" << QRect(525, 1335, 2205, 255) << "http://www.qt0nrv.example"
            << int(Qt::AlignLeft);
    }

    void labels()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        QFETCH(int, alignment);
        auto *label = web_->findChild<QLabel *>(name);
        QVERIFY(label);
        QCOMPARE(label->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        QCOMPARE(label->text(), caption);
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
        QCOMPARE(label->font().pointSizeF(), 8.25);
        QVERIFY(label->autoFillBackground());
        // Only the link takes the focus, from the keyboard.
        QCOMPARE(label->focusPolicy(), name == "lblWebPage" ? Qt::TabFocus : Qt::NoFocus);
        // Every caption fits: the notice on its two lines, the others on one.
        const QFontMetrics metrics(label->font());
        const QRect needed = metrics.boundingRect(
            label->contentsRect(), int(label->alignment()) | Qt::TextWordWrap, caption);
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                 qPrintable(name));
    }

    void linkIsBlueUnderlinedWithTheHand()
    {
        auto *link = control<QLabel>(web_, "lblWebPage");
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xFF));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(link->cursor().hotSpot(), QPoint(13, 9));
        QVERIFY(control<QLabel>(web_, "Label1")->wordWrap());
        QCOMPARE(control<QLabel>(web_, "Label1")->cursor().shape(), Qt::ArrowCursor);
    }

    void handCursorIsAPictureOfTwoColoursWithTheFingertipAtTheHotspot()
    {
        // A picture, not two bitmaps: Wayland compositors show no pointer for a bitmap cursor.
        const QImage hand =
            WebLinkWindow::handCursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(hand.size(), QSize(32, 32));
        int black = 0;
        int white = 0;
        int clear = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb pixel = hand.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    ++clear;
                else if (pixel == qRgb(0, 0, 0))
                    ++black;
                else if (pixel == qRgb(0xFF, 0xFF, 0xFF))
                    ++white;
                else
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is neither black, white nor "
                                                    "transparent")
                                         .arg(x)
                                         .arg(y)));
            }
        }
        // Counted in the picture of resources/cursors/make-cursor.py: '#', '.' and ' '.
        QCOMPARE(black, 84);
        QCOMPARE(white, 217);
        QCOMPARE(clear, 723);
        // The hotspot sits on the black top of the raised finger, with nothing above it.
        QCOMPARE(hand.pixel(13, 9), qRgb(0, 0, 0));
        for (int y = 0; y < 9; ++y)
            QCOMPARE(qAlpha(hand.pixel(13, y)), 0);
    }

    void eachClickOpensThePageOnce()
    {
        test::UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        const auto unset =
            qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); });
        auto *link = control<QLabel>(web_, "lblWebPage");
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(recorder.opened, QList<QUrl>{QUrl(QStringLiteral("http://www.qt0nrv.example/"))});
        QCOMPARE(recorder.opened.first().toString(), QStringLiteral("http://www.qt0nrv.example/"));
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(recorder.opened.size(), 3);
        QTest::mouseClick(control<QLabel>(web_, "Label2"), Qt::LeftButton);
        QTest::mouseClick(link, Qt::RightButton);
        QCOMPARE(recorder.opened.size(), 3);
        QVERIFY(web_->isVisible());
    }

    // Keyboard users press Enter or Space on the focused link; screen readers and voice control
    // find a link named by the address it shows, and press it.
    void keyboardAndAssistiveTechnologyOpenThePage()
    {
        test::UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        const auto unset =
            qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); });
        auto *link = control<QLabel>(web_, "lblWebPage");
        web_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(web_));
        QCOMPARE(QApplication::focusWidget(), link);
        QTest::keyClick(link, Qt::Key_Return);
        QTest::keyClick(link, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(link, Qt::Key_Space);
        QCOMPARE(recorder.opened.size(), 3);

        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(link);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::Link);
        QVERIFY(accessible->text(QAccessible::Name)
                    .contains(QStringLiteral("http://www.qt0nrv.example")));
        QAccessibleActionInterface *actions = accessible->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(recorder.opened.size(), 4);
        QCOMPARE(recorder.opened.last(), QUrl(QStringLiteral("http://www.qt0nrv.example/")));
    }

    void failedOpenSaysSoAndKeepsGoing()
    {
#ifdef Q_OS_WIN
        // Windows opens addresses through its shell, whatever PATH says: an opener that cannot
        // be called makes the desktop service report failure.
        QObject opener;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &opener, "missing");
        const auto restore =
            qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("No such method")));
#else
        // No URL opener on PATH: the desktop service reports failure.
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", empty.path().toLocal8Bit());
        const auto restore = qScopeGuard([&path] { qputenv("PATH", path); });
#endif
        QSignalSpy ending(windows_.get(), &WindowSet::programEnding);
        test::MessageBoxAnswerer answerer;
        QTest::mouseClick(control<QLabel>(web_, "lblWebPage"), Qt::LeftButton);
        QCOMPARE(answerer.answered(), 1);
        QVERIFY(answerer.text().contains(QStringLiteral("http://www.qt0nrv.example/")));
        QCOMPARE(ending.count(), 0);
        QVERIFY(web_->isVisible());
    }

    void closingTheLinkWindowLeavesTheOthers()
    {
        web_->close();
        QTRY_VERIFY(!windows_->isOpen(WindowId::Web));
        QVERIFY(windows_->window(WindowId::Form1)->isVisible());
        QVERIFY(windows_->window(WindowId::Form2)->isVisible());
    }

private:
    std::unique_ptr<WindowSet> windows_;
    QWidget *web_ = nullptr;
};

QTEST_MAIN(WebLinkTest)
#include "weblink_test.moc"
