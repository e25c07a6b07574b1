// The search over the whole file, the hit list and the panel's buttons.
#include "app/Frmhex.h"
#include "platform/BinaryFile.h"
#include "platform/HelpViewer.h"
#include "search/HitListModel.h"
#include "search/HitScanner.h"
#include "ui/FrmhexForm.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

void TFrmHexEditor::BtnSuchenClick() {
    if (!DataFile.isOpen() || ui->ComboBoxSuchen->currentText().isEmpty())
        return;
    if (ParseSearchPattern() != 0)
        return;
    DropHits();
    {
        // The search blocks the window; the pointer says so until it ends, however it ends.
        struct WaitCursor {
            WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
            ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
        } waitCursor;
        SearchFile();
    }
    ui->LblTreffer->setText(QString::number(hits_->count()) + QStringLiteral(" Treffer"));
    ui->LblTreffer->adjustSize();
    if (hits_->count() == 0) {
        SetSearchPanelState(SearchPanelState::Ready, true);
        return;
    }
    SetSearchPanelState(SearchPanelState::Listed);
}

qint32 TFrmHexEditor::SearchFile() {
    // The shown file itself, whatever has become of its name since; it is read at
    // explicit offsets, so the page's stream keeps its position.
    zirpel::HitStore hits;
    zirpel::ScanHits(
        std::span<const quint8>(SearchPattern.data(), std::size_t(SearchPatternLength)), DataFile,
        hits);
    hits_->setHits(std::move(hits), !ui->ToolButtonHexDez->isChecked());
    return hits_->count();
}

void TFrmHexEditor::BtnNeueSucheClick() {
    if (!DataFile.isOpen())
        return;
    SetSearchPanelState(SearchPanelState::Ready, true);
    ui->LblTreffer->setText(QString());
    ui->LblTreffer->adjustSize();
}

void TFrmHexEditor::BtnHilfeClick() {
    if (DataFile.isOpen())
        platform_.help.showContext(500);
}
