// A byte cell of the edit row: what typing leaves in it, and its character in the
// text cell.
#include "core/edit/EditCell.h"

#include <QTest>

using namespace zirpel;

class TestEditCell : public QObject {
    Q_OBJECT
private slots:
    void normalise_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("value");
        QTest::newRow("one lower-case digit") << "a"
                                              << "A" << 0x0A;
        QTest::newRow("two digits, lower case") << "4a"
                                                << "4A" << 0x4A;
        QTest::newRow("three digits cut to two") << "123"
                                                 << "12" << 0x12;
        QTest::newRow("letter past F") << "G"
                                       << "00" << 0x00;
        QTest::newRow("bad second character") << "4G"
                                              << "00" << 0x00;
        QTest::newRow("leading blank") << " 4"
                                       << "00" << 0x00;
        QTest::newRow("one digit stands alone") << "7"
                                                << "7" << 0x07;
        QTest::newRow("high byte") << "E4"
                                   << "E4" << 0xE4;
        QTest::newRow("empty stays empty, stands for 0") << ""
                                                         << "" << 0x00;
        QTest::newRow("bad character past the two kept") << "41z"
                                                         << "41" << 0x41;
        QTest::newRow("0x prefix") << "0x"
                                   << "00" << 0x00;
        QTest::newRow("umlaut") << "ä"
                                << "00" << 0x00;
        QTest::newRow("ligature that upper-cases to FF") << "\uFB00"
                                                         << "00" << 0x00;
        QTest::newRow("full-width digit") << "\uFF14"
                                          << "00" << 0x00;
        QTest::newRow("mixed case") << "fF"
                                    << "FF" << 0xFF;
    }
    void normalise() {
        QFETCH(QString, typed);
        QFETCH(QString, cell);
        QFETCH(int, value);
        QCOMPARE(NormaliseByteCell(typed), cell);
        QCOMPARE(int(ByteCellValue(cell)), value);
        // A stored cell is already normal: closing its editor changes nothing.
        QCOMPARE(NormaliseByteCell(cell), cell);
    }

    void textChar_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0x00 is a full stop") << 0x00 << ".";
        QTest::newRow("0x0A is a full stop") << 0x0A << ".";
        QTest::newRow("0x1F is a full stop") << 0x1F << ".";
        QTest::newRow("blank") << 0x20 << " ";
        QTest::newRow("J") << 0x4A << "J";
        QTest::newRow("0x7F is itself") << 0x7F << "\x7F";
        QTest::newRow("0x80 is a full stop, not the euro sign") << 0x80 << ".";
        QTest::newRow("0xE4 is a full stop, not a umlaut") << 0xE4 << ".";
        QTest::newRow("0xFF is a full stop") << 0xFF << ".";
    }
    void textChar() {
        QFETCH(int, value);
        QFETCH(QString, shown);
        QCOMPARE(QString(EditTextChar(quint8(value))), shown);
    }

    void replaceTextChar_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("result");
        QTest::newRow("first character") << "ABCD" << 1 << "xBCD";
        QTest::newRow("third character, others kept") << "ABCD" << 3 << "ABxD";
        QTest::newRow("last character") << "ABCD" << 4 << "ABCx";
        QTest::newRow("empty text filled with full stops") << "" << 3 << "..x";
        QTest::newRow("short text filled up to the position") << "AB" << 4 << "AB.x";
        QTest::newRow("position 0 changes nothing") << "ABCD" << 0 << "ABCD";
    }
    void replaceTextChar() {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(QString, result);
        QCOMPARE(ReplaceTextChar(text, position, QLatin1Char('x')), result);
    }
};

QTEST_APPLESS_MAIN(TestEditCell)
#include "TestEditCell.moc"
