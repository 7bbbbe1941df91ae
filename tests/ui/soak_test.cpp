// SPDX-License-Identifier: MIT
// Thousands of seeded random user actions on every window: anything typed or set into every box,
// clicks on every control, windows closed and opened again, the decimal separator switched. The
// program must stay up until EXIT or Exit, keep one instance of each window, answer each INCHES or
// CM exactly as the calculator does, and leave no message box open. A failure prints the seed and
// the last steps; VORREL_SOAK_SEED=<seed> replays it, and VORREL_SOAK_TRACE prints every step.
// VORREL_SOAK_STEPS=<n> takes fewer steps (or more), for a slow machine or an emulator.
#include "designcalculator.h"
#include "testsupport.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <utility>

using namespace vorrel;
using vorrel::test::control;

namespace {

constexpr int kMaxSteps = 3000;
constexpr qint64 kMaxMilliseconds = 60000;
constexpr int kLogLength = 40;

struct WindowName {
    WindowId id;
    const char *name;
};
const WindowName kWindows[] = {
    {WindowId::Form1, "Form1"}, {WindowId::Form2, "Form2"}, {WindowId::Web, "web"}};

const QString kPageUrl = QStringLiteral("http://www.qt0nrv.example/");

// The offscreen platform warns on every raise and size hint; thousands of those would bury the
// test's own output.
QtMessageHandler qtTestHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    qtTestHandler(type, context, message);
}

bool sameState(const DesignState &a, const DesignState &b)
{
    const auto bits = [](float f) { return std::bit_cast<std::uint32_t>(f); };
    return bits(a.freq) == bits(b.freq) && bits(a.rad) == bits(b.rad) &&
           bits(a.stud) == bits(b.stud) && bits(a.gap) == bits(b.gap) &&
           bits(a.feed) == bits(b.feed);
}

QString describe(const DesignState &s)
{
    // Nine significant digits tell every float apart.
    const auto exact = [](float f) { return QString::number(f, 'g', 9); };
    return QStringLiteral("{%1, %2, %3, %4, %5}")
        .arg(exact(s.freq), exact(s.rad), exact(s.stud), exact(s.gap), exact(s.feed));
}

// A text as the step log shows it: control characters escaped, long texts cut.
QString shown(const QString &text)
{
    QString out;
    for (const QChar c : text.left(60)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    if (text.size() > 60)
        out += QStringLiteral("... (%1 chars)").arg(text.size());
    return QLatin1Char('"') + out + QLatin1Char('"');
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test::configureApplication();
        qtTestHandler = qInstallMessageHandler(quietHandler);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls_, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls_, "open");
    }
    void cleanupTestCase()
    {
        qInstallMessageHandler(qtTestHandler);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    void randomUseEndsOnlyThroughExit();

private:
    // Actions.
    void typeInto();
    void setInto();
    void pressKey();
    void clickControl(bool navigationOnly);
    void clickCalculation();
    void calculate(QPushButton *button, UnitMode mode, QPoint at);
    void closeWindow();
    void switchLocale();
    void finalExit();

    // Checks after each step.
    void checkInvariants();
    void expect(bool condition, const QString &what);

    QString randomText();
    QString randomNumber();
    QList<QWidget *> openWindows() const;
    QList<QWidget *> controlsOf(QWidget *window) const;
    QWidget *anyTextBox();
    QWidget *anyOf(const QList<QWidget *> &widgets);
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    QString windowName(const QWidget *widget) const;
    void log(const QString &step);
    static NumberFormat currentFormat();

    std::mt19937_64 rng_;
    std::unique_ptr<WindowSet> windows_;
    std::unique_ptr<QSignalSpy> ending_;
    std::unique_ptr<test::MessageBoxAnswerer> answerer_;
    test::UrlRecorder urls_;
    DesignState model_;
    int expectedMessageBoxes_ = 0;
    int step_ = 0;
    QStringList log_;
    QString failure_;
    int calculations_ = 0;
    int refusals_ = 0;
    int closes_ = 0;
};

