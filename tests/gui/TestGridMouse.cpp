// The mouse on the table: the character frame of a pressed byte and loading a row
// into the edit grid by a double click.
#include "EditRowDriver.h"
#include "WindowHarness.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"

#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace zirpel;

namespace {

using Frames = QList<QRect>;

QByteArray Counting(int size) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char(0x30 + i % 64);
    return b;
}

} // namespace

class TestGridMouse : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<WindowHarness> h;

    QWidget* surface() const { return h->grid()->viewport(); }
    QPoint centre(int col, int row) const { return h->grid()->cellRect(col, row).center(); }
    int columns() const { return h->find<SpinEdit>("CSpinEditSpalten")->value(); }
    // The edit row holds exactly the cells of the table's row.
    void compareWithTableRow(int row) const {
        const int columns = this->columns();
        QCOMPARE(h->editGrid()->colCount(), columns + 3);
        for (int c = 0; c <= columns + 2; ++c)
            QCOMPARE(h->editGrid()->cell(c, 0), h->cell(c, row));
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        h->create();
        h->showAndActivate();
        const QString path = dir.filePath(QStringLiteral("data.bin"));
        WriteWholeFile(path, Counting(1000));
        h->openThroughDialog(path);
        QCOMPARE(columns(), 16);
    }
    void cleanup() { h.reset(); }

    // Without grid lines the text cell starts at 66 + 16 * 18 + 8 = 362 and a row is 16
    // pixels high; with lines every column and row is one pixel wider.
    void frameWhileHeld_data() {
        QTest::addColumn<bool>("lines");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("first byte of row 3") << false << 1 << 3 << QRect(363, 48, 9, 16);
        QTest::newRow("byte 5 of row 1") << false << 5 << 1 << QRect(391, 16, 9, 16);
        QTest::newRow("last byte of the last row") << false << 16 << 16 << QRect(468, 256, 9, 16);
        QTest::newRow("header label of byte 1") << false << 1 << 0 << QRect(363, 0, 9, 16);
        QTest::newRow("first byte of row 3 with lines") << true << 1 << 3 << QRect(381, 51, 9, 16);
        QTest::newRow("byte 16 of row 2 with lines") << true << 16 << 2 << QRect(486, 34, 9, 16);
    }
    void frameWhileHeld() {
        QFETCH(bool, lines);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QRect, frame);
        if (lines)
            h->click("ToolButtonGitter");
        QTest::mousePress(surface(), Qt::LeftButton, {}, centre(col, row));
        QCOMPARE(h->grid()->focusFrames(), Frames{frame});
        QTest::mouseRelease(surface(), Qt::LeftButton, {}, centre(col, row));
        QCOMPARE(h->grid()->focusFrames(), Frames{});
    }

    void anyButtonMarks_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("right button") << int(Qt::RightButton) << 0;
        QTest::newRow("middle button") << int(Qt::MiddleButton) << 0;
        QTest::newRow("left button with shift") << int(Qt::LeftButton) << int(Qt::ShiftModifier);
    }
    void anyButtonMarks() {
        QFETCH(int, button);
        QFETCH(int, modifiers);
        const auto b = Qt::MouseButton(button);
        const auto m = Qt::KeyboardModifiers(modifiers);
        QTest::mousePress(surface(), b, m, centre(2, 4));
        QCOMPARE(h->grid()->focusFrames(), Frames{QRect(370, 64, 9, 16)});
        QTest::mouseRelease(surface(), b, m, centre(2, 4));
        QCOMPARE(h->grid()->focusFrames(), Frames{});
    }

    // The release decides: over a byte cell it draws there and renders the page again,
    // anywhere else the frame of the press stays and nothing is rendered.
    void release_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<bool>("rendered");
        QTest::addColumn<int>("framesAfter");
        // Cells as (column, row); a negative column is a point outside every cell.
        QTest::newRow("same byte cell") << QPoint(1, 3) << QPoint(1, 3) << true << 0;
        QTest::newRow("another byte of the same row") << QPoint(1, 3) << QPoint(9, 3) << true << 0;
        QTest::newRow("a byte of another row") << QPoint(1, 3) << QPoint(5, 7) << true << 0;
        QTest::newRow("address column") << QPoint(1, 3) << QPoint(0, 3) << false << 1;
        QTest::newRow("spacer column") << QPoint(1, 3) << QPoint(17, 3) << false << 1;
        QTest::newRow("text column") << QPoint(1, 3) << QPoint(18, 3) << false << 1;
        QTest::newRow("right of the text column") << QPoint(1, 3) << QPoint(-1, 0) << false << 1;
        QTest::newRow("outside the table") << QPoint(1, 3) << QPoint(-2, 0) << false << 1;
        QTest::newRow("header label, pressed on a page row")
            << QPoint(1, 3) << QPoint(4, 0) << true << 1;
    }
    void release() {
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(bool, rendered);
        QFETCH(int, framesAfter);
        auto at = [this](QPoint cell) {
            if (cell.x() == -1) // inside the table, right of its last column
                return QPoint(h->grid()->cellRect(18, 3).right() + 4, centre(18, 3).y());
            if (cell.x() == -2)
                return QPoint(-20, -20);
            return centre(cell.x(), cell.y());
        };
        QTest::mousePress(surface(), Qt::LeftButton, {}, at(press));
        const Frames held = h->grid()->focusFrames();
        QCOMPARE(held.size(), 1);
        // A cell text that is not the page's tells whether the page was rendered again.
        h->grid()->setCell(1, 1, QStringLiteral("XX"));
        QTest::mouseRelease(surface(), Qt::LeftButton, {}, at(release));
        QCOMPARE(h->cell(1, 1), rendered ? QStringLiteral("30") : QStringLiteral("XX"));
        QCOMPARE(h->grid()->focusFrames().size(), framesAfter);
        if (!rendered)
            QCOMPARE(h->grid()->focusFrames(), held);
    }

    void pressOutsideByteColumnsDrawsNothing_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::newRow("address column") << 0 << 3;
        QTest::newRow("spacer column") << 17 << 3;
        QTest::newRow("text column") << 18 << 3;
        QTest::newRow("header of the text column") << 18 << 0;
        QTest::newRow("corner cell") << 0 << 0;
    }
    void pressOutsideByteColumnsDrawsNothing() {
        QFETCH(int, col);
        QFETCH(int, row);
        h->grid()->setCell(1, 1, QStringLiteral("XX"));
        QTest::mousePress(surface(), Qt::LeftButton, {}, centre(col, row));
        QCOMPARE(h->grid()->focusFrames(), Frames{});
        QTest::mouseRelease(surface(), Qt::LeftButton, {}, centre(col, row));
        QCOMPARE(h->grid()->focusFrames(), Frames{});
        QCOMPARE(h->cell(1, 1), QStringLiteral("XX")); // not rendered again
    }

    void headerFrameOutlivesRender() {
        // Pressed on a header label and released on a page byte: the page is rendered
        // again, which leaves the header row and its frame alone.
        QTest::mousePress(surface(), Qt::LeftButton, {}, centre(3, 0));
        QTest::mouseRelease(surface(), Qt::LeftButton, {}, centre(3, 2));
        QCOMPARE(h->grid()->focusFrames(), Frames{QRect(377, 0, 9, 16)});
        // Pressing the same label again removes it.
        QTest::mousePress(surface(), Qt::LeftButton, {}, centre(3, 0));
        QCOMPARE(h->grid()->focusFrames(), Frames{});
    }

    void pressMakesByteCellCurrent() {
        QTest::mousePress(surface(), Qt::LeftButton, {}, centre(6, 9));
        QCOMPARE(h->grid()->currentCol(), 6);
        QCOMPARE(h->grid()->currentRow(), 9);
        QTest::mouseRelease(surface(), Qt::LeftButton, {}, centre(6, 9));
    }

    // Only the left button chooses a cell and loads a row; every button marks (above).
    void onlyTheLeftButtonActs_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("acts");
        QTest::newRow("left button") << int(Qt::LeftButton) << true;
        QTest::newRow("right button") << int(Qt::RightButton) << false;
    }
    void onlyTheLeftButtonActs() {
        QFETCH(int, button);
        QFETCH(bool, acts);
        const auto b = Qt::MouseButton(button);
        h->click("ToolButtonEdit");
        QTest::mouseClick(surface(), Qt::LeftButton, {}, centre(2, 9));
        QTest::mousePress(surface(), b, {}, centre(6, 5));
        QCOMPARE(h->grid()->currentCol(), acts ? 6 : 2);
        QCOMPARE(h->grid()->currentRow(), acts ? 5 : 9);
        QTest::mouseRelease(surface(), b, {}, centre(6, 5));
        QTest::mouseDClick(surface(), b, {}, centre(6, 5));
        QTest::mouseRelease(surface(), b, {}, centre(6, 5));
        QCOMPARE(EditRowEnabled(*h), acts);
    }

    void doubleClickWithPanelShown_data() {
        QTest::addColumn<QPoint>("before");
        QTest::addColumn<QPoint>("clicked");
        QTest::addColumn<int>("loadedRow");
        QTest::newRow("byte cell of row 5") << QPoint(2, 9) << QPoint(7, 5) << 5;
        QTest::newRow("first byte of row 5") << QPoint(2, 9) << QPoint(1, 5) << 5;
        QTest::newRow("text column of row 5") << QPoint(2, 9) << QPoint(18, 5) << 5;
        QTest::newRow("last page row") << QPoint(2, 9) << QPoint(16, 16) << 16;
        QTest::newRow("address column keeps the current row") << QPoint(2, 9) << QPoint(0, 5) << 9;
        QTest::newRow("header row keeps the current row") << QPoint(2, 9) << QPoint(4, 0) << 9;
    }
    void doubleClickWithPanelShown() {
        QFETCH(QPoint, before);
        QFETCH(QPoint, clicked);
        QFETCH(int, loadedRow);
        h->click("ToolButtonEdit");
        QVERIFY(h->editGrid()->isVisible());
        QVERIFY(EditRowDisabled(*h));
        QTest::mouseClick(surface(), Qt::LeftButton, {}, centre(before.x(), before.y()));
        DoubleClick(surface(), centre(clicked.x(), clicked.y()));
        compareWithTableRow(loadedRow);
        QCOMPARE(h->editGrid()->cell(0, 0),
                 QStringLiteral("%1").arg((loadedRow - 1) * 16, 8, 16, QLatin1Char('0')).toUpper());
        QVERIFY(EditRowEnabled(*h));
    }

    void doubleClickWithPanelHidden() {
        DoubleClick(surface(), centre(3, 5));
        // Loaded and enabled all the same, though nobody sees it.
        QVERIFY(!h->editGrid()->isVisible());
        QVERIFY(EditRowEnabled(*h));
        h->click("ToolButtonEdit");
        QVERIFY(h->editGrid()->isVisible());
        compareWithTableRow(5);
        QVERIFY(EditRowDisabled(*h));
        DoubleClick(surface(), centre(3, 5));
        QVERIFY(EditRowEnabled(*h));
    }

    void doubleClickAfterColumnsGrewWhileHidden() {
        h->click("ToolButtonEdit"); // the edit grid takes 19 columns
        h->click("ToolButtonEdit"); // hidden again
        auto* spalten = h->find<SpinEdit>("CSpinEditSpalten");
        spalten->stepUp();
        spalten->stepUp();
        QCOMPARE(columns(), 24);
        DoubleClick(surface(), centre(22, 2));
        h->click("ToolButtonEdit");
        compareWithTableRow(2);
        QCOMPARE(h->editGrid()->cell(24, 0), QStringLiteral("5F"));
    }

    void doubleClickReloadsOverAnotherRow() {
        h->click("ToolButtonEdit");
        DoubleClick(surface(), centre(3, 5));
        DoubleClick(surface(), centre(3, 12));
        compareWithTableRow(12);
        QVERIFY(EditRowEnabled(*h));
    }
};

QTEST_MAIN(TestGridMouse)
#include "TestGridMouse.moc"
