// Hex digits, address texts, pattern parsing and the entries' recent lists.
#include "app/ByteText.h"
#include "search/EntryHistory.h"
#include "search/Pattern.h"

#include <QTest>

using namespace zirpel;

class TestHexText : public QObject {
    Q_OBJECT
private slots:
    void hexDigitsToInt_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("lastIndex");
        QTest::addColumn<int>("result");
        QTest::newRow("one character is one digit") << QByteArray("A") << 1 << 10;
        QTest::newRow("one character whatever lastIndex") << QByteArray("7") << 7 << 7;
        QTest::newRow("low nibble behind a zero") << QByteArray("0A") << 1 << 10;
        QTest::newRow("first character is the high nibble") << QByteArray("A0") << 1 << 160;
        QTest::newRow("eight-digit address") << QByteArray("000000E0") << 7 << 224;
        QTest::newRow("eight F wrap to -1") << QByteArray("FFFFFFFF") << 7 << -1;
        QTest::newRow("top bit alone is the lowest int")
            << QByteArray("80000000") << 7 << int(0x80000000u);
        QTest::newRow("all digit values") << QByteArray("12ABCDEF") << 7 << 0x12ABCDEF;
        QTest::newRow("lower-case digits read as upper") << QByteArray("ff") << 1 << 255;
        QTest::newRow("characters behind lastIndex ignored") << QByteArray("1FFF") << 0 << 1;
        QTest::newRow("empty text") << QByteArray() << 1 << 0;
        QTest::newRow("missing digits count as zero") << QByteArray("12") << 3 << 0x1200;
        QTest::newRow("negative lastIndex") << QByteArray("12") << -1 << 0;
    }
    void hexDigitsToInt() {
        QFETCH(QByteArray, text);
        QFETCH(int, lastIndex);
        QFETCH(int, result);
        QCOMPARE(HexDigitsToInt(QByteArrayView(text), lastIndex), result);
        QCOMPARE(HexDigitsToInt(QString::fromLatin1(text), lastIndex), result);
    }

    void hexDigitsToIntStopsAtTheEndOfItsText() {
        // Digits lie right behind the view's end: they must not be read.
        const char buffer[] = "12FF";
        QCOMPARE(HexDigitsToInt(QByteArrayView(buffer, 2), 3), 0x1200);
        QCOMPARE(HexDigitsToInt(QByteArrayView(buffer, 1), 1), 1);
        QCOMPARE(HexDigitsToInt(QStringView(u"12FF").left(2), 3), 0x1200);
    }

    void addressTextToOffset_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<int>("offset");
        QTest::newRow("hex 000000E0") << QStringLiteral("000000E0") << false << 224;
        QTest::newRow("hex 00000100") << QStringLiteral("00000100") << false << 256;
        QTest::newRow("hex reads only eight digits")
            << QStringLiteral("00000100FF") << false << 256;
        QTest::newRow("decimal behind five blanks") << QStringLiteral("     256") << true << 256;
        QTest::newRow("decimal zero") << QStringLiteral("       0") << true << 0;
        QTest::newRow("decimal nine digits unpadded")
            << QStringLiteral("100000000") << true << 100000000;
        QTest::newRow("decimal largest offset")
            << QStringLiteral("2147483647") << true << 2147483647;
        QTest::newRow("decimal with sign") << QStringLiteral("  -12") << true << -12;
        QTest::newRow("decimal stops at a non-digit") << QStringLiteral(" 12x4") << true << 12;
    }
    void addressTextToOffset() {
        QFETCH(QString, text);
        QFETCH(bool, decimal);
        QFETCH(int, offset);
        QCOMPARE(AddressTextToOffset(text, decimal), offset);
    }

    void addressTextsReadBack_data() {
        QTest::addColumn<int>("offset");
        for (const int o : {0, 1, 224, 5000, 99999999, 100000000, 123456789, 2147483647})
            QTest::addRow("%d", o) << o;
    }
    void addressTextsReadBack() {
        QFETCH(int, offset);
        for (const bool decimal : {false, true})
            QCOMPARE(AddressTextToOffset(AddressText(offset, decimal), decimal), offset);
    }

    void upperCp1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("upper");
        QTest::newRow("ASCII letters") << QStringLiteral("0d0a xyz") << QStringLiteral("0D0A XYZ");
        QTest::newRow("umlauts") << QStringLiteral("äöü") << QStringLiteral("ÄÖÜ");
        QTest::newRow("sharp s keeps its length") << QStringLiteral("ß") << QStringLiteral("ß");
        QTest::newRow("letters in 80 to 9F") << QStringLiteral("šœžÿ") << QStringLiteral("ŠŒŽŸ");
        QTest::newRow("division sign is no letter") << QStringLiteral("÷") << QStringLiteral("÷");
    }
    void upperCp1252() {
        QFETCH(QString, text);
        QFETCH(QString, upper);
        QCOMPARE(UpperCp1252(ToCp1252(text)), ToCp1252(upper));
    }

    void parsePattern_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("bytes");
        const int hex = int(PatternBase::Hex);
        const int ascii = int(PatternBase::Ascii);
        const int none = int(PatternError::None);
        const int odd = int(PatternError::OddLength);
        const int bad = int(PatternError::BadDigit);
        QTest::newRow("lower-case 0d0a") << "0d0a" << hex << none << QByteArray("\x0D\x0A");
        QTest::newRow("upper-case 0D0A") << "0D0A" << hex << none << QByteArray("\x0D\x0A");
        QTest::newRow("mixed case") << "aBcD" << hex << none << QByteArray("\xAB\xCD");
        QTest::newRow("first digit is the high nibble")
            << "F00F" << hex << none << QByteArray("\xF0\x0F");
        QTest::newRow("two pairs and one blank") << "0D 0A" << hex << odd << QByteArray();
        QTest::newRow("two pairs and two blanks") << "0D  0A" << hex << bad << QByteArray();
        QTest::newRow("0x prefix") << "0x0D0A" << hex << bad << QByteArray();
        QTest::newRow("odd length before bad digit") << "0x0D0" << hex << odd << QByteArray();
        QTest::newRow("umlaut is no digit") << QStringLiteral("ä0") << hex << bad << QByteArray();
        QTest::newRow("umlaut with odd length")
            << QStringLiteral("äb0") << hex << odd << QByteArray();
        QTest::newRow("sharp s stays one character")
            << QStringLiteral("ß0") << hex << bad << QByteArray();
        QTest::newRow("character outside Windows-1252")
            << QStringLiteral("\u4e2d0") << hex << bad << QByteArray();
        QTest::newRow("40 hex digits are 20 bytes")
            << QString(40, QLatin1Char('e')) << hex << none << QByteArray(20, '\xEE');
        QTest::newRow("empty hex text") << "" << hex << none << QByteArray();
        QTest::newRow("ASCII keeps case") << "Abc" << ascii << none << QByteArray("Abc");
        QTest::newRow("ASCII upper is another pattern")
            << "ABC" << ascii << none << QByteArray("ABC");
        QTest::newRow("ASCII takes digits as characters")
            << "0d0a" << ascii << none << QByteArray("0d0a");
        QTest::newRow("ASCII 40 characters are 40 bytes")
            << QString(40, QLatin1Char('x')) << ascii << none << QByteArray(40, 'x');
        QTest::newRow("ASCII no escapes") << "a\\tb c" << ascii << none << QByteArray("a\\tb c");
        QTest::newRow("ASCII Windows-1252 bytes")
            << QStringLiteral("ä€") << ascii << none << QByteArray("\xE4\x80");
    }
    void parsePattern() {
        QFETCH(QString, text);
        QFETCH(int, base);
        QFETCH(int, error);
        QFETCH(QByteArray, bytes);
        const ParsedPattern p = ParsePattern(text, PatternBase(base));
        QCOMPARE(int(p.error), error);
        QCOMPARE(p.ok(), error == int(PatternError::None));
        QCOMPARE(p.bytes, bytes);
    }

    void mostRecentFirst_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("result");
        QTest::newRow("new text goes to the top")
            << QStringList{"a", "b"} << "c" << QStringList{"c", "a", "b"};
        QTest::newRow("typed 0d0a replaces 0D0A")
            << QStringList{"41", "0D0A"} << "0d0a" << QStringList{"0d0a", "41"};
        QTest::newRow("picked item moves up")
            << QStringList{"a", "b", "c"} << "c" << QStringList{"c", "a", "b"};
        QTest::newRow("only the first equal item goes")
            << QStringList{"x", "AB", "ab"} << "ab" << QStringList{"ab", "x", "ab"};
        QTest::newRow("empty text is kept like any other")
            << QStringList{"a"} << "" << QStringList{"", "a"};
        QTest::newRow("empty list") << QStringList{} << "0d0a" << QStringList{"0d0a"};
    }
    void mostRecentFirst() {
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QFETCH(QStringList, result);
        QCOMPARE(MostRecentFirst(items, text), result);
    }
};

QTEST_APPLESS_MAIN(TestHexText)
#include "TestHexText.moc"