void SoakTest::randomUseEndsOnlyThroughExit()
{
    const QByteArray seedText = qgetenv("VORREL_SOAK_SEED");
    const std::uint64_t seed =
        seedText.isEmpty() ? static_cast<std::uint64_t>(
                                 std::chrono::system_clock::now().time_since_epoch().count())
                           : seedText.toULongLong();
    qInfo("soak seed %llu (replay with VORREL_SOAK_SEED=%llu)",
          static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    rng_.seed(seed);

    QLocale::setDefault(QLocale::c());
    windows_ = std::make_unique<WindowSet>();
    ending_ = std::make_unique<QSignalSpy>(windows_.get(), &WindowSet::programEnding);
    answerer_ = std::make_unique<test::MessageBoxAnswerer>();
    windows_->showWindow(WindowId::Form1);
    QVERIFY(QTest::qWaitForWindowExposed(windows_->window(WindowId::Form1)));

    bool stepsGiven = false;
    const int stepsWanted = qEnvironmentVariableIntValue("VORREL_SOAK_STEPS", &stepsGiven);
    const int maxSteps = stepsGiven && stepsWanted > 0 ? stepsWanted : kMaxSteps;

    QElapsedTimer clock;
    clock.start();
    for (step_ = 1; step_ <= maxSteps && clock.elapsed() < kMaxMilliseconds; ++step_) {
        const int roll = pick(100);
        if (roll < 17)
            typeInto();
        else if (roll < 30)
            setInto();
        else if (roll < 37)
            pressKey();
        else if (roll < 62)
            clickControl(false);
        else if (roll < 72)
            clickControl(true);
        else if (roll < 89)
            clickCalculation();
        else if (roll < 96)
            closeWindow();
        else
            switchLocale();
        checkInvariants();
        if (!failure_.isEmpty())
            break;
    }
    const int steps = failure_.isEmpty() ? step_ - 1 : step_;
    if (failure_.isEmpty()) {
        finalExit();
    }
    if (!failure_.isEmpty()) {
        qWarning("soak seed %llu failed at step %d; the steps before:",
                 static_cast<unsigned long long>(seed), step_);
        for (const QString &line : std::as_const(log_))
            qWarning("  %s", qPrintable(line));
    }
    qInfo("soak: %d steps in %.1f s: %d calculations, %d refused, %d windows closed, %d message "
          "boxes answered, %d pages opened",
          steps, clock.elapsed() / 1000.0, calculations_, refusals_, closes_, answerer_->answered(),
          static_cast<int>(urls_.opened.size()));

    answerer_.reset();
    ending_.reset();
    windows_.reset();
    test::clearProgramEnd();
    QVERIFY2(failure_.isEmpty(), qPrintable(failure_));
}

void SoakTest::expect(bool condition, const QString &what)
{
    if (!condition && failure_.isEmpty())
        failure_ = QStringLiteral("step %1: %2").arg(step_).arg(what);
}

void SoakTest::log(const QString &step)
{
    log_ << QStringLiteral("%1: %2").arg(step_).arg(step);
    // A crash takes the log with it: VORREL_SOAK_TRACE prints each step as it is taken.
    static const bool trace = qEnvironmentVariableIsSet("VORREL_SOAK_TRACE");
    if (trace)
        std::fprintf(stderr, "%s\n", qPrintable(log_.last()));
    if (log_.size() > kLogLength)
        log_.removeFirst();
}

NumberFormat SoakTest::currentFormat()
{
    return NumberFormat{QLocale().decimalPoint().toStdString()};
}

QString SoakTest::windowName(const QWidget *widget) const
{
    const QWidget *window = widget->window();
    return window->objectName() + QLatin1Char('/') +
           (widget == window ? QStringLiteral("(window)") : widget->objectName());
}

QList<QWidget *> SoakTest::openWindows() const
{
    QList<QWidget *> open;
    for (const WindowName &w : kWindows) {
        if (QWidget *window = windows_->window(w.id))
            open << window;
    }
    return open;
}

QList<QWidget *> SoakTest::controlsOf(QWidget *window) const
{
    QList<QWidget *> controls;
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->objectName().isEmpty())
            controls << child;
    }
    return controls;
}

// Any box of an open window, the frequency box more often than the rest.
QWidget *SoakTest::anyTextBox()
{
    QWidget *form1 = windows_->window(WindowId::Form1);
    if (form1 && chance(40))
        return control<QLineEdit>(form1, "Text3");
    QList<QWidget *> boxes;
    for (QWidget *window : openWindows()) {
        for (QWidget *control : controlsOf(window)) {
            if (qobject_cast<QLineEdit *>(control) || qobject_cast<QPlainTextEdit *>(control))
                boxes << control;
        }
    }
    return anyOf(boxes);
}

