#include "search/HexText.h"

#include "view/PageText.h"

namespace zirpel {

namespace {

quint32 DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return 0;
}

bool IsUpperHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

template <typename Text> qint32 ReadHexDigits(Text text, int lastIndex) {
    if (text.size() == 1)
        lastIndex = 0;
    // Unsigned arithmetic wraps as the 32-bit sum and weights are meant to.
    quint32 sum = 0;
    quint32 weight = 1;
    for (int i = lastIndex; i >= 0; --i) {
        if (i < text.size())
            sum += DigitValue(char16_t(quint8(text[i]))) * weight;
        weight *= 16;
    }
    return qint32(sum);
}

} // namespace

qint32 HexDigitsToInt(QByteArrayView text, int lastIndex) {
    return ReadHexDigits(text, lastIndex);
}

qint32 HexDigitsToInt(QStringView text, int lastIndex) {
    // Only the low byte of a character can be a digit; the text is single-byte anyway.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[i] = text[i].unicode() < 0x100 ? char(text[i].unicode()) : '\0';
    return ReadHexDigits(QByteArrayView(bytes), lastIndex);
}

qint32 AddressTextToOffset(QStringView text, bool decimal) {
    if (!decimal)
        return HexDigitsToInt(text.left(8), 7);
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    quint32 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10 + (text[i].unicode() - u'0');
    return qint32(negative ? 0u - value : value);
}

QByteArray UpperCp1252(QByteArray bytes) {
    for (char& c : bytes) {
        const quint8 b = quint8(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
            c = char(b - 0x20);
        else if (b == 0x9A || b == 0x9C || b == 0x9E) // š œ ž
            c = char(b - 0x10);
        else if (b == 0xFF) // ÿ
            c = char(0x9F);
    }
    return bytes;
}

ParsedPattern ParsePattern(const QString& text, PatternBase base) {
    if (base == PatternBase::Ascii)
        return {PatternError::None, ToCp1252(text)};

    const QByteArray upper = UpperCp1252(ToCp1252(text));
    const qsizetype n = upper.size();
    if (n % 2 != 0)
        return {PatternError::OddLength, {}};
    for (const char c : upper) {
        if (!IsUpperHexDigit(c))
            return {PatternError::BadDigit, {}};
    }
    QByteArray bytes(n / 2, Qt::Uninitialized);
    for (qsizetype j = 0; j < n / 2; ++j)
        bytes[j] = char(HexDigitsToInt(QByteArrayView(upper).sliced(2 * j, 2), 1));
    return {PatternError::None, bytes};
}

QStringList MostRecentFirst(QStringList items, const QString& text) {
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].compare(text, Qt::CaseInsensitive) == 0) {
            items.removeAt(i);
            break;
        }
    }
    items.prepend(text);
    return items;
}

} // namespace zirpel
