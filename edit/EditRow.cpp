// The edit row: which cells can be selected and how a typed byte cell is normalised.
#include "app/Frmhex.h"

void TFrmHexEditor::HexEditGridSelectCell(int, int, bool&) {}
void TFrmHexEditor::HexEditGridSetEditText(int, int, const QString&) {}
