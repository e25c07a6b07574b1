// The store of hit offsets: sorted lists or bitmaps by region, filled one by one or 64
// positions at a time, and what it holds in memory.
#include "search/HitStore.h"

#include <QTest>
#include <algorithm>
#include <utility>

using namespace zirpel;

class TestHitStore : public QObject {
    Q_OBJECT
private slots:
    // The store over arithmetic rows of offsets: first, first + step, ... (count of them),
    // added one by one or 64 positions at a time.
    void hitStore_data() {
        QTest::addColumn<HitStore::Form>("form");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<bool>("byWords");
        QTest::addColumn<int>("bitmaps");
        const auto Auto = HitStore::Form::Auto;
        QTest::newRow("empty") << Auto << qint64(0) << qint64(1) << qint64(0) << false << 0;
        QTest::newRow("one hit at the largest offset")
            << Auto << qint64(INT32_MAX) << qint64(1) << qint64(1) << false << 0;
        QTest::newRow("sparse over many regions stays lists")
            << Auto << qint64(5) << qint64(4097) << qint64(100000) << false << 0;
        QTest::newRow("every second byte becomes bitmaps")
            << Auto << qint64(0) << qint64(2) << qint64(3 << 19) << false << 3;
        QTest::newRow("every byte by words: bitmaps, the short tail a list")
            << Auto << qint64(1000) << qint64(1) << qint64(5 << 20) << true << 5;
        QTest::newRow("a full list of a region stays a list")
            << Auto << qint64(0) << qint64(32) << qint64(32768) << false << 0;
        QTest::newRow("one more hit switches the region to a bitmap")
            << Auto << qint64(0) << qint64(31) << qint64(32769) << false << 1;
        QTest::newRow("a word that overfills the list switches it")
            << Auto << qint64(0) << qint64(3) << qint64(40000) << true << 1;
        QTest::newRow("dense in lists only")
            << HitStore::Form::Offsets << qint64(7) << qint64(1) << qint64(3 << 19) << true << 0;
        QTest::newRow("sparse in bitmaps only")
            << HitStore::Form::Bitmap << qint64(3) << qint64(4097) << qint64(1000) << false << 4;
    }
    void hitStore() {
        QFETCH(HitStore::Form, form);
        QFETCH(qint64, first);
        QFETCH(qint64, step);
        QFETCH(qint64, count);
        QFETCH(bool, byWords);
        QFETCH(int, bitmaps);
        HitStore hits(form);
        quint64 word = 0;
        qint64 base = -1;
        for (qint64 k = 0; k < count; ++k) {
            const qint64 offset = first + k * step;
            if (!byWords) {
                hits.add(qint32(offset));
                continue;
            }
            if (base >= 0 && offset / 64 * 64 != base)
                hits.addWord(base, std::exchange(word, 0));
            base = offset / 64 * 64;
            word |= quint64(1) << (offset - base);
        }
        hits.addWord(std::max<qint64>(base, 0), word);
        QCOMPARE(hits.count(), count);
        QCOMPARE(hits.bitmapRegions(), bitmaps);
        // Both ends, the middle, and samples between.
        for (const qint64 k : {qint64(0), qint64(1), count / 2, count - 2, count - 1}) {
            if (k >= 0 && k < count)
                QCOMPARE(hits.at(k), qint32(first + k * step));
        }
        for (qint64 k = 0; k < count; k += 1 + count / 500)
            QCOMPARE(hits.at(k), qint32(first + k * step));
        if (form == HitStore::Form::Auto && count > 0) {
            const qint64 span = (first + (count - 1) * step) / HitStore::kRegionSize -
                                first / HitStore::kRegionSize + 1;
            QVERIFY(hits.bytesHeld() <=
                    std::min(4 * count, span * HitStore::kRegionSize / 8) + (256 << 10));
        }
        hits.clear();
        QCOMPARE(hits.count(), qint64(0));
    }
};

QTEST_APPLESS_MAIN(TestHitStore)
#include "TestHitStore.moc"
