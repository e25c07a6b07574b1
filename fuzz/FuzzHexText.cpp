// Hex digits, address texts and search patterns: any text against plain reference rules.
#include "FuzzInput.h"
#include "core/search/Pattern.h"
#include "core/text/ByteText.h"

using namespace zirpel;

namespace {

bool ReferenceIsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

quint32 DigitValue(char16_t c) {
    if (!ReferenceIsHexDigit(c))
        return 0;
    return c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
}

// Digit by digit from the front, in 64 bits cut to 32 at the end.
qint32 ReferenceHex(const QString& text, int lastIndex) {
    if (text.size() == 1)
        lastIndex = 0;
    quint64 sum = 0;
    for (int i = 0; i <= lastIndex; ++i) {
        const char16_t c = i < text.size() ? text[i].unicode() : u'0';
        sum = sum * 16 + (c < 0x100 ? DigitValue(c) : 0);
    }
    return qint32(quint32(sum));
}

qint32 ReferenceDecimal(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    quint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = (value * 10 + (text[i].unicode() - u'0')) & 0xFFFFFFFFu;
    return qint32(quint32(negative ? 0 - value : value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const quint8 mode = in.Byte();
    const int lastIndex = int(in.Byte() % 24) - 2;
    const quint32 number = in.Word();
    const QString text = in.Text(mode & 1);

    // Digits: both overloads agree with the reference; the byte overload reads the
    // characters' low bytes, which only differ from the text below 0x100.
    fuzz::Check(HexDigitsToInt(text, lastIndex) == ReferenceHex(text, lastIndex),
                "HexDigitsToInt(QStringView)");
    if (!(mode & 1)) {
        const QByteArray latin1 = text.toLatin1();
        fuzz::Check(HexDigitsToInt(QByteArrayView(latin1), lastIndex) ==
                        ReferenceHex(text, lastIndex),
                    "HexDigitsToInt(QByteArrayView)");
    }

    // Addresses: any text, and every number through the text the table shows for it.
    fuzz::Check(AddressTextToOffset(text, false) == ReferenceHex(text.left(8), 7),
                "AddressTextToOffset hex");
    fuzz::Check(AddressTextToOffset(text, true) == ReferenceDecimal(text),
                "AddressTextToOffset decimal");
    const qint64 offset = number & 0x7FFFFFFF;
    fuzz::Check(AddressTextToOffset(AddressText(offset, false), false) == offset,
                "hex address round trip");
    fuzz::Check(AddressTextToOffset(AddressText(offset, true), true) == offset,
                "decimal address round trip");

    // Patterns: ASCII is the text's single bytes, refused when a character has none; hex is
    // pairs of hex digits and nothing else.
    const QByteArray single = ToCp1252(text);
    const ParsedPattern ascii = ParsePattern(text, PatternBase::Ascii);
    if (Cp1252Text(single.constData(), int(single.size())) == text)
        fuzz::Check(ascii.ok() && ascii.bytes == single, "ASCII pattern");
    else
        fuzz::Check(ascii.error == PatternError::NotInCp1252 && ascii.bytes.isEmpty(),
                    "ASCII pattern outside Windows-1252");
    const ParsedPattern hex = ParsePattern(text, PatternBase::Hex);
    bool allDigits = true;
    for (const QChar c : text)
        allDigits = allDigits && ReferenceIsHexDigit(c.unicode());
    if (text.size() % 2 != 0)
        fuzz::Check(hex.error == PatternError::OddLength && hex.bytes.isEmpty(), "odd hex pattern");
    else if (!allDigits)
        fuzz::Check(hex.error == PatternError::BadDigit && hex.bytes.isEmpty(), "bad hex digit");
    else
        fuzz::Check(hex.ok() && hex.bytes == QByteArray::fromHex(single), "hex pattern");
    return 0;
}
