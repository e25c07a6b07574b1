// Writing the edit row into the file, and abandoning it.
#include "app/Frmhex.h"
#include "edit/EditCell.h"
#include "platform/Dialogs.h"
#include "platform/WriteInPlace.h"
#include "ui/FrmhexForm.h"
#include "ui/StringGrid.h"

#include <algorithm>
#include <array>

void TFrmHexEditor::BtnEditGridUebernehmenClick() {
    if (!DataFile.isOpen())
        return;
    const StringGrid* edit = ui->HexEditGrid;
    // The address cell alone says where the row belongs, whatever page is shown now.
    const qint32 offset = AddressTextToOffset(edit->cell(0, 0));
    std::array<quint8, 32> row{};
    const int count = std::clamp(Columns, 0, int(row.size()));
    for (int i = 0; i < count; ++i)
        row[i] = zirpel::ByteCellValue(edit->cell(i + 1, 0));
    // Cells past the file's end go in only up to the last one typed into.
    const bool written =
        zirpel::WriteInPlace(FileName, dataFileIdentity_, offset, {row.data(), std::size_t(count)},
                             zirpel::Growth::Typed, editTypedEnd_);
    // The page is shown as the file now is, whether the write went through or not.
    ShowPage();
    if (!written) {
        // The row stays loaded and enabled, so the user can try again.
        platform_.dialogs.appMessage(QStringLiteral("Die Datei kann nicht geschrieben werden."));
        return;
    }
    DisableEditRow();
}

void TFrmHexEditor::BtnEditGridCancelClick() {
    DisableEditRow();
}
