// A window's place against the screens' available areas, over the whole 32-bit range.
#include "core/system/ScreenPlace.h"

#include <QTest>
#include <limits>

using namespace zirpel;

namespace {

constexpr qint32 Min = std::numeric_limits<qint32>::min();
constexpr qint32 Max = std::numeric_limits<qint32>::max();
const QRect Screen(0, 0, 1280, 1024);
const QRect Right(1280, 0, 1920, 1080);

} // namespace

class TestScreenPlace : public QObject {
    Q_OBJECT
private slots:
    void meetsAnyArea_data() {
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<bool>("meets");
        const QList<QRect> one{Screen};
        QTest::newRow("inside") << QPoint(100, 100) << one << true;
        QTest::newRow("last pixel column shared") << QPoint(1279, 500) << one << true;
        QTest::newRow("just right of the area") << QPoint(1280, 500) << one << false;
        QTest::newRow("just above the area") << QPoint(100, -200) << one << false;
        QTest::newRow("on the second screen")
            << QPoint(2000, 500) << QList<QRect>{Screen, Right} << true;
        QTest::newRow("that screen removed") << QPoint(2000, 500) << one << false;
        QTest::newRow("no screen") << QPoint(100, 100) << QList<QRect>() << false;
        // Built as a QRect, these edges wrap round and seem to meet the screen.
        QTest::newRow("left -2147483648, top 2147483647") << QPoint(Min, Max) << one << false;
        QTest::newRow("left 2147483647, top -2147483648") << QPoint(Max, Min) << one << false;
        QTest::newRow("both -2147483648") << QPoint(Min, Min) << one << false;
        QTest::newRow("area at the far end of the range")
            << QPoint(Max - 100, 0) << QList<QRect>{QRect(Max - 50, 0, 50, 50)} << true;
    }
    void meetsAnyArea() {
        QFETCH(QPoint, topLeft);
        QFETCH(QList<QRect>, areas);
        QFETCH(bool, meets);
        QCOMPARE(MeetsAnyArea(topLeft, QSize(250, 200), areas), meets);
    }

    void keepInside_data() {
        QTest::addColumn<QRect>("outer");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("fits: stays") << QRect(700, 80, 534, 392) << Screen << QPoint(700, 80);
        QTest::newRow("past the right edge: moved left, top kept")
            << QRect(701, 80, 632, 526) << Screen << QPoint(648, 80);
        QTest::newRow("past the bottom: moved up, left kept")
            << QRect(100, 700, 534, 532) << Screen << QPoint(100, 492);
        QTest::newRow("past both") << QRect(900, 900, 534, 532) << Screen << QPoint(746, 492);
        QTest::newRow("wider than the area: left edge on the area's")
            << QRect(300, 80, 1400, 392) << Screen << QPoint(0, 80);
        QTest::newRow("on the second screen, past its right edge")
            << QRect(3000, 80, 534, 392) << Right << QPoint(2666, 80);
        QTest::newRow("left of the second screen: moved onto it")
            << QRect(1200, 80, 534, 392) << Right << QPoint(1280, 80);
    }
    void keepInside() {
        QFETCH(QRect, outer);
        QFETCH(QRect, area);
        QFETCH(QPoint, topLeft);
        QCOMPARE(KeepInside(outer, area), topLeft);
    }
};

QTEST_APPLESS_MAIN(TestScreenPlace)
#include "TestScreenPlace.moc"
