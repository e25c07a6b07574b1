// Byte and address texts, both directions: hex digits, the addresses of the table,
// Windows-1252 characters and their upper case.
#include "core/text/ByteText.h"

#include <QStringDecoder>
#include <QTest>

using namespace zirpel;

class TestByteText : public QObject {
    Q_OBJECT
private slots:
    void addressText_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<QString>("text");
        QTest::newRow("hex 0") << qint64(0) << false << "00000000";
        QTest::newRow("hex 6699") << qint64(6699) << false << "00001A2B";
        QTest::newRow("hex 5") << qint64(5) << false << "00000005";
        QTest::newRow("hex 123456789") << qint64(123456789) << false << "075BCD15";
        QTest::newRow("hex largest offset") << qint64(2147483647) << false << "7FFFFFFF";
        QTest::newRow("hex past 2 GiB keeps eight digits")
            << qint64(2147483648) << false << "80000000";
        QTest::newRow("decimal 0") << qint64(0) << true << "       0";
        QTest::newRow("decimal 16") << qint64(16) << true << "      16";
        QTest::newRow("decimal 6699") << qint64(6699) << true << "    6699";
        QTest::newRow("decimal eight digits, no blank") << qint64(12345678) << true << "12345678";
        QTest::newRow("decimal nine digits unpadded") << qint64(123456789) << true << "123456789";
        QTest::newRow("decimal ten digits") << qint64(2147483647) << true << "2147483647";
    }
    void addressText() {
        QFETCH(qint64, offset);
        QFETCH(bool, decimal);
        QFETCH(QString, text);
        QCOMPARE(AddressText(offset, decimal), text);
    }

    void byteText() {
        QCOMPARE(ByteText(0), QStringLiteral("00"));
        QCOMPARE(ByteText(10), QStringLiteral("0A"));
        QCOMPARE(ByteText(0xAB), QStringLiteral("AB"));
        QCOMPARE(ByteText(255), QStringLiteral("FF"));
    }

    void cp1252Char_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        QTest::newRow("blank") << 0x20 << 0x20;
        QTest::newRow("A") << 0x41 << 0x41;
        QTest::newRow("0x7F is its own character") << 0x7F << 0x7F;
        QTest::newRow("0x80 is the euro sign") << 0x80 << 0x20AC;
        QTest::newRow("0x81 unassigned") << 0x81 << 0x81;
        QTest::newRow("0x9F") << 0x9F << 0x178;
        QTest::newRow("0xA0") << 0xA0 << 0xA0;
        QTest::newRow("0xE4 is a umlaut") << 0xE4 << 0xE4;
        QTest::newRow("0xFF is y diaeresis") << 0xFF << 0xFF;
        QTest::newRow("every byte as Qt's own decoder reads it") << -1 << 0;
    }
    void cp1252Char() {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        if (byte >= 0)
            QCOMPARE(int(Cp1252Char(quint8(byte)).unicode()), unicode);
        QStringDecoder qt("windows-1252");
        if (byte < 0 && !qt.isValid())
            QSKIP("this Qt has no decoder for windows-1252");
        for (int b = 0; byte < 0 && b < 256; ++b) {
            const char c = char(b);
            QCOMPARE(QString(Cp1252Char(quint8(b))), QString(qt(QByteArrayView(&c, 1))));
        }
    }

    void cp1252RoundTrip() {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = Cp1252Text(all.constData(), 256);
        QCOMPARE(text.size(), 256);
        QCOMPARE(ToCp1252(text), all);
        QCOMPARE(ToCp1252(QStringLiteral("€ä\u4E2D")), QByteArray("\x80\xE4?"));
    }

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
};

QTEST_APPLESS_MAIN(TestByteText)
#include "TestByteText.moc"
