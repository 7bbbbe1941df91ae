// SPDX-License-Identifier: MIT
#include "windowset.h"

#include "controls.h"
#include "mainwindow.h"
#include "multibandwindow.h"
#include "textboxaccessible.h"
#include "weblinkwindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QWidget>

#include <algorithm>
#include <exception>

namespace vorrel {
namespace {

const QString kMessageTitle = QStringLiteral("Vorrel Designer");

QString calculationMessage(CalcError::Kind kind)
{
    const QString example = QStringLiteral("146") + userDecimalSeparator() + QStringLiteral("52");
    const QString advice =
        QObject::tr("Type the frequency in megahertz as a plain number, for example %1.")
            .arg(example);
    switch (kind) {
    case CalcError::Kind::TypeMismatch:
        return QObject::tr("The frequency box does not hold a number.") + QStringLiteral("\n\n") +
               advice;
    case CalcError::Kind::Overflow:
        return QObject::tr("That frequency is too large or too small to calculate with.") +
               QStringLiteral("\n\n") + advice;
    case CalcError::Kind::DivisionByZero:
        return QObject::tr("The frequency is 0, and no antenna has dimensions for 0 MHz.") +
               QStringLiteral("\n\n") + advice;
    }
    return advice;
}

// To a screen reader each of the three windows is a window with its title, as the platform's own
// windows are, not a nameless pane.
QAccessibleInterface *windowAccessible(const QString &className, QObject *object)
{
    for (const QMetaObject *window : {&MainWindow::staticMetaObject,
                                      &MultibandWindow::staticMetaObject,
                                      &WebLinkWindow::staticMetaObject}) {
        if (className == QLatin1String(window->className()))
            return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    }
    return nullptr;
}

} // namespace

WindowSet::WindowSet(QObject *parent) : QObject(parent)
{
    // The program's own accessible interfaces, before any of its widgets is asked for one: an
    // interface, once made, is kept for the widget's life.
    static const bool accessibleInterfacesInstalled = [] {
        QAccessible::installFactory(windowAccessible);
        QAccessible::installFactory(textBoxAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInterfacesInstalled);
}

WindowSet::~WindowSet()
{
    ending_ = true;
    delete web_.data();
    delete form2_.data();
    delete form1_.data();
}

QWidget *WindowSet::window(WindowId id) const
{
    switch (id) {
    case WindowId::Form1:
        return form1_;
    case WindowId::Form2:
        return form2_;
    case WindowId::Web:
        return web_;
    }
    return nullptr;
}

QWidget *WindowSet::create(WindowId id)
{
    QWidget *widget = nullptr;
    switch (id) {
    case WindowId::Form1:
        widget = form1_ = new MainWindow(*this, designState_);
        break;
    case WindowId::Form2:
        widget = form2_ = new MultibandWindow(*this);
        break;
    case WindowId::Web:
        widget = web_ = new WebLinkWindow(*this);
        break;
    }
    widget->setAttribute(Qt::WA_DeleteOnClose);
    widget->installEventFilter(this);
    connect(widget, &QObject::destroyed, this, &WindowSet::windowDestroyed);
    return widget;
}

void WindowSet::showWindow(WindowId id)
{
    if (ending_)
        return;
    // setVisible, not show(): where the platform shows every window full screen by default (a
    // web page), the windows keep their own size all the same.
    QWidget *widget = window(id);
    if (!widget) {
        widget = create(id);
        widget->setVisible(true);
        widget->activateWindow();
        return;
    }
    if (widget->isMinimized())
        widget->showNormal();
    widget->setVisible(true);
    widget->raise();
    widget->activateWindow();
}

bool WindowSet::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        const auto latest =
            std::find_if(activationOrder_.begin(), activationOrder_.end(),
                         [this, watched](WindowId id) { return window(id) == watched; });
        if (latest != activationOrder_.end())
            std::rotate(activationOrder_.begin(), latest, latest + 1);
    } else if (event->type() == QEvent::Close) {
        // Only a window that had the focus hands it on: one closed from a pager while the user
        // works in another program takes nothing from that program.
        if (static_cast<QWidget *>(watched)->isActiveWindow())
            closingActive_ = watched;
    }
    return false;
}

void WindowSet::windowDestroyed(QObject *window)
{
    const bool hadFocus = window == closingActive_;
    if (hadFocus)
        closingActive_ = nullptr;
    // A widget announces its destruction before QPointer lets go of it, so it is left out by hand.
    const auto stillOpen = [window](const QWidget *open) { return open && open != window; };
    if (!stillOpen(form1_) && !stillOpen(form2_) && !stillOpen(web_)) {
        endProgram();
        return;
    }
    if (!hadFocus || ending_)
        return;
    for (const WindowId id : activationOrder_) {
        QWidget *open = this->window(id);
        if (stillOpen(open) && open->isVisible() && !open->isMinimized()) {
            open->activateWindow();
            return;
        }
    }
}

void WindowSet::endProgram()
{
    if (ending_)
        return;
    ending_ = true;
    for (QWidget *widget : {web_.data(), form2_.data(), form1_.data()}) {
        if (widget)
            widget->hide();
    }
    emit programEnding();
    QCoreApplication::exit(0);
}

void WindowSet::reportError(const QString &what)
{
    if (ending_)
        return;
    const QString text = tr("The program met an error it cannot recover from and will close.") +
                         QStringLiteral("\n\n") + what;
#ifdef Q_OS_WASM
    // A web page runs no nested event loop: the box is opened, and its answer ends the program.
    auto *box = new QMessageBox(QMessageBox::Critical, kMessageTitle, text, QMessageBox::Ok, form1_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QMessageBox::finished, this, &WindowSet::endProgram);
    box->setVisible(true); // at its own size (see showWindow)
#else
    QMessageBox::critical(form1_, kMessageTitle, text);
    endProgram();
#endif
}

void WindowSet::showWarning(QWidget *parent, const QString &title, const QString &text)
{
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const QPointer<QWidget> owner = parent;
    const auto giveFocusBack = [focus, owner] {
        QWidget *target = focus ? focus.data() : owner.data();
        if (!target || !target->isVisible())
            return;
        // In an inactive window this picks the control that has the focus once the window is
        // active.
        target->setFocus(Qt::OtherFocusReason);
        target->window()->activateWindow();
    };
#ifdef Q_OS_WASM
    // A web page runs no nested event loop: the box is opened and answered through its signal.
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, giveFocusBack);
    box->setVisible(true); // at its own size (see showWindow)
#else
    QMessageBox::warning(parent, title, text);
    giveFocusBack();
#endif
}

void WindowSet::showCalculationError(const CalcError &error)
{
    // Calculations happen in the designer: the box belongs to it and stays in front of it, also
    // when no window is active (a press through the accessibility bus, a compositor that gave
    // the designer no focus).
    QWidget *parent = form1_ ? form1_.data() : QApplication::activeWindow();
    showWarning(parent, kMessageTitle, calculationMessage(error.kind()));
}

void WindowSet::run(const std::function<void()> &handler) noexcept
{
    try {
        try {
            handler();
        } catch (const CalcError &error) {
            showCalculationError(error);
        } catch (const std::exception &error) {
            reportError(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            reportError(tr("An unknown error occurred."));
        }
    } catch (...) {
        // Showing the message itself failed (out of memory): nothing is left to tell the user.
        std::terminate();
    }
}

} // namespace vorrel