QWidget *SoakTest::anyOf(const QList<QWidget *> &widgets)
{
    return widgets.isEmpty() ? nullptr : widgets[pick(static_cast<int>(widgets.size()))];
}

QString SoakTest::randomNumber()
{
    const QString separators[] = {QLocale().decimalPoint(), QStringLiteral("."),
                                  QStringLiteral(","), QStringLiteral("\u066B")};
    QString number;
    if (chance(30))
        number += chance(50) ? QLatin1Char('-') : QLatin1Char('+');
    const int intDigits = pick(8);
    for (int i = 0; i < intDigits; ++i)
        number += QLatin1Char('0' + pick(10));
    if (chance(60)) {
        number += chance(80) ? separators[0] : separators[pick(4)];
        const int fractionDigits = pick(8);
        for (int i = 0; i < fractionDigits; ++i)
            number += QLatin1Char('0' + pick(10));
    }
    if (chance(30)) {
        number += chance(50) ? QLatin1Char('e') : QLatin1Char('E');
        if (chance(60))
            number += chance(70) ? QLatin1Char('-') : QLatin1Char('+');
        number += QString::number(pick(chance(80) ? 50 : 500));
    }
    if (chance(10))
        number = QLatin1Char(' ') + number + QLatin1Char('\t');
    return number;
}

QString SoakTest::randomText()
{
    // Edges of the single-precision range and of the calculation: the smallest subnormal and
    // half of it, FLT_MAX and the first decimal that rounds beyond it, the frequency below
    // which the radiator leaves the float range (8370 / FLT_MAX), negative zero.
    static const QStringList edges = {
        QStringLiteral("1e-39"),        QStringLiteral("0"),
        QStringLiteral("-0"),           QStringLiteral("3.5e38"),
        QStringLiteral("3.4028235e38"), QStringLiteral("3.4028236e38"),
        QStringLiteral("1e-45"),        QStringLiteral("7e-46"),
        QStringLiteral("-1e-45"),       QStringLiteral("2.4597e-35"),
        QStringLiteral("2.4598e-35"),   QStringLiteral("00.00"),
        QStringLiteral("146"),          QStringLiteral("-146"),
        QStringLiteral("1e400"),        QStringLiteral("0e999"),
        QStringLiteral(" 7 "),          QStringLiteral("1.4652E+2"),
        QStringLiteral("133920"),       QStringLiteral("-1e-50")};
    static const QStringList foreign = {QStringLiteral("\u00e9"),
                                        QStringLiteral("\u00df"),
                                        QStringLiteral("\u4e2d\u6587"),
                                        QStringLiteral("\u066B"),
                                        QStringLiteral("\u0661\u0664\u0666"),
                                        QStringLiteral("\u00a0146"),
                                        QStringLiteral("\U0001F4E1"),
                                        QStringLiteral("\u200f"),
                                        QStringLiteral("e\u0301"),
                                        QStringLiteral("\uff11\uff14\uff16"),
                                        QString(QChar(0xD800)),
                                        QStringLiteral("\ufffd")};
    static const QString controls = QStringLiteral("\t\n\r\x1b\b\x7f\x01") + QChar(0);

    switch (pick(10)) {
    case 0:
        return {};
    case 1: {
        const QString piece = chance(50) ? randomNumber() : foreign[pick(foreign.size())];
        QString huge = piece.isEmpty() ? QStringLiteral("9") : piece;
        while (huge.size() < 10000)
            huge += huge;
        return huge.left(10000);
    }
    case 2:
        return foreign[pick(foreign.size())] + (chance(50) ? randomNumber() : QString());
    case 3: {
        QString text;
        const int n = 1 + pick(4);
        for (int i = 0; i < n; ++i)
            text += chance(50) ? QString(controls[pick(controls.size())]) : randomNumber();
        return text;
    }
    case 4:
    case 5: {
        QString edge = edges[pick(edges.size())];
        return chance(70) ? edge.replace(QLatin1Char('.'), QLocale().decimalPoint()) : edge;
    }
    case 6:
        return randomNumber();
    case 7:
    case 8: {
        // A frequency someone might mean, from 0.1 MHz to 100 GHz.
        const double mhz = std::pow(10.0, std::uniform_real_distribution<double>(-1.0, 5.0)(rng_));
        return QString::number(mhz, 'f', pick(5))
            .replace(QLatin1Char('.'), QLocale().decimalPoint());
    }
    default: {
        QString text;
        const int n = pick(20);
        for (int i = 0; i < n; ++i)
            text += QLatin1Char(static_cast<char>(0x20 + pick(0x5F)));
        return text;
    }
    }
}

