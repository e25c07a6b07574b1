// Address texts and the search and replacement patterns.
#include "app/Frmhex.h"

qint32 TFrmHexEditor::AddressTextToOffset(const QString&) const { return 0; }
int TFrmHexEditor::ParseSearchPattern() { return -1; }
int TFrmHexEditor::ParseReplacePattern() { return -1; }
void TFrmHexEditor::ComboBoxSuchenExit() {}
void TFrmHexEditor::ComboBoxErsetzenExit() {}
