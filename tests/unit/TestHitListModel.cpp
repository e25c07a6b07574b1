// The hit list's model: the entry texts over the store of offsets.
#include "search/HitListModel.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace zirpel;

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
        HitStore hits;
        hits.add(0);
        hits.add(offset);
        model.setHits(std::move(hits), decimal);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.data(model.index(1), Qt::DisplayRole).toString(), text);
        QCOMPARE(model.text(1), text);
    }

    void hitListIsAProperModel() {
        HitListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        HitStore hits;
        for (const qint32 offset : {1, 5, 9})
            hits.add(offset);
        model.setHits(std::move(hits), false);
        QCOMPARE(model.count(), 3);
        QVERIFY(!model.data(model.index(0), Qt::EditRole).isValid());
        model.setHits(HitStore(), true);
        HitStore one;
        one.add(7);
        model.setHits(std::move(one), true);
        model.clear();
        QCOMPARE(model.rowCount(), 0);
        model.clear();
    }
};

QTEST_APPLESS_MAIN(TestHitListModel)
#include "TestHitListModel.moc"
