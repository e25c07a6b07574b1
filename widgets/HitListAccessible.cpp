#include "widgets/HitListAccessible.h"

#include "widgets/HitListView.h"

#include <QAbstractItemModel>
#include <QAccessibleWidget>
#include <QHash>
#include <QItemSelectionModel>
#include <QPointer>

namespace zirpel {

namespace {

// One entry in view. It stands for its row of the model, so it stays the same object
// while the list scrolls, until the row leaves the view.
class HitEntryAccessible : public QAccessibleInterface {
public:
    HitEntryAccessible(HitListView* view, int row) : view_(view), row_(row) {}

    [[nodiscard]] int row() const { return row_; }

    bool isValid() const override {
        return view_ && row_ >= view_->firstShownRow() &&
               row_ < view_->firstShownRow() + view_->shownRowCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        const QAccessibleInterface* list = parent();
        return list ? list->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return index().data(Qt::DisplayRole).toString();
        // Its place in the whole list, which the screen shows only by the scroll bar.
        if (t == QAccessible::Description)
            return QStringLiteral("Treffer %1 von %2")
                .arg(row_ + 1)
                .arg(view_->model()->rowCount());
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect r = view_->visualRect(index());
        return QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.focusable = true;
        s.disabled = !view_->isEnabled();
        // The current entry is focused while the list has the focus, and only then: a
        // reader looking for the focus finds one object.
        const QItemSelectionModel* selection = view_->selectionModel();
        s.selected = selection->isSelected(index());
        s.focused = view_->hasFocus() && selection->currentIndex() == index();
        return s;
    }

private:
    [[nodiscard]] QModelIndex index() const { return view_->model()->index(row_, 0); }

    QPointer<HitListView> view_;
    int row_;
};

class HitListAccessible : public QAccessibleWidget {
public:
    explicit HitListAccessible(HitListView* view) : QAccessibleWidget(view, QAccessible::List) {}
    ~HitListAccessible() override {
        for (const QAccessible::Id id : std::as_const(entries_))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return view()->shownRowCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        return entry(view()->firstShownRow() + index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return child->isValid() ? it.key() - view()->firstShownRow() : -1;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = view()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!view()->viewport()->rect().contains(at))
            return nullptr;
        const int row = view()->rowAt(at);
        return row < 0 ? nullptr : entry(row);
    }
    QAccessibleInterface* focusChild() const override {
        if (!view()->selectionModel())
            return nullptr;
        const int row = view()->selectionModel()->currentIndex().row();
        const int first = view()->firstShownRow();
        if (row < first || row >= first + view()->shownRowCount())
            return nullptr;
        return entry(row);
    }

private:
    [[nodiscard]] HitListView* view() const { return static_cast<HitListView*>(widget()); }

    // The entry object of a row in view. Objects of rows that have left the view are
    // dropped here, so there are never many more than the rows in view.
    QAccessibleInterface* entry(int row) const {
        const int first = view()->firstShownRow();
        const int end = first + view()->shownRowCount();
        for (auto it = entries_.begin(); it != entries_.end();) {
            if (it.key() < first || it.key() >= end) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = entries_.erase(it);
            } else {
                ++it;
            }
        }
        if (const auto it = entries_.constFind(row); it != entries_.cend())
            return QAccessible::accessibleInterface(it.value());
        auto* made = new HitEntryAccessible(view(), row);
        entries_.insert(row, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    mutable QHash<int, QAccessible::Id> entries_;
};

QAccessibleInterface* HitListFactory(const QString& key, QObject* object) {
    // The key is the class name with its namespace.
    if (key != QLatin1String(HitListView::staticMetaObject.className()))
        return nullptr;
    auto* view = qobject_cast<HitListView*>(object);
    return view ? new HitListAccessible(view) : nullptr;
}

} // namespace

void InstallHitListAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(HitListFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace zirpel
