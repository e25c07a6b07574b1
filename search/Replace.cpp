// Replacing the bytes at the selected hit, after the user has confirmed it.
#include "app/Frmhex.h"
#include "platform/Dialogs.h"
#include "platform/WriteInPlace.h"
#include "search/HitListModel.h"
#include "search/Pattern.h"
#include "ui/FrmhexForm.h"
#include "ui/HitListView.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <algorithm>

void TFrmHexEditor::BtnErsetzenClick() {
    if (!DataFile.isOpen())
        return;
    const QString search = ui->ComboBoxSuchen->currentText();
    const QString replacement = ui->ComboBoxErsetzen->currentText();
    if (replacement.isEmpty())
        return;
    if (ParseReplacePattern() != 0)
        return;
    // In one base equal text lengths mean equal byte counts. A replacement too long for
    // any search text was not stored by the parse and ends here.
    if (replacement.size() != search.size() || replacement.size() > zirpel::kMaxPatternBytes) {
        platform_.dialogs.appMessage(QStringLiteral(
            "Die Längen von <Suchen nach> und <Ersetzen durch> sind nicht identisch."));
        return;
    }
    const int row = ui->ListBoxTreffer->currentRow();
    if (row < 0) {
        platform_.dialogs.appMessage(
            QStringLiteral("Sie haben in der Liste keine Adresse ausgewählt."));
        return;
    }
    const QString address = hits_->text(row);
    // A replace never lengthens the file: a replacement that would run past its end is
    // refused before the user is asked.
    if (qint64(AddressTextToOffset(address)) + ReplacePatternLength > FileSize) {
        platform_.dialogs.appMessage(
            QStringLiteral("Die Zeichenfolge <Ersetzen durch> reicht über das Dateiende hinaus."));
        return;
    }
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
    const std::span<const quint8> bytes(ReplacePattern.data(), std::size_t(ReplacePatternLength));
    // A replace never changes the file's length.
    if (!zirpel::WriteInPlace(FileName, dataFileIdentity_, offset, bytes,
                              zirpel::Growth::Refused)) {
        platform_.dialogs.appMessage(QStringLiteral("Die Datei kann nicht geschrieben werden."));
        // Show the file as it is now, whatever part of the write reached it.
        ShowPage();
        return;
    }
    PageOffset = offset;
    ShowPage();
}
