// Hex digits, address texts and search/replacement patterns: the texts of the search
// panel, the hit list and the edit row turned into numbers and bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

namespace zirpel {

// The longest pattern the program searches for or writes: the search entry takes at
// most 40 characters.
inline constexpr int kMaxPatternBytes = 40;

// Reads text[0..lastIndex] as hex digits, text[lastIndex] the least significant one, in
// 32-bit arithmetic that wraps ("FFFFFFFF" gives -1). A one-character text is always one
// digit, whatever lastIndex says. Characters behind lastIndex are not looked at; missing
// characters and characters that are no hex digit count as 0, so an empty text gives 0.
[[nodiscard]] qint32 HexDigitsToInt(QByteArrayView text, int lastIndex);
[[nodiscard]] qint32 HexDigitsToInt(QStringView text, int lastIndex);

// The offset an address text stands for: eight hex digits, or a decimal number behind
// leading blanks (as the address column and the hit list write them).
[[nodiscard]] qint32 AddressTextToOffset(QStringView text, bool decimal);

// Upper-cases Windows-1252 bytes one by one, as the single-byte locale does: "ä" becomes
// "Ä", and nothing changes its length (unlike Unicode's "ß" to "SS").
[[nodiscard]] QByteArray UpperCp1252(QByteArray bytes);

enum class PatternBase { Hex = 0, Ascii = 1 };

enum class PatternError { None, OddLength, BadDigit };

struct ParsedPattern {
    PatternError error = PatternError::None;
    QByteArray bytes; // empty on an error
    [[nodiscard]] bool ok() const { return error == PatternError::None; }
};

// The bytes of a pattern entry. Hex: pairs of hex digits in either case, nothing else;
// an odd length is reported before a bad digit. ASCII: the text's Windows-1252 bytes
// unchanged. The result may be longer than kMaxPatternBytes; the caller decides.
[[nodiscard]] ParsedPattern ParsePattern(const QString& text, PatternBase base);

// A most-recently-used list after text was entered: the first item equal to text without
// regard to case is removed and text goes to the top.
[[nodiscard]] QStringList MostRecentFirst(QStringList items, const QString& text);

} // namespace zirpel