void SoakTest::typeInto()
{
    QWidget *box = anyTextBox();
    if (!box)
        return;
    const QString text = randomText();
    log(QStringLiteral("type %1 into %2").arg(shown(text), windowName(box)));
    if (chance(50)) {
        if (auto *line = qobject_cast<QLineEdit *>(box))
            line->selectAll();
        else
            static_cast<QPlainTextEdit *>(box)->selectAll();
    }
    // A long text arrives in one key event, as an input method commits it: ten thousand single
    // keys would take the text boxes, which lay out the whole line again on each, minutes.
    if (text.size() > 200) {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
        return;
    }
    // QTest::keyClicks knows printable ASCII only; control characters are typed as their keys
    // and everything else as a key event carrying the character, as an input method sends it.
    QString plain;
    const auto flush = [&] {
        QTest::keyClicks(box, plain);
        plain.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x7F) {
            plain += text[i];
            continue;
        }
        flush();
        if (c == u'\t' || c == u'\b' || c == u'\r' || c == u'\n' || c == 0x1B || c == 0x7F) {
            const Qt::Key key = c == u'\t'   ? Qt::Key_Tab
                                : c == u'\b' ? Qt::Key_Backspace
                                : c == 0x1B  ? Qt::Key_Escape
                                : c == 0x7F  ? Qt::Key_Delete
                                             : Qt::Key_Return;
            QTest::keyClick(box, key);
            continue;
        }
        QString piece(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            piece += text[++i];
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, piece, Qt::NoModifier);
    }
    flush();
}

void SoakTest::setInto()
{
    QWidget *box = anyTextBox();
    if (!box)
        return;
    const QString text = randomText();
    log(QStringLiteral("set %1 into %2").arg(shown(text), windowName(box)));
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(text);
    else
        static_cast<QPlainTextEdit *>(box)->setPlainText(text);
}

void SoakTest::pressKey()
{
    static const QList<QPair<Qt::Key, Qt::KeyboardModifiers>> keys = {
        {Qt::Key_Return, {}},
        {Qt::Key_Enter, {}},
        {Qt::Key_Escape, {}},
        {Qt::Key_Tab, {}},
        {Qt::Key_Backtab, {}},
        {Qt::Key_Backspace, {}},
        {Qt::Key_Delete, {}},
        {Qt::Key_Home, {}},
        {Qt::Key_End, {}},
        {Qt::Key_Up, {}},
        {Qt::Key_PageDown, {}},
        {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_Y, Qt::ControlModifier},
        {Qt::Key_C, Qt::ControlModifier},
        {Qt::Key_X, Qt::ControlModifier},
        {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier}};
    QWidget *box = anyTextBox();
    if (!box)
        return;
    const auto [key, modifiers] = keys[pick(keys.size())];
    log(QStringLiteral("key %1 (modifiers %2) in %3")
            .arg(static_cast<int>(key), 0, 16)
            .arg(modifiers.toInt(), 0, 16)
            .arg(windowName(box)));
    QTest::keyClick(box, key, modifiers);
}

