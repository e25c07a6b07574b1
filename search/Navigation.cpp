// Moving the page to the selected hit.
#include "app/Frmhex.h"

void TFrmHexEditor::ListBoxTrefferClick() {}
