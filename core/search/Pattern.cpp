#include "core/search/Pattern.h"

#include "core/text/ByteText.h"

#include <algorithm>

namespace zirpel {

ParsedPattern ParsePattern(const QString& text, PatternBase base) {
    if (base == PatternBase::Ascii) {
        QByteArray bytes = ToCp1252(text);
        // ToCp1252 writes "?" for what the set lacks.
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '?' && text[i] != u'?')
                return {PatternError::NotInCp1252, {}};
        }
        return {PatternError::None, bytes};
    }

    const QByteArray digits = ToCp1252(text);
    const qsizetype n = digits.size();
    if (n % 2 != 0)
        return {PatternError::OddLength, {}};
    if (!std::all_of(digits.begin(), digits.end(),
                     [](char c) { return IsHexDigit(char16_t(quint8(c))); }))
        return {PatternError::BadDigit, {}};
    QByteArray bytes(n / 2, Qt::Uninitialized);
    for (qsizetype j = 0; j < n / 2; ++j)
        bytes[j] = char(HexDigitsToInt(QByteArrayView(digits).sliced(2 * j, 2), 1));
    return {PatternError::None, bytes};
}

} // namespace zirpel
