// The search over the whole file and its count, "Neue Suche" and the reset of the panel,
// and the panel's help button.
#include "core/system/Dialogs.h"
#include "core/system/HelpViewer.h"
#include "widgets/FrmhexForm.h"
#include "widgets/HitListView.h"
#include "window/Frmhex.h"
#include "window/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

namespace zirpel {

void TFrmHexEditor::BtnSuchenClick() {
    if (ui->ComboBoxSuchen->currentText().isEmpty() || ParseSearchPattern() != 0)
        return;
    {
        // The search blocks the window; the pointer says so until it ends, however it ends.
        struct WaitCursor {
            WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
            ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
        } waitCursor;
        SearchFile();
    }
    ui->LblTreffer->setText(QString::number(search_.hits().count()) + QStringLiteral(" Treffer"));
    ui->LblTreffer->adjustSize();
    ShowSearchPhase(true);
    // The user goes on in the list, which says the count; without hits the control with
    // the focus says it. No entry is selected, so the page stays.
    if (search_.phase() == SearchState::Phase::Listed)
        ui->ListBoxTreffer->setFocus(Qt::OtherFocusReason);
    else
        Announce(ui->LblTreffer->text());
    // The list holds the hits before the first byte that could not be read.
    if (search_.readFailed())
        platform_.dialogs.appMessage(CannotReadMessage());
}

void TFrmHexEditor::SearchFile() {
    // The shown file itself, whatever has become of its name since; it is read at
    // explicit offsets, so the page's stream keeps its position.
    search_.search(DataFile, FileSize, !ui->ToolButtonHexDez->isChecked());
}

void TFrmHexEditor::BtnNeueSucheClick() {
    ResetSearchPanel();
}

void TFrmHexEditor::ResetSearchPanel(SearchReset how) {
    const bool counted = search_.searched();
    search_.reset();
    ui->ListBoxTreffer->setAccessibleDescription(QString());
    announcer_.clear();
    if (how == SearchReset::PanelShown) {
        ui->RadioGrpBasisHex->setChecked(true);
        ShowSearchPhase();
        return;
    }
    ShowSearchPhase(true);
    // A count goes, and a screen reader hears that it went; the label's first caption
    // stays until a search.
    if (counted) {
        ui->LblTreffer->setText(QString());
        ui->LblTreffer->adjustSize();
        Announce(QStringLiteral("Neue Suche"));
    }
}

void TFrmHexEditor::BtnHilfeClick() {
    platform_.help.showContext(500);
}

} // namespace zirpel
