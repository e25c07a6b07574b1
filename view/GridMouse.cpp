// The mouse on the table: the character frame and loading a row into the edit grid.
#include "app/Frmhex.h"

void TFrmHexEditor::HexGridMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TFrmHexEditor::HexGridMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TFrmHexEditor::HexGridDblClick() {}
