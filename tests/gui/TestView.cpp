// Viewing a file: rendering, scrolling, layout and display options, driven as a user does.
#include "WindowHarness.h"
#include "widgets/HitListView.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace zirpel;

namespace {

QByteArray Counting(int size) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char(i * 7 + 3);
    return b;
}

QString RowBytes(const StringGrid* g, int row, int columns) {
    QStringList cells;
    for (int c = 1; c <= columns; ++c)
        cells << g->cell(c, row);
    return cells.join(QLatin1Char(' '));
}

// Whether a rectangle of the widget shows its text whole: ink in it, none in its outermost
// pixel columns, where a text cut at the edge ends.
bool ShowsWhole(QWidget* widget, const QRect& rect) {
    const QImage image = widget->grab(rect).toImage();
    int inkColumns = 0;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < image.height(); ++y)
            ink = ink || qAbs(qGray(image.pixel(x, y)) - qGray(image.pixel(0, 0))) > 100;
        if (ink && (x == 0 || x == image.width() - 1))
            return false;
        inkColumns += ink;
    }
    return inkColumns > 0;
}

QString HexRow(const QByteArray& bytes) {
    QStringList cells;
    for (char b : bytes)
        cells << QStringLiteral("%1").arg(quint8(b), 2, 16, QLatin1Char('0')).toUpper();
    return cells.join(QLatin1Char(' '));
}

} // namespace

