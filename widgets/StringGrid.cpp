#include "widgets/StringGrid.h"
#include "widgets/FormParts.h"
#include "widgets/LongText.h"

#include <QAccessible>
#include <QGlyphRun>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

namespace zirpel {

// The cell texts, row by row.
class StringGridModel : public QAbstractTableModel {
public:
    explicit StringGridModel(StringGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : cols_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (index.isValid() && role == Qt::AccessibleDescriptionRole &&
            index == grid_->describedCell_)
            return grid_->cellDescription_;
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return text(index.column(), index.row());
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole)
            return false;
        grid_->setCell(index.column(), index.row(), value.toString());
        return true;
    }
    // The fixed column and row head the others: a screen reader names a cell by them.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || section < 0)
            return {};
        if (orientation == Qt::Horizontal) {
            if (section >= cols_)
                return QString();
            if (grid_->fixedRows() > 0)
                return text(section, 0);
            // A grid without a header row of its own may take another's.
            const StringGrid* heads = grid_->columnHeadsFrom_;
            return heads && section < heads->colCount() && heads->fixedRows() > 0
                       ? heads->cell(section, 0)
                       : QString();
        }
        return section < rows_ && grid_->fixedCols() > 0 ? text(0, section) : QString();
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid())
            return Qt::NoItemFlags;
        if (index.column() < grid_->fixedCols() || index.row() < grid_->fixedRows())
            return Qt::ItemIsEnabled;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editable_)
            f |= Qt::ItemIsEditable;
        return f;
    }

    const QString& text(int col, int row) const { return cells_[row * cols_ + col]; }
    void setText(int col, int row, const QString& t) {
        cells_[row * cols_ + col] = t;
        if (batch_ == 0) {
            const QModelIndex i = index(row, col);
            emit dataChanged(i, i, {Qt::DisplayRole});
        }
    }
    void clear() {
        for (QString& s : cells_)
            s.clear();
        if (batch_ == 0)
            allChanged();
    }
    void resize(int cols, int rows) {
        beginResetModel();
        QVector<QString> next(qsizetype(cols) * rows);
        for (int r = 0; r < qMin(rows, rows_); ++r)
            for (int c = 0; c < qMin(cols, cols_); ++c)
                next[r * cols + c] = cells_[r * cols_ + c];
        cells_ = std::move(next);
        cols_ = cols;
        rows_ = rows;
        endResetModel();
    }
    // Changes between beginBatch() and endBatch() are announced once, as one change of all.
    void beginBatch() { ++batch_; }
    void endBatch() {
        if (batch_ > 0 && --batch_ == 0)
            allChanged();
    }
    void setEditable(bool editable) { editable_ = editable; }

private:
    void allChanged() {
        if (rows_ <= 0 || cols_ <= 0)
            return;
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::DisplayRole});
        // A view tells assistive tools of a change to one cell only; a screen reader
        // would go on reading the cells it has seen.
        if (QAccessible::isActive()) {
            QAccessibleTableModelChangeEvent event(grid_,
                                                   QAccessibleTableModelChangeEvent::DataChanged);
            event.setFirstRow(0);
            event.setFirstColumn(0);
            event.setLastRow(rows_ - 1);
            event.setLastColumn(cols_ - 1);
            QAccessible::updateAccessibility(&event);
        }
    }

    StringGrid* grid_;
    int batch_ = 0;
    bool editable_ = false;
    int cols_ = 0;
    int rows_ = 0;
    QVector<QString> cells_;
};

// Opens a line editor on a cell; painting is done by the grid itself.
class StringGridDelegate : public QStyledItemDelegate {
public:
    explicit StringGridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setFont(grid_->font());
        const int col = index.column();
        const int row = index.row();
        connect(editor, &QLineEdit::textEdited, grid_, [this, col, row](const QString& text) {
            grid_->editorTextChanged(col, row, text);
        });
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* le = static_cast<QLineEdit*>(editor);
        const QString& t = grid_->model_->text(index.column(), index.row());
        if (le->text() != t)
            le->setText(t);
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        grid_->editorTextChanged(index.column(), index.row(),
                                 static_cast<QLineEdit*>(editor)->text());
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        editor->setGeometry(option.rect);
    }

private:
    StringGrid* grid_;
};

