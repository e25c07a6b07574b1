// Moving the page to the selected hit.
#include "app/Frmhex.h"
#include "ui/FrmhexForm.h"
#include "ui/HitListView.h"

#include <QScrollBar>
#include <algorithm>

namespace zirpel {

void TFrmHexEditor::ListBoxTrefferClick() {
    const int row = ui->ListBoxTreffer->currentRow();
    if (search_.hits().count() == 0 || row < 0)
        return;
    PageOffset = AddressTextToOffset(search_.hits().text(row));
    // Moving the thumb runs the scroll handler, which keeps the page inside the file.
    ui->ScrollBarVertikal->setValue(PageOffset);
    // The thumb may already have stood there; the page still must not run past the end.
    const qint32 last = std::max(0, FileSize - PageSize);
    if (PageOffset > last) {
        PageOffset = last;
        ui->ScrollBarVertikal->setValue(PageOffset);
    }
    ShowPage();
}

} // namespace zirpel
