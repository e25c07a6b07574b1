// The page bytes as table cells: addresses, hex bytes and the text column.
#include "core/text/ByteText.h"
#include "widgets/FrmhexForm.h"
#include "widgets/StringGrid.h"
#include "window/Frmhex.h"

#include <QScrollBar>
#include <algorithm>

namespace zirpel {

void TFrmHexEditor::RenderPage() {
    StringGrid* grid = ui->HexGrid;
    // The layout keeps the shape within the grid and the buffer; the bounds only guard
    // against a page shape that was never laid out.
    const int rows = std::clamp(Rows, 0, std::min(kMaxPageShape, grid->rowCount() - 1));
    const int cols =
        std::clamp(Columns, 0, std::min(kMaxPageShape, grid->colCount() - kGridOtherColumns));
    const bool decimal = DecimalAddresses != 0;
    qint64 address = PageOffset;
    grid->beginUpdate();
    for (int k = 0; k < rows; ++k) {
        grid->setCell(0, k + 1, AddressText(address, decimal));
        for (int i = 0; i < cols; ++i) {
            const quint8 b = PageBuffer[k * cols + i];
            grid->setCell(i + 1, k + 1, ByteText(b));
            TextLineBuffer[i] = b < 0x20 ? '.' : char(b);
        }
        TextLineBuffer[cols] = '\0';
        grid->setCell(TextColumn(cols), k + 1, Cp1252Text(TextLineBuffer.data(), cols));
        address += cols;
    }
    grid->endUpdate();
    // The scroll bar's position, as a screen reader hears it: in the base of the addresses.
    const QString position = AddressText(ui->ScrollBarVertikal->value(), decimal).trimmed();
    if (ui->ScrollBarVertikal->accessibleDescription() != position)
        ui->ScrollBarVertikal->setAccessibleDescription(position);
}

} // namespace zirpel
