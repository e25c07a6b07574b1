// The sizes of the table and the panels for a page shape.
#include "core/view/Geometry.h"
#include "core/view/Page.h"

#include <QSize>
#include <QTest>

using namespace zirpel;

class TestGeometry : public QObject {
    Q_OBJECT
private slots:
    void geometry_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QSize>("table");
        QTest::newRow("16 x 16, lines") << 16 << 16 << 1 << QSize(504, 292);
        QTest::newRow("16 x 16, no lines") << 16 << 16 << 0 << QSize(488, 276);
        QTest::newRow("32 x 32, lines") << 32 << 32 << 1 << QSize(920, 564);
        QTest::newRow("32 x 32, no lines") << 32 << 32 << 0 << QSize(888, 532);
    }
    void geometry() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, lines);
        QFETCH(QSize, table);
        Geometry g{columns, rows, lines, false, false};
        QCOMPARE(QSize(g.tableWidth(), g.tableHeight()), table);
        const int plain = g.contentHeight();
        g.searchPanel = true;
        QCOMPARE(g.contentHeight() - plain, 140);
        // The search panel lies wholly inside the content area.
        QVERIFY(g.panelTop() + 140 <= g.contentHeight());
        QVERIFY(Geometry::SearchPanelRight <= g.contentWidth());
        g.searchPanel = false;
        g.editPanel = true;
        QCOMPARE(g.contentHeight() - plain, 80);
        QVERIFY(g.tableWidth() + 5 <= g.contentWidth());
        // The scroll bar stands right of the table, inside the content area.
        QVERIFY(Geometry::TableLeft + g.tableWidth() + Geometry::ScrollBarWidth <=
                g.contentWidth());
    }

    // The page stays inside the file: the offset stops at the last whole page.
    void page_data() {
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("bytes");
        QTest::newRow("file shorter than a page") << 100 << 16 << 0 << 100;
        QTest::newRow("inside") << 1000 << 512 << 512 << 256;
        QTest::newRow("on the last whole page") << 1000 << 744 << 744 << 256;
        QTest::newRow("past the last whole page") << 1000 << 900 << 744 << 256;
        QTest::newRow("largest file, last page")
            << int(kMaxFileSize) << int(kMaxFileSize) << int(kMaxFileSize) - 256 << 256;
    }
    void page() {
        QFETCH(int, fileSize);
        QFETCH(int, at);
        QFETCH(int, offset);
        QFETCH(int, bytes);
        Page p{0, 256};
        p.offset = p.clamp(at, fileSize);
        QCOMPARE(p.offset, offset);
        QCOMPARE(p.bytesInFile(fileSize), bytes);
    }
};

QTEST_APPLESS_MAIN(TestGeometry)
#include "TestGeometry.moc"
