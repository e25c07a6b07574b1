// A grid of text cells with fixed leading columns and rows, per-column widths, one row
// height and grid lines of width 0 or 1, drawn by a lean delegate of its own.
// Setting many cells between beginUpdate() and endUpdate() costs one repaint.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QRawFont>
#include <QTableView>
#include <QVector>
#include <functional>

class QPainter;

namespace zirpel {

class StringGridModel;

class StringGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);
    ~StringGrid() override;

    [[nodiscard]] int colCount() const;
    [[nodiscard]] int rowCount() const;
    void setColCount(int cols);
    void setRowCount(int rows);
    void setFixedCols(int cols);
    void setFixedRows(int rows);
    [[nodiscard]] int fixedCols() const { return fixedCols_; }
    [[nodiscard]] int fixedRows() const { return fixedRows_; }

    [[nodiscard]] QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    // Empties every cell.
    void clearCells();
    void beginUpdate();
    void endUpdate();

    void setDefaultColWidth(int width);
    void setDefaultRowHeight(int height);
    void setColWidth(int col, int width);
    [[nodiscard]] int colWidth(int col) const;
    void setGridLineWidth(int width);
    [[nodiscard]] int gridLineWidth() const { return gridLineWidth_; }

    // Cells can be typed into (a line editor per cell).
    void setEditable(bool editable);
    // The column whose text is drawn one character every charWidth pixels.
    void setCharColumn(int col, int charWidth);

    // The cell under a point of the drawing surface (the viewport); column -1 outside.
    [[nodiscard]] QPoint mouseToCell(int x, int y) const;
    // The cell's rectangle on the drawing surface, without its grid line.
    [[nodiscard]] QRect cellRect(int col, int row) const;

    [[nodiscard]] int currentCol() const;
    [[nodiscard]] int currentRow() const;
    void setCurrentCell(int col, int row);

    // The rules of a grid whose cells are chosen and typed into. Without a hook every cell
    // past the fixed ones can become the current cell, and a cell keeps what its editor
    // holds.
    // Whether a cell may become the current cell.
    void setSelectCellHook(std::function<bool(int col, int row)> hook);
    // Takes the whole text of a cell's open editor at each change and as the editor
    // closes; the hook decides what the cells keep and sets them.
    void setEditTextHook(std::function<void(int col, int row, const QString& text)> hook);

    // The grid whose header row heads this grid's columns for a screen reader, where this
    // grid has no header row of its own.
    void setColumnHeadsFrom(const StringGrid* grid);

    // Tells a screen reader `text` on the current cell, as that cell's description, until
    // another cell becomes the current one.
    void describeCurrentCell(const QString& text);

    // The removable dotted marker: drawing the same rectangle again removes it, and
    // setting the text of a cell it touches removes it too.
    void toggleFocusFrame(const QRect& rect);
    [[nodiscard]] const QList<QRect>& focusFrames() const { return focusFrames_; }

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void dblClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Typed letters and digits never move the current cell.
    void keyboardSearch(const QString& search) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class StringGridDelegate;
    friend class StringGridModel;
    struct Glyph {
        quint32 index = 0; // 0: the font lacks it, drawn as text
        qreal advance = 0;
    };
    [[nodiscard]] const Glyph& glyph(char16_t ch) const;
    // A paint draws the cell backgrounds, the texts, the grid lines and the focus frames,
    // in this order; the cell's kind chooses its colours.
    enum CellKind { NormalCell, FixedCell, CurrentCell };
    struct TextRuns;
    template <typename Visit> void forEachCellIn(const QRect& area, Visit visit) const;
    [[nodiscard]] CellKind cellKind(int col, int row, const QModelIndex& current) const;
    void paintCellBackgrounds(QPainter& p, const QRect& area, QPalette::ColorGroup group) const;
    void paintTexts(QPainter& p, const QRect& area, QPalette::ColorGroup group) const;
    void addCellText(QPainter& p, TextRuns& runs, CellKind kind, bool fixedPitch,
                     const QRect& cellArea, const QString& text) const;
    void paintGlyphRuns(QPainter& p, const TextRuns& runs) const;
    void paintGridLines(QPainter& p) const;
    void paintFocusFrames(QPainter& p) const;
    void paintCurrentCellFrame(QPainter& p) const;
    [[nodiscard]] bool canSelect(int col, int row) const;
    void applySectionSizes();
    void dropFramesTouching(const QRect& rect);
    void announceCurrentCell();
    void editorTextChanged(int col, int row, const QString& text);

    StringGridModel* model_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int rowHeight_ = 16;
    int gridLineWidth_ = 1;
    int charColumn_ = -1;
    int charWidth_ = 7;
    QVector<int> colWidths_;
    QList<QRect> focusFrames_;
    QPointer<const StringGrid> columnHeadsFrom_;
    QPersistentModelIndex describedCell_;
    QString cellDescription_;
    std::function<bool(int, int)> selectCellHook_;
    std::function<void(int, int, const QString&)> editTextHook_;
    mutable QRawFont rawFont_;
    mutable QHash<char16_t, Glyph> glyphs_;
};

} // namespace zirpel
