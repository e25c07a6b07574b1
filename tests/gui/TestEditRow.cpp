// The edit row: typing into byte cells, which cells can be chosen, and every rule that
// disables the row, driven with mouse and keys.
#include "EditRowDriver.h"
#include "WindowHarness.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"

#include <QAccessible>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace zirpel;

namespace {

// Letters, with 0xE4 at offset 4: the table shows "ABCDäFGHIJKLMNOP" in its first row.
QByteArray Letters(int size) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char('A' + i % 26);
    if (size > 4)
        b[4] = char(0xE4);
    return b;
}

const QString kFirstRowText = QStringLiteral("ABCD\u00E4FGHIJKLMNOP");

} // namespace

class TestEditRow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<WindowHarness> h;
    QString path;
    QByteArray original;

    QString editCell(int col) const { return h->editGrid()->cell(col, 0); }
    QString textCell() const { return editCell(18); }
    bool enabled() const { return EditRowEnabled(*h); }
    bool disabled() const { return EditRowDisabled(*h); }
    QStringList editCells(int count) const {
        QStringList cells;
        for (int c = 0; c < count; ++c)
            cells << editCell(c);
        return cells;
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        h->create();
        h->showAndActivate();
        path = dir.filePath(QStringLiteral("letters.bin"));
        original = Letters(1000);
        WriteWholeFile(path, original);
        h->openThroughDialog(path);
        h->click("ToolButtonEdit");
        LoadRow(*h, 1);
        QVERIFY(enabled());
        QCOMPARE(textCell(), kFirstRowText);
    }
    void cleanup() {
        // Nothing here writes: the file stays as it was.
        QCOMPARE(ReadWholeFile(path), original);
        h.reset();
    }

    // What a byte cell keeps is the unit tables' business; here: the keys reach the cell,
    // the text cell follows at the cell's place, nothing else changes.
    void typing_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("shown");
        QTest::newRow("4a becomes 4A, shown as J") << 1 << "4a"
                                                   << "4A"
                                                   << "J";
        QTest::newRow("41 in cell 3 puts A at character 3") << 3 << "41"
                                                            << "41"
                                                            << "A";
        QTest::newRow("blank over the umlaut") << 5 << "20"
                                               << "20"
                                               << " ";
        QTest::newRow("7E in the last cell") << 16 << "7e"
                                             << "7E"
                                             << "~";
    }
    void typing() {
        QFETCH(int, col);
        QFETCH(QString, keys);
        QFETCH(QString, cell);
        QFETCH(QString, shown);
        TypeIntoCell(*h, col, keys);
        QCOMPARE(editCell(col), cell);
        QString text = kFirstRowText;
        text[col - 1] = shown[0];
        QCOMPARE(textCell(), text);
        // The table does not show what is typed.
        QCOMPARE(h->cell(18, 1), kFirstRowText);
        // The address and the other byte cells are left alone.
        QCOMPARE(editCell(0), QStringLiteral("00000000"));
        for (int c = 1; c <= 16; ++c) {
            if (c != col)
                QCOMPARE(editCell(c), h->cell(c, 1));
        }
    }

    void storedTextFollowsEveryKey_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("shown");
        // What a screen reader is told: the byte kept, once whole or other than typed.
        QTest::addColumn<QStringList>("told");
        QTest::newRow("three digits")
            << "123" << QStringList{"1", "12", "12"} << "..." << QStringList{"", "12", "12"};
        QTest::newRow("bad second key")
            << "4x" << QStringList{"4", "00"} << ".." << QStringList{"", "00"};
        QTest::newRow("letters") << "4a" << QStringList{"4", "4A"} << ".J" << QStringList{"", "4A"};
    }
    void storedTextFollowsEveryKey() {
        QFETCH(QString, keys);
        QFETCH(QStringList, cells);
        QFETCH(QString, shown);
        QFETCH(QStringList, told);
        StringGrid* g = h->editGrid();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(4, 0).center());
        QCOMPARE(h->told(), QStringLiteral("Bearbeitungszeile 00000000")); // the row loaded
        for (qsizetype k = 0; k < keys.size(); ++k) {
            QTest::keyClick(KeyTarget(g), keys[k].toLatin1());
            QCOMPARE(editCell(4), cells[k]);
            QCOMPARE(textCell()[3], shown[k]);
            QCOMPARE(h->told(), told[k]);
            // A reader reads the editor's text whole: one run of attributes to its end.
            QAccessibleInterface* editor =
                QAccessible::queryAccessibleInterface(QApplication::focusWidget());
            QAccessibleTextInterface* text = editor->textInterface();
            int start = -1, end = -1;
            text->attributes(text->characterCount() - 1, &start, &end);
            QCOMPARE(text->text(start, end), cells[k]);
            // It lies within its cell: moving on in the row, a reader hears only the next.
            QCOMPARE(editor->parent()->tableCellInterface()->columnIndex(), 4);
        }
        // Closing the editor keeps what the last key left.
        QTest::keyClick(KeyTarget(g), Qt::Key_Return);
        QCOMPARE(editCell(4), cells.last());
    }

    void onlyByteCellsCanBeChosen_data() {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("current");
        QTest::newRow("another byte cell") << 9 << 9;
        QTest::newRow("last byte cell") << 16 << 16;
        QTest::newRow("spacer cell") << 17 << 5;
        QTest::newRow("text cell") << 18 << 5;
        QTest::newRow("address cell") << 0 << 5;
    }
    void onlyByteCellsCanBeChosen() {
        QFETCH(int, clicked);
        QFETCH(int, current);
        StringGrid* g = h->editGrid();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(5, 0).center());
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(clicked, 0).center());
        QCOMPARE(g->currentCol(), current);
        // A double click opens no editor outside the byte cells, and keys typed next go
        // to the current byte cell.
        DoubleClick(g->viewport(), g->cellRect(clicked, 0).center());
        const QStringList before = editCells(19);
        QTest::keyClick(KeyTarget(g), '4');
        QTest::keyClick(KeyTarget(g), '1');
        QTest::keyClick(KeyTarget(g), Qt::Key_Return);
        QCOMPARE(g->currentCol(), current);
        QCOMPARE(editCell(current), QStringLiteral("41"));
        for (int c : {0, 17})
            QCOMPARE(editCell(c), before[c]);
        QCOMPARE(textCell()[current - 1], QLatin1Char('A'));
    }

    void tabStopsAtTheLastByteCell() {
        StringGrid* g = h->editGrid();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(15, 0).center());
        QTest::keyClick(g, Qt::Key_Tab);
        QCOMPARE(g->currentCol(), 16);
        QTest::keyClick(g, Qt::Key_Tab);
        QCOMPARE(g->currentCol(), 16);
        // Out of a cell editor Tab moves on as over a cell: no editor opens on the next one
        // (a screen reader hears it with its offset), until a key is typed there.
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(14, 0).center());
        QTest::keyClick(g, Qt::Key_4);
        QTest::keyClick(KeyTarget(g), Qt::Key_Tab);
        QCOMPARE(g->currentCol(), 15);
        QCOMPARE(QApplication::focusWidget(), g);
        QTest::keyClick(g, Qt::Key_5);
        QTest::keyClick(KeyTarget(g), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(g->currentCol(), 14);
        QCOMPARE(QApplication::focusWidget(), g);
        QCOMPARE(editCell(14) + editCell(15), QStringLiteral("45"));
    }

    // What disables the loaded row, and what leaves it as it is; the cells keep their
    // texts either way.
    void rowAfterAction_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("stillEnabled");
        QTest::newRow("edit button hides the panel") << "edit" << false;
        QTest::newRow("edit button hides and shows the panel") << "edit twice" << false;
        QTest::newRow("address base") << "hexdez" << false;
        QTest::newRow("Abbrechen") << "cancel" << false;
        QTest::newRow("more columns") << "columns" << false;
        QTest::newRow("opening another file") << "open" << false;
        QTest::newRow("opening the same file again") << "reopen" << false;
        QTest::newRow("scrolling a page") << "scroll" << true;
        QTest::newRow("grid lines") << "lines" << true;
        QTest::newRow("more rows") << "rows" << true;
        QTest::newRow("search panel shown") << "search" << true;
        QTest::newRow("search panel, then the edit button") << "search then edit" << false;
    }
    void rowAfterAction() {
        QFETCH(QString, action);
        QFETCH(bool, stillEnabled);
        TypeIntoCell(*h, 2, QStringLiteral("3c"));
        const QStringList before = editCells(19);
        if (action == QLatin1String("edit")) {
            h->click("ToolButtonEdit");
        } else if (action == QLatin1String("edit twice")) {
            h->click("ToolButtonEdit");
            h->click("ToolButtonEdit");
            QVERIFY(h->editGrid()->isVisible());
        } else if (action == QLatin1String("hexdez")) {
            h->click("ToolButtonHexDez");
        } else if (action == QLatin1String("cancel")) {
            h->click("BtnEditGridCancel");
        } else if (action == QLatin1String("columns")) {
            h->find<SpinEdit>("CSpinEditSpalten")->stepUp();
            QCOMPARE(h->editGrid()->colCount(), 23);
        } else if (action == QLatin1String("open")) {
            const QString other = dir.filePath(QStringLiteral("other.bin"));
            WriteWholeFile(other, QByteArray(300, 'z'));
            h->openThroughDialog(other);
            QCOMPARE(ReadWholeFile(other), QByteArray(300, 'z'));
        } else if (action == QLatin1String("reopen")) {
            h->openThroughDialog(path);
        } else if (action == QLatin1String("scroll")) {
            h->find<QScrollBar>("ScrollBarVertikal")
                ->triggerAction(QAbstractSlider::SliderPageStepAdd);
            QCOMPARE(h->cell(0, 1), QStringLiteral("00000100"));
        } else if (action == QLatin1String("lines")) {
            h->click("ToolButtonGitter");
        } else if (action == QLatin1String("rows")) {
            h->find<SpinEdit>("CSpinEditReihen")->stepUp();
        } else if (action == QLatin1String("search")) {
            h->click("ToolButtonFindChange");
            QVERIFY(!h->editGrid()->isVisible());
        } else if (action == QLatin1String("search then edit")) {
            h->click("ToolButtonFindChange");
            h->click("ToolButtonEdit");
            QVERIFY(h->editGrid()->isVisible());
        }
        QCOMPARE(enabled(), stillEnabled);
        QCOMPARE(disabled(), !stillEnabled);
        QCOMPARE(editCells(19), before);
        // A screen reader names each cell by the table's offset above it.
        QCOMPARE(h->editGrid()->model()->headerData(3, Qt::Horizontal).toString(), h->cell(3, 0));
        if (action == QLatin1String("scroll"))
            h->find<QScrollBar>("ScrollBarVertikal")->setValue(0);
        if (!stillEnabled) {
            // A disabled row takes no keys, and a double click loads it again.
            StringGrid* g = h->editGrid();
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(3, 0).center());
            QTest::keyClick(g, '9');
            QCOMPARE(editCell(3), before[3]);
            if (action == QLatin1String("open"))
                h->openThroughDialog(path);
            if (!h->editGrid()->isVisible())
                h->click("ToolButtonEdit");
            LoadRow(*h, 1);
            QVERIFY(enabled());
        }
    }

    void emptyPanelIsDisabledUntilALoad() {
        // A fresh window: the first click on the edit button shows an empty, disabled row.
        WindowHarness fresh;
        fresh.create();
        fresh.showAndActivate();
        fresh.openThroughDialog(path);
        fresh.click("ToolButtonEdit");
        QVERIFY(fresh.editGrid()->isVisible());
        QVERIFY(!fresh.editGrid()->isEnabled());
        QVERIFY(!fresh.find<QPushButton>("BtnEditGridUebernehmen")->isEnabled());
        QVERIFY(!fresh.find<QPushButton>("BtnEditGridCancel")->isEnabled());
        for (int c = 0; c < 19; ++c)
            QVERIFY(fresh.editGrid()->cell(c, 0).isEmpty());
    }
};

QTEST_MAIN(TestEditRow)
#include "TestEditRow.moc"
