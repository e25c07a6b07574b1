// The search panel's working states; every change of its buttons and list goes through here.
#include "app/Frmhex.h"
#include "search/HitListModel.h"
#include "ui/FrmhexForm.h"

#include <QComboBox>
#include <QPushButton>

void TFrmHexEditor::SetSearchPanelState(SearchPanelState state, bool enableEntries) {
    const bool listed = state == SearchPanelState::Listed;
    if (!listed)
        DropHits();
    ui->BtnSuchen->setEnabled(!listed);
    ui->BtnNeueSuche->setEnabled(listed);
    ui->BtnErsetzen->setEnabled(listed && !ui->ComboBoxErsetzen->currentText().isEmpty());
    // The texts cannot change while their hits are shown.
    if (listed || enableEntries) {
        ui->ComboBoxSuchen->setEnabled(!listed);
        ui->ComboBoxErsetzen->setEnabled(!listed);
    }
}

void TFrmHexEditor::DropHits() {
    hits_->clear();
}
