// Writing the edit row into the file.
#include "app/Frmhex.h"

void TFrmHexEditor::BtnEditGridUebernehmenClick() {}
void TFrmHexEditor::BtnEditGridCancelClick() {}
