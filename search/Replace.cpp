// Replacing the bytes at the selected hit.
#include "app/Frmhex.h"

void TFrmHexEditor::BtnErsetzenClick() {}
