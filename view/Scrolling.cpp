// Moving the page with the scroll bar.
#include "app/Frmhex.h"
#include "ui/FrmhexForm.h"
#include "view/Geometry.h"

#include <QScrollBar>

namespace zirpel {

void TFrmHexEditor::ScrollBarVertikalChange() {
    const qint32 limit = FileSize - PageSize;
    PageOffset = ui->ScrollBarVertikal->value();
    if (PageOffset > limit)
        PageOffset = limit < 0 ? 0 : limit;
    // Moving the thumb back runs this handler once more, nested, with nothing to clamp.
    ui->ScrollBarVertikal->setValue(PageOffset);
    // Once the page is inside the file again, a maximum kept up for a page that grew on
    // the last page goes back down.
    ui->ScrollBarVertikal->setMaximum(ScrollMaximum(FileSize, PageSize, PageOffset));
    ShowPage();
}

} // namespace zirpel
