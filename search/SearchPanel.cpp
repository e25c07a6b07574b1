// The search panel's working states; every change of its buttons goes through here.
#include "app/Frmhex.h"
#include "ui/FrmhexForm.h"

#include <QComboBox>
#include <QPushButton>

namespace zirpel {

void TFrmHexEditor::ShowSearchPhase(bool enableEntries) {
    const bool listed = search_.phase() == SearchState::Phase::Listed;
    ui->BtnSuchen->setEnabled(!listed);
    ui->BtnNeueSuche->setEnabled(listed);
    ui->BtnErsetzen->setEnabled(listed && !ui->ComboBoxErsetzen->currentText().isEmpty());
    // The texts cannot change while their hits are shown.
    if (listed || enableEntries) {
        ui->ComboBoxSuchen->setEnabled(!listed);
        ui->ComboBoxErsetzen->setEnabled(!listed);
    }
}

} // namespace zirpel
