// Search and replacement patterns: the texts of the two entries turned into bytes.
#pragma once

#include <QByteArray>
#include <QString>

namespace zirpel {

// The most characters the search entry takes, and so the longest text a replacement may
// have (their lengths must be equal).
inline constexpr int kMaxPatternChars = 40;
// The longest pattern the program searches for or writes: 40 characters in ASCII base
// (20 bytes in hex).
inline constexpr int kMaxPatternBytes = 40;

enum class PatternBase { Hex = 0, Ascii = 1 };

enum class PatternError { None, OddLength, BadDigit, NotInCp1252 };

struct ParsedPattern {
    PatternError error = PatternError::None;
    QByteArray bytes; // empty on an error
    [[nodiscard]] bool ok() const { return error == PatternError::None; }
};

// The bytes of a pattern entry. Hex: pairs of hex digits in either case, nothing else;
// an odd length is reported before a bad digit. ASCII: the text's Windows-1252 bytes
// unchanged; a character outside that set is refused rather than searched for or
// written as another byte. The result may be longer than kMaxPatternBytes; the caller
// decides.
[[nodiscard]] ParsedPattern ParsePattern(const QString& text, PatternBase base);

} // namespace zirpel
