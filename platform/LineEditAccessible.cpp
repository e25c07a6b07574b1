#include "platform/LineEditAccessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>

namespace zirpel {

namespace {

class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessibleInterface* parent() const override {
        // The editor of a table cell lies within that cell: a reader that then moves on in
        // the row hears the next cell as after an arrow key, not the whole row anew.
        QWidget* viewport = edit()->parentWidget();
        auto* view =
            viewport ? qobject_cast<QAbstractItemView*>(viewport->parentWidget()) : nullptr;
        const QModelIndex cell = view && view->viewport() == viewport
                                     ? view->indexAt(edit()->geometry().center())
                                     : QModelIndex();
        QAccessibleInterface* table =
            cell.isValid() ? QAccessible::queryAccessibleInterface(view) : nullptr;
        if (table && table->tableInterface())
            if (QAccessibleInterface* inCell =
                    table->tableInterface()->cellAt(cell.row(), cell.column()))
                return inCell;
        return QAccessibleWidget::parent();
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return shown();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value && !edit()->isReadOnly())
            edit()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = edit()->isReadOnly();
        s.editable = !s.readOnly;
        s.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        s.selectableText = true;
        return s;
    }

    // Text.
    int characterCount() const override { return int(shown().size()); }
    QString text(int start, int end) const override {
        return shown().mid(start, qMax(0, end - start));
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = edit()->selectionEnd();
        }
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0)
            edit()->setSelection(start, end - start);
    }
    QString attributes(int, int* start, int* end) const override {
        // None told: the whole text is one run.
        *start = 0;
        *end = characterCount();
        return {};
    }
    QRect characterRect(int offset) const override {
        // Where the toolkit would put the cursor before and after the character.
        const QString text = shown();
        const QFontMetrics metrics(edit()->font());
        const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int shift =
            caret.center().x() - metrics.horizontalAdvance(text.left(edit()->cursorPosition()));
        const int left = shift + metrics.horizontalAdvance(text.left(offset));
        const QRect r(left, caret.top(), metrics.horizontalAdvance(text.mid(offset, 1)),
                      caret.height());
        return QRect(edit()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int) override { edit()->setCursorPosition(start); }

    // Editable text.
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (edit()->isReadOnly())
            return;
        QString all = edit()->text();
        all.replace(start, qMax(0, end - start), text);
        edit()->setText(all);
    }

private:
    [[nodiscard]] QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
    // What the entry shows: a password entry shows its mask.
    [[nodiscard]] QString shown() const { return edit()->displayText(); }
};

QAccessibleInterface* LineEditFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QLineEdit"))
        return nullptr;
    auto* edit = qobject_cast<QLineEdit*>(object);
    return edit ? new LineEditAccessible(edit) : nullptr;
}

} // namespace

void InstallLineEditAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(LineEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace zirpel
