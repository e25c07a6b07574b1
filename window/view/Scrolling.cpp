// Moving the page with the scroll bar.
#include "core/view/Page.h"
#include "widgets/FrmhexForm.h"
#include "window/Frmhex.h"

#include <QScrollBar>

namespace zirpel {

void TFrmHexEditor::ScrollBarVertikalChange() {
    PageOffset = CurrentPage().clamp(ui->ScrollBarVertikal->value(), FileSize);
    // Moving the thumb back runs this handler once more, nested, with nothing to clamp.
    ui->ScrollBarVertikal->setValue(PageOffset);
    // Once the page is inside the file again, a maximum kept up for a page that grew on
    // the last page goes back down.
    ui->ScrollBarVertikal->setMaximum(CurrentPage().scrollMaximum(FileSize));
    ShowPage();
}

} // namespace zirpel
