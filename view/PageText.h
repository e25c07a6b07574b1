// The texts of the table: row addresses, byte cells and the characters of a row.
#pragma once

#include <QString>
#include <QtGlobal>

namespace zirpel {

// Eight upper-case hex digits; or, decimal, right-aligned with blanks in eight
// characters (longer numbers unpadded).
[[nodiscard]] QString AddressText(qint64 offset, bool decimal);

// Two upper-case hex digits.
[[nodiscard]] const QString& ByteText(quint8 value);

// The Windows-1252 character of a byte; the five unassigned codes map to U+0081 and so on.
[[nodiscard]] QChar Cp1252Char(quint8 value);

// The text-column character of a byte: a full stop below 0x20, else its Windows-1252 character.
[[nodiscard]] QChar TextColumnChar(quint8 value);

// The Windows-1252 text of 8-bit characters, as the text column shows them.
[[nodiscard]] QString Cp1252Text(const char* bytes, int count);

// The Windows-1252 bytes of a text; characters outside the set become '?'.
[[nodiscard]] QByteArray ToCp1252(const QString& text);

} // namespace zirpel
