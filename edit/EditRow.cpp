// The edit row: which of its cells can be selected, and what a typed byte cell becomes.
#include "app/Frmhex.h"
#include "edit/EditCell.h"
#include "ui/FrmhexForm.h"
#include "ui/StringGrid.h"

#include <algorithm>

void TFrmHexEditor::HexEditGridSelectCell(int col, int, bool& canSelect) {
    canSelect = col <= Columns;
}

void TFrmHexEditor::HexEditGridSetEditText(int col, int row, const QString& value) {
    // Only byte cells can be current; an editor on any other cell changes nothing.
    if (col < 1 || col > Columns)
        return;
    StringGrid* edit = ui->HexEditGrid;
    editTypedEnd_ = std::max(editTypedEnd_, col);
    const QString cell = zirpel::NormaliseByteCell(value);
    edit->setCell(col, row, cell);
    const int textCol = Columns + 2;
    edit->setCell(textCol, 0,
                  zirpel::ReplaceTextChar(edit->cell(textCol, 0), col,
                                          zirpel::EditTextChar(zirpel::ByteCellValue(cell))));
}
