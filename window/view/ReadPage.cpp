// Reading the page from the open file, and showing it.
#include "core/system/Dialogs.h"
#include "window/Frmhex.h"
#include "window/Messages.h"

#include <algorithm>

namespace zirpel {

void TFrmHexEditor::ReadPage() {
    PageBuffer.fill(0);
    pageBytesRead_ = 0;
    if (!HasFile())
        return;
    const qint32 wanted = std::clamp(PageSize, 0, kMaxPageSize);
    // A failed seek or a short read leaves zeros; the seek also drops what the stream
    // had buffered, so bytes written through another stream show.
    if (DataFile.seek(PageOffset))
        pageBytesRead_ = qint32(DataFile.read(PageBuffer.data(), std::size_t(wanted)));
    // Zeros in place of bytes the file had at the open are shown, and a row holding them
    // is never loaded to be written back. Said once for a run of failed reads: every
    // click and scroll reads the page again.
    const bool failed = pageBytesRead_ < CurrentPage().bytesInFile(FileSize);
    if (failed && !pageReadFailed_)
        platform_.dialogs.appMessage(CannotReadMessage());
    pageReadFailed_ = failed;
}

void TFrmHexEditor::ShowPage() {
    ReadPage();
    RenderPage();
}

} // namespace zirpel
