#include "view/PageText.h"

#include <array>

namespace zirpel {

namespace {

// Code points of 0x80 to 0x9F in Windows-1252.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString AddressText(qint64 offset, bool decimal) {
    if (decimal) {
        const QString digits = QString::number(offset);
        return digits.size() >= 8 ? digits : digits.rightJustified(8, QLatin1Char(' '));
    }
    return QString::number(quint32(offset), 16).toUpper().rightJustified(8, QLatin1Char('0'));
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

QChar TextColumnChar(quint8 value) {
    return value < 0x20 ? QLatin1Char('.') : Cp1252Char(value);
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
