// Writing the edit row into the file, and abandoning it.
#include "core/system/Dialogs.h"
#include "window/Frmhex.h"
#include "window/Messages.h"

namespace zirpel {

void TFrmHexEditor::BtnEditGridUebernehmenClick() {
    if (!editRow_.isEnabled())
        return;
    // The row's typed cells go to its own address, whatever page is shown now; no other
    // byte of the file is written.
    const EditRowState::Result result = editRow_.write(FileName, dataFileIdentity_);
    // After a refusal the row stays loaded and enabled, so the user can try again.
    if (result == EditRowState::Result::BehindEnd) {
        platform_.dialogs.appMessage(QStringLiteral("Die Zeile beginnt hinter dem Dateiende."));
        // The file was cut: a page that now comes up short has been told by this message.
        pageReadFailed_ = true;
    } else if (result != EditRowState::Result::Ok) {
        platform_.dialogs.appMessage(
            CannotWriteMessage(result != EditRowState::Result::NotRestored));
    } else {
        DisableEditRow();
    }
    // The page is shown as the file now is, whether the write went through or not.
    ShowPage();
}

void TFrmHexEditor::BtnEditGridCancelClick() {
    DisableEditRow();
}

} // namespace zirpel
