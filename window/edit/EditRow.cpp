// The edit row: which of its cells can be selected, and what a typed byte cell becomes.
#include "widgets/FrmhexForm.h"
#include "widgets/StringGrid.h"
#include "window/Frmhex.h"

namespace zirpel {

bool TFrmHexEditor::HexEditGridSelectCell(int col, int) const {
    return IsByteColumn(col, Columns);
}

void TFrmHexEditor::HexEditGridSetEditText(int col, int, const QString& value) {
    // Only byte cells can be current; an editor on any other cell changes nothing, and
    // neither does one on a disabled row.
    const QString before = editRow_.cell(col - 1);
    if (!editRow_.editText(col - 1, value))
        return;
    const QString kept = editRow_.cell(col - 1);
    ui->HexEditGrid->setCell(col, 0, kept);
    ui->HexEditGrid->setCell(TextColumn(Columns), 0, editRow_.text());
    // The user hears the byte the cell keeps, once it is whole or other than the keys
    // typed (a reader echoes the keys themselves).
    if (kept != before && (kept.size() == 2 || kept != value))
        Announce(kept);
}

} // namespace zirpel
