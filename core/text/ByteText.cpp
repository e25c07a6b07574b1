#include "core/text/ByteText.h"

#include <array>

namespace zirpel {

namespace {

// Code points of 0x80 to 0x9F in Windows-1252.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

quint32 DigitValue(char16_t c) {
    if (!IsHexDigit(c))
        return 0;
    if (c <= u'9')
        return c - u'0';
    return (c | 0x20) - u'a' + 10;
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

QString AddressText(qint64 offset, bool decimal) {
    if (decimal) {
        const QString digits = QString::number(offset);
        return digits.size() >= 8 ? digits : digits.rightJustified(8, QLatin1Char(' '));
    }
    return QString::number(quint32(offset), 16).toUpper().rightJustified(8, QLatin1Char('0'));
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

const QString& ByteText(quint8 value) {
    static const std::array<QString, 256> texts = [] {
        std::array<QString, 256> t;
        for (int i = 0; i < 256; ++i)
            t[i] = QString::number(i, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        return t;
    }();
    return texts[value];
}

QChar Cp1252Char(quint8 value) {
    if (value >= 0x80 && value <= 0x9F)
        return QChar(kHigh[value - 0x80]);
    return QChar(value);
}

QString Cp1252Text(const char* bytes, int count) {
    QString s(count, Qt::Uninitialized);
    for (int i = 0; i < count; ++i)
        s[i] = Cp1252Char(quint8(bytes[i]));
    return s;
}

QByteArray ToCp1252(const QString& text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        char b = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            b = char(u);
        } else {
            for (int k = 0; k < 32; ++k) {
                if (kHigh[k] == u) {
                    b = char(0x80 + k);
                    break;
                }
            }
        }
        out[i] = b;
    }
    return out;
}

} // namespace zirpel
