// SPDX-License-Identifier: MIT
// Moving between the windows: GO, Return to designer, Exit, closing windows, the multiband window.
#include "controls.h"
#include "multibandwindow.h"
#include "program.h"
#include "testsupport.h"

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleHints>

using namespace vorrel;
using vorrel::test::control;

namespace {

// A dark desktop palette, as GNOME's dark Adwaita gives Qt through its GTK platform theme.
QPalette darkPalette()
{
    QPalette dark(QColor(0xEE, 0xEE, 0xEC), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEC));
    dark.setColor(QPalette::Base, QColor(0x2D, 0x2D, 0x2D));
    dark.setColor(QPalette::Text, QColor(0xFF, 0xFF, 0xFF));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEC));
    dark.setColor(QPalette::Link, QColor(0x35, 0x84, 0xE4));
    return dark;
}

// The colour a widget's text is drawn on: its own background where it paints one (a text edit's
// viewport does), else the background of the nearest parent that does.
QColor textBackground(const QWidget *widget)
{
    while (!widget->isWindow() && !widget->autoFillBackground() &&
           !qobject_cast<const QLineEdit *>(widget) && !qobject_cast<const QPushButton *>(widget))
        widget = widget->parentWidget();
    return widget->palette().color(widget->backgroundRole());
}

} // namespace

class NavigationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::configureApplication(); }
    void init()
    {
        windows_ = std::make_unique<WindowSet>();
        windows_->showWindow(WindowId::Form1);
        QVERIFY(QTest::qWaitForWindowExposed(form1()));
    }
    void cleanup()
    {
        windows_.reset();
        test::clearProgramEnd();
    }

    void goTwiceKeepsOneMultibandWindow()
    {
        click(form1(), "Command2");
        QWidget *first = form2();
        QVERIFY(first && first->isVisible());
        control<QPlainTextEdit>(first, "Text1")->setPlainText(QStringLiteral("my notes"));
        click(form1(), "Command2");
        QCOMPARE(form2(), first);
        QCOMPARE(control<QPlainTextEdit>(first, "Text1")->toPlainText(),
                 QStringLiteral("my notes"));
        int multiband = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            multiband += widget->objectName() == QLatin1String("Form2") ? 1 : 0;
        QCOMPARE(multiband, 1);
    }

    void multibandWindowLayout()
    {
        click(form1(), "Command2");
        QWidget *window = form2();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), QStringLiteral("MULTIBAND"));
        const Qt::WindowFlags flags = window->windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
        QVERIFY(!flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(!flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
        QCOMPARE(window->size(), QSize(524, 442));
        QVERIFY(window->maximumSize().width() > 524); // sizable
        QCOMPARE(window->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0x80));
        QVERIFY(!window->windowIcon().isNull());

        // Layout sheet rows in twips, 15 to a pixel.
        const struct {
            const char *name;
            QRect twips;
            const char *text;
            const char *accessible;
        } rows[] = {
            {"Picture1", {0, 0, 3255, 6375}, nullptr, nullptr},
            {"Text1", {3360, 1320, 4335, 855}, nullptr, "sample dimensions"},
            {"Text2", {3960, 360, 3615, 375}, "Multiband Vorrel Configuration", "heading"},
            {"Command1", {3480, 2640, 4095, 495}, "Return to designer", nullptr},
            {"Command2", {5040, 3600, 1215, 495}, "Exit", nullptr},
            {"Command3", {4680, 4440, 2055, 495}, "WEBSITE", nullptr},
        };
        for (const auto &row : rows) {
            auto *widget = control<QWidget>(window, row.name);
            QVERIFY2(widget, row.name);
            QCOMPARE(widget->geometry(), QRect(row.twips.x() / 15, row.twips.y() / 15,
                                               row.twips.width() / 15, row.twips.height() / 15));
            if (row.accessible)
                QCOMPARE(widget->accessibleName(), QString::fromLatin1(row.accessible));
            if (auto *button = qobject_cast<QPushButton *>(widget)) {
                QCOMPARE(button->text(), QString::fromLatin1(row.text));
                QVERIFY(!button->autoDefault() && !button->isDefault());
                QCOMPARE(button->font().pointSizeF(), 8.25);
            }
        }
        auto *heading = control<QLineEdit>(window, "Text2");
        QCOMPARE(heading->text(), QStringLiteral("Multiband Vorrel Configuration"));
        QCOMPARE(heading->font().pointSizeF(), 12.0);
        QCOMPARE(heading->palette().color(QPalette::Text), QColor(0x00, 0x00, 0xFF));
        QCOMPARE(heading->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0x80));
        QVERIFY(!heading->hasFrame() && !heading->isReadOnly());
        auto *table = control<QPlainTextEdit>(window, "Text1");
        QVERIFY(!table->isReadOnly());
        QCOMPARE(table->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(table->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        const QPixmap diagram = control<QLabel>(window, "Picture1")->pixmap();
        QCOMPARE(diagram.deviceIndependentSize().toSize(), QSize(215, 424));

        // The window opens with the focus on the diagram, which a screen reader describes.
        auto *picture = control<QLabel>(window, "Picture1");
        QVERIFY(picture->accessibleName().startsWith(QStringLiteral("diagram of three antennas")));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), picture);
        QTest::keyClick(picture, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), table);
        QTest::keyClick(table, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), heading);
    }

    void sampleTableKeepsEveryBlank()
    {
        click(form1(), "Command2");
        const QString text = control<QPlainTextEdit>(form2(), "Text1")->toPlainText();
        const QStringList lines = text.split(QLatin1Char('\n'));
        // Four lines, each ended by a line break, so the split leaves an empty fifth part.
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0],
                 QStringLiteral("440         R1=18.875          S1=6.250         Gap=.375"));
        QCOMPARE(lines[1],
                 QStringLiteral("220         R2=37.375          S2=12.500       Gap=.750"));
        QCOMPARE(
            lines[2],
            QStringLiteral("144         R3=57.375          S3=19.125       Gap=1.250         "));
        QCOMPARE(lines[3], QStringLiteral(" "));
        QCOMPARE(lines[4], QString());
        QCOMPARE(lines[0].size(), 56);
        QCOMPARE(lines[1].size(), 55);
        QCOMPARE(lines[2].size(), 65);
        // 185 characters when every line ends in CR LF, as the table is kept in Windows text.
        QCOMPARE(text.size() + 4, 185);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(lines[i].indexOf(QLatin1Char('R')), 12);
            QCOMPARE(lines[i].indexOf(QLatin1Char('S')), 31);
            QCOMPARE(lines[i].indexOf(QLatin1String("Gap")), i == 0 ? 48 : 47);
        }
        QVERIFY(!text.contains(QLatin1Char('\t')));
    }

    // Pasting or dropping data that has no format at all (an empty clipboard) inserts nothing.
    void pastingNothingIntoTheTableChangesNothing()
    {
        click(form1(), "Command2");
        auto *table = control<QPlainTextEdit>(form2(), "Text1");
        const QString before = table->toPlainText();
        QGuiApplication::clipboard()->setMimeData(new QMimeData);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(table, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(table->toPlainText(), before);
    }

    void resizingMovesNoControl()
    {
        click(form1(), "Command2");
        QWidget *window = form2();
        QList<QRect> before;
        const QList<QWidget *> children =
            window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *child : children)
            before << child->geometry();
        window->resize(900, 700);
        QApplication::processEvents();
        window->showMaximized();
        QApplication::processEvents();
        window->resize(300, 200);
        QApplication::processEvents();
        for (int i = 0; i < children.size(); ++i)
            QCOMPARE(children[i]->geometry(), before[i]);
    }

    void returnToDesignerKeepsBothWindowsAsTheyWere()
    {
        auto *frequency = control<QLineEdit>(form1(), "Text3");
        frequency->setText(QStringLiteral("146"));
        click(form1(), "Command1");
        frequency->setText(QStringLiteral("typed, not calculated"));
        click(form1(), "Command2");
        QWidget *multiband = form2();
        click(multiband, "Command1");
        QCOMPARE(form2(), multiband);
        QVERIFY(multiband->isVisible());
        QVERIFY(form1()->isVisible());
        QCOMPARE(control<QLineEdit>(form1(), "Text3")->text(),
                 QStringLiteral("typed, not calculated"));
        QCOMPARE(control<QLineEdit>(form1(), "Text5")->text(), QStringLiteral("57.329"));
    }

    void closedMultibandWindowComesBackFresh()
    {
        click(form1(), "Command2");
        control<QPlainTextEdit>(form2(), "Text1")->setPlainText(QStringLiteral("scribble"));
        control<QLineEdit>(form2(), "Text2")->setText(QStringLiteral("scribble"));
        QSignalSpy ending(windows_.get(), &WindowSet::programEnding);
        form2()->close();
        QTRY_VERIFY(!windows_->isOpen(WindowId::Form2)); // destroyed, not hidden
        QVERIFY(form1()->isVisible());
        QCOMPARE(ending.count(), 0);

        click(form1(), "Command2");
        QCOMPARE(control<QPlainTextEdit>(form2(), "Text1")->toPlainText(),
                 MultibandWindow::sampleTable());
        QCOMPARE(control<QLineEdit>(form2(), "Text2")->text(),
                 QStringLiteral("Multiband Vorrel Configuration"));
    }

    // Alt+F4 can close even the frameless designer; it is then a closed window like any other.
    void closedDesignerComesBackFreshWithItsFrequency()
    {
        control<QLineEdit>(form1(), "Text3")->setText(QStringLiteral("146.52"));
        click(form1(), "Command4");
        click(form1(), "Command2");
        QWidget *multiband = form2();
        QSignalSpy ending(windows_.get(), &WindowSet::programEnding);
        form1()->close();
        QTRY_VERIFY(!windows_->isOpen(WindowId::Form1));
        QCOMPARE(ending.count(), 0);
        QVERIFY(multiband->isVisible());

        click(multiband, "Command1");
        QVERIFY(form1());
        QVERIFY(QTest::qWaitForWindowExposed(form1()));
        QCOMPARE(control<QLineEdit>(form1(), "Text3")->text(), QStringLiteral("00.00"));
        QCOMPARE(control<QLineEdit>(form1(), "Text5")->text(), QString());
        QCOMPARE(control<QLineEdit>(form1(), "Text6")->text(), QStringLiteral("inches long"));
        QTest::mouseClick(control<QLineEdit>(form1(), "Text3"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(form1(), "Text3")->text(), QStringLiteral("146.52"));
    }

    // When a message box or a window of the program closes, the keyboard goes on where it was:
    // on the control that had the focus before the box, or in the window of the program that was
    // active last of those still open.
    void focusComesBackAfterAMessageBoxAndAClosedWindow()
    {
        form1()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form1()));
        auto *inches = control<QPushButton>(form1(), "Command1");
        inches->setFocus();
        {
            test::MessageBoxAnswerer answerer;
            QTest::keyClick(inches, Qt::Key_Return); // "00.00": no calculation
            QCOMPARE(answerer.answered(), 1);
        }
        QTRY_COMPARE(QApplication::activeWindow(), form1());
        QCOMPARE(QApplication::focusWidget(), inches);

        click(form1(), "Command2");
        QTRY_COMPARE(QApplication::activeWindow(), form2());
        click(form2(), "Command3");
        QWidget *web = windows_->window(WindowId::Web);
        QTRY_COMPARE(QApplication::activeWindow(), web);
        web->close();
        QTRY_COMPARE(QApplication::activeWindow(), form2());
        form2()->close();
        QTRY_COMPARE(QApplication::activeWindow(), form1());
    }

    void closingEveryWindowEndsTheProgram()
    {
        click(form1(), "Command2");
        click(form2(), "Command3");
        QVERIFY(windows_->isOpen(WindowId::Web));
        QSignalSpy ending(windows_.get(), &WindowSet::programEnding);
        windows_->window(WindowId::Web)->close();
        form1()->close();
        QTRY_VERIFY(!windows_->isOpen(WindowId::Form1));
        QCOMPARE(ending.count(), 0);
        form2()->close();
        QTRY_COMPARE(ending.count(), 1);
    }

    void exitEndsTheProgramWithEveryWindowOpen()
    {
        click(form1(), "Command2");
        click(form2(), "Command3");
        QSignalSpy ending(windows_.get(), &WindowSet::programEnding);
        click(form2(), "Command2");
        QCOMPARE(ending.count(), 1);
        for (WindowId id : {WindowId::Form1, WindowId::Form2, WindowId::Web})
            QVERIFY(!windows_->window(id)->isVisible());
        // Nothing opens once the program is ending.
        windows_->showWindow(WindowId::Form2);
        QVERIFY(!form2()->isVisible());
    }

    // Where Qt picks its Windows 11 style, on Windows 11, the program keeps the classic one.
    void windows11KeepsTheClassicStyle()
    {
#ifndef Q_OS_WIN
        QSKIP("Windows only");
#else
        if (qEnvironmentVariableIsSet("QT_STYLE_OVERRIDE"))
            QSKIP("a style was chosen for this run");
        const QString before = QApplication::style()->name();
        const auto restore = qScopeGuard([&before] { QApplication::setStyle(before); });
        QApplication::setStyle(QStringLiteral("windows11"));
        QCOMPARE(QApplication::style()->name(), QStringLiteral("windows11"));
        Program::keepClassicWindowsStyle();
        QCOMPARE(QApplication::style()->name(), QStringLiteral("windowsvista"));
#endif
    }

    // Every text of the three windows and of a message box, under a light and a dark desktop
    // palette: a fixed background keeps a fixed text colour, a theme background the theme's text.
    void everyTextIsReadable_data()
    {
        QTest::addColumn<QPalette>("desktop");
        QTest::newRow("light") << QApplication::style()->standardPalette();
        QTest::newRow("dark") << darkPalette();
        // The palette the desktop gave the program, with the program's style.
        // VORREL_EXPECT_DARK_DESKTOP says that the run is meant to be under a dark setting, which
        // the program must then see.
        QTest::newRow("desktop") << QApplication::palette();
        qInfo("style %s", qPrintable(QApplication::style()->name()));
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        if (qEnvironmentVariableIsSet("VORREL_EXPECT_DARK_DESKTOP"))
            QCOMPARE(QGuiApplication::styleHints()->colorScheme(), Qt::ColorScheme::Dark);
#endif
    }
    void everyTextIsReadable()
    {
        QFETCH(QPalette, desktop);
        QCOMPARE(contrastRatio(Qt::black, Qt::white), 21.0);
        QCOMPARE(qRound(contrastRatio(QColor(0x00, 0x00, 0xFF), Qt::white) * 100), 859);
        const QPalette before = QApplication::palette();
        const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
        // The desktop's palette is there before the program starts, as it is for a user.
        windows_.reset();
        QApplication::setPalette(desktop);
        windows_ = std::make_unique<WindowSet>();
        windows_->showWindow(WindowId::Form1);
        click(form1(), "Command2");
        click(form2(), "Command3");
        QMessageBox message(QMessageBox::Warning, QStringLiteral("Vorrel Designer"),
                            QStringLiteral("The frequency box does not hold a number."));
        message.show();

        int checked = 0;
        for (QWidget *window : {form1(), form2(), windows_->window(WindowId::Web),
                                static_cast<QWidget *>(&message)}) {
            QVERIFY(window);
            for (QWidget *widget : window->findChildren<QWidget *>()) {
                const bool hasText = qobject_cast<QLineEdit *>(widget) ||
                                     qobject_cast<QPlainTextEdit *>(widget) ||
                                     qobject_cast<QPushButton *>(widget) ||
                                     (qobject_cast<QLabel *>(widget) &&
                                      !qobject_cast<QLabel *>(widget)->text().isEmpty());
                if (!hasText || !widget->isVisible())
                    continue;
                if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
                    widget = area->viewport(); // where a text edit draws its text
                const QColor text = widget->palette().color(widget->foregroundRole());
                const QColor back = textBackground(widget);
                const double ratio = contrastRatio(text, back);
                QVERIFY2(ratio >= 4.5,
                         qPrintable(QStringLiteral("%1 in %2: %3 on %4, %5:1")
                                        .arg(widget->objectName(), window->objectName(),
                                             text.name(), back.name())
                                        .arg(ratio, 0, 'f', 2)));
                ++checked;
            }
        }
        QVERIFY(checked >= 30);
    }

private:
    QWidget *form1() const { return windows_->window(WindowId::Form1); }
    QWidget *form2() const { return windows_->window(WindowId::Form2); }
    static void click(QWidget *window, const char *button)
    {
        auto *target = control<QPushButton>(window, button);
        QVERIFY2(target, button);
        QTest::mouseClick(target, Qt::LeftButton);
    }

    std::unique_ptr<WindowSet> windows_;
};

QTEST_MAIN(NavigationTest)
#include "navigation_test.moc"
