// SPDX-License-Identifier: MIT
#include "linklabel.h"

#include "controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vorrel {
namespace {

constexpr double kReadableContrast = 4.5;

// What a screen reader or voice control sees: a link, named by its address, that can be pressed.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) {}

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name == pressAction())
            static_cast<LinkLabel *>(widget())->activate();
        else
            QAccessibleWidget::doAction(name);
    }

    QStringList keyBindingsForAction(const QString &name) const override
    {
        if (name == pressAction())
            return {QStringLiteral("Return"), QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }
};

QAccessibleInterface *linkAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()))
        return new LinkAccessible(static_cast<LinkLabel *>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString &address, QWidget *parent) : QLabel(parent)
{
    static const bool accessibleAsLink = [] {
        QAccessible::installFactory(linkAccessible);
        return true;
    }();
    Q_UNUSED(accessibleAsLink);

    setTextFormat(Qt::PlainText);
    setText(address);
    setAccessibleName(address);
    setFocusPolicy(Qt::TabFocus);
    setAutoFillBackground(true);
    chooseColour();
}

void LinkLabel::activate()
{
    emit activated();
}

void LinkLabel::chooseColour()
{
    // Link blue where it reads well, as on a light window; on a dark one the desktop's own link
    // colour, or a light blue, which does.
    const QColor background = palette().color(backgroundRole());
    QColor colour = colours::kBlue;
    if (contrastRatio(colour, background) < kReadableContrast) {
        colour = palette().color(QPalette::Link);
        if (contrastRatio(colour, background) < kReadableContrast)
            colour = QColor(0x99, 0xCC, 0xFF);
    }
    if (palette().color(QPalette::WindowText) == colour)
        return;
    QPalette linkPalette = palette();
    linkPalette.setColor(QPalette::WindowText, colour);
    setPalette(linkPalette);
}

void LinkLabel::changeEvent(QEvent *event)
{
    // The desktop switched between a light and a dark palette.
    if (event->type() == QEvent::PaletteChange)
        chooseColour();
    QLabel::changeEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            activate();
        event->accept();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        activate();
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Around the address, a pixel clear of it, inside the label.
    const QRect text = fontMetrics().boundingRect(contentsRect(), int(alignment()), this->text());
    drawFocusFrame(this, text.adjusted(-1, 0, 2, 1) & rect(), palette().color(foregroundRole()));
}

} // namespace vorrel