void SoakTest::clickControl(bool navigationOnly)
{
    QWidget *window = anyOf(openWindows());
    const QString name = window->objectName();
    QList<QWidget *> targets;
    for (QWidget *control : controlsOf(window)) {
        const QString id = control->objectName();
        // EXIT and Exit end the program: only the very last step clicks them.
        if ((name == QLatin1String("Form1") && id == QLatin1String("Command3")) ||
            (name == QLatin1String("Form2") && id == QLatin1String("Command2")))
            continue;
        if (navigationOnly &&
            !(qobject_cast<QPushButton *>(control) || id == QLatin1String("lblWebPage")))
            continue;
        targets << control;
    }
    if (targets.isEmpty())
        return;
    QWidget *target = anyOf(targets);
    const QString id = target->objectName();
    QWidget *receiver = target;
    if (auto *table = qobject_cast<QPlainTextEdit *>(target))
        receiver = table->viewport();
    const QPoint at(pick(receiver->width()), pick(receiver->height()));
    const Qt::MouseButton button = navigationOnly || chance(80)
                                       ? Qt::LeftButton
                                       : (chance(50) ? Qt::RightButton : Qt::MiddleButton);
    log(QStringLiteral("click %1 with button %2 at %3,%4")
            .arg(windowName(target))
            .arg(static_cast<int>(button))
            .arg(at.x())
            .arg(at.y()));

    const bool left = button == Qt::LeftButton;
    if (left && name == QLatin1String("Form1") &&
        (id == QLatin1String("Command1") || id == QLatin1String("Command4"))) {
        calculate(static_cast<QPushButton *>(target),
                  id == QLatin1String("Command1") ? UnitMode::Inches : UnitMode::Centimetres, at);
        return;
    }

    const qsizetype opened = urls_.opened.size();
    QTest::mouseClick(receiver, button, {}, at);
    if (!left)
        return;

    // What a left click on each control is for, followed up where it is cheap to see.
    if (name == QLatin1String("Form1") && id == QLatin1String("Text3")) {
        const QString stored =
            QString::fromStdString(formatFrequency(model_.freq, currentFormat()));
        expect(control<QLineEdit>(window, "Text3")->text() == stored,
               QStringLiteral("a click in the frequency box shows %1, not the stored %2")
                   .arg(shown(control<QLineEdit>(window, "Text3")->text()), stored));
    } else if (name == QLatin1String("Form1") && id == QLatin1String("Command2")) {
        expect(windows_->isOpen(WindowId::Form2) && windows_->window(WindowId::Form2)->isVisible(),
               QStringLiteral("GO left the multiband window closed"));
    } else if (name == QLatin1String("Form2") && id == QLatin1String("Command1")) {
        expect(windows_->isOpen(WindowId::Form1) && windows_->window(WindowId::Form1)->isVisible(),
               QStringLiteral("Return to designer left the designer closed"));
    } else if (name == QLatin1String("Form2") && id == QLatin1String("Command3")) {
        expect(windows_->isOpen(WindowId::Web) && windows_->window(WindowId::Web)->isVisible(),
               QStringLiteral("WEBSITE left the web page link closed"));
    } else if (name == QLatin1String("web") && id == QLatin1String("lblWebPage")) {
        expect(urls_.opened.size() == opened + 1 && urls_.opened.last() == QUrl(kPageUrl),
               QStringLiteral("a click on the link did not open %1 once").arg(kPageUrl));
    }
}

void SoakTest::clickCalculation()
{
    QWidget *form1 = windows_->window(WindowId::Form1);
    if (!form1) {
        clickControl(true);
        return;
    }
    const bool inches = chance(50);
    auto *button = control<QPushButton>(form1, inches ? "Command1" : "Command4");
    const QPoint at(pick(button->width()), pick(button->height()));
    log(QStringLiteral("click Form1/%1 at %2,%3")
            .arg(button->objectName())
            .arg(at.x())
            .arg(at.y()));
    calculate(button, inches ? UnitMode::Inches : UnitMode::Centimetres, at);
}

void SoakTest::calculate(QPushButton *button, UnitMode mode, QPoint at)
{
    QWidget *form1 = button->window();
    static const char *const boxNames[] = {"Text5", "Text8", "Text11", "Text14",
                                           "Text6", "Text9", "Text12", "Text15"};
    QStringList before;
    for (const char *box : boxNames)
        before << control<QLineEdit>(form1, box)->text();
    const QString text = control<QLineEdit>(form1, "Text3")->text();

    // The calculation the click has to make, on a copy of the state it starts from.
    DesignState expected = model_;
    std::optional<DesignResult> result;
    try {
        result = calculateDesign(expected, text.toStdString(), mode, currentFormat());
    } catch (const CalcError &) {
    }
    ++calculations_;
    refusals_ += result ? 0 : 1;
    expectedMessageBoxes_ += result ? 0 : 1;

    QTest::mouseClick(button, Qt::LeftButton, {}, at);

    expect(sameState(windows_->designState(), expected),
           QStringLiteral("%1 on %2 stored %3, the calculator gives %4")
               .arg(button->text(), shown(text), describe(windows_->designState()),
                    describe(expected)));
    model_ = expected;
    for (int i = 0; i < 8; ++i) {
        const QString now = control<QLineEdit>(form1, boxNames[i])->text();
        const QString want = !result ? before[i]
                             : i < 4 ? QString::fromStdString(result->values[i])
                                     : QString::fromStdString(result->units[i - 4]);
        expect(now == want, QStringLiteral("%1 on %2: box %3 shows %4, not %5")
                                .arg(button->text(), shown(text), QLatin1String(boxNames[i]),
                                     shown(now), shown(want)));
    }
}

