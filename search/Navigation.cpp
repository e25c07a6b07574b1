// Moving the page to the selected hit.
#include "app/Frmhex.h"
#include "search/HitListModel.h"
#include "ui/FrmhexForm.h"
#include "ui/HitListView.h"

#include <QScrollBar>
#include <algorithm>

void TFrmHexEditor::ListBoxTrefferClick() {
    if (!DataFile.isOpen() || hits_->count() == 0)
        return;
    const int row = ui->ListBoxTreffer->currentRow();
    if (row < 0)
        return;
    PageOffset = AddressTextToOffset(hits_->text(row));
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