StringGrid::StringGrid(QWidget* parent) : QTableView(parent), model_(new StringGridModel(this)) {
    setModel(model_);
    setItemDelegate(new StringGridDelegate(this));
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->hide();
        h->setMinimumSectionSize(0);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setAutoScroll(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setGridStyle(Qt::SolidLine);
    applySectionSizes();
}

StringGrid::~StringGrid() = default;

int StringGrid::colCount() const {
    return model_->columnCount();
}
int StringGrid::rowCount() const {
    return model_->rowCount();
}

void StringGrid::setColCount(int cols) {
    const int c = currentCol();
    const int r = currentRow();
    model_->resize(cols, rowCount());
    colWidths_.resize(cols, defaultColWidth_);
    applySectionSizes();
    setCurrentCell(qMin(qMax(c, fixedCols_), cols - 1), qMax(r, fixedRows_));
}

void StringGrid::setRowCount(int rows) {
    const int c = currentCol();
    const int r = currentRow();
    model_->resize(colCount(), rows);
    applySectionSizes();
    setCurrentCell(qMax(c, fixedCols_), qMin(qMax(r, fixedRows_), rows - 1));
}

void StringGrid::setFixedCols(int cols) {
    fixedCols_ = cols;
    viewport()->update();
}

void StringGrid::setFixedRows(int rows) {
    fixedRows_ = rows;
    viewport()->update();
}

QString StringGrid::cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount() || row >= rowCount())
        return {};
    return model_->text(col, row);
}

void StringGrid::setCell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= colCount() || row >= rowCount())
        return;
    model_->setText(col, row, text);
    if (!focusFrames_.isEmpty())
        dropFramesTouching(cellRect(col, row));
}

void StringGrid::clearCells() {
    model_->clear();
    if (!focusFrames_.isEmpty()) {
        focusFrames_.clear();
        viewport()->update();
    }
}

void StringGrid::beginUpdate() {
    model_->beginBatch();
}

void StringGrid::endUpdate() {
    model_->endBatch();
}

void StringGrid::setDefaultColWidth(int width) {
    defaultColWidth_ = width;
    colWidths_.fill(width);
    applySectionSizes();
}

void StringGrid::setDefaultRowHeight(int height) {
    rowHeight_ = height;
    applySectionSizes();
}

void StringGrid::setColWidth(int col, int width) {
    if (col < 0 || col >= colWidths_.size())
        return;
    colWidths_[col] = width;
    horizontalHeader()->resizeSection(col, width + gridLineWidth_);
}

int StringGrid::colWidth(int col) const {
    return (col >= 0 && col < colWidths_.size()) ? colWidths_[col] : defaultColWidth_;
}

void StringGrid::setGridLineWidth(int width) {
    gridLineWidth_ = width == 1 ? 1 : 0;
    setShowGrid(gridLineWidth_ == 1);
    applySectionSizes();
}

void StringGrid::setEditable(bool editable) {
    model_->setEditable(editable);
    setEditTriggers(editable
                        ? (QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked)
                        : QAbstractItemView::NoEditTriggers);
}

void StringGrid::setCharColumn(int col, int charWidth) {
    charColumn_ = col;
    charWidth_ = charWidth;
    viewport()->update();
}

void StringGrid::applySectionSizes() {
    QHeaderView* h = horizontalHeader();
    h->setDefaultSectionSize(defaultColWidth_ + gridLineWidth_);
    for (int c = 0; c < colCount(); ++c)
        h->resizeSection(c, colWidth(c) + gridLineWidth_);
    QHeaderView* v = verticalHeader();
    v->setDefaultSectionSize(rowHeight_ + gridLineWidth_);
    for (int r = 0; r < rowCount(); ++r)
        v->resizeSection(r, rowHeight_ + gridLineWidth_);
}

QPoint StringGrid::mouseToCell(int x, int y) const {
    const QModelIndex i = indexAt(QPoint(x, y));
    if (!i.isValid())
        return {-1, -1};
    return {i.column(), i.row()};
}

QRect StringGrid::cellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount() || row >= rowCount())
        return {};
    return {columnViewportPosition(col), rowViewportPosition(row), colWidth(col), rowHeight_};
}

