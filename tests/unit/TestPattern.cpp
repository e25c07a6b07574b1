// The texts of the pattern entries turned into bytes, in hex and in ASCII.
#include "core/search/Pattern.h"

#include <QTest>

using namespace zirpel;

class TestPattern : public QObject {
    Q_OBJECT
private slots:
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
        const int notInSet = int(PatternError::NotInCp1252);
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
        QTest::newRow("ASCII question mark is itself") << "a?" << ascii << none << QByteArray("a?");
        QTest::newRow("ASCII character outside Windows-1252 refused")
            << QStringLiteral("K\u03C9") << ascii << notInSet << QByteArray();
        QTest::newRow("ASCII first character outside Windows-1252 refused")
            << QStringLiteral("\u03C9K") << ascii << notInSet << QByteArray();
        QTest::newRow("ASCII U+0080 is no Windows-1252 character")
            << QStringLiteral("a\u0080") << ascii << notInSet << QByteArray();
        QTest::newRow("ASCII character outside the basic plane refused")
            << QStringLiteral("a\U0001F600") << ascii << notInSet << QByteArray();
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
};

QTEST_APPLESS_MAIN(TestPattern)
#include "TestPattern.moc"
