// The search over the whole file and the hit list.
#include "app/Frmhex.h"

void TFrmHexEditor::BtnSuchenClick() {}
qint32 TFrmHexEditor::SearchFile() { return 0; }
void TFrmHexEditor::BtnNeueSucheClick() {}
void TFrmHexEditor::BtnHilfeClick() {}