class TestView : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<WindowHarness> h;

    QString makeFile(const QString& name, const QByteArray& bytes) {
        return MakeFile(dir, name, bytes);
    }
    QScrollBar* bar() const { return h->find<QScrollBar>("ScrollBarVertikal"); }
    void openFile(const QByteArray& bytes) {
        h->openThroughDialog(makeFile(QStringLiteral("data.bin"), bytes));
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        h->create();
        h->showAndActivate();
    }
    void cleanup() { h.reset(); }

    void toolBarImagesShowOnEveryPalette_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("dark");
        for (const char* button : {"ToolButtonHexDez", "ToolButtonGitter"}) {
            QTest::addRow("%s, light palette", button) << button << false;
            QTest::addRow("%s, dark palette", button) << button << true;
        }
    }
    void toolBarImagesShowOnEveryPalette() {
        QFETCH(QString, button);
        QFETCH(bool, dark);
        const QPalette light = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
        if (dark) {
            QPalette night = light;
            for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Base})
                night.setColor(role, QColor(0x31, 0x36, 0x3b));
            for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
                night.setColor(role, QColor(0xfc, 0xfc, 0xfc));
            QApplication::setPalette(night);
        }
        // The widgets take the new palette from a posted event.
        QCoreApplication::processEvents();
        // Ink: a pixel far from the background's grey.
        const QImage image = h->find<QToolButton>(qPrintable(button))->grab().toImage();
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += qAbs(qGray(image.pixel(x, y)) - qGray(image.pixel(1, 1))) > 100;
        QVERIFY2(ink >= 20, qPrintable(QString::number(ink)));
    }

    void openShowsFirstPage() {
        const QByteArray bytes = Counting(1000);
        const QString path = makeFile(QStringLiteral("first.bin"), bytes);
        h->openThroughDialog(path);
        QCOMPARE(h->dialogs.openTitles, QStringList{QStringLiteral("Öffnen Datei")});
        QVERIFY(h->dialogs.openFilters[0].startsWith(QStringLiteral("Alle Dateien (*.*)|*.*|")));
        QVERIFY(h->dialogs.openFilters[0].endsWith(QStringLiteral("Pascal Unit (*.pas)|*.PAS|")));
        QCOMPARE(h->dialogs.openFilters[0].count(QLatin1Char('|')), 20);
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel  [") + path + QLatin1Char(']'));
        QCOMPARE(h->statusText(), QStringLiteral("Dateigröße: 1000 Bytes"));
        QVERIFY(h->grid()->isVisible());
        QVERIFY(h->find<QToolButton>("ToolButtonEdit")->isEnabled());
        QVERIFY(h->find<QToolButton>("ToolButtonFindChange")->isEnabled());
        // The platform's limit, maximum - page + 1, is the last page's offset + 1.
        QCOMPARE(bar()->maximum(), 745);
        QCOMPARE(h->cell(0, 1), QStringLiteral("00000000"));
        QCOMPARE(h->cell(0, 16), QStringLiteral("000000F0"));
        QCOMPARE(RowBytes(h->grid(), 1, 16), HexRow(bytes.left(16)));
        QCOMPARE(RowBytes(h->grid(), 16, 16), HexRow(bytes.mid(240, 16)));
        QCOMPARE(h->cell(1, 0), QStringLiteral("00"));
        QCOMPARE(h->cell(16, 0), QStringLiteral("0F"));
        QVERIFY(h->cell(0, 0).isEmpty());
        QVERIFY(h->cell(17, 3).isEmpty()); // spacer
    }

    void characterColumn() {
        openFile(QByteArray("\x00\x09\x1F\x20\x41\x7F\x80\xE4\xFF", 9));
        const QString expected = QStringLiteral("... A") + QChar(0x7F) + QStringLiteral("€äÿ") +
                                 QString(7, QLatin1Char('.'));
        QCOMPARE(h->cell(18, 1), expected);
        // Zero bytes past the end of a short file show as 00 and full stops.
        QCOMPARE(RowBytes(h->grid(), 2, 16), QStringList(16, QStringLiteral("00")).join(' '));
        QCOMPARE(h->cell(18, 2), QString(16, QLatin1Char('.')));
        QCOMPARE(h->cell(0, 16), QStringLiteral("000000F0"));
        // A fixed-pitch face also where Courier New is missing (Wine).
        QVERIFY2(QFontInfo(h->grid()->font()).fixedPitch(),
                 qPrintable(QFontInfo(h->grid()->font()).family()));
    }

    void emptyFile() {
        openFile(QByteArray());
        QCOMPARE(h->statusText(), QStringLiteral("Dateigröße: 0 Bytes"));
        QCOMPARE(bar()->maximum(), 0);
        QCOMPARE(h->cell(1, 1), QStringLiteral("00"));
        QCOMPARE(h->cell(18, 16), QString(16, QLatin1Char('.')));
    }

    void addresses_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<QStringList>("rows"); // first three row addresses
        QTest::newRow("hex at 0") << 0 << false << QStringList{"00000000", "00000010", "00000020"};
        QTest::newRow("hex at 5") << 5 << false << QStringList{"00000005", "00000015", "00000025"};
        QTest::newRow("decimal at 0")
            << 0 << true << QStringList{"       0", "      16", "      32"};
        QTest::newRow("decimal at 12345678")
            << 12345678 << true << QStringList{"12345678", "12345694", "12345710"};
        QTest::newRow("hex at 123456789")
            << 123456789 << false << QStringList{"075BCD15", "075BCD25", "075BCD35"};
        QTest::newRow("decimal at 123456789 unpadded")
            << 123456789 << true << QStringList{"123456789", "123456805", "123456821"};
        QTest::newRow("decimal ten digits")
            << 1234567890 << true << QStringList{"1234567890", "1234567906", "1234567922"};
    }
    void addresses() {
        QFETCH(int, offset);
        QFETCH(bool, decimal);
        QFETCH(QStringList, rows);
        // A sparse file large enough for every offset of the table.
        const QString path = dir.filePath(QStringLiteral("big.bin"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(f.resize(std::max(130000000, offset + 1000)));
            f.seek(offset);
            f.write("Zirpel");
        }
        h->openThroughDialog(path);
        if (decimal)
            h->click("ToolButtonHexDez");
        bar()->setSliderPosition(offset);
        QCOMPARE(bar()->value(), offset);
        // A screen reader hears the scroll bar's position as the first row's address, and
        // no number in another base.
        QAccessibleInterface* position = QAccessible::queryAccessibleInterface(bar());
        QCOMPARE(position->text(QAccessible::Description), rows[0].trimmed());
        QVERIFY(!position->valueInterface());
        for (int r = 0; r < rows.size(); ++r) {
            QCOMPARE(h->cell(0, r + 1), rows[r]);
            QVERIFY(ShowsWhole(h->grid()->viewport(), h->grid()->cellRect(0, r + 1)));
        }
        // The hit list shows them whole too, beside its scroll bar.
        HitListView list;
        list.setFont(h->find<HitListView>("ListBoxTreffer")->font());
        list.resize(h->find<HitListView>("ListBoxTreffer")->size());
        QStringListModel entries(rows + rows + rows);
        list.setModel(&entries);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(list.verticalScrollBar()->isVisible());
        for (int r = 0; r < rows.size(); ++r)
            QVERIFY(ShowsWhole(list.viewport(), list.visualRect(entries.index(r))));
        QCOMPARE(h->cell(1, 1), QStringLiteral("5A"));
        QVERIFY(h->cell(18, 1).startsWith(QStringLiteral("Zirpel")));
        QCOMPARE(h->cell(1, 0), decimal ? QStringLiteral("0") : QStringLiteral("00"));
        QCOMPARE(h->cell(16, 0), decimal ? QStringLiteral("15") : QStringLiteral("0F"));
    }

    void scrolling_data() {
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<int>("start");
        // QAbstractSlider::SliderAction; -1: thumb to 'to'; -2: 'to' wheel steps over the
        // table; -3: key 'to' on the scroll bar
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("rows"); // raised from 16 after moving to start
        using A = QAbstractSlider;
        QTest::newRow("100 bytes, any position is 0") << 100 << 0 << -1 << 50 << 0 << 16;
        QTest::newRow("100 bytes, bottom is 0")
            << 100 << 0 << int(A::SliderToMaximum) << 0 << 0 << 16;
        QTest::newRow("one page, bottom is 0")
            << 256 << 0 << int(A::SliderToMaximum) << 0 << 0 << 16;
        QTest::newRow("1000 bytes, bottom is 744")
            << 1000 << 0 << int(A::SliderToMaximum) << 0 << 744 << 16;
        QTest::newRow("1000 bytes, page step from 744 stays")
            << 1000 << 744 << int(A::SliderPageStepAdd) << 0 << 744 << 16;
        QTest::newRow("1000 bytes, line step from 744 stays")
            << 1000 << 744 << int(A::SliderSingleStepAdd) << 0 << 744 << 16;
        QTest::newRow("line step down from 0")
            << 1000 << 0 << int(A::SliderSingleStepAdd) << 0 << 16 << 16;
        QTest::newRow("page step down from 16")
            << 1000 << 16 << int(A::SliderPageStepAdd) << 0 << 272 << 16;
        QTest::newRow("line step up from 0")
            << 1000 << 0 << int(A::SliderSingleStepSub) << 0 << 0 << 16;
        QTest::newRow("page step up from 16")
            << 1000 << 16 << int(A::SliderPageStepSub) << 0 << 0 << 16;
        QTest::newRow("thumb at 37") << 1000 << 0 << -1 << 37 << 37 << 16;
        QTest::newRow("thumb past the limit") << 1000 << 0 << -1 << 900 << 744 << 16;
        QTest::newRow("wheel over the table: three rows a step")
            << 1000 << 0 << -2 << 2 << 96 << 16;
        QTest::newRow("wheel over the table stops at 744") << 1000 << 700 << -2 << 1 << 744 << 16;
        // The page grew on the last page and stays until the user scrolls; from there
        // every way down shows the last full page.
        QTest::newRow("grown at 744, line step down")
            << 1000 << 744 << int(A::SliderSingleStepAdd) << 0 << 488 << 32;
        QTest::newRow("grown at 744, line step up")
            << 1000 << 744 << int(A::SliderSingleStepSub) << 0 << 488 << 32;
        QTest::newRow("grown at 744, page step up")
            << 1000 << 744 << int(A::SliderPageStepSub) << 0 << 232 << 32;
        QTest::newRow("grown at 744, wheel") << 1000 << 744 << -2 << 1 << 488 << 32;
        QTest::newRow("grown at 744, End key")
            << 1000 << 744 << -3 << int(Qt::Key_End) << 488 << 32;
        QTest::newRow("grown past a short file, line step down")
            << 300 << 44 << int(A::SliderSingleStepAdd) << 0 << 0 << 32;
    }
    void scrolling() {
        QFETCH(int, fileSize);
        QFETCH(int, start);
        QFETCH(int, action);
        QFETCH(int, to);
        QFETCH(int, offset);
        QFETCH(int, rows);
        const QByteArray bytes = Counting(fileSize);
        openFile(bytes);
        bar()->setValue(start);
        for (int r = 16; r < rows; r += 4)
            QTest::keyClick(h->find<SpinEdit>("CSpinEditReihen"), Qt::Key_Up);
        QCOMPARE(h->shownOffset(), start);
        QCOMPARE(bar()->value(), start);
        if (action == -2) {
            QWidget* table = h->grid()->viewport();
            const QPoint at = table->rect().center();
            for (int i = 0; i < qAbs(to); ++i) {
                QWheelEvent wheel(at, table->mapToGlobal(at), {}, {0, to < 0 ? 120 : -120},
                                  Qt::NoButton, {}, Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(table, &wheel);
            }
        } else if (action == -3)
            QTest::keyClick(bar(), Qt::Key(to));
        else if (action < 0)
            bar()->setSliderPosition(to);
        else
            bar()->triggerAction(QAbstractSlider::SliderAction(action));
        QCOMPARE(h->shownOffset(), offset);
        QCOMPARE(bar()->value(), offset);
        QCOMPARE(h->cell(0, 1),
                 QStringLiteral("%1").arg(offset, 8, 16, QLatin1Char('0')).toUpper());
        QCOMPARE(h->cell(0, 2),
                 QStringLiteral("%1").arg(offset + 16, 8, 16, QLatin1Char('0')).toUpper());
        QByteArray page = bytes.mid(offset, rows * 16);
        page.append(QByteArray(rows * 16 - page.size(), '\0'));
        QCOMPARE(RowBytes(h->grid(), 1, 16), HexRow(page.left(16)));
        QCOMPARE(RowBytes(h->grid(), 16, 16), HexRow(page.mid(240, 16)));
    }

    void lastPageEndsWithLastByte() {
        const QByteArray bytes = Counting(1000);
        openFile(bytes);
        bar()->triggerAction(QAbstractSlider::SliderToMaximum);
        // The thumb stands at the bottom of a track of 200 pixels' travel.
        QCOMPARE(QStyle::sliderPositionFromValue(0, bar()->maximum(), bar()->value(), 200), 200);
        QCOMPARE(h->cell(16, 16), HexRow(bytes.right(1)));
        QCOMPARE(h->cell(0, 16), QStringLiteral("000003D8"));
    }

    void bytesWrittenElsewhereShowOnNextRead() {
        const QString path = makeFile(QStringLiteral("shared.bin"), Counting(1000));
        h->openThroughDialog(path);
        {
            QFile other(path);
            QVERIFY(other.open(QIODevice::ReadWrite));
            other.seek(16);
            other.write("\xAA\xBB", 2);
        }
        bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(h->cell(1, 1), QStringLiteral("AA"));
        QCOMPARE(h->cell(2, 1), QStringLiteral("BB"));
    }

    void tableSizes_data() {
        QTest::addColumn<int>("steps"); // arrow steps up on both spin edits from 16
        QTest::addColumn<bool>("lines");
        QTest::addColumn<QSize>("table");
        QTest::newRow("16 x 16 with lines") << 0 << true << QSize(504, 292);
        QTest::newRow("16 x 16 without lines") << 0 << false << QSize(488, 276);
        QTest::newRow("32 x 32 with lines") << 4 << true << QSize(920, 564);
        QTest::newRow("32 x 32 without lines") << 4 << false << QSize(888, 532);
    }
    void tableSizes() {
        QFETCH(int, steps);
        QFETCH(bool, lines);
        QFETCH(QSize, table);
        openFile(Counting(5000));
        if (lines)
            h->click("ToolButtonGitter");
        for (const char* name : {"CSpinEditReihen", "CSpinEditSpalten"}) {
            auto* spin = h->find<SpinEdit>(name);
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(spin, Qt::Key_Up);
        }
        QCOMPARE(h->grid()->size(), table);
        QCOMPARE(bar()->geometry(), QRect(1 + table.width(), 32, 16, table.height()));
        // Every cell lies inside the table, and the scroll bar and status bar in the window.
        const StringGrid* g = h->grid();
        const QRect last = g->cellRect(g->colCount() - 1, g->rowCount() - 1);
        QVERIFY(g->viewport()->rect().contains(last));
        QVERIFY(h->window->rect().contains(
            QRect(bar()->mapTo(h->window.get(), QPoint(0, 0)), bar()->size())));
        const int plain = h->window->height();
        h->click("ToolButtonFindChange");
        QCOMPARE(h->window->height() - plain, 140);
        auto* search = h->find<QGroupBox>("GrpFindChange");
        QVERIFY(search->isVisible());
        QCOMPARE(search->y(), 32 + table.height() + 3);
        QVERIFY(h->window->centralWidget()->rect().contains(search->geometry()));
        h->click("ToolButtonEdit");
        QCOMPARE(h->window->height() - plain, 80);
        QVERIFY(!search->isVisible());
        auto* edit = h->find<QGroupBox>("GrpEdit");
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->width(), table.width() + 5);
        QVERIFY(h->window->centralWidget()->rect().contains(edit->geometry()));
        h->click("ToolButtonEdit");
        QCOMPARE(h->window->height(), plain);
        QVERIFY(!edit->isVisible());
    }

    void columnChangeReadsWiderPage() {
        const QByteArray bytes = Counting(600);
        openFile(bytes);
        auto* spalten = h->find<SpinEdit>("CSpinEditSpalten");
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(spalten, Qt::Key_Up);
        QCOMPARE(h->grid()->colCount(), 35);
        QCOMPARE(bar()->pageStep(), 512);
        QCOMPARE(h->grid()->colWidth(34), 228);
        QCOMPARE(h->cell(32, 0), QStringLiteral("1F"));
        QCOMPARE(RowBytes(h->grid(), 2, 32), HexRow(bytes.mid(32, 32)));
        QCOMPARE(h->cell(0, 2), QStringLiteral("00000020"));
        h->click("ToolButtonHexDez");
        QCOMPARE(h->cell(32, 0), QStringLiteral("31"));
        QCOMPARE(h->cell(0, 2), QStringLiteral("      32"));
    }

    void gridLinesKeepThePage() {
        openFile(Counting(1000));
        bar()->setSliderPosition(37);
        h->click("ToolButtonGitter");
        QCOMPARE(h->cell(0, 1), QStringLiteral("00000025"));
        QCOMPARE(h->grid()->gridLineWidth(), 1);
        h->click("ToolButtonGitter");
        QCOMPARE(h->grid()->gridLineWidth(), 0);
        QCOMPARE(h->grid()->size(), QSize(488, 276));
    }

    void panelTogglesReleaseEachOther() {
        openFile(Counting(100));
        auto* edit = h->find<QToolButton>("ToolButtonEdit");
        auto* search = h->find<QToolButton>("ToolButtonFindChange");
        h->click("ToolButtonEdit");
        const int withEdit = h->window->height();
        h->click("ToolButtonFindChange");
        QVERIFY(!edit->isChecked());
        QVERIFY(search->isChecked());
        QVERIFY(!h->find<QGroupBox>("GrpEdit")->isVisible());
        QVERIFY(h->find<QGroupBox>("GrpFindChange")->isVisible());
        QCOMPARE(h->window->height() - withEdit, 60);
        h->click("ToolButtonEdit");
        QVERIFY(!search->isChecked());
        QVERIFY(!h->find<QGroupBox>("GrpFindChange")->isVisible());
    }

    void statusTextKeepsSizeAtOpen() {
        const QString path = makeFile(QStringLiteral("grows.bin"), Counting(1000));
        h->openThroughDialog(path);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::Append));
            f.write(QByteArray(500, 'x'));
        }
        h->click("ToolButtonGitter");
        QCOMPARE(h->statusText(), QStringLiteral("Dateigröße: 1000 Bytes"));
    }

    void toggleBeforeAnyFileLaysOutWithoutTable() {
        h->click("ToolButtonGitter");
        QCOMPARE(h->statusText(), QStringLiteral("Dateigröße: 0 Bytes"));
        QVERIFY(!h->grid()->isVisible());
        QVERIFY(h->window->width() > 250);
        // Scrolling before a file is open does nothing.
        bar()->setValue(100);
        QCOMPARE(h->shownOffset(), 0);
    }

    void reopenStartsAtTop() {
        const QString a = makeFile(QStringLiteral("a.bin"), Counting(5000));
        const QString b = makeFile(QStringLiteral("b.bin"), Counting(3000));
        h->openThroughDialog(a);
        bar()->setSliderPosition(4000);
        h->openThroughDialog(b);
        QCOMPARE(bar()->value(), 0);
        QCOMPARE(h->cell(0, 1), QStringLiteral("00000000"));
        // The first file's stream is closed: it can be removed while the program runs.
        QVERIFY(QFile::remove(a));
        bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(h->cell(0, 1), QStringLiteral("00000010"));
    }
};

QTEST_MAIN(TestView)
#include "TestView.moc"
