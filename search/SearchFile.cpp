// The search over the whole file, the hit list and the panel's buttons.
#include "app/Frmhex.h"
#include "platform/BinaryFile.h"
#include "platform/HelpViewer.h"
#include "search/HitListModel.h"
#include "search/HitScanner.h"
#include "ui/FrmhexForm.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

void TFrmHexEditor::BtnSuchenClick() {
    if (!DataFile.isOpen() || ui->ComboBoxSuchen->currentText().isEmpty())
        return;
    if (ParseSearchPattern() != 0)
        return;
    DropHits();
    SearchFile();
    ui->LblTreffer->setText(QString::number(hits_->count()) + QStringLiteral(" Treffer"));
    ui->LblTreffer->adjustSize();
    if (hits_->count() == 0) {
        SetSearchPanelState(SearchPanelState::Ready, true);
        return;
    }
    SetSearchPanelState(SearchPanelState::Listed);
}

qint32 TFrmHexEditor::SearchFile() {
    // A stream of its own: the page's stream keeps its position.
    BinaryFile file;
    if (!file.open(FileName, BinaryFile::Mode::Read))
        return 0;
    std::vector<qint32> hits = zirpel::ScanHits(
        std::span<const quint8>(SearchPattern.data(), std::size_t(SearchPatternLength)), file);
    file.close();
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
