// The edit row's rules: which cells count as typed, and what a write of the row may
// change in the file as it is at that moment.
#include "core/edit/EditRowState.h"
#include "core/text/ByteText.h"

#include <QTest>

using namespace zirpel;

namespace {

constexpr qint64 kLargest = 2147483647;
const QByteArray kLetters("ABCDEFGHIJKLMNOP");
const QByteArray kTen = kLetters.left(10);
const QByteArray kTenAndZeros = kTen + QByteArray(6, '\0');

} // namespace

class TestEditRowState : public QObject {
    Q_OBJECT
private slots:
    // The texts an editor on cell 3 reports in turn, as it changes and as it closes.
    void typedCells_data() {
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("cell"); // and the text cell's third character
        QTest::newRow("editor opened and closed, Tab over it")
            << "41" << QStringList{"41", "41"} << false << "41C";
        QTest::newRow("00 typed over 00") << "00" << QStringList{"0", "00", "00"} << true << "00.";
        QTest::newRow("61 typed, then closed") << "41" << QStringList{"6", "61"} << true << "61a";
        QTest::newRow("retyped as it was") << "41" << QStringList{"4", "41"} << true << "41A";
        QTest::newRow("emptied") << "41" << QStringList{""} << true << ".";
        QTest::newRow("no hex digit") << "41" << QStringList{"4G"} << true << "00.";
    }
    void typedCells() {
        QFETCH(QString, loaded);
        QFETCH(QStringList, reports);
        QFETCH(bool, typed);
        QFETCH(QString, cell);
        EditRowState row;
        row.load(0, {QStringLiteral("41"), QStringLiteral("42"), loaded}, QStringLiteral("ABC"));
        for (const QString& text : reports)
            QVERIFY(row.editText(2, text));
        QCOMPARE(row.typed(2), typed);
        QCOMPARE(row.cell(2) + row.text()[2], cell);
        QCOMPARE(row.text().left(2), QStringLiteral("AB"));
        QVERIFY(!row.typed(0) && !row.typed(1));
        // A disabled row takes nothing.
        row.disable();
        QVERIFY(!row.editText(0, QStringLiteral("77")) && !row.typed(0));
    }

    // A 16-byte row loaded at offset and edited as "cell=text" (from 1), written into a
    // file now fileSize long: the runs as "place=hex bytes", counted from the row's offset.
    void compose_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("loaded");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("runs");
        const int ok = int(EditRowState::Result::Ok);
        QTest::newRow("nothing typed writes nothing")
            << 0ll << kLetters << QStringList{} << 100ll << ok << QStringList{};
        QTest::newRow("a typed cell among the file's bytes: that cell alone")
            << 0ll << kLetters << QStringList{"2=7"} << 100ll << ok << QStringList{"1=07"};
        QTest::newRow("two runs of typed cells leave the cells between them")
            << 0ll << kLetters << QStringList{"2=61", "3=62", "6=63"} << 100ll << ok
            << QStringList{"1=6162", "5=63"};
        QTest::newRow("untyped cells past the end add nothing")
            << 0ll << kTenAndZeros << QStringList{} << 10ll << ok << QStringList{};
        QTest::newRow("a typed cell past the end brings the cells up to it")
            << 0ll << kTenAndZeros << QStringList{"12=41"} << 10ll << ok << QStringList{"10=0041"};
        QTest::newRow("typed at the last byte and past the end: one run")
            << 0ll << kTenAndZeros << QStringList{"10=61", "12=41"} << 10ll << ok
            << QStringList{"9=610041"};
        QTest::newRow("bytes appended meanwhile stay")
            << 0ll << kTenAndZeros << QStringList{"2=61"} << 16ll << ok << QStringList{"1=61"};
        QTest::newRow("file cut below a typed cell: loaded cells fill up to it")
            << 0ll << kLetters << QStringList{"8=78"} << 5ll << ok << QStringList{"5=464778"};
        QTest::newRow("row starting at the end appends the typed byte")
            << 32ll << QByteArray(16, '\0') << QStringList{"1=5A"} << 32ll << ok
            << QStringList{"0=5A"};
        QTest::newRow("row starting behind the end")
            << 112ll << QByteArray(16, '\0') << QStringList{"1=41"} << 103ll
            << int(EditRowState::Result::BehindEnd) << QStringList{};
        QTest::newRow("typed past the end of a 2^31 - 1 byte file")
            << kLargest - 10 << kTenAndZeros << QStringList{"12=41"} << kLargest
            << int(EditRowState::Result::CannotWrite) << QStringList{};
        QTest::newRow("growing to exactly 2^31 - 1 bytes")
            << kLargest - 16 << kTenAndZeros << QStringList{"16=41"} << kLargest - 6 << ok
            << QStringList{"10=000000000041"};
    }
    void compose() {
        QFETCH(qint64, offset);
        QFETCH(QByteArray, loaded);
        QFETCH(QStringList, edits);
        QFETCH(qint64, fileSize);
        QFETCH(int, result);
        QFETCH(QStringList, runs);
        QStringList cells;
        for (const char b : loaded)
            cells << ByteText(quint8(b));
        EditRowState row;
        row.load(qint32(offset), cells, QString(16, QLatin1Char('.')));
        for (const QString& e : edits)
            row.editText(e.section(QLatin1Char('='), 0, 0).toInt() - 1,
                         e.section(QLatin1Char('='), 1));
        const EditRowState::Plan plan = row.compose(fileSize);
        QCOMPARE(int(plan.result), result);
        QStringList written;
        for (const WriteRun& run : plan.runs)
            written << QString::number(run.at) + QLatin1Char('=') +
                           QString::fromLatin1(run.bytes.toHex().toUpper());
        QCOMPARE(written, runs);
    }
};

QTEST_GUILESS_MAIN(TestEditRowState)
#include "TestEditRowState.moc"
