// Address, byte and character texts of the table, the layout numbers, and the
// recent-file list moves.
#include "app/ByteText.h"
#include "app/RecentFileList.h"
#include "view/Geometry.h"

#include <QTest>

using namespace zirpel;

class TestViewText : public QObject {
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
    }
    void cp1252Char() {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        QCOMPARE(int(Cp1252Char(quint8(byte)).unicode()), unicode);
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

    void geometry_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QSize>("table");
        QTest::newRow("16 x 16, lines") << 16 << 16 << 1 << QSize(504, 292);
        QTest::newRow("16 x 16, no lines") << 16 << 16 << 0 << QSize(488, 276);
        QTest::newRow("32 x 32, lines") << 32 << 32 << 1 << QSize(920, 564);
        QTest::newRow("32 x 32, no lines") << 32 << 32 << 0 << QSize(888, 532);
    }
    void geometry() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, lines);
        QFETCH(QSize, table);
        Geometry g{columns, rows, lines, false, false};
        QCOMPARE(QSize(g.tableWidth(), g.tableHeight()), table);
        const int plain = g.contentHeight();
        g.searchPanel = true;
        QCOMPARE(g.contentHeight() - plain, 140);
        // The search panel lies wholly inside the content area.
        QVERIFY(g.panelTop() + 140 <= g.contentHeight());
        QVERIFY(Geometry::SearchPanelRight <= g.contentWidth());
        g.searchPanel = false;
        g.editPanel = true;
        QCOMPARE(g.contentHeight() - plain, 80);
        QVERIFY(g.tableWidth() + 5 <= g.contentWidth());
        // The scroll bar stands right of the table, inside the content area.
        QVERIFY(Geometry::TableLeft + g.tableWidth() + Geometry::ScrollBarWidth <=
                g.contentWidth());
    }

    void recentList_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("action"); // add:NAME, top:INDEX, remove:INDEX
        QTest::addColumn<QStringList>("after");
        const QStringList abcd{"A", "B", "C", "D"};
        QTest::newRow("opening C moves it up")
            << abcd << "add:C" << QStringList{"C", "A", "B", "D"};
        QTest::newRow("opening the top one keeps the order") << abcd << "add:A" << abcd;
        QTest::newRow("new E drops D") << abcd << "add:E" << QStringList{"E", "A", "B", "C"};
        QTest::newRow("new name into empty list")
            << QStringList{"", "", "", ""} << "add:X" << QStringList{"X", "", "", ""};
        QTest::newRow("letter case makes another entry")
            << QStringList{"C:\\X.BIN", "", "", ""} << "add:c:\\x.bin"
            << QStringList{"c:\\x.bin", "C:\\X.BIN", "", ""};
        QTest::newRow("first equal entry moves when stored twice")
            << QStringList{"A", "B", "B", "C"} << "add:B" << QStringList{"B", "A", "B", "C"};
        QTest::newRow("choosing B") << abcd << "top:1" << QStringList{"B", "A", "C", "D"};
        QTest::newRow("choosing D") << abcd << "top:3" << QStringList{"D", "A", "B", "C"};
        QTest::newRow("choosing the second of two equal names")
            << QStringList{"A", "B", "B", "C"} << "top:2" << QStringList{"B", "A", "B", "C"};
        QTest::newRow("removing B") << abcd << "remove:1" << QStringList{"A", "C", "D", ""};
        QTest::newRow("removing D") << abcd << "remove:3" << QStringList{"A", "B", "C", ""};
        QTest::newRow("removing A") << abcd << "remove:0" << QStringList{"B", "C", "D", ""};
    }
    void recentList() {
        QFETCH(QStringList, before);
        QFETCH(QString, action);
        QFETCH(QStringList, after);
        RecentList list{before[0], before[1], before[2], before[3]};
        const QString verb = action.section(QLatin1Char(':'), 0, 0);
        const QString arg = action.section(QLatin1Char(':'), 1);
        if (verb == QLatin1String("add"))
            AddToTop(list, arg);
        else if (verb == QLatin1String("top"))
            MoveIndexToTop(list, arg.toInt());
        else
            RemoveAt(list, arg.toInt());
        QCOMPARE(QStringList(list.begin(), list.end()), after);
    }

    void recentCaption() {
        QCOMPARE(RecentCaption(1, QString()), QStringLiteral("&1  "));
        QCOMPARE(RecentCaption(4, QStringLiteral("/tmp/a b")), QStringLiteral("&4  /tmp/a b"));
    }
};

QTEST_APPLESS_MAIN(TestViewText)
#include "TestViewText.moc"
