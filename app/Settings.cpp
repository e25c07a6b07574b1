// Settings read at start-up and written at close.
#include "app/Frmhex.h"

void TFrmHexEditor::LoadSettings() {
    for (QString& slot : RecentFiles)
        slot.clear();
    centreOnFirstShow_ = true;
    Rows = 16;
    Columns = 16;
}

void TFrmHexEditor::SaveSettings() {}
