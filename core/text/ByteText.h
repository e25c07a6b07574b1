// Byte and address texts in both directions: hex digits, the address texts of the table,
// the hit list and the edit row, and Windows-1252, the character set of the text column
// and of text patterns. Every hex-digit test of the program is IsHexDigit.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace zirpel {

// 0-9, A-F and a-f; nothing else, whatever a case mapping makes of it (the ligature "ﬀ"
// upper-cases to "FF" but is no digit).
[[nodiscard]] constexpr bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Reads text[0..lastIndex] as hex digits, text[lastIndex] the least significant one, in
// 32-bit arithmetic that wraps ("FFFFFFFF" gives -1). A one-character text is always one
// digit, whatever lastIndex says. Characters behind lastIndex are not looked at; missing
// characters and characters that are no hex digit count as 0, so an empty text gives 0.
[[nodiscard]] qint32 HexDigitsToInt(QByteArrayView text, int lastIndex);
[[nodiscard]] qint32 HexDigitsToInt(QStringView text, int lastIndex);

// Eight upper-case hex digits; or, decimal, right-aligned with blanks in eight
// characters (longer numbers unpadded).
[[nodiscard]] QString AddressText(qint64 offset, bool decimal);

// The offset an address text stands for: eight hex digits, or a decimal number behind
// leading blanks (as AddressText writes them).
[[nodiscard]] qint32 AddressTextToOffset(QStringView text, bool decimal);

// Two upper-case hex digits.
[[nodiscard]] const QString& ByteText(quint8 value);

// The Windows-1252 character of a byte; the five unassigned codes map to U+0081 and so on.
[[nodiscard]] QChar Cp1252Char(quint8 value);

// The Windows-1252 text of 8-bit characters, as the text column shows them.
[[nodiscard]] QString Cp1252Text(const char* bytes, int count);

// The Windows-1252 bytes of a text; characters outside the set become '?'.
[[nodiscard]] QByteArray ToCp1252(const QString& text);

} // namespace zirpel
