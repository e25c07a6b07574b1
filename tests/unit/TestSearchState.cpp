// The search panel's rules: which patterns are kept, and the checks before a replace.
#include "FileBytes.h"
#include "core/search/SearchState.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zirpel;

namespace {

// The hits of ABC at 100 and 597 of a 600-byte file, listed.
void List(SearchState& state) {
    QByteArray bytes(600, '.');
    bytes.replace(100, 3, "ABC").replace(597, 3, "ABC");
    QTemporaryDir dir;
    BinaryFile file;
    QVERIFY(file.open(MakeFile(dir, QStringLiteral("f.bin"), bytes), BinaryFile::Mode::Read));
    (void)state.takeSearchPattern(QStringLiteral("ABC"), PatternBase::Ascii);
    state.search(file, bytes.size(), false);
    QCOMPARE(state.hits().count(), 2);
}

} // namespace

class TestSearchState : public QObject {
    Q_OBJECT
private slots:
    // The pattern kept after "ab" and then the second text, in hex unless said.
    void keepsPatterns_data() {
        QTest::addColumn<bool>("replacement");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<bool>("ascii");
        QTest::newRow("search: a bad digit keeps the pattern before")
            << false << "0x0d" << QByteArray("ab") << false;
        QTest::newRow("replacement: an odd length keeps the one before")
            << true << "0D0" << QByteArray("ab") << false;
        QTest::newRow("replacement of 41 bytes is not kept")
            << true << QString(82, 'e') << QByteArray("ab") << false;
        QTest::newRow("replacement of 40 bytes is kept")
            << true << QString(80, 'e') << QByteArray(40, '\xEE') << false;
        QTest::newRow("search: a character outside Windows-1252 keeps the pattern before")
            << false << QStringLiteral("\u03C9") << QByteArray("ab") << true;
        QTest::newRow("replacement: a character outside Windows-1252 keeps the one before")
            << true << QStringLiteral("K\u03C9") << QByteArray("ab") << true;
    }
    void keepsPatterns() {
        QFETCH(bool, replacement);
        QFETCH(QString, second);
        QFETCH(QByteArray, kept);
        QFETCH(bool, ascii);
        SearchState state;
        const PatternBase secondBase = ascii ? PatternBase::Ascii : PatternBase::Hex;
        for (const auto& [text, base] :
             {std::pair{QStringLiteral("ab"), PatternBase::Ascii}, {second, secondBase}})
            (void)(replacement ? state.takeReplacePattern(text, base)
                               : state.takeSearchPattern(text, base));
        QCOMPARE(replacement ? state.replacePattern() : state.searchPattern(), kept);
    }

    void clearingTheHitsKeepsThePhase() {
        SearchState state;
        List(state);
        state.clearHits();
        QCOMPARE(state.hits().count(), 0);
        QCOMPARE(int(state.phase()), int(SearchState::Phase::Listed));
        // Its count stands until a reset.
        QVERIFY(state.searched());
        state.reset();
        QVERIFY(!state.searched());
    }

    // The hits of List, the replacement in ASCII.
    void checkReplace_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<int>("row");
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<int>("check");
        using Check = SearchState::ReplaceCheck;
        QTest::newRow("hit inside the file") << "ABC"
                                             << "XYZ" << 0 << 600ll << int(Check::Ok);
        QTest::newRow("ending at the last byte") << "ABC"
                                                 << "XYZ" << 1 << 600ll << int(Check::Ok);
        QTest::newRow("different lengths before a missing selection")
            << "ABC"
            << "XY" << -1 << 600ll << int(Check::LengthsDiffer);
        QTest::newRow("41 characters stop at the length check")
            << QString(41, 'a') << QString(41, 'Z') << 0 << 600ll << int(Check::LengthsDiffer);
        QTest::newRow("no entry selected") << "ABC"
                                           << "XYZ" << -1 << 600ll << int(Check::NoSelection);
        QTest::newRow("row past the last hit") << "ABC"
                                               << "XYZ" << 2 << 600ll << int(Check::NoSelection);
        QTest::newRow("file cut below the end of the hit")
            << "ABC"
            << "XYZ" << 0 << 102ll << int(Check::PastEnd);
        QTest::newRow("six bytes for a hex text of three")
            << "414243"
            << "XYZ123" << 1 << 600ll << int(Check::PastEnd);
    }
    void checkReplace() {
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(int, row);
        QFETCH(qint64, fileSize);
        QFETCH(int, check);
        SearchState state;
        List(state);
        (void)state.takeReplacePattern(replacement, PatternBase::Ascii);
        QCOMPARE(int(state.checkReplace(search, replacement, row, fileSize)), check);
    }
};

QTEST_GUILESS_MAIN(TestSearchState)
#include "TestSearchState.moc"
