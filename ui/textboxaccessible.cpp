// SPDX-License-Identifier: MIT
#include "textboxaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QTextLayout>

namespace vorrel {
namespace {

// A single-line box as Qt's own line-edit interface presents it, except for its text attributes.
// Qt's reports, at every offset, an empty run that starts and ends there; screen readers that join
// the runs of a line to pick its voice take the end of the last one as the end of the line, and so
// Orca reads every box without its last character when it gets the focus. The box has no
// attributes of its own, so its whole text is one run, as GTK reports an entry's.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QLineEdit *box) : QAccessibleWidget(box, QAccessible::EditableText)
    {
        addControllingSignal(QStringLiteral("textChanged(QString)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->text();
        return QAccessibleWidget::text(t);
    }

    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t == QAccessible::Value)
            box()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = box()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        // By the conventions of these interfaces, -2 is the caret and -1 the end of the text.
        const int count = characterCount();
        if (offset == -2)
            offset = cursorPosition();
        else if (offset == -1)
            offset = count;
        const bool inside = offset >= 0 && offset <= count;
        *startOffset = inside ? 0 : -1;
        *endOffset = inside ? count : -1;
        return {};
    }

    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset > endOffset)
            return {};
        return box()->text().mid(startOffset, endOffset - startOffset);
    }

    int characterCount() const override { return int(box()->text().size()); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                             int *endOffset) const override
    {
        return QAccessibleTextInterface::textBeforeOffset(caretIfAsked(offset), boundary,
                                                          startOffset, endOffset);
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                         int *endOffset) const override
    {
        return QAccessibleTextInterface::textAtOffset(caretIfAsked(offset), boundary, startOffset,
                                                      endOffset);
    }

    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                            int *endOffset) const override
    {
        return QAccessibleTextInterface::textAfterOffset(caretIfAsked(offset), boundary,
                                                         startOffset, endOffset);
    }

    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !box()->hasSelectedText())
            return;
        *startOffset = box()->selectionStart();
        *endOffset = box()->selectionEnd();
    }

    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            box()->setSelection(startOffset, endOffset - startOffset);
    }

    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }

    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            box()->deselect();
    }

    QRect characterRect(int offset) const override
    {
        const QString text = box()->text();
        if (offset < 0 || offset >= text.size())
            return {};
        // Where the box draws its text, scrolled or not, is public only through the caret: the
        // rectangle it reports for input methods is centred on it.
        QTextLayout layout(text, box()->font());
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const QRectF caret = box()->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
        const qreal origin = caret.center().x() - line.cursorToX(box()->cursorPosition());
        const qreal left = origin + line.cursorToX(offset);
        const qreal right = origin + line.cursorToX(offset + 1);
        const QRect rect(qRound(qMin(left, right)), qRound(caret.top()),
                         qRound(qAbs(right - left)), box()->fontMetrics().height());
        return rect.translated(box()->mapToGlobal(QPoint(0, 0)));
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        box()->setCursorPosition(endIndex);
        box()->setCursorPosition(startIndex);
    }

    void deleteText(int startOffset, int endOffset) override
    {
        box()->setText(box()->text().remove(startOffset, endOffset - startOffset));
    }

    void insertText(int offset, const QString &text) override
    {
        box()->setText(box()->text().insert(offset, text));
    }

    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        box()->setText(box()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit *box() const { return static_cast<QLineEdit *>(object()); }

    int caretIfAsked(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

} // namespace

QAccessibleInterface *textBoxAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(QLineEdit::staticMetaObject.className()))
        return nullptr;
    // A box that hides what is typed keeps Qt's interface, which hides it from the bus as well.
    auto *box = static_cast<QLineEdit *>(object);
    if (box->echoMode() != QLineEdit::Normal)
        return nullptr;
    return new TextBoxAccessible(box);
}

} // namespace vorrel