void SoakTest::closeWindow()
{
    const QList<QWidget *> open = openWindows();
    // Closing the last window ends the program as it should, and the web page link alone leads
    // nowhere else: neither is a random step.
    if (open.size() < 2)
        return;
    QWidget *window = anyOf(open);
    const bool webAloneLeft = open.size() == 2 && windows_->isOpen(WindowId::Web) &&
                              window != windows_->window(WindowId::Web);
    if (webAloneLeft)
        return;
    log(QStringLiteral("close %1").arg(window->objectName()));
    ++closes_;
    window->close();
}

void SoakTest::switchLocale()
{
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::Arabic, QLocale::Egypt),
                                      QLocale(QLocale::English, QLocale::India)};
    const QLocale &locale = locales[pick(4)];
    log(QStringLiteral("locale %1 (decimal separator %2)")
            .arg(locale.name(), locale.decimalPoint()));
    QLocale::setDefault(locale);
}

void SoakTest::checkInvariants()
{
    // Closed windows go away through deferred deletion, as they would in the event loop; after
    // that nothing is left half deleted and every top-level widget counts.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();

    expect(ending_->isEmpty(), QStringLiteral("the program ended"));
    expect(QApplication::activeModalWidget() == nullptr,
           QStringLiteral("a modal window is left open"));
    expect(answerer_->answered() == expectedMessageBoxes_,
           QStringLiteral("%1 message boxes appeared, %2 expected (last: %3)")
               .arg(answerer_->answered())
               .arg(expectedMessageBoxes_)
               .arg(shown(answerer_->text())));
    expect(sameState(windows_->designState(), model_),
           QStringLiteral("the design state changed without a calculation: %1, expected %2")
               .arg(describe(windows_->designState()), describe(model_)));
    expect(!openWindows().isEmpty(), QStringLiteral("no window is open"));

    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (const WindowName &w : kWindows) {
        QList<QWidget *> instances;
        for (QWidget *widget : topLevels) {
            if (widget->objectName() == QLatin1String(w.name))
                instances << widget;
        }
        QWidget *open = windows_->window(w.id);
        expect(instances.size() <= 1,
               QStringLiteral("%1 instances of %2").arg(instances.size()).arg(w.name));
        expect(instances.size() == (open ? 1 : 0) && (!open || instances.first() == open),
               QStringLiteral("%1 is not the window the program keeps").arg(w.name));
        expect(!open || open->isVisible(), QStringLiteral("%1 is open but hidden").arg(w.name));
    }
    for (const QUrl &url : std::as_const(urls_.opened))
        expect(url == QUrl(kPageUrl), QStringLiteral("opened %1").arg(url.toString()));
}

void SoakTest::finalExit()
{
    QList<QPushButton *> exits;
    if (QWidget *form1 = windows_->window(WindowId::Form1))
        exits << control<QPushButton>(form1, "Command3");
    if (QWidget *form2 = windows_->window(WindowId::Form2))
        exits << control<QPushButton>(form2, "Command2");
    if (exits.isEmpty()) {
        // Only the web page link is left: closing it is the one way out, and ends the program.
        log(QStringLiteral("close web"));
        windows_->window(WindowId::Web)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } else {
        QPushButton *exit = exits[pick(static_cast<int>(exits.size()))];
        log(QStringLiteral("click %1").arg(windowName(exit)));
        QTest::mouseClick(exit, Qt::LeftButton);
    }

    expect(ending_->size() == 1, QStringLiteral("the way out did not end the program"));
    for (const WindowName &w : kWindows) {
        QWidget *open = windows_->window(w.id);
        expect(!open || !open->isVisible(),
               QStringLiteral("%1 is still shown after the program ended").arg(w.name));
    }
    expect(QApplication::activeModalWidget() == nullptr,
           QStringLiteral("a modal window is left open at the end"));
}

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
