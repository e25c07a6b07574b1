#include "widgets/HitListView.h"
#include "widgets/FormParts.h"
#include "widgets/LongText.h"

#include "widgets/HitListAccessible.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QFontMetricsF>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace zirpel {

HitListView::HitListView(QWidget* parent) : QAbstractScrollArea(parent) {
    // Entries of eight characters fit beside the vertical bar, and longer ones are drawn
    // narrower: never a horizontal one.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &HitListView::announceShownRows);
    InstallHitListAccessible();
}

void HitListView::setModel(QAbstractItemModel* model) {
    if (model_)
        disconnect(model_, nullptr, this, nullptr);
    delete selection_;
    model_ = model;
    selection_ = new QItemSelectionModel(model, this);
    if (model) {
        const auto relayout = [this] {
            updateScrollBar();
            viewport()->update();
            announceShownRows();
        };
        // A new list starts at its top.
        connect(model, &QAbstractItemModel::modelReset, this, [this, relayout] {
            relayout();
            verticalScrollBar()->setValue(0);
        });
        connect(model, &QAbstractItemModel::layoutChanged, this, relayout);
        connect(model, &QAbstractItemModel::rowsInserted, this, relayout);
        connect(model, &QAbstractItemModel::rowsRemoved, this, relayout);
        connect(model, &QAbstractItemModel::dataChanged, viewport(), qOverload<>(&QWidget::update));
    }
    connect(selection_, &QItemSelectionModel::selectionChanged, viewport(),
            qOverload<>(&QWidget::update));
    connect(selection_, &QItemSelectionModel::selectionChanged, this,
            &HitListView::announceSelection);
    connect(selection_, &QItemSelectionModel::currentChanged, this, &HitListView::announceCurrent);
    updateScrollBar();
    viewport()->update();
}

int HitListView::rowCount() const {
    return model_ ? model_->rowCount() : 0;
}

int HitListView::visibleRows() const {
    return std::max(1, viewport()->height() / kRowHeight);
}

void HitListView::updateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(visibleRows());
    bar->setRange(0, std::max(0, rowCount() - visibleRows()));
}

int HitListView::currentRow() const {
    if (!selection_)
        return -1;
    const QModelIndexList rows = selection_->selectedRows();
    return rows.isEmpty() ? -1 : std::min_element(rows.begin(), rows.end())->row();
}

void HitListView::setCurrentRow(int row) {
    if (!selection_ || row >= rowCount())
        return;
    if (row < 0) {
        selection_->clear();
        return;
    }
    const QModelIndex index = model_->index(row, 0);
    scrollTo(index);
    selection_->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void HitListView::scrollTo(const QModelIndex& index) {
    if (!index.isValid())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int row = index.row();
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + visibleRows())
        bar->setValue(row - visibleRows() + 1);
}

QRect HitListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    const qint64 y = qint64(index.row() - verticalScrollBar()->value()) * kRowHeight;
    if (y < 0 || y >= viewport()->height())
        return {};
    return QRect(0, int(y), viewport()->width(), kRowHeight);
}

