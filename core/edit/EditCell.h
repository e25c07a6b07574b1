// A byte cell of the edit row: what a typed text becomes, the byte it stands for and
// the character the row's text cell shows for it.
#pragma once

#include <QString>
#include <QtGlobal>

namespace zirpel {

// The text a byte cell keeps for what its editor holds: upper case, at most the first
// two characters, "00" when one of them is no hex digit; an empty text stays empty.
[[nodiscard]] QString NormaliseByteCell(const QString& typed);

// The byte of a normalised cell: two digits with the high nibble first, one digit as
// the whole value, an empty cell 0x00.
[[nodiscard]] quint8 ByteCellValue(const QString& cell);

// The text cell's character for a byte: 0x20 to 0x7F as itself, anything else ".".
[[nodiscard]] QChar EditTextChar(quint8 value);

// The text cell with its character at position (counted from 1) replaced. A text too
// short for the position is first filled with ".", the character of an empty cell.
[[nodiscard]] QString ReplaceTextChar(QString text, int position, QChar c);

} // namespace zirpel
