// The hit list's model: the entry texts over the store of offsets.
#include "core/search/HitListModel.h"

#include <QAbstractItemModelTester>
#include <QTest>
#include <vector>

using namespace zirpel;

namespace {

// A store of the given offsets, in ascending order, a region at a time as the scan fills it.
HitStore StoreOf(std::initializer_list<qint32> offsets) {
    HitStore hits;
    std::vector<quint64> words(HitStore::kRegionSize / 64);
    qint64 region = -1;
    for (const qint32 offset : offsets) {
        if (offset / HitStore::kRegionSize != region && region >= 0) {
            hits.addRegion(region * HitStore::kRegionSize, words);
            std::fill(words.begin(), words.end(), 0);
        }
        region = offset / HitStore::kRegionSize;
        const qint64 p = offset % HitStore::kRegionSize;
        words[std::size_t(p / 64)] |= quint64(1) << (p % 64);
    }
    if (region >= 0)
        hits.addRegion(region * HitStore::kRegionSize, words);
    return hits;
}

} // namespace

class TestHitListModel : public QObject {
    Q_OBJECT
private slots:
    void hitListTexts_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<QString>("text");
        QTest::newRow("hex 224") << 224 << false << "000000E0";
        QTest::newRow("decimal 224 behind five blanks") << 224 << true << "     224";
        QTest::newRow("decimal eight digits") << 99999999 << true << "99999999";
        QTest::newRow("decimal nine digits unpadded") << 100000000 << true << "100000000";
        QTest::newRow("hex largest offset") << 2147483647 << false << "7FFFFFFF";
    }
    void hitListTexts() {
        QFETCH(int, offset);
        QFETCH(bool, decimal);
        QFETCH(QString, text);
        HitListModel model;
        model.setHits(StoreOf({0, offset}), decimal);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.data(model.index(1), Qt::DisplayRole).toString(), text);
        QCOMPARE(model.text(1), text);
        // A row the list does not have (in release builds too).
        QCOMPARE(model.text(2), QString());
        QCOMPARE(model.offset(-1), -1);
    }

    void hitListIsAProperModel() {
        HitListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setHits(StoreOf({1, 5, 9}), false);
        QCOMPARE(model.count(), 3);
        QVERIFY(!model.data(model.index(0), Qt::EditRole).isValid());
        model.setHits(HitStore(), true);
        model.setHits(StoreOf({7}), true);
        model.clear();
        QCOMPARE(model.rowCount(), 0);
        model.clear();
    }
};

QTEST_APPLESS_MAIN(TestHitListModel)
#include "TestHitListModel.moc"
