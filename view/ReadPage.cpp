// Reading the page from the open file, and showing it.
#include "app/Frmhex.h"

#include <algorithm>

void TFrmHexEditor::ReadPage() {
    PageBuffer.fill(0);
    if (!DataFile.isOpen())
        return;
    // A failed seek or a short read leaves zeros; the seek also drops what the stream
    // had buffered, so bytes written through another stream show.
    if (DataFile.seek(PageOffset))
        DataFile.read(PageBuffer.data(), std::size_t(std::clamp(PageSize, 0, 1024)));
}

void TFrmHexEditor::ShowPage() {
    ReadPage();
    RenderPage();
}
