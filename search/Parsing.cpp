// Address texts, the search and replacement patterns and the entries' recent lists.
#include "app/ByteText.h"
#include "app/Frmhex.h"
#include "platform/Dialogs.h"
#include "search/EntryHistory.h"
#include "search/Pattern.h"
#include "ui/FrmhexForm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QToolButton>

namespace {

struct PatternMessages {
    QString oddLength;
    QString badDigit;
};

// Stores a parsed pattern, or shows why it failed and leaves the old one in place.
int StorePattern(const zirpel::ParsedPattern& parsed, const PatternMessages& messages,
                 Dialogs& dialogs, std::array<quint8, 50>& target, qint32& length) {
    if (!parsed.ok()) {
        dialogs.appMessage(parsed.error == zirpel::PatternError::OddLength ? messages.oddLength
                                                                           : messages.badDigit);
        return -1;
    }
    target.fill(0);
    std::copy(parsed.bytes.begin(), parsed.bytes.end(), target.begin());
    length = qint32(parsed.bytes.size());
    return 0;
}

// The base is read at each parse: it may change while hits are listed.
zirpel::PatternBase ChosenBase(const QButtonGroup* items) {
    return items->checkedId() == 1 ? zirpel::PatternBase::Ascii : zirpel::PatternBase::Hex;
}

void MoveEntryTextToTop(QComboBox* box) {
    const QString text = box->currentText();
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    box->clear();
    box->addItems(zirpel::MostRecentFirst(items, text));
    box->setCurrentIndex(0);
    box->setEditText(text);
}

} // namespace

qint32 TFrmHexEditor::AddressTextToOffset(const QString& text) const {
    // The base is the button's at this moment: entries are emptied whenever it changes.
    return zirpel::AddressTextToOffset(text, !ui->ToolButtonHexDez->isChecked());
}

int TFrmHexEditor::ParseSearchPattern() {
    zirpel::ParsedPattern parsed =
        zirpel::ParsePattern(ui->ComboBoxSuchen->currentText(), ChosenBase(ui->RadioGrpBasisItems));
    // The entry takes 40 characters, so this only guards the buffer.
    if (parsed.ok() && parsed.bytes.size() > zirpel::kMaxPatternBytes)
        parsed.error = zirpel::PatternError::OddLength;
    return StorePattern(parsed,
                        {QStringLiteral("Bitte <Suchen nach> überprüfen"),
                         QStringLiteral("Bitte Hexwerte in <Suchen nach> überprüfen")},
                        platform_.dialogs, SearchPattern, SearchPatternLength);
}

int TFrmHexEditor::ParseReplacePattern() {
    const zirpel::ParsedPattern parsed = zirpel::ParsePattern(ui->ComboBoxErsetzen->currentText(),
                                                              ChosenBase(ui->RadioGrpBasisItems));
    // A replacement of more than 40 bytes is longer than any search text can be: it is
    // not stored, and the length test that follows stops the replace.
    if (parsed.ok() && parsed.bytes.size() > zirpel::kMaxPatternBytes)
        return 0;
    return StorePattern(parsed,
                        {QStringLiteral("Bitte <Ersetzen durch> überprüfen"),
                         QStringLiteral("Bitte Hexwerte in <Ersetzen durch> überprüfen")},
                        platform_.dialogs, ReplacePattern, ReplacePatternLength);
}

// Like every handler of the panel, these wait for an open file.
void TFrmHexEditor::ComboBoxSuchenExit() {
    if (DataFile.isOpen())
        MoveEntryTextToTop(ui->ComboBoxSuchen);
}

void TFrmHexEditor::ComboBoxErsetzenExit() {
    if (DataFile.isOpen())
        MoveEntryTextToTop(ui->ComboBoxErsetzen);
}
