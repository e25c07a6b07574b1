// The search panel's working states; every change of its buttons goes through here.
#include "widgets/FrmhexForm.h"
#include "widgets/HitListView.h"
#include "window/Frmhex.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace zirpel {

void TFrmHexEditor::ShowSearchPhase(bool enableEntries) {
    const bool listed = search_.phase() == SearchState::Phase::Listed;
    if (listed) {
        // The list says how many hits it holds. A control about to be disabled hands the
        // focus to it first, so a screen reader hears of no control in between.
        ui->ListBoxTreffer->setAccessibleDescription(ui->LblTreffer->text());
        QWidget* focus = focusWidget();
        if (focus == ui->BtnSuchen || focus == ui->ComboBoxSuchen ||
            focus == ui->ComboBoxErsetzen ||
            (focus == ui->BtnErsetzen && ui->ComboBoxErsetzen->currentText().isEmpty()))
            ui->ListBoxTreffer->setFocus(Qt::OtherFocusReason);
    }
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
