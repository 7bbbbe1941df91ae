// SPDX-License-Identifier: MIT
#include "mainwindow.h"

#include "clicknotifier.h"
#include "controls.h"
#include "picturebox.h"
#include "platform/taskbar.h"
#include "windowset.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>

namespace vorrel {
namespace {

// The layout, in twips.
constexpr int kClientWidth = 9000;
constexpr int kClientHeight = 6375;

constexpr TwipRect kTitle{120, 0, 8895, 375};
constexpr TwipRect kDiagram{120, 480, 2850, 5550};
constexpr TwipRect kInputHeading{3720, 480, 4455, 375};
constexpr TwipRect kFrequency{3600, 960, 2055, 735};
constexpr TwipRect kRadiatorCaption{3120, 2040, 1935, 375};
constexpr TwipRect kRadiatorValue{5160, 1920, 1935, 495};
constexpr TwipRect kRadiatorUnit{7440, 2040, 1335, 375};
constexpr TwipRect kStudCaption{3120, 2880, 1815, 375};
constexpr TwipRect kStudValue{5160, 2760, 1935, 495};
constexpr TwipRect kStudUnit{7440, 2880, 1335, 375};
constexpr TwipRect kGapCaption{3120, 3840, 1815, 375};
constexpr TwipRect kGapValue{5160, 3720, 1935, 495};
constexpr TwipRect kGapUnit{7440, 3840, 855, 285};
constexpr TwipRect kFeedCaption{3120, 4800, 2295, 375};
constexpr TwipRect kFeedValue{5640, 4680, 1455, 495};
constexpr TwipRect kFeedUnit{7440, 4800, 1215, 285};
constexpr TwipRect kInches{5760, 960, 1575, 735};
constexpr TwipRect kSampleHint{3240, 5760, 3615, 375};
constexpr TwipRect kGo{6840, 5520, 495, 495};
constexpr TwipRect kExit{8280, 5520, 495, 495};
constexpr TwipRect kCentimetres{7560, 960, 1335, 735};

const BoxLook kTitleLook{13.5, Border::Sunken, colours::kLightYellow, colours::kBlue};
const BoxLook kHeadingLook{12.0, Border::None, colours::kLightYellow, {}};
const BoxLook kFrequencyLook{24.0, Border::Sunken, {}, {}};
const BoxLook kCaptionLook{9.75, Border::None, colours::kLightYellow, {}};
const BoxLook kValueLook{13.5, Border::Sunken, {}, {}};

// The captions of the four result rows, top to bottom.
const std::array<QString, 4> kRowCaptions{
    QStringLiteral("The radiator will be"), QStringLiteral("The driven stud is"),
    QStringLiteral("The Gap space is"), QStringLiteral("The Feedpoint is about")};

// The title line, 73 characters.
QString titleLine()
{
    return QStringLiteral(" VORREL    DESIGN") + QString(33, QLatin1Char(' ')) +
           QStringLiteral("by   T. Brenix   QT0NRV");
}

} // namespace

MainWindow::MainWindow(WindowSet &windows, DesignState &state, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), windows_(windows), state_(state)
{
    setObjectName(QStringLiteral("Form1"));
    // No title bar shows the caption, but window lists, overviews and screen readers read it.
    setWindowTitle(QStringLiteral("Vorrel Designer"));
    setFixedSize(TwipRect{0, 0, kClientWidth, kClientHeight}.pixels().size());
    setWindowBackground(this, colours::kLightYellow);
    keepOutOfTaskbarIfReachable(this);

    // Created in tab order: the focus chain follows creation.
    auto *title = makeTextBox(this, "Text1", kTitle, titleLine(), kTitleLook, tr("title"));
    new PictureBox(this, "Picture1", kDiagram, QStringLiteral("diagram1"),
                   tr("diagram of the antenna: radiator, stud, gap and feed point"));
    makeTextBox(this, "Text2", kInputHeading, QStringLiteral("INPUT FREQUENCY IN MEGAHERTZ"),
                kHeadingLook, tr("heading of the input"));
    frequencyBox_ = makeTextBox(this, "Text3", kFrequency, QStringLiteral("00.00"), kFrequencyLook,
                                tr("frequency box"));
    makeTextBox(this, "Text4", kRadiatorCaption, kRowCaptions[0], kCaptionLook,
                tr("caption of row 1"));
    valueBoxes_[0] =
        makeTextBox(this, "Text5", kRadiatorValue, {}, kValueLook, tr("radiator value"));
    unitBoxes_[0] = makeTextBox(this, "Text6", kRadiatorUnit, QStringLiteral("inches long"),
                                kCaptionLook, tr("radiator unit"));
    makeTextBox(this, "Text7", kStudCaption, kRowCaptions[1], kCaptionLook,
                tr("caption of row 2"));
    valueBoxes_[1] = makeTextBox(this, "Text8", kStudValue, {}, kValueLook, tr("stud value"));
    unitBoxes_[1] = makeTextBox(this, "Text9", kStudUnit, QStringLiteral("inches long"),
                                kCaptionLook, tr("stud unit"));
    makeTextBox(this, "Text10", kGapCaption, kRowCaptions[2], kCaptionLook,
                tr("caption of row 3"));
    valueBoxes_[2] = makeTextBox(this, "Text11", kGapValue, {}, kValueLook, tr("gap value"));
    unitBoxes_[2] = makeTextBox(this, "Text12", kGapUnit, QStringLiteral("inches"), kCaptionLook,
                                tr("gap unit"));
    makeTextBox(this, "Text13", kFeedCaption, kRowCaptions[3], kCaptionLook,
                tr("caption of row 4"));
    valueBoxes_[3] =
        makeTextBox(this, "Text14", kFeedValue, {}, kValueLook, tr("feed point value"));
    unitBoxes_[3] = makeTextBox(this, "Text15", kFeedUnit, QStringLiteral("Up"), kCaptionLook,
                                tr("feed point unit"));
    auto *inches = makeButton(this, "Command1", kInches, QStringLiteral("INCHES"), 12.0);
    makeTextBox(this, "Text16", kSampleHint, QStringLiteral("See sample triband 2m, 220 and 440"),
                kCaptionLook, tr("hint beside GO"));
    auto *go = makeButton(this, "Command2", kGo, QStringLiteral("GO"));
    auto *exit = makeButton(this, "Command3", kExit, QStringLiteral("EXIT"));
    auto *centimetres = makeButton(this, "Command4", kCentimetres, QStringLiteral("CM"));

    connect(inches, &QPushButton::clicked, this,
            windows_.guard([this] { calculate(UnitMode::Inches); }));
    connect(centimetres, &QPushButton::clicked, this,
            windows_.guard([this] { calculate(UnitMode::Centimetres); }));
    connect(new ClickNotifier(frequencyBox_), &ClickNotifier::clicked, this,
            windows_.guard([this] { showStoredFrequency(); }));
    connect(go, &QPushButton::clicked, this,
            windows_.guard([this] { windows_.showWindow(WindowId::Form2); }));
    connect(exit, &QPushButton::clicked, this, windows_.guard([this] { windows_.endProgram(); }));

    title->setFocus();
}

void MainWindow::calculate(UnitMode mode)
{
    const DesignResult result =
        calculateDesign(state_, frequencyBox_->text().toStdString(), mode, userNumberFormat());
    for (std::size_t i = 0; i < valueBoxes_.size(); ++i)
        setBoxText(valueBoxes_[i], QString::fromStdString(result.values[i]));
    for (std::size_t i = 0; i < unitBoxes_.size(); ++i)
        setBoxText(unitBoxes_[i], QString::fromStdString(result.units[i]));
    announce(result);
}

QString MainWindow::resultSentence(const DesignResult &result)
{
    QStringList rows;
    for (std::size_t i = 0; i < kRowCaptions.size(); ++i) {
        QString caption = kRowCaptions[i];
        if (i > 0)
            caption[0] = caption[0].toLower();
        rows << caption + QLatin1Char(' ') + QString::fromStdString(result.values[i]) +
                    QLatin1Char(' ') + QString::fromStdString(result.units[i]);
    }
    return rows.join(QStringLiteral(", ")) + QLatin1Char('.');
}

void MainWindow::announce(const DesignResult &result)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // The focus stays on the button that was pressed: a screen reader speaks the results at once,
    // in the words the window shows them (on Windows a UI Automation notification).
    QAccessibleAnnouncementEvent announcement(this, resultSentence(result));
    QAccessible::updateAccessibility(&announcement);
#else
    Q_UNUSED(result); // Qt 6.7 and older have no announcements: the boxes are read on focus.
#endif
}

void MainWindow::showStoredFrequency()
{
    setBoxText(frequencyBox_,
               QString::fromStdString(formatFrequency(state_.freq, userNumberFormat())));
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    // The window has no title bar: a drag on its own background, not on a control, moves it.
    // The window manager (or compositor) does the move where it can; elsewhere the window follows
    // the pointer itself.
    dragOffset_.reset();
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint())) {
        if (!windowHandle() || !windowHandle()->startSystemMove())
            dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (dragOffset_ && event->buttons().testFlag(Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    dragOffset_.reset();
    QWidget::mouseReleaseEvent(event);
}

} // namespace vorrel
