// The search panel's rules: which patterns are kept, and the checks before a replace.
#include "search/SearchState.h"

#include <QTest>

using namespace zirpel;

class TestSearchState : public QObject {
    Q_OBJECT
private slots:
    // The pattern kept after "ab" and then the second text, in hex.
    void keepsPatterns_data() {
        QTest::addColumn<bool>("replacement");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QByteArray>("kept");
        QTest::newRow("search: a bad digit keeps the pattern before")
            << false << "0x0d" << QByteArray("ab");
        QTest::newRow("replacement: an odd length keeps the one before")
            << true << "0D0" << QByteArray("ab");
        QTest::newRow("replacement of 41 bytes is not kept")
            << true << QString(82, 'e') << QByteArray("ab");
        QTest::newRow("replacement of 40 bytes is kept")
            << true << QString(80, 'e') << QByteArray(40, '\xEE');
    }
    void keepsPatterns() {
        QFETCH(bool, replacement);
        QFETCH(QString, second);
        QFETCH(QByteArray, kept);
        SearchState state;
        for (const auto& [text, base] :
             {std::pair{QStringLiteral("ab"), PatternBase::Ascii}, {second, PatternBase::Hex}})
            (void)(replacement ? state.takeReplacePattern(text, base)
                               : state.takeSearchPattern(text, base));
        QCOMPARE(replacement ? state.replacePattern() : state.searchPattern(), kept);
    }

    // Hits at 100 and 597 of a 600-byte file, the replacement in ASCII.
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
        HitStore hits;
        hits.add(100);
        hits.add(597);
        state.hits().setHits(std::move(hits), false);
        (void)state.takeReplacePattern(replacement, PatternBase::Ascii);
        QCOMPARE(int(state.checkReplace(search, replacement, row, fileSize)), check);
    }
};

QTEST_GUILESS_MAIN(TestSearchState)
#include "TestSearchState.moc"
