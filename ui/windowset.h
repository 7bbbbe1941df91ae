// SPDX-License-Identifier: MIT
#pragma once

// How the program fits together
//
// The calculator (calc/) is plain C++: it turns the frequency text into four dimensions and their
// texts, and keeps the design state. The windows (this folder) only move texts between their
// boxes and the calculator; they do no arithmetic and no number formatting themselves.
//
// WindowSet owns one instance of each of the three windows for the program's whole life:
//   Form1 (MainWindow)      the designer: frequency box, INCHES/CM, the four results, diagram 1
//   Form2 (MultibandWindow) the three-band sample table and diagram 2, opened by GO
//   web   (WebLinkWindow)   the link to the author's page, opened by WEBSITE
// An instance is "not yet created", "open" or "closed". Its widget is created on the first
// showWindow, deleted when the user closes it, and created afresh with its initial contents on the
// next showWindow. Data that outlives the widget (the main window's DesignState) lives here.
// The program ends through endProgram (EXIT, Exit, a fatal error) or when no window is left open.
// When the active window closes, the window of the program that was active last before it takes
// the focus, whatever the window manager does on its own.
//
// Every click handler runs through guard(): Qt forbids exceptions leaving a slot. A calculator
// error becomes a message box after which the program goes on; any other error goes to
// reportError, which ends the program.

#include "designcalculator.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>

class QEvent;
class QWidget;

namespace vorrel {

enum class WindowId { Form1, Form2, Web };

class WindowSet : public QObject {
    Q_OBJECT

public:
    explicit WindowSet(QObject *parent = nullptr);
    ~WindowSet() override;

    // Makes the window open and visible: creates it afresh when it was never created or was
    // closed, otherwise brings it to the front and activates it. Never hides or closes another.
    void showWindow(WindowId id);

    // Ends the program at once: every open window goes away, the event loop ends.
    void endProgram();

    // Tells the user of an error the program cannot go on from, then ends the program.
    void reportError(const QString &what);

    // Shows a modal warning over parent. Once it is answered, the control that had the keyboard
    // focus before it (or parent, when no control of the program had it) has it again, in an
    // active window: some window managers leave the focus with no window when a box closes. On
    // the desktop it returns once the box is answered, in a web page at once.
    static void showWarning(QWidget *parent, const QString &title, const QString &text);

    // Wraps a click handler so that no exception leaves it (see the comment at the top).
    template <typename Handler> auto guard(Handler handler)
    {
        return [this, handler]() { run(handler); };
    }

    // The open widget of a window, or nullptr when it is not yet created or closed.
    QWidget *window(WindowId id) const;
    bool isOpen(WindowId id) const { return window(id) != nullptr; }

    const DesignState &designState() const { return designState_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // Emitted by endProgram, just before the event loop is told to end.
    void programEnding();

private:
    void run(const std::function<void()> &handler) noexcept;
    void showCalculationError(const CalcError &error);
    QWidget *create(WindowId id);
    void windowDestroyed(QObject *window);

    DesignState designState_;
    QPointer<QWidget> form1_;
    QPointer<QWidget> form2_;
    QPointer<QWidget> web_;
    // The windows in the order they were last active, the latest first.
    std::array<WindowId, 3> activationOrder_{WindowId::Form1, WindowId::Form2, WindowId::Web};
    const QObject *closingActive_ = nullptr; // a window closed while it was the active one
    bool ending_ = false;
};

} // namespace vorrel
