// The store of hit offsets: sorted lists or bitmaps by region, filled a region at a time,
// and what it holds in memory.
#include "core/search/HitStore.h"

#include <QTest>
#include <algorithm>
#include <vector>

using namespace zirpel;

class TestHitStore : public QObject {
    Q_OBJECT
private slots:
    // The store over arithmetic rows of offsets: first, first + step, ... (count of them),
    // added a region at a time.
    void hitStore_data() {
        QTest::addColumn<HitStore::Form>("form");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<int>("bitmaps");
        const auto Auto = HitStore::Form::Auto;
        QTest::newRow("empty") << Auto << qint64(0) << qint64(1) << qint64(0) << 0;
        QTest::newRow("one hit at the largest offset")
            << Auto << qint64(INT32_MAX) << qint64(1) << qint64(1) << 0;
        QTest::newRow("sparse over many regions stays lists")
            << Auto << qint64(5) << qint64(4097) << qint64(100000) << 0;
        QTest::newRow("every second byte becomes bitmaps")
            << Auto << qint64(0) << qint64(2) << qint64(3 << 19) << 3;
        QTest::newRow("every byte: bitmaps, the short tail a list")
            << Auto << qint64(1000) << qint64(1) << qint64(5 << 20) << 5;
        QTest::newRow("a full list of a region stays a list")
            << Auto << qint64(0) << qint64(32) << qint64(32768) << 0;
        QTest::newRow("one hit more than a full list is a bitmap")
            << Auto << qint64(0) << qint64(31) << qint64(32769) << 1;
        QTest::newRow("a region of more hits than a full list is a bitmap")
            << Auto << qint64(0) << qint64(3) << qint64(40000) << 1;
        QTest::newRow("dense in lists only")
            << HitStore::Form::Offsets << qint64(7) << qint64(1) << qint64(3 << 19) << 0;
        QTest::newRow("sparse in bitmaps only")
            << HitStore::Form::Bitmap << qint64(3) << qint64(4097) << qint64(1000) << 4;
        QTest::newRow("bitmaps of more regions than a block of memory holds")
            << HitStore::Form::Bitmap << qint64(9) << qint64(65537) << qint64(20 * 16) << 20;
    }
    void hitStore() {
        QFETCH(HitStore::Form, form);
        QFETCH(qint64, first);
        QFETCH(qint64, step);
        QFETCH(qint64, count);
        QFETCH(int, bitmaps);
        // As the scan adds them.
        HitStore::PagePool pool;
        HitStore hits(form);
        // The bitmap of one region, handed over when the next offset lies behind it.
        std::vector<quint64> words(HitStore::kRegionSize / 64);
        qint64 region = first / HitStore::kRegionSize;
        for (qint64 k = 0; k < count; ++k) {
            const qint64 offset = first + k * step;
            if (offset / HitStore::kRegionSize != region) {
                hits.addRegion(region * HitStore::kRegionSize, words, {}, &pool);
                std::fill(words.begin(), words.end(), 0);
                region = offset / HitStore::kRegionSize;
            }
            const qint64 p = offset % HitStore::kRegionSize;
            words[std::size_t(p / 64)] |= quint64(1) << (p % 64);
        }
        hits.addRegion(region * HitStore::kRegionSize, words, {}, &pool);
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
