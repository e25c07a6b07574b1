// Address texts, the search and replacement patterns and the entries' recent lists.
#include "core/search/EntryHistory.h"
#include "core/system/Dialogs.h"
#include "core/text/ByteText.h"
#include "widgets/FrmhexForm.h"
#include "window/Frmhex.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QToolButton>

namespace zirpel {

namespace {

// Shows why a pattern entry did not parse; the pattern kept before stays.
int ReportPattern(PatternError error, const QString& oddLength, const QString& badDigit,
                  Dialogs& dialogs) {
    switch (error) {
    case PatternError::None:
        return 0;
    case PatternError::OddLength:
        dialogs.appMessage(oddLength);
        break;
    case PatternError::BadDigit:
        dialogs.appMessage(badDigit);
        break;
    case PatternError::NotInCp1252:
        dialogs.appMessage(QStringLiteral(
            "Die Zeichenfolge enthält Zeichen, die nicht im Zeichensatz Windows-1252 stehen."));
        break;
    }
    return -1;
}

// The base is read at each parse: it may change while hits are listed.
PatternBase ChosenBase(const QButtonGroup* items) {
    return items->checkedId() == 1 ? PatternBase::Ascii : PatternBase::Hex;
}

void MoveEntryTextToTop(QComboBox* box) {
    const QString text = box->currentText();
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    box->clear();
    box->addItems(MostRecentFirst(items, text));
    box->setCurrentIndex(0);
    box->setEditText(text);
}

} // namespace

qint32 TFrmHexEditor::AddressTextToOffset(const QString& text) const {
    // The base is the button's at this moment: entries are emptied whenever it changes.
    // The free function of that name, which this member hides.
    return zirpel::AddressTextToOffset(text, !ui->ToolButtonHexDez->isChecked());
}

int TFrmHexEditor::ParseSearchPattern() {
    return ReportPattern(search_.takeSearchPattern(ui->ComboBoxSuchen->currentText(),
                                                   ChosenBase(ui->RadioGrpBasisItems)),
                         QStringLiteral("Bitte <Suchen nach> überprüfen"),
                         QStringLiteral("Bitte Hexwerte in <Suchen nach> überprüfen"),
                         platform_.dialogs);
}

int TFrmHexEditor::ParseReplacePattern() {
    return ReportPattern(search_.takeReplacePattern(ui->ComboBoxErsetzen->currentText(),
                                                    ChosenBase(ui->RadioGrpBasisItems)),
                         QStringLiteral("Bitte <Ersetzen durch> überprüfen"),
                         QStringLiteral("Bitte Hexwerte in <Ersetzen durch> überprüfen"),
                         platform_.dialogs);
}

void TFrmHexEditor::ComboBoxSuchenExit() {
    MoveEntryTextToTop(ui->ComboBoxSuchen);
}

void TFrmHexEditor::ComboBoxErsetzenExit() {
    MoveEntryTextToTop(ui->ComboBoxErsetzen);
}

} // namespace zirpel
