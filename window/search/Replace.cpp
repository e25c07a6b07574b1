// Replacing the bytes at the selected hit, after the user has confirmed it.
#include "core/system/Dialogs.h"
#include "widgets/FrmhexForm.h"
#include "widgets/HitListView.h"
#include "window/Frmhex.h"
#include "window/Messages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace zirpel {

namespace {

QString ReplaceMessage(SearchState::ReplaceCheck check) {
    using Check = SearchState::ReplaceCheck;
    switch (check) {
    case Check::LengthsDiffer:
        return QStringLiteral(
            "Die Längen von <Suchen nach> und <Ersetzen durch> sind nicht identisch.");
    case Check::NoSelection:
        return QStringLiteral("Sie haben in der Liste keine Adresse ausgewählt.");
    case Check::PastEnd:
        return QStringLiteral(
            "Die Zeichenfolge <Ersetzen durch> reicht über das Dateiende hinaus.");
    case Check::Ok:
        break;
    }
    return {};
}

} // namespace

void TFrmHexEditor::BtnErsetzenClick() {
    const QString search = ui->ComboBoxSuchen->currentText();
    const QString replacement = ui->ComboBoxErsetzen->currentText();
    if (replacement.isEmpty() || ParseReplacePattern() != 0)
        return;
    const int row = ui->ListBoxTreffer->currentRow();
    // The file's size now: another program may have cut it since the search.
    const auto check = search_.checkReplace(search, replacement, row, DataFile.size());
    if (check != SearchState::ReplaceCheck::Ok) {
        platform_.dialogs.appMessage(ReplaceMessage(check));
        return;
    }
    const QString address = search_.hits().text(row);
    const QString question = QStringLiteral("Soll die Zeichenfolge \n\t") + search +
                             QStringLiteral("\n") + QStringLiteral("an der Adresse [") + address +
                             QStringLiteral("] durch\n\t") + replacement +
                             QStringLiteral("\nersetzt werden?");
    // Near the panel: the window's outer corner plus the button's place in the panel and
    // the panel's place below the menu bar.
    const QPoint topLeft =
        OuterTopLeft() + QPoint(ui->BtnErsetzen->x(), ui->GrpFindChange->y() + 50);
    if (!platform_.dialogs.confirm(question, topLeft))
        return;

    const qint32 offset = AddressTextToOffset(address);
    const WriteResult written = search_.replace(FileName, dataFileIdentity_, offset);
    if (written != WriteResult::Written) {
        platform_.dialogs.appMessage(CannotWriteMessage(written == WriteResult::Unchanged));
        // Show the file as it is now, whatever part of the write reached it.
        ShowPage();
        return;
    }
    PageOffset = offset;
    ShowPage();
    MakeTableCurrentAt(offset);
    Announce(search + QStringLiteral(" an der Adresse ") + address.trimmed() +
             QStringLiteral(" durch ") + replacement + QStringLiteral(" ersetzt"));
}

} // namespace zirpel
