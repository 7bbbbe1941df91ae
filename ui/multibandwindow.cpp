// SPDX-License-Identifier: MIT
#include "multibandwindow.h"

#include "controls.h"
#include "picturebox.h"
#include "windowset.h"

#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vorrel {
namespace {

// The layout, in twips. Nothing moves or grows when the window is resized.
constexpr int kClientWidth = 7860;
constexpr int kClientHeight = 6630;

constexpr TwipRect kDiagram{0, 0, 3255, 6375};
constexpr TwipRect kTable{3360, 1320, 4335, 855};
constexpr TwipRect kHeading{3960, 360, 3615, 375};
constexpr TwipRect kReturn{3480, 2640, 4095, 495};
constexpr TwipRect kExit{5040, 3600, 1215, 495};
constexpr TwipRect kWebsite{4680, 4440, 2055, 495};

const BoxLook kHeadingLook{12.0, Border::None, colours::kLightYellow, colours::kBlue};

// The sample table: a box of several lines. Qt 6.4 reads the first format of what is pasted or
// dropped without asking whether there is one, and crashes on Windows when there is none (Ctrl+V
// with an empty clipboard, or one holding only data that Qt has no name for); such data holds
// nothing to insert.
class SampleTable : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override
    {
        return !source->formats().isEmpty() && QPlainTextEdit::canInsertFromMimeData(source);
    }
    void insertFromMimeData(const QMimeData *source) override
    {
        if (!source->formats().isEmpty())
            QPlainTextEdit::insertFromMimeData(source);
    }
};

} // namespace

const QString &MultibandWindow::sampleTable()
{
    // The columns are padded with blanks so that they line up in the box's proportional font
    // (two blanks are as wide as one digit); the blanks at the end of line 3 and the lone blank
    // of line 4 are part of the text.
    static const QString table =
        QStringLiteral("440         R1=18.875          S1=6.250         Gap=.375\n"
                       "220         R2=37.375          S2=12.500       Gap=.750\n"
                       "144         R3=57.375          S3=19.125       Gap=1.250         \n"
                       " \n");
    return table;
}

MultibandWindow::MultibandWindow(WindowSet &windows, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("MULTIBAND"));
    resize(TwipRect{0, 0, kClientWidth, kClientHeight}.pixels().size());
    setWindowBackground(this, colours::kLightYellow);

    // Created in tab order: the focus chain follows creation.
    auto *picture = new PictureBox(
        this, "Picture1", kDiagram, QStringLiteral("diagram2"),
        tr("diagram of three antennas on one mast for 440, 220 and 144 MHz: R1 to R3 from the "
           "mast top to each stud's foot, S1 to S3 the studs"));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // A one-pixel sunken edge: the box is only two pixels wider than the diagram.
    picture->setLineWidth(1);
    QPalette white = picture->palette();
    white.setColor(QPalette::Window, Qt::white);
    picture->setPalette(white);
    picture->setAutoFillBackground(true);

    auto *table = new SampleTable(sampleTable(), this);
    table->setObjectName(QStringLiteral("Text1"));
    table->setAccessibleName(tr("sample dimensions"));
    table->setGeometry(kTable.pixels());
    table->setFont(controlFont(kDefaultPointSize));
    table->setLineWrapMode(QPlainTextEdit::NoWrap);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setTabChangesFocus(true);
    table->moveCursor(QTextCursor::Start);

    makeTextBox(this, "Text2", kHeading, QStringLiteral("Multiband Vorrel Configuration"),
                kHeadingLook, tr("heading"));
    auto *back = makeButton(this, "Command1", kReturn, QStringLiteral("Return to designer"));
    auto *exit = makeButton(this, "Command2", kExit, QStringLiteral("Exit"));
    auto *website = makeButton(this, "Command3", kWebsite, QStringLiteral("WEBSITE"));

    connect(back, &QPushButton::clicked, this,
            windows.guard([&windows] { windows.showWindow(WindowId::Form1); }));
    connect(exit, &QPushButton::clicked, this, windows.guard([&windows] { windows.endProgram(); }));
    connect(website, &QPushButton::clicked, this,
            windows.guard([&windows] { windows.showWindow(WindowId::Web); }));

    picture->setFocus();
}

} // namespace vorrel
