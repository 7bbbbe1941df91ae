// SPDX-License-Identifier: MIT
// The designer window driven as a user drives it: layout, typing, INCHES/CM, errors, EXIT.
#include "controls.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QAccessible>
#include <QCursor>
#include <QEventLoop>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleOptionFrame>
#include <QTest>
#include <QWindow>

#include <stdexcept>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace vorrel;
using vorrel::test::control;

namespace {

const char *const kValueBoxes[] = {"Text5", "Text8", "Text11", "Text14"};
const char *const kUnitBoxes[] = {"Text6", "Text9", "Text12", "Text15"};

// The width a line edit has for its text without scrolling: the style's contents rectangle less
// the two-pixel margins QLineEdit keeps on either side.
int textRoom(QLineEdit *box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    return contents.width() - 2 * 2;
}

// The screen position of the last mouse move a window was told of, real or made by a test.
class PointerWatcher : public QObject {
public:
    explicit PointerWatcher(QWindow *window) { window->installEventFilter(this); }
    QPoint lastMove;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove)
            lastMove = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::configureApplication(); }
    void init()
    {
        QLocale::setDefault(QLocale::c());
        windows_ = std::make_unique<WindowSet>();
        windows_->showWindow(WindowId::Form1);
        form1_ = windows_->window(WindowId::Form1);
        QVERIFY(form1_);
        QVERIFY(QTest::qWaitForWindowExposed(form1_));
    }
    void cleanup()
    {
        windows_.reset();
        test::clearProgramEnd();
    }

    void windowIsFramelessFixedAndYellow()
    {
        QCOMPARE(form1_->objectName(), QStringLiteral("Form1"));
        QVERIFY(form1_->windowFlags().testFlag(Qt::FramelessWindowHint));
        // An ordinary window; the task bar and pager leave it out (checked on the real program).
        QCOMPARE(form1_->windowFlags() & Qt::WindowType_Mask, Qt::Window);
        QCOMPARE(form1_->windowTitle(), QStringLiteral("Vorrel Designer"));
        QCOMPARE(form1_->size(), QSize(600, 425));
        QCOMPARE(form1_->minimumSize(), form1_->maximumSize());
        QCOMPARE(form1_->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0x80));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("accessibleName");
        // Rows from the window's layout sheet, in twips (15 to a pixel).
        const auto row = [](const char *name, QRect twips, const char *text, double points,
                            const char *accessible) {
            QTest::newRow(name) << QString::fromLatin1(name) << twips << QString::fromLatin1(text)
                                << points << QString::fromLatin1(accessible);
        };
        row("Text1", {120, 0, 8895, 375}, nullptr, 13.5, "title");
        row("Picture1", {120, 480, 2850, 5550}, nullptr, 0,
            "diagram of the antenna: radiator, stud, gap and feed point");
        row("Text2", {3720, 480, 4455, 375}, "INPUT FREQUENCY IN MEGAHERTZ", 12,
            "heading of the input");
        row("Text3", {3600, 960, 2055, 735}, "00.00", 24, "frequency box");
        row("Text4", {3120, 2040, 1935, 375}, "The radiator will be", 9.75, "caption of row 1");
        row("Text5", {5160, 1920, 1935, 495}, "", 13.5, "radiator value");
        row("Text6", {7440, 2040, 1335, 375}, "inches long", 9.75, "radiator unit");
        row("Text7", {3120, 2880, 1815, 375}, "The driven stud is", 9.75, "caption of row 2");
        row("Text8", {5160, 2760, 1935, 495}, "", 13.5, "stud value");
        row("Text9", {7440, 2880, 1335, 375}, "inches long", 9.75, "stud unit");
        row("Text10", {3120, 3840, 1815, 375}, "The Gap space is", 9.75, "caption of row 3");
        row("Text11", {5160, 3720, 1935, 495}, "", 13.5, "gap value");
        row("Text12", {7440, 3840, 855, 285}, "inches", 9.75, "gap unit");
        row("Text13", {3120, 4800, 2295, 375}, "The Feedpoint is about", 9.75, "caption of row 4");
        row("Text14", {5640, 4680, 1455, 495}, "", 13.5, "feed point value");
        row("Text15", {7440, 4800, 1215, 285}, "Up", 9.75, "feed point unit");
        row("Command1", {5760, 960, 1575, 735}, "INCHES", 12, "");
        row("Text16", {3240, 5760, 3615, 375}, "See sample triband 2m, 220 and 440", 9.75,
            "hint beside GO");
        row("Command2", {6840, 5520, 495, 495}, "GO", 8.25, "");
        row("Command3", {8280, 5520, 495, 495}, "EXIT", 8.25, "");
        row("Command4", {7560, 960, 1335, 735}, "CM", 8.25, "");
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        QFETCH(double, points);
        QFETCH(QString, accessibleName);

        auto *widget = form1_->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        if (!accessibleName.isEmpty())
            QCOMPARE(widget->accessibleName(), accessibleName);
        if (points > 0) {
            QCOMPARE(widget->font().pointSizeF(), points);
            QCOMPARE(widget->font().weight(), QFont::Normal);
            QVERIFY(!widget->font().italic() && !widget->font().underline());
        }
        if (auto *box = qobject_cast<QLineEdit *>(widget)) {
            if (name != QLatin1String("Text1"))
                QCOMPARE(box->text(), text);
            QVERIFY(!box->isReadOnly());
            QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
            QCOMPARE(button->text(), text); // no '&': no access keys
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
    }

    void titleLineIsExact()
    {
        const QString title = control<QLineEdit>(form1_, "Text1")->text();
        QCOMPARE(title.size(), 73);
        QCOMPARE(title, QStringLiteral(" VORREL    DESIGN") + QString(33, QLatin1Char(' ')) +
                            QStringLiteral("by   T. Brenix   QT0NRV"));
        // Shown from its first character, not scrolled to the caret at the end.
        QCOMPARE(control<QLineEdit>(form1_, "Text1")->cursorPosition(), 0);
    }

    void coloursAndBorders_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<bool>("frame");
        const QColor yellow(0xFF, 0xFF, 0x80);
        const QColor blue(0x00, 0x00, 0xFF);
        const QColor white = QLineEdit().palette().color(QPalette::Base);
        const QColor black = QLineEdit().palette().color(QPalette::Text);
        QTest::newRow("title is blue on yellow, framed") << "Text1" << yellow << blue << true;
        QTest::newRow("input heading is a caption") << "Text2" << yellow << black << false;
        QTest::newRow("frequency box is a plain box") << "Text3" << white << black << true;
        QTest::newRow("radiator caption") << "Text4" << yellow << black << false;
        QTest::newRow("radiator value") << "Text5" << white << black << true;
        QTest::newRow("gap unit") << "Text12" << yellow << black << false;
        QTest::newRow("hint beside GO") << "Text16" << yellow << black << false;
    }

    void coloursAndBorders()
    {
        QFETCH(QString, name);
        QFETCH(QColor, base);
        QFETCH(QColor, text);
        QFETCH(bool, frame);
        auto *box = form1_->findChild<QLineEdit *>(name);
        QVERIFY(box);
        QCOMPARE(box->palette().color(QPalette::Base), base);
        QCOMPARE(box->palette().color(QPalette::Text), text);
        QCOMPARE(box->hasFrame(), frame);
    }

    void tabOrderAndInitialFocus()
    {
        form1_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form1_));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(form1_, "Text1"));
        // Everything, the diagram included, follows in layout order.
        const QStringList expected = {"Text1",    "Picture1", "Text2",  "Text3",    "Text4",
                                      "Text5",    "Text6",    "Text7",  "Text8",    "Text9",
                                      "Text10",   "Text11",   "Text12", "Text13",   "Text14",
                                      "Text15",   "Command1", "Text16", "Command2", "Command3",
                                      "Command4", "Text1"};
        QStringList visited = {QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    // The layouts assume Arial's metrics; with the mapped face every caption and every value the
    // calculator can produce must fit its box at 96 dpi.
    void fontsMapAndNothingIsClipped()
    {
        auto *title = control<QLineEdit>(form1_, "Text1");
        // One of the faces the program maps the named face to, never Qt's default (a serif face
        // on some systems).
        const QString family = QFontInfo(title->font()).family();
        QVERIFY2(QFont::substitutes(QString::fromLatin1(kFontFace))
                     .contains(family, Qt::CaseInsensitive),
                 qPrintable(family));
        // Message boxes, which have no font of their own, show in the same face.
        QCOMPARE(QFontInfo(QMessageBox().font()).family(), family);
        for (auto *box : form1_->findChildren<QLineEdit *>()) {
            const QFontMetrics metrics(box->font());
            QString widest = box->text();
            if (box->text().isEmpty())
                widest = QStringLiteral("-1.234568E+07"); // longest value text
            if (box->objectName() == QLatin1String("Text3"))
                widest = QStringLiteral("146.52");
            if (box->objectName() == QLatin1String("Text6") ||
                box->objectName() == QLatin1String("Text9"))
                widest = QStringLiteral("INCHES long");
            if (box->objectName() == QLatin1String("Text15"))
                widest = QStringLiteral("INCHES up");
            if (box->objectName() == QLatin1String("Text14"))
                widest = QStringLiteral("1234.567");
            // A box paints its text from inside its left margin to its right edge; the two pixels
            // of its right margin take up what full hinting adds to the longest value (Windows).
            QVERIFY2(metrics.horizontalAdvance(widest) <= textRoom(box) + 2,
                     qPrintable(QStringLiteral("%1: \"%2\" in %3 needs %4 px, has %5")
                                    .arg(box->objectName(), widest, family)
                                    .arg(metrics.horizontalAdvance(widest))
                                    .arg(textRoom(box))));
            QVERIFY2(metrics.height() <= box->height() - (box->hasFrame() ? 4 : 0),
                     qPrintable(box->objectName()));
        }
        for (auto *button : form1_->findChildren<QPushButton *>()) {
            const QFontMetrics metrics(button->font());
            QVERIFY2(metrics.horizontalAdvance(button->text()) <= button->width() - 6,
                     qPrintable(button->objectName()));
        }
    }

    void diagramFillsItsBox()
    {
        auto *picture = control<QLabel>(form1_, "Picture1");
        const QPixmap pixmap = picture->pixmap();
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(190, 370));
        // Drawn for the screen's own pixels at any scale, never a bitmap scaled by Qt.
        QCOMPARE(pixmap.devicePixelRatio(), picture->devicePixelRatioF());
        QCOMPARE(pixmap.size(), (QSizeF(190, 370) * picture->devicePixelRatioF()).toSize());
        // The dimension lines are red FF1928 and the labels blue 2707FA.
        const QImage image = pixmap.toImage();
        bool red = false;
        bool blue = false;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
                red = red || pixel == 0xFF1928;
                blue = blue || pixel == 0x2707FA;
            }
        }
        QVERIFY(red);
        QVERIFY(blue);
    }

    void calculationFillsTheBoxesInOrder_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("units");
        // Expected values: 8370, 2787, 165, 345 divided by 146 MHz, rounded to 3 places.
        QTest::newRow("146 MHz in inches")
            << "Command1" << QStringList{"57.329", "19.089", "1.13", "2.363"}
            << QStringList{"INCHES long", "INCHES long", "INCHES", "INCHES up"};
        QTest::newRow("146 MHz in centimetres")
            << "Command4" << QStringList{"145.615", "48.486", "2.871", "6.002"}
            << QStringList{"CM long", "CM long", "CM", "CM up"};
    }

    void calculationFillsTheBoxesInOrder()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, values);
        QFETCH(QStringList, units);

        auto *frequency = control<QLineEdit>(form1_, "Text3");
        frequency->selectAll();
        QTest::keyClicks(frequency, QStringLiteral("146"));
        QStringList writes;
        for (const char *name :
             {"Text5", "Text8", "Text11", "Text14", "Text6", "Text9", "Text12", "Text15"}) {
            auto *box = control<QLineEdit>(form1_, name);
            connect(box, &QLineEdit::textChanged, this,
                    [&writes, box] { writes << box->objectName(); });
        }
        QTest::mouseClick(form1_->findChild<QPushButton *>(button), Qt::LeftButton);

        QCOMPARE(writes, (QStringList{"Text5", "Text8", "Text11", "Text14", "Text6", "Text9",
                                      "Text12", "Text15"}));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(control<QLineEdit>(form1_, kValueBoxes[i])->text(), values[i]);
            QCOMPARE(control<QLineEdit>(form1_, kUnitBoxes[i])->text(), units[i]);
        }
        QCOMPARE(frequency->text(), QStringLiteral("146"));
        QCOMPARE(windows_->designState().freq, 146.0f);
    }

    void unitsSwitchBothWays()
    {
        auto *frequency = control<QLineEdit>(form1_, "Text3");
        frequency->setText(QStringLiteral("440"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command4"), Qt::LeftButton);
        // 165 / 440 * 2.54 is 0.9525, but its single-precision value lies just below the tie
        // (0.95249998569..., checked with python3 struct.pack('f')), so it rounds down.
        QCOMPARE(control<QLineEdit>(form1_, "Text11")->text(), QStringLiteral("0.952"));
        QCOMPARE(control<QLineEdit>(form1_, "Text12")->text(), QStringLiteral("CM"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(form1_, "Text11")->text(), QStringLiteral("0.375"));
        QCOMPARE(control<QLineEdit>(form1_, "Text12")->text(), QStringLiteral("INCHES"));
    }

    // A screen reader is told the results once, in the words of the rows; a refused input is
    // told by its message box alone.
    void resultsAreAnnouncedOnce()
    {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        QSKIP("Qt before 6.8 has no accessibility announcements");
#else
        static QStringList announced;
        announced.clear();
        QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::Announcement)
                announced << static_cast<QAccessibleAnnouncementEvent *>(event)->message();
        });
        const auto uninstall = qScopeGuard([] { QAccessible::installUpdateHandler(nullptr); });
        auto *frequency = control<QLineEdit>(form1_, "Text3");
        frequency->setText(QStringLiteral("146"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        QCOMPARE(announced,
                 QStringList{"The radiator will be 57.329 INCHES long, the driven stud is 19.089 "
                             "INCHES long, the Gap space is 1.13 INCHES, the Feedpoint is about "
                             "2.363 INCHES up."});
        QTest::mouseClick(control<QPushButton>(form1_, "Command4"), Qt::LeftButton);
        QCOMPARE(announced.size(), 2);
        QVERIFY2(announced[1].startsWith("The radiator will be 145.615 CM long, "),
                 qPrintable(announced[1]));

        test::MessageBoxAnswerer answerer;
        frequency->setText(QStringLiteral("abc"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        QCOMPARE(answerer.answered(), 1);
        QCOMPARE(announced.size(), 2);
#endif
    }

    void typingAloneCalculatesNothing()
    {
        auto *frequency = control<QLineEdit>(form1_, "Text3");
        frequency->setText(QStringLiteral("146"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        frequency->setFocus();
        frequency->selectAll();
        QTest::keyClicks(frequency, QStringLiteral("440"));
        QTest::keyClick(frequency, Qt::Key_Return);
        QTest::keyClick(frequency, Qt::Key_Escape);
        QCOMPARE(control<QLineEdit>(form1_, "Text5")->text(), QStringLiteral("57.329"));
        QCOMPARE(windows_->designState().freq, 146.0f);
        QVERIFY(form1_->isVisible());

        // Enter, or the keypad's, presses the focused button: CM reads the "440" typed above
        // (8370 / 440 * 2.54 in single precision is 48.3177..., checked with python3 struct).
        auto *centimetres = control<QPushButton>(form1_, "Command4");
        centimetres->setFocus();
        QTest::keyClick(centimetres, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(control<QLineEdit>(form1_, "Text5")->text(), QStringLiteral("48.318"));
        auto *inches = control<QPushButton>(form1_, "Command1");
        inches->setFocus();
        QTest::keyClick(inches, Qt::Key_Return);
        QCOMPARE(control<QLineEdit>(form1_, "Text5")->text(), QStringLiteral("19.023"));
        QCOMPARE(control<QLineEdit>(form1_, "Text6")->text(), QStringLiteral("INCHES long"));
    }

    // Without a title bar, a drag on the window's own background moves it, by the window system's
    // move where there is one, else by the window itself; a drag on a control does not.
    void dragOnTheBackgroundMovesTheWindow()
    {
        form1_->move(100, 100);
        const QPoint start = form1_->pos();
#ifdef Q_OS_WIN
        // Windows moves the window itself, in a modal loop that follows the real pointer until the
        // button goes up. From within that loop, the pointer moves and the button is let go.
        const auto hwnd = reinterpret_cast<HWND>(form1_->winId());
        QTimer::singleShot(200, form1_, [hwnd] {
            POINT cursor;
            GetCursorPos(&cursor);
            SetCursorPos(cursor.x + 50, cursor.y + 40);
            PostMessageW(hwnd, WM_MOUSEMOVE, 0, 0);
            PostMessageW(hwnd, WM_LBUTTONUP, 0, 0);
        });
        QTest::mousePress(form1_, Qt::LeftButton, {}, QPoint(590, 300));
        QTest::mouseMove(form1_, QPoint(640, 340));
        QTest::mouseRelease(form1_, Qt::LeftButton, {}, QPoint(640, 340));
        // Where the system's loop puts it depends on where the real pointer was.
        QTRY_VERIFY(form1_->pos() != start);
        const QPoint moved = form1_->pos();
#else
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            QSKIP("Wayland lets no program move the pointer that the compositor's move follows");
        // On X11 the real pointer is dragged along: under a window manager the press hands the
        // move to it (_NET_WM_MOVERESIZE from where the pointer was last seen), and it takes the
        // pointer a moment later and moves the window as the pointer goes, so the pointer is
        // brought to the drop point again until the window is there. The window manager tells the
        // window where it is only when the button goes up, which a test cannot do to the real
        // pointer: the screen shows where the window is. Without a window manager, and offscreen,
        // the window follows the test's own events. Every move ends at the same point of the
        // screen, so a window that sees several moves once.
        const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
        const QColor yellow = form1_->palette().color(QPalette::Window);
        const auto isAt = [&](QPoint topLeft) {
            if (!onX11)
                return form1_->pos() == topLeft;
            const QImage corner =
                form1_->screen()->grabWindow(0, topLeft.x() - 1, topLeft.y() - 1, 2, 2).toImage();
            return corner.pixelColor(1, 1) == yellow && corner.pixelColor(0, 0) != yellow;
        };
        QTRY_VERIFY(isAt(start));
        const QPoint grab = form1_->mapToGlobal(QPoint(590, 300));
        const QPoint drop = grab + QPoint(50, 40);
        const QPoint moved = start + QPoint(50, 40);
        if (onX11) {
            PointerWatcher pointer(form1_->windowHandle());
            QCursor::setPos(grab + QPoint(1, 1));
            QCursor::setPos(grab);
            QTRY_COMPARE(pointer.lastMove, grab);
        }
        QTest::mousePress(form1_, Qt::LeftButton, {}, form1_->mapFromGlobal(grab));
        QTest::mouseMove(form1_, form1_->mapFromGlobal(drop));
        const bool followed = QTest::qWaitFor([&] {
            if (onX11) {
                QCursor::setPos(drop + QPoint(1, 1));
                QCursor::setPos(drop);
            }
            return isAt(moved);
        });
        QTest::mouseRelease(form1_, Qt::LeftButton, {}, form1_->mapFromGlobal(drop));
        QVERIFY(followed);
#endif

        auto *picture = control<QWidget>(form1_, "Picture1");
        QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(picture, QPoint(150, 140));
        QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(150, 140));
        QTest::qWait(20);
#ifdef Q_OS_WIN
        QCOMPARE(form1_->pos(), moved);
#else
        QVERIFY(isAt(moved));
#endif
    }

    void longTextsShowFromTheirStart()
    {
        auto *frequency = control<QLineEdit>(form1_, "Text3");
        frequency->setText(QStringLiteral("-0.000123456789"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        QTest::mouseClick(frequency, Qt::LeftButton);
        for (const char *name : {"Text3", "Text5"}) {
            auto *box = control<QLineEdit>(form1_, name);
            QVERIFY2(box->text().size() > 8, name);
            QCOMPARE(box->cursorPosition(), 0);
        }
    }

    void clickInFrequencyBoxShowsStoredFrequency()
    {
        auto *frequency = control<QLineEdit>(form1_, "Text3");
        QTest::mouseClick(frequency, Qt::LeftButton);
        QCOMPARE(frequency->text(), QStringLiteral("0")); // nothing calculated yet: freq is 0

        frequency->setText(QStringLiteral("146.52"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        frequency->setText(QStringLiteral("something else"));
        QTest::mouseClick(frequency, Qt::LeftButton);
        QCOMPARE(frequency->text(), QStringLiteral("146.52"));
        // A right click is no click.
        frequency->setText(QStringLiteral("7"));
        QTest::mouseClick(frequency, Qt::RightButton);
        QCOMPARE(frequency->text(), QStringLiteral("7"));
    }

    void commaLocaleReadsAndWritesCommas()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        auto *frequency = control<QLineEdit>(form1_, "Text3");
        frequency->setText(QStringLiteral("146,52"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(form1_, "Text5")->text(), QStringLiteral("57,125"));
        QTest::mouseClick(frequency, Qt::LeftButton);
        QCOMPARE(frequency->text(), QStringLiteral("146,52"));

        // A point is grouping in this locale: refused, never read as 14652.
        test::MessageBoxAnswerer answerer;
        frequency->setText(QStringLiteral("146.52"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        QCOMPARE(answerer.answered(), 1);
        QVERIFY(answerer.text().contains(QStringLiteral("146,52")));
        QCOMPARE(control<QLineEdit>(form1_, "Text5")->text(), QStringLiteral("57,125"));
    }

    void calculationErrorsExplainAndKeepGoing_data()
    {
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("says");
        QTest::addColumn<float>("storedFreq");
        QTest::addColumn<float>("storedRad");
        // Before each row 146 MHz was calculated in inches (rad 57.32877).
        const float rad146 = 8370.0f / 146.0f;
        QTest::newRow("initial 00.00 divides by zero") << "00.00"
                                                       << "is 0" << 0.0f << rad146;
        QTest::newRow("empty box is not a number") << ""
                                                   << "not hold a number" << 146.0f << rad146;
        QTest::newRow("letters are not a number") << "abc"
                                                  << "not hold a number" << 146.0f << rad146;
        QTest::newRow("too large a number") << "1e39"
                                            << "too large" << 146.0f << rad146;
        // 1e-39 is stored, then 8370 / 1e-39 leaves single precision at the radiator.
        QTest::newRow("tiny frequency overflows") << "1e-39"
                                                  << "too large" << 1e-39f << rad146;
    }

    void calculationErrorsExplainAndKeepGoing()
    {
        QFETCH(QString, frequency);
        QFETCH(QString, says);
        QFETCH(float, storedFreq);
        QFETCH(float, storedRad);

        auto *box = control<QLineEdit>(form1_, "Text3");
        box->setText(QStringLiteral("146"));
        QTest::mouseClick(control<QPushButton>(form1_, "Command1"), Qt::LeftButton);
        QSignalSpy ending(windows_.get(), &WindowSet::programEnding);

        test::MessageBoxAnswerer answerer;
        box->setText(frequency);
        QTest::mouseClick(control<QPushButton>(form1_, "Command4"), Qt::LeftButton);

        QCOMPARE(answerer.answered(), 1);
        QCOMPARE(answerer.buttons(), 1);
        QVERIFY2(answerer.text().contains(says), qPrintable(answerer.text()));
        QVERIFY(answerer.text().contains(QStringLiteral("146.52"))); // what to type instead
        QCOMPARE(ending.count(), 0);
        QVERIFY(form1_->isVisible());
        QCOMPARE(control<QLineEdit>(form1_, "Text5")->text(), QStringLiteral("57.329"));
        QCOMPARE(control<QLineEdit>(form1_, "Text6")->text(), QStringLiteral("INCHES long"));
        QCOMPARE(windows_->designState().freq, storedFreq);
        QCOMPARE(windows_->designState().rad, storedRad);
        QCOMPARE(box->text(), frequency);
    }

    void otherErrorsAreReportedAndEndTheProgram()
    {
        QSignalSpy ending(windows_.get(), &WindowSet::programEnding);
        test::MessageBoxAnswerer answerer;
        windows_->guard([] { throw std::runtime_error("control failed"); })();
        QCOMPARE(answerer.answered(), 1);
        QVERIFY(answerer.text().contains(QStringLiteral("control failed")));
        QCOMPARE(ending.count(), 1);
        QVERIFY(!form1_->isVisible());
    }

    void exitEndsTheEventLoop()
    {
        QEventLoop loop;
        QTimer::singleShot(0, form1_, [this] {
            QTest::mouseClick(control<QPushButton>(form1_, "Command3"), Qt::LeftButton);
        });
        QTimer::singleShot(5000, &loop, [&loop] { loop.exit(99); });
        QCOMPARE(loop.exec(), 0);
        QVERIFY(!form1_->isVisible());
    }

private:
    std::unique_ptr<WindowSet> windows_;
    QWidget *form1_ = nullptr;
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