int StringGrid::currentCol() const {
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

int StringGrid::currentRow() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void StringGrid::setCurrentCell(int col, int row) {
    const QModelIndex i = model_->index(row, col);
    if (i.isValid())
        setCurrentIndex(i);
}

void StringGrid::toggleFocusFrame(const QRect& rect) {
    if (focusFrames_.removeOne(rect) == false)
        focusFrames_.append(rect);
    viewport()->update(rect.adjusted(-1, -1, 1, 1));
}

void StringGrid::dropFramesTouching(const QRect& rect) {
    for (qsizetype i = focusFrames_.size() - 1; i >= 0; --i) {
        if (focusFrames_[i].intersects(rect)) {
            viewport()->update(focusFrames_[i].adjusted(-1, -1, 1, 1));
            focusFrames_.removeAt(i);
        }
    }
}

void StringGrid::setSelectCellHook(std::function<bool(int, int)> hook) {
    selectCellHook_ = std::move(hook);
}

void StringGrid::setEditTextHook(std::function<void(int, int, const QString&)> hook) {
    editTextHook_ = std::move(hook);
}

bool StringGrid::canSelect(int col, int row) const {
    if (col < fixedCols_ || row < fixedRows_)
        return false;
    return !selectCellHook_ || selectCellHook_(col, row);
}

void StringGrid::editorTextChanged(int col, int row, const QString& text) {
    if (editTextHook_)
        editTextHook_(col, row, text);
    else
        setCell(col, row, text);
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const QModelIndex i = indexAt(p);
    // Only the left button chooses a cell; every button is still reported.
    if (event->button() != Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    else if (!i.isValid() || canSelect(i.column(), i.row()))
        QTableView::mousePressEvent(event);
    else
        setFocus(Qt::MouseFocusReason);
    emit mouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        QTableView::mouseReleaseEvent(event);
    const QPoint p = event->position().toPoint();
    emit mouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex i = indexAt(event->position().toPoint());
    if (!i.isValid() || canSelect(i.column(), i.row()))
        QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}

void StringGrid::setColumnHeadsFrom(const StringGrid* grid) {
    columnHeadsFrom_ = grid;
}

QModelIndex StringGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    // Home, Ctrl+Home and PageUp aim at the fixed column or row: they stop at the first
    // cell past it, as End, Ctrl+End and PageDown stop at the last.
    if (next.isValid() && (next.row() < fixedRows_ || next.column() < fixedCols_))
        next = model_->index(qMax(next.row(), fixedRows_), qMax(next.column(), fixedCols_));
    if (next.isValid() && next != currentIndex() && !canSelect(next.column(), next.row()))
        return currentIndex();
    return next;
}

void StringGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
    // The table took the focus: a screen reader goes on to its current cell, where the
    // arrow keys work. The table says it has the focus after this event, so the cell's
    // word comes once the table's is out.
    if (QAccessible::isActive())
        QMetaObject::invokeMethod(this, &StringGrid::announceCurrentCell, Qt::QueuedConnection);
}

void StringGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    // The current cell's frame goes with the focus.
    viewport()->update();
}

void StringGrid::keyboardSearch(const QString&) {}

namespace {

// Tells a screen reader of a change at one cell of the grid.
void UpdateCellAccessibility(QAbstractItemView* grid, const QModelIndex& index,
                             QAccessible::Event type) {
    QAccessibleInterface* table =
        index.isValid() ? QAccessible::queryAccessibleInterface(grid) : nullptr;
    QAccessibleInterface* cell = table && table->tableInterface()
                                     ? table->tableInterface()->cellAt(index.row(), index.column())
                                     : nullptr;
    if (!cell)
        return;
    QAccessibleEvent event(grid, type);
    event.setChild(table->indexOfChild(cell));
    QAccessible::updateAccessibility(&event);
}

} // namespace

void StringGrid::announceCurrentCell() {
    if (hasFocus())
        UpdateCellAccessibility(this, currentIndex(), QAccessible::Focus);
}

void StringGrid::describeCurrentCell(const QString& text) {
    describedCell_ = currentIndex();
    cellDescription_ = text;
    if (QAccessible::isActive())
        UpdateCellAccessibility(this, describedCell_, QAccessible::DescriptionChanged);
}

void StringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // A word said on a cell belongs to the moment; the cell does not keep it.
    if (current != describedCell_)
        describedCell_ = QPersistentModelIndex();
    // The table view says a cell took the focus whenever the current cell moves, even
    // while the focus is on another control: a screen reader would read that cell.
    if (hasFocus())
        QTableView::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Tab out of a cell editor moves on as Tab over a cell does, without opening the next
    // cell's editor: a screen reader hears that cell with its offset, as after an arrow
    // key, and the next key typed opens the editor.
    if (hint != QAbstractItemDelegate::EditNextItem &&
        hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    // The reader is back on the cell that was edited, and then moves on in its row.
    if (QAccessible::isActive() && hasFocus())
        UpdateCellAccessibility(this, currentIndex(), QAccessible::Focus);
    const QModelIndex next =
        moveCursor(hint == QAbstractItemDelegate::EditNextItem ? MoveNext : MovePrevious, {});
    if (next.isValid())
        setCurrentIndex(next);
}

void StringGrid::scrollTo(const QModelIndex&, ScrollHint) {
    // Every cell is always in view; the grid never scrolls.
}

const StringGrid::Glyph& StringGrid::glyph(char16_t ch) const {
    auto it = glyphs_.find(ch);
    if (it != glyphs_.end())
        return it.value();
    Glyph g;
    const QChar c(ch);
    quint32 index = 0;
    int count = 1;
    if (rawFont_.glyphIndexesForChars(&c, 1, &index, &count) && count == 1 && index != 0) {
        g.index = index;
        QPointF advance;
        rawFont_.advancesForGlyphIndexes(&index, &advance, 1);
        g.advance = advance.x();
    } else {
        g.advance = fontMetrics().horizontalAdvance(c);
    }
    return glyphs_.insert(ch, g).value();
}

void StringGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        rawFont_ = QRawFont::fromFont(font());
        glyphs_.clear();
    }
}

// The texts of one paint, gathered into glyph runs by the kind of their cell; characters
// the font lacks are drawn one by one as text.
struct StringGrid::TextRuns {
    QVector<quint32> indexes[3];
    QVector<QPointF> positions[3];
    QList<QPair<QPointF, QChar>> fallback[3];
    QColor colours[3];
    // From the top of a cell to the baseline of its text.
    int baseline = 0;
};

template <typename Visit> void StringGrid::forEachCellIn(const QRect& area, Visit visit) const {
    const int cols = colCount();
    const int rows = rowCount();
    for (int r = 0; r < rows; ++r) {
        const int y = rowViewportPosition(r);
        if (y > area.bottom() || y + rowHeight_ + gridLineWidth_ <= area.top())
            continue;
        for (int c = 0; c < cols; ++c) {
            const int x = columnViewportPosition(c);
            const int w = colWidth(c);
            if (x > area.right() || x + w + gridLineWidth_ <= area.left())
                continue;
            visit(c, r, QRect(x, y, w, rowHeight_));
        }
    }
}

StringGrid::CellKind StringGrid::cellKind(int col, int row, const QModelIndex& current) const {
    if (col < fixedCols_ || row < fixedRows_)
        return FixedCell;
    if (isEnabled() && current.isValid() && current.row() == row && current.column() == col)
        return CurrentCell;
    return NormalCell;
}

void StringGrid::paintEvent(QPaintEvent* event) {
    // Cells are painted here as glyph runs, one per colour, instead of one styled item
    // at a time: a 32 x 32 page paints in well under a millisecond.
    QPainter p(viewport());
    const QRect area = event->rect();
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    p.fillRect(area, palette().color(group, QPalette::Base));
    if (!rawFont_.isValid())
        rawFont_ = QRawFont::fromFont(font());
    paintCellBackgrounds(p, area, group);
    paintTexts(p, area, group);
    if (gridLineWidth_ == 1)
        paintGridLines(p);
    paintFocusFrames(p);
    paintCurrentCellFrame(p);
}

void StringGrid::paintCellBackgrounds(QPainter& p, const QRect& area,
                                      QPalette::ColorGroup group) const {
    const QColor fixed = palette().color(group, QPalette::Button);
    const QColor current = palette().color(QPalette::Active, QPalette::Highlight);
    const QModelIndex index = currentIndex();
    forEachCellIn(area, [&](int c, int r, const QRect& cellArea) {
        switch (cellKind(c, r, index)) {
        case FixedCell:
            p.fillRect(cellArea, fixed);
            break;
        case CurrentCell:
            p.fillRect(cellArea, current);
            break;
        case NormalCell:
            break;
        }
    });
}

