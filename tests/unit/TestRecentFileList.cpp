// The four-slot recent-file list: its moves and the captions of the menu items.
#include "core/settings/RecentFileList.h"

#include <QTest>

using namespace zirpel;

class TestRecentFileList : public QObject {
    Q_OBJECT
private slots:
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

QTEST_APPLESS_MAIN(TestRecentFileList)
#include "TestRecentFileList.moc"
