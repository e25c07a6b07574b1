// The pattern entries' drop-down history.
#include "core/search/EntryHistory.h"

#include <QTest>

using namespace zirpel;

class TestEntryHistory : public QObject {
    Q_OBJECT
private slots:
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

QTEST_APPLESS_MAIN(TestEntryHistory)
#include "TestEntryHistory.moc"