int HitListView::rowAt(QPoint point) const {
    if (point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return -1;
    const qint64 row = qint64(verticalScrollBar()->value()) + point.y() / kRowHeight;
    return row < rowCount() ? int(row) : -1;
}

int HitListView::firstShownRow() const {
    return verticalScrollBar()->value();
}

int HitListView::shownRowCount() const {
    const int inView = (viewport()->height() + kRowHeight - 1) / kRowHeight;
    return std::clamp(rowCount() - firstShownRow(), 0, inView);
}

// The children a screen reader sees are the entries in view, so a scroll changes them
// all, like a new model does.
void HitListView::announceShownRows() {
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void HitListView::announceSelection(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    if (!QAccessible::isActive())
        return;
    const auto announce = [this](const QItemSelection& rows, QAccessible::Event type) {
        if (rows.isEmpty())
            return;
        const int child = rows.first().top() - firstShownRow();
        if (child < 0 || child >= shownRowCount())
            return;
        QAccessibleEvent event(this, type);
        event.setChild(child);
        QAccessible::updateAccessibility(&event);
    };
    announce(selected, QAccessible::SelectionAdd);
    announce(deselected, QAccessible::SelectionRemove);
}

void HitListView::announceCurrent(const QModelIndex& current) {
    const int child = current.row() - firstShownRow();
    if (!QAccessible::isActive() || !hasFocus() || !current.isValid() || child < 0 ||
        child >= shownRowCount())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(child);
    QAccessible::updateAccessibility(&event);
}

void HitListView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QFontMetricsF metrics(font());
    const int first = verticalScrollBar()->value();
    const int last = std::min(rowCount() - 1, first + viewport()->height() / kRowHeight);
    const int selected = currentRow();
    const QPalette& pal = palette();
    for (int row = first; row <= last && row >= 0; ++row) {
        const QRect rect(0, (row - first) * kRowHeight, viewport()->width(), kRowHeight);
        const bool isSelected = row == selected;
        if (isSelected)
            painter.fillRect(rect, pal.brush(hasFocus() ? QPalette::Active : QPalette::Inactive,
                                             QPalette::Highlight));
        painter.setPen(pal.color(isSelected ? QPalette::HighlightedText : QPalette::Text));
        const QString text = model_->data(model_->index(row, 0), Qt::DisplayRole).toString();
        const qreal width = metrics.horizontalAdvance(text);
        // Two pixels before the text, and one after it left free.
        if (width + 3 <= rect.width()) {
            painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        } else {
            // A decimal address of nine or ten digits beside the scroll bar.
            const qreal baseline =
                rect.top() + (kRowHeight - metrics.height()) / 2 + metrics.ascent();
            DrawLongText(painter, rect.left(), rect.left() + rect.width(), baseline, text, width);
        }
    }
    // The focus shows where the keys go: around the current entry, or around the whole
    // list while no entry is current (the first Down chooses one).
    if (!hasFocus())
        return;
    QRect frame = viewport()->rect();
    if (selected >= first && selected <= last)
        frame = QRect(0, (selected - first) * kRowHeight, viewport()->width(), kRowHeight);
    else if (selected >= 0)
        return; // the current entry is scrolled out of view
    PaintFocusFrame(painter, frame);
}

void HitListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void HitListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressedRow_ = rowAt(event->position().toPoint());
    if (pressedRow_ >= 0)
        setCurrentRow(pressedRow_);
}

void HitListView::mouseMoveEvent(QMouseEvent* event) {
    // Dragging through the list selects the entry under the pointer, as a list box does.
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (at.y() < 0 || at.y() >= viewport()->height())
        return;
    const int row = rowAt(at);
    if (row >= 0 && row != currentRow())
        setCurrentRow(row);
}

void HitListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int row = rowAt(event->position().toPoint());
    if (row >= 0 && row == pressedRow_)
        emit clicked(model_->index(row, 0));
    pressedRow_ = -1;
}

void HitListView::keyPressEvent(QKeyEvent* event) {
    const int count = rowCount();
    const int current = currentRow();
    int row = current;
    switch (event->key()) {
    case Qt::Key_Up:
        row = current < 0 ? 0 : current - 1;
        break;
    case Qt::Key_Down:
        row = current < 0 ? 0 : current + 1;
        break;
    case Qt::Key_PageUp:
        row = current < 0 ? 0 : current - std::max(1, visibleRows() - 1);
        break;
    case Qt::Key_PageDown:
        row = current < 0 ? 0
                          : int(std::min<qint64>(qint64(current) + std::max(1, visibleRows() - 1),
                                                 count - 1));
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = count - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    if (count == 0)
        return;
    row = std::clamp(row, 0, count - 1);
    if (row != current)
        setCurrentRow(row);
    else
        scrollTo(model_->index(row, 0));
}

void HitListView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    // The list took the focus: the reader goes on to its current entry. The list says it
    // has the focus after this event, so the entry's word comes once the list's is out.
    if (QAccessible::isActive())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (selection_)
                    announceCurrent(selection_->currentIndex());
            },
            Qt::QueuedConnection);
}

void HitListView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace zirpel
