#include "core/edit/EditCell.h"

#include "core/text/ByteText.h"

namespace zirpel {

QString NormaliseByteCell(const QString& typed) {
    const QString t = typed.left(2);
    for (const QChar c : t) {
        if (!IsHexDigit(c.unicode()))
            return QStringLiteral("00");
    }
    return t.toUpper();
}

quint8 ByteCellValue(const QString& cell) {
    if (cell.isEmpty())
        return 0;
    return quint8(HexDigitsToInt(cell, 1) & 0xFF);
}

QChar EditTextChar(quint8 value) {
    return value >= 0x20 && value <= 0x7F ? QChar(value) : QLatin1Char('.');
}

QString ReplaceTextChar(QString text, int position, QChar c) {
    if (position < 1)
        return text;
    if (text.size() < position)
        text = text.leftJustified(position, QLatin1Char('.'));
    text[position - 1] = c;
    return text;
}

} // namespace zirpel
