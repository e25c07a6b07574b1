// Moving the page to the selected hit.
#include "widgets/FrmhexForm.h"
#include "widgets/HitListView.h"
#include "widgets/StringGrid.h"
#include "window/Frmhex.h"

#include <QScrollBar>

namespace zirpel {

void TFrmHexEditor::ListBoxTrefferClick() {
    const int row = ui->ListBoxTreffer->currentRow();
    if (search_.hits().count() == 0 || row < 0)
        return;
    PageOffset = AddressTextToOffset(search_.hits().text(row));
    // Moving the thumb runs the scroll handler, which keeps the page inside the file.
    ui->ScrollBarVertikal->setValue(PageOffset);
    // The thumb may already have stood there; the page still must not run past the end.
    const qint32 inside = CurrentPage().clamp(PageOffset, FileSize);
    if (inside != PageOffset) {
        PageOffset = inside;
        ui->ScrollBarVertikal->setValue(PageOffset);
    }
    ShowPage();
    MakeTableCurrentAt(AddressTextToOffset(search_.hits().text(row)));
}

void TFrmHexEditor::MakeTableCurrentAt(qint32 offset) {
    const qint64 inPage = qint64(offset) - PageOffset;
    if (Columns <= 0 || inPage < 0 || inPage >= qint64(Rows) * Columns)
        return;
    ui->HexGrid->setCurrentCell(1 + int(inPage % Columns), 1 + int(inPage / Columns));
}

} // namespace zirpel
