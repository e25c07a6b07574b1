// The mouse on the table: the frame around the character of a pressed byte, and
// loading a row into the edit grid by a double click.
#include "widgets/FrmhexForm.h"
#include "widgets/StringGrid.h"
#include "window/Frmhex.h"

#include <QPushButton>
#include <algorithm>

namespace zirpel {

namespace {

// The frame around character index of a text cell. The grid draws character i at
// 2 + i * charWidth pixels from the cell's left edge, so the frame, charWidth + 2 wide,
// leaves one pixel to spare on each side.
TRect CharFrame(const QRect& textCell, int index, int charWidth) {
    TRect r{textCell.left(), textCell.top(), textCell.left() + textCell.width(),
            textCell.top() + textCell.height()};
    r.Left += index * charWidth + 1;
    r.Right = r.Left + charWidth + 2;
    return r;
}

QRect ToQRect(const TRect& r) {
    return {r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top};
}

} // namespace

void TFrmHexEditor::HexGridMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    StringGrid* grid = ui->HexGrid;
    const QPoint cell = grid->mouseToCell(x, y);
    if (!IsByteColumn(cell.x(), Columns))
        return;
    // On a header label this is the header row's text cell.
    CharFocusRect =
        CharFrame(grid->cellRect(TextColumn(Columns), cell.y()), cell.x() - 1, CharWidth);
    grid->toggleFocusFrame(ToQRect(CharFocusRect));
}

void TFrmHexEditor::HexGridMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    StringGrid* grid = ui->HexGrid;
    const QPoint cell = grid->mouseToCell(x, y);
    // Released elsewhere, the frame of the press stays until its cell is set again.
    if (!IsByteColumn(cell.x(), Columns))
        return;
    // Over the pressed cell this removes the frame of the press.
    grid->toggleFocusFrame(
        ToQRect(CharFrame(grid->cellRect(TextColumn(Columns), cell.y()), cell.x() - 1, CharWidth)));
    RenderPage();
}

void TFrmHexEditor::HexGridDblClick() {
    const StringGrid* grid = ui->HexGrid;
    const int row = grid->currentRow();
    if (row < grid->fixedRows())
        return;
    // A row whose bytes inside the file were not all read shows zeros that are not in
    // the file; written back, they would overwrite real data.
    const qint32 rowStart = (row - grid->fixedRows()) * Columns;
    const qint32 rowEnd = std::min(rowStart + Columns, FileSize - PageOffset);
    if (rowEnd > rowStart && pageBytesRead_ < rowEnd)
        return;
    StringGrid* edit = ui->HexEditGrid;
    // A hidden panel is not shaped by the layout; the row must still fit whole.
    if (edit->colCount() != GridColumns(Columns))
        edit->setColCount(GridColumns(Columns));
    edit->beginUpdate();
    QStringList bytes;
    for (int c = 0; c <= TextColumn(Columns); ++c) {
        edit->setCell(c, 0, grid->cell(c, row));
        if (IsByteColumn(c, Columns))
            bytes << grid->cell(c, row);
    }
    edit->endUpdate();
    editRow_.load(PageOffset + rowStart, bytes, grid->cell(TextColumn(Columns), row));
    // A reshaped grid may have left its current cell on the spacer or the text cell,
    // where a typed key would open an editor.
    if (!IsByteColumn(edit->currentCol(), Columns))
        edit->setCurrentCell(1, 0);
    edit->setEnabled(true);
    ui->BtnEditGridUebernehmen->setEnabled(true);
    ui->BtnEditGridCancel->setEnabled(true);
    // The row is loaded to be changed: the keys go on at its first byte, and the user
    // hears which row it was (its texts may be those shown before). Into a hidden panel
    // it is loaded unseen, and the focus stays in the table: nothing to hear.
    if (EditPanelVisible == 1) {
        edit->setCurrentCell(1, 0);
        edit->setFocus(Qt::OtherFocusReason);
        Announce(ui->HexEditGrid->accessibleName() + QLatin1Char(' ') + edit->cell(0, 0).trimmed());
    }
}

} // namespace zirpel
