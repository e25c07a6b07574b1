// Moving the page with the scroll bar.
#include "app/Frmhex.h"
#include "ui/FrmhexForm.h"

#include <QScrollBar>

void TFrmHexEditor::ScrollBarVertikalChange() {
    const qint32 limit = FileSize - PageSize;
    PageOffset = ui->ScrollBarVertikal->value();
    if (PageOffset > limit)
        PageOffset = limit < 0 ? 0 : limit;
    // Moving the thumb back runs this handler once more, nested, with nothing to clamp.
    ui->ScrollBarVertikal->setValue(PageOffset);
    ShowPage();
}