void StringGrid::paintTexts(QPainter& p, const QRect& area, QPalette::ColorGroup group) const {
    const QPalette& pal = palette();
    TextRuns runs;
    runs.colours[NormalCell] = pal.color(group, QPalette::Text);
    runs.colours[FixedCell] = pal.color(group, QPalette::ButtonText);
    runs.colours[CurrentCell] = pal.color(QPalette::Active, QPalette::HighlightedText);
    const QFontMetrics fm(font());
    runs.baseline = (rowHeight_ - fm.height()) / 2 + fm.ascent();
    const QModelIndex current = currentIndex();
    forEachCellIn(area, [&](int c, int r, const QRect& cellArea) {
        const QString& text = model_->text(c, r);
        if (!text.isEmpty())
            addCellText(p, runs, cellKind(c, r, current), c == charColumn_, cellArea, text);
    });
    paintGlyphRuns(p, runs);
}

void StringGrid::addCellText(QPainter& p, TextRuns& runs, CellKind kind, bool fixedPitch,
                             const QRect& cellArea, const QString& text) const {
    const int x = cellArea.x();
    const int baseline = cellArea.y() + runs.baseline;
    qreal pen = x + 2;
    const qreal right = x + cellArea.width();
    if (!fixedPitch) {
        qreal width = 0;
        for (const QChar ch : text)
            width += glyph(ch.unicode()).advance;
        if (pen + width > right) {
            // Too long for its cell: drawn at once, clipped to the cell.
            p.save();
            p.setClipRect(cellArea);
            p.setPen(runs.colours[kind]);
            DrawLongText(p, x, right, baseline, text, width);
            p.restore();
            return;
        }
    }
    for (qsizetype i = 0; i < text.size() && pen < right; ++i) {
        const Glyph& g = glyph(text[i].unicode());
        const QPointF at(fixedPitch ? x + 2 + qreal(i) * charWidth_ : pen, baseline);
        if (g.index != 0) {
            runs.indexes[kind].append(g.index);
            runs.positions[kind].append(at);
        } else if (!text[i].isSpace()) {
            runs.fallback[kind].append({at, text[i]});
        }
        pen += g.advance;
    }
}

void StringGrid::paintGlyphRuns(QPainter& p, const TextRuns& runs) const {
    for (int k = 0; k < 3; ++k) {
        if (!runs.indexes[k].isEmpty()) {
            QGlyphRun run;
            run.setRawFont(rawFont_);
            run.setGlyphIndexes(runs.indexes[k]);
            run.setPositions(runs.positions[k]);
            p.setPen(runs.colours[k]);
            p.drawGlyphRun(QPointF(0, 0), run);
        }
        if (!runs.fallback[k].isEmpty()) {
            p.setPen(runs.colours[k]);
            for (const auto& [at, ch] : runs.fallback[k])
                p.drawText(at, QString(ch));
        }
    }
}

void StringGrid::paintGridLines(QPainter& p) const {
    const int cols = colCount();
    const int rows = rowCount();
    // The colour QTableView draws its grid in; without an option the style answers
    // with a transparent colour.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const auto gridColour = QColor::fromRgba(
        quint32(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    const int right = columnViewportPosition(cols - 1) + columnWidth(cols - 1) - 1;
    const int bottom = rowViewportPosition(rows - 1) + rowHeight(rows - 1) - 1;
    // One-pixel rectangles: filled spans cost a fraction of the rasterised lines.
    for (int c = 0; c < cols; ++c) {
        const int x = columnViewportPosition(c) + columnWidth(c) - 1;
        p.fillRect(QRect(x, 0, 1, bottom + 1), gridColour);
    }
    for (int r = 0; r < rows; ++r) {
        const int y = rowViewportPosition(r) + rowHeight(r) - 1;
        p.fillRect(QRect(0, y, right + 1, 1), gridColour);
    }
}

void StringGrid::paintCurrentCellFrame(QPainter& p) const {
    // The grid the keys go to shows it: a dotted frame inside its current cell that
    // inverts what lies under it, so it shows on the selection colour in every style.
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid() ||
        cellKind(current.column(), current.row(), current) != CurrentCell)
        return;
    PaintFocusFrame(p, cellRect(current.column(), current.row()).adjusted(1, 1, -1, -1));
}

void StringGrid::paintFocusFrames(QPainter& p) const {
    if (focusFrames_.isEmpty())
        return;
    QPen pen(palette().color(QPalette::Text));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (const QRect& r : focusFrames_)
        p.drawRect(r.adjusted(0, 0, -1, -1));
}

} // namespace zirpel
