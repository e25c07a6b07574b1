// A byte cell of the edit row: whatever is typed, the cell keeps a valid byte text.
#include "FuzzInput.h"
#include "core/edit/EditCell.h"

using namespace zirpel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const quint8 mode = in.Byte();
    const int position = int(in.Word() % 520) - 2;
    const QString typed = in.Text(mode & 1);

    const QString cell = NormaliseByteCell(typed);
    const QString head = typed.left(2);
    bool digits = true;
    for (const QChar c : head)
        digits = digits && c.unicode() < 0x80 &&
                 QByteArray("0123456789abcdefABCDEF").contains(char(c.unicode()));
    if (typed.isEmpty())
        fuzz::Check(cell.isEmpty(), "an empty cell stays empty");
    else if (!digits)
        fuzz::Check(cell == QStringLiteral("00"), "no hex digit gives 00");
    else
        fuzz::Check(cell == head.toUpper(), "digits are kept in upper case");
    fuzz::Check(NormaliseByteCell(cell) == cell, "a normalised cell stays as it is");

    const quint8 value = ByteCellValue(cell);
    bool ok = false;
    const uint expected = cell.isEmpty() ? 0 : cell.toUInt(&ok, 16);
    fuzz::Check(cell.isEmpty() || ok, "a cell reads as hex");
    fuzz::Check(value == expected, "ByteCellValue");

    const QChar c = EditTextChar(value);
    fuzz::Check(value >= 0x20 && value <= 0x7F ? c == QChar(value) : c == QLatin1Char('.'),
                "EditTextChar");

    const QString replaced = ReplaceTextChar(typed, position, c);
    if (position < 1) {
        fuzz::Check(replaced == typed, "no position changes nothing");
    } else {
        fuzz::Check(replaced.size() == std::max<qsizetype>(typed.size(), position),
                    "ReplaceTextChar length");
        for (qsizetype i = 0; i < replaced.size(); ++i) {
            const QChar want = i == position - 1  ? c
                               : i < typed.size() ? typed[i]
                                                  : QLatin1Char('.');
            fuzz::Check(replaced[i] == want, "ReplaceTextChar characters");
        }
    }
    return 0;
}
