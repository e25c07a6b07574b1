// The hit list's control: one column of entries from an item model, single selection,
// scrolled by rows. A QListView lays its rows out in pixels held in 32 bits and cannot
// reach rows beyond about 150 million; this control's scroll bar counts rows, so each of
// up to 2^31 - 1 entries can be scrolled to, clicked and chosen by key. Only the rows in
// view are asked for their text.
#pragma once

#include <QAbstractScrollArea>
#include <QModelIndex>

class QAbstractItemModel;
class QItemSelection;
class QItemSelectionModel;

namespace zirpel {

class HitListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 15;

    explicit HitListView(QWidget* parent = nullptr);

    // The model is not owned; the selection model belongs to the control.
    void setModel(QAbstractItemModel* model);
    [[nodiscard]] QAbstractItemModel* model() const { return model_; }
    [[nodiscard]] QItemSelectionModel* selectionModel() const { return selection_; }
    // The selected row, or -1.
    [[nodiscard]] int currentRow() const;
    // Selects a row (-1: none) and scrolls it into view.
    void setCurrentRow(int row);
    void scrollTo(const QModelIndex& index);
    // Where a row is drawn in the viewport; empty for a row out of view.
    [[nodiscard]] QRect visualRect(const QModelIndex& index) const;
    // The row at a point of the viewport, or -1.
    [[nodiscard]] int rowAt(QPoint point) const;
    // The rows at least partly in view: firstShownRow() and the shownRowCount() after it.
    [[nodiscard]] int firstShownRow() const;
    [[nodiscard]] int shownRowCount() const;

signals:
    // A click on an entry, as QAbstractItemView::clicked.
    void clicked(const QModelIndex& index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    [[nodiscard]] int rowCount() const;
    [[nodiscard]] int visibleRows() const;
    void updateScrollBar();
    // Tell assistive tools what changed, as Qt's own list view does.
    void announceShownRows();
    void announceSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void announceCurrent(const QModelIndex& current);

    QAbstractItemModel* model_ = nullptr;
    QItemSelectionModel* selection_ = nullptr;
    int pressedRow_ = -1;
};

} // namespace zirpel
