// The search and replace panel, driven as a user does: typing patterns, searching,
// clicking hits, replacing, and what the panel, the table and the file show afterwards.
#include "HeldFile.h"
#include "WindowHarness.h"
#include "core/search/HitListModel.h"
#include "widgets/HitListView.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace zirpel;

namespace {

const QString kLengths =
    QStringLiteral("Die Längen von <Suchen nach> und <Ersetzen durch> sind nicht identisch.");
const QString kNoSelection = QStringLiteral("Sie haben in der Liste keine Adresse ausgewählt.");
const QString kCannotWrite = QStringLiteral("Die Datei kann nicht geschrieben werden.");
const QString kCannotRead = QStringLiteral("Die Datei kann nicht gelesen werden.");
const QString kPastEnd =
    QStringLiteral("Die Zeichenfolge <Ersetzen durch> reicht über das Dateiende hinaus.");

// Zero bytes with bytes placed at offsets.
QByteArray Zeros(int size, const QList<QPair<int, QByteArray>>& placed = {}) {
    QByteArray d(size, '\0');
    for (const auto& [at, bytes] : placed)
        d.replace(at, bytes.size(), bytes);
    return d;
}

} // namespace

class TestSearchReplace : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<WindowHarness> h;
    QString path;

    template <typename T> T* w(const char* name) const { return h->find<T>(name); }
    QComboBox* suchen() const { return w<QComboBox>("ComboBoxSuchen"); }
    QComboBox* ersetzen() const { return w<QComboBox>("ComboBoxErsetzen"); }
    HitListView* list() const { return w<HitListView>("ListBoxTreffer"); }
    QString label() const { return w<QLabel>("LblTreffer")->text(); }

    // Opens a file of these bytes and shows the search panel.
    void openWithPanel(const QByteArray& bytes, const QString& name = QStringLiteral("data.bin")) {
        path = dir->filePath(name);
        WriteWholeFile(path, bytes);
        h->openThroughDialog(path);
        h->click("ToolButtonFindChange");
    }
    // Replaces an entry's text by typing.
    static void type(QComboBox* box, const QString& text) {
        QLineEdit* edit = box->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        for (const QChar c : text) {
            // The test's key table knows only ASCII; other characters come as text.
            if (c.unicode() < 0x80)
                QTest::keyClick(edit, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), {});
        }
    }
    void chooseBase(const char* button) {
        QTest::mouseClick(w<QRadioButton>(button), Qt::LeftButton);
    }
    void search(const QString& text, const char* base = "RadioGrpBasisHex") {
        type(suchen(), text);
        chooseBase(base);
        h->click("BtnSuchen");
    }
    QStringList entries() const {
        QStringList texts;
        const QAbstractItemModel* m = list()->model();
        for (int i = 0; i < m->rowCount(); ++i)
            texts << m->data(m->index(i, 0)).toString();
        return texts;
    }
    void clickHit(int row) {
        const QModelIndex index = list()->model()->index(row, 0);
        list()->scrollTo(index);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(index).center());
    }
    // Enabled states of BtnSuchen, BtnNeueSuche, BtnErsetzen and the two entries.
    QString states() const {
        QString s;
        for (const char* name : {"BtnSuchen", "BtnNeueSuche", "BtnErsetzen"})
            s += w<QWidget>(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        s += QLatin1Char(' ');
        s += suchen()->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        s += ersetzen()->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    qint32 pageOffset() const { return h->shownOffset(); }
    QScrollBar* bar() const { return w<QScrollBar>("ScrollBarVertikal"); }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        h = std::make_unique<WindowHarness>();
        h->create();
        h->showAndActivate();
    }
    void cleanup() {
        h.reset();
        dir.reset();
    }

    // ---- Searching ------------------------------------------------------------------

    void searchListsHits_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("ascii");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("CR LF line ends with the initial 0d0a")
            << QByteArray("eins\r\nzwei\r\n\r\n") << "0d0a" << false << false
            << QStringList{"00000004", "0000000A", "0000000C"};
        QTest::newRow("hex address of a hit at 224") << Zeros(300, {{224, "\x41\x42"}}) << "4142"
                                                     << false << false << QStringList{"000000E0"};
        QTest::newRow("decimal address of a hit at 224")
            << Zeros(300, {{224, "\x41\x42"}}) << "4142" << false << true
            << QStringList{"     224"};
        QTest::newRow("ASCII is case-sensitive") << QByteArray("abc ABC abc") << "abc" << true
                                                 << false << QStringList{"00000000", "00000008"};
    }
    void searchListsHits() {
        QFETCH(QByteArray, file);
        QFETCH(QString, pattern);
        QFETCH(bool, ascii);
        QFETCH(bool, decimal);
        QFETCH(QStringList, expected);
        openWithPanel(file);
        if (decimal)
            h->click("ToolButtonHexDez");
        search(pattern, ascii ? "RadioGrpBasisAscii" : "RadioGrpBasisHex");
        QCOMPARE(entries(), expected);
        QCOMPARE(label(), QStringLiteral("%1 Treffer").arg(expected.size()));
        QVERIFY(h->dialogs.messages.isEmpty());
        // The label's width follows its text.
        QCOMPARE(w<QLabel>("LblTreffer")->width(), w<QLabel>("LblTreffer")->sizeHint().width());
        // The search leaves the page alone.
        QCOMPARE(pageOffset(), 0);
    }

    // Typing a prefix of a history item keeps the prefix: nothing is filled in.
    void entryKeepsWhatIsTyped_data() {
        QTest::addColumn<QString>("entry");
        QTest::newRow("search entry") << "ComboBoxSuchen";
        QTest::newRow("replacement entry") << "ComboBoxErsetzen";
    }
    void entryKeepsWhatIsTyped() {
        QFETCH(QString, entry);
        openWithPanel(QByteArray("lilalo"));
        auto* box = w<QComboBox>(entry.toLatin1().constData());
        box->addItem(QStringLiteral("6c69"));
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        QTRY_VERIFY(box->lineEdit()->hasFocus());
        type(box, QStringLiteral("6c"));
        QCOMPARE(box->currentText(), QStringLiteral("6c"));
        if (box == suchen()) {
            h->click("BtnSuchen");
            QCOMPARE(entries(), (QStringList{"00000000", "00000002", "00000004"}));
        }
    }

    void badSearchPattern() {
        openWithPanel("A\r\nB\r\nC");
        search(QStringLiteral("410d"));
        QCOMPARE(entries(), QStringList{"00000000"});
        h->click("BtnNeueSuche");
        search(QStringLiteral("0d 0a"));
        QCOMPARE(h->dialogs.messageTexts(), QStringList{"Bitte <Suchen nach> überprüfen"});
        QCOMPARE(h->dialogs.messages[0].title, QStringLiteral("Zirpel"));
        QVERIFY(h->dialogs.messages[0].kind == FakeDialogs::Message::Kind::App);
        // Nothing else changed: the empty list, the label, the panel.
        QCOMPARE(entries(), QStringList{});
        QCOMPARE(label(), QString());
        QCOMPARE(states(), QStringLiteral("100 11"));
    }

    void emptySearchTextDoesNothing() {
        openWithPanel("\r\n");
        search(QString());
        QVERIFY(h->dialogs.messages.isEmpty());
        QCOMPARE(label(), QStringLiteral(":"));
        QCOMPARE(states(), QStringLiteral("100 11"));
    }

    void searchEntryTakesFortyCharacters() {
        openWithPanel("x");
        type(suchen(), QString(45, QLatin1Char('a')));
        QCOMPARE(suchen()->currentText().size(), 40);
        type(ersetzen(), QString(45, QLatin1Char('a')));
        QCOMPARE(ersetzen()->currentText().size(), 45);
        QCOMPARE(suchen()->lineEdit()->text(), QString(40, QLatin1Char('a')));
    }

    void fortyDigitsAndFortyCharacters() {
        const QByteArray twenty(20, '\xEE');
        const QByteArray forty(40, 'e');
        openWithPanel(Zeros(200, {{10, twenty}, {100, forty}}));
        search(QString(40, QLatin1Char('e')));
        QCOMPARE(entries(), QStringList{"0000000A"});
        h->click("BtnNeueSuche");
        search(QString(40, QLatin1Char('e')), "RadioGrpBasisAscii");
        QCOMPARE(entries(), QStringList{"00000064"});
    }

    // A read that fails ends the scan: the hits before it are listed, then the user is told.
    void readFailureIsToldAfterTheList() {
        QByteArray file = Zeros(3 * 1024 * 1024);
        for (const int at : {1000, 1500000, 2500000})
            file.replace(at, 2, "\xAB\xCD");
        openWithPanel(file);
        BinaryFile::testTransferLimit = [](BinaryFile::Transfer, qint64 offset, std::size_t n) {
            return std::size_t(std::clamp<qint64>(2000000 - offset, 0, qint64(n)));
        };
        search(QStringLiteral("abcd"));
        BinaryFile::testTransferLimit = nullptr;
        QCOMPARE(entries(), (QStringList{"000003E8", "0016E360"}));
        QCOMPARE(label(), QStringLiteral("2 Treffer"));
        QCOMPARE(states(), QStringLiteral("011 00"));
        QCOMPARE(h->dialogs.messageTexts(), QStringList{kCannotRead});
    }

    // The search reads the file that is shown, not whatever its name leads to now.
    void searchScansTheShownFile_data() {
        QTest::addColumn<bool>("renamedOver");
        QTest::newRow("name removed") << false;
        QTest::newRow("another file renamed over the name") << true;
    }
    void searchScansTheShownFile() {
        QFETCH(bool, renamedOver);
        if (renamedOver && RunningUnderWine())
            QSKIP("Wine keeps a deleted file's name while it is open");
        openWithPanel("\r\n\r\n");
        QVERIFY(QFile::remove(path));
        if (renamedOver) {
            const QString other = dir->filePath(QStringLiteral("other.bin"));
            WriteWholeFile(other, "xx\r\nxxxxxx\r\n\r\n");
            QVERIFY(SaveOver(other, path));
        }
        search(QStringLiteral("0d0a"));
        QVERIFY(h->dialogs.messages.isEmpty());
        QCOMPARE(entries(), (QStringList{"00000000", "00000002"}));
        QCOMPARE(label(), QStringLiteral("2 Treffer"));
        // The wait cursor of the search is gone again.
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Bytes appended by another program after the file was opened are not searched: every
    // listed hit lies inside the size the page, the scroll bar and the jumps work with.
    void aFileThatGrewIsSearchedToItsSizeAtOpen() {
        openWithPanel(Zeros(300, {{100, "\xAB\xCD"}, {297, "\xAB\xCD"}, {299, "\xAB"}}));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::Append));
            // A hit across the size at open, and one behind it.
            QCOMPARE(f.write(Zeros(200, {{0, "\xCD"}, {100, "\xAB\xCD"}})), qint64(200));
        }
        search(QStringLiteral("abcd"));
        QCOMPARE(entries(), (QStringList{"00000064", "00000129"}));
        QCOMPARE(label(), QStringLiteral("2 Treffer"));
        QVERIFY(h->dialogs.messages.isEmpty());
    }

    // ---- The panel's states -----------------------------------------------------------

    void readyToListedAndBack() {
        openWithPanel("a\r\nb");
        QCOMPARE(states(), QStringLiteral("100 11"));
        QCOMPARE(label(), QStringLiteral(":"));
        search(QStringLiteral("0d0a"));
        QCOMPARE(label(), QStringLiteral("1 Treffer"));
        QCOMPARE(states(), QStringLiteral("011 00"));
        // The base stays enabled while hits are listed.
        QVERIFY(w<QRadioButton>("RadioGrpBasisAscii")->isEnabled());
        h->click("BtnNeueSuche");
        QCOMPARE(states(), QStringLiteral("100 11"));
        QCOMPARE(label(), QString());
        QCOMPARE(entries(), QStringList{});
    }

    void searchWithoutHitsStaysReady() {
        openWithPanel("abc");
        search(QStringLiteral("0d0a"));
        QCOMPARE(label(), QStringLiteral("0 Treffer"));
        QCOMPARE(states(), QStringLiteral("100 11"));
    }

    void emptyReplacementKeepsReplaceDisabled() {
        openWithPanel("a\r\nb");
        type(ersetzen(), QString());
        search(QStringLiteral("0d0a"));
        QCOMPARE(states(), QStringLiteral("010 00"));
    }

    void showingThePanelAgain() {
        openWithPanel("a\r\nb");
        search(QStringLiteral("0d0a"));
        chooseBase("RadioGrpBasisAscii");
        h->click("ToolButtonFindChange"); // hide
        QCOMPARE(entries().size(), 1);
        h->click("ToolButtonFindChange"); // show
        QCOMPARE(entries(), QStringList{});
        QVERIFY(w<QRadioButton>("RadioGrpBasisHex")->isChecked());
        // The buttons are reset, the entries and the label are not.
        QCOMPARE(states(), QStringLiteral("100 00"));
        QCOMPARE(label(), QStringLiteral("1 Treffer"));
    }

    // An entry is an address in the base of its search; the number of columns does not
    // change what it means.
    void changingTheViewEmptiesOnlyTheList_data() {
        QTest::addColumn<bool>("base");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("address base toggled: the list emptied") << true << QStringList{};
        QTest::newRow("columns changed: the list kept") << false << QStringList{"00000001"};
    }
    void changingTheViewEmptiesOnlyTheList() {
        QFETCH(bool, base);
        QFETCH(QStringList, left);
        openWithPanel("a\r\nb");
        search(QStringLiteral("0d0a"));
        if (base)
            h->click("ToolButtonHexDez");
        else
            h->find<SpinEdit>("CSpinEditSpalten")->stepUp();
        QCOMPARE(entries(), left);
        QCOMPARE(states(), QStringLiteral("011 00"));
        QCOMPARE(label(), QStringLiteral("1 Treffer"));
    }

    void openingAnotherFileStartsANewSearch() {
        openWithPanel("a\r\nb", QStringLiteral("first.bin"));
        const QString first = path;
        search(QStringLiteral("0d0a"));
        clickHit(0);
        const QByteArray second = "\r\n\r\n\r\n";
        const QString secondPath = dir->filePath(QStringLiteral("second.bin"));
        WriteWholeFile(secondPath, second);
        h->openThroughDialog(secondPath);
        // The panel as "Neue Suche" leaves it; the entries keep their texts.
        QCOMPARE(entries(), QStringList{});
        QCOMPARE(label(), QString());
        QCOMPARE(list()->accessibleDescription(), QString());
        QCOMPARE(states(), QStringLiteral("100 11"));
        QCOMPARE(suchen()->currentText(), QStringLiteral("0d0a"));
        QCOMPARE(ersetzen()->currentText(), QStringLiteral("0D0A"));
        h->click("BtnSuchen");
        QCOMPARE(entries(), (QStringList{"00000000", "00000002", "00000004"}));
        QVERIFY(h->dialogs.messages.isEmpty() && h->dialogs.questions.isEmpty());
        QCOMPARE(ReadWholeFile(first), QByteArray("a\r\nb"));
        QCOMPARE(ReadWholeFile(secondPath), second);
    }

    void helpButtonShowsThePanelTopic() {
        openWithPanel("x");
        h->click("BtnHilfe");
        QCOMPARE(h->help.requests, QList<int>{500});
    }

    void nothingHappensBeforeAFileIsOpened() {
        // The panel is out of reach then; its handlers must still do nothing.
        for (const char* name : {"BtnSuchen", "BtnErsetzen", "BtnNeueSuche", "BtnHilfe"})
            w<QPushButton>(name)->click();
        ersetzen()->addItem(QStringLiteral("a"));
        ersetzen()->addItem(QStringLiteral("b"));
        QTest::keyClick(ersetzen()->lineEdit(), Qt::Key_Down); // picks "b"
        QVERIFY(h->dialogs.messages.isEmpty());
        QVERIFY(h->dialogs.questions.isEmpty());
        QCOMPARE(h->help.requests, QList<int>{});
        QCOMPARE(label(), QStringLiteral(":"));
        QCOMPARE(entries(), QStringList{});
        QCOMPARE(suchen()->count(), 0);
        QCOMPARE(ersetzen()->itemText(0), QStringLiteral("a"));
        QCOMPARE(suchen()->currentText(), QStringLiteral("0d0a"));
    }

    // ---- The entries' recent lists ----------------------------------------------------

    void leavingAnEntryPutsItsTextOnTop() {
        openWithPanel("x");
        suchen()->addItem(QStringLiteral("41"));
        suchen()->addItem(QStringLiteral("0D0A"));
        type(suchen(), QStringLiteral("0d0a"));
        suchen()->lineEdit()->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(ersetzen()->lineEdit(), Qt::LeftButton);
        QVERIFY(ersetzen()->lineEdit()->hasFocus());
        QCOMPARE(suchen()->count(), 2);
        QCOMPARE(suchen()->itemText(0), QStringLiteral("0d0a"));
        QCOMPARE(suchen()->itemText(1), QStringLiteral("41"));
        QCOMPARE(suchen()->currentText(), QStringLiteral("0d0a"));
        // And the other entry on leaving it.
        type(ersetzen(), QStringLiteral("4142"));
        QTest::mouseClick(suchen()->lineEdit(), Qt::LeftButton);
        QCOMPARE(ersetzen()->itemText(0), QStringLiteral("4142"));
    }

    void pickingAnItemMovesItToTheTop() {
        openWithPanel("x");
        ersetzen()->addItem(QStringLiteral("a"));
        ersetzen()->addItem(QStringLiteral("b"));
        ersetzen()->addItem(QStringLiteral("c"));
        ersetzen()->setCurrentIndex(1);
        ersetzen()->lineEdit()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(ersetzen()->lineEdit(), Qt::Key_Down); // picks "c"
        QCOMPARE(ersetzen()->count(), 3);
        QCOMPARE(ersetzen()->itemText(0), QStringLiteral("c"));
        QCOMPARE(ersetzen()->currentText(), QStringLiteral("c"));
        QCOMPARE(ersetzen()->currentIndex(), 0);
    }

    // ---- Hit navigation ---------------------------------------------------------------

    void clickingAHitMovesThePage_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("hit");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("firstAddress");
        QTest::newRow("hit at 5000 in 1 MB") << 1000000 << 5000 << 5000 << "00001388";
        QTest::newRow("hit 10 bytes before the end") << 20000 << 19990 << 20000 - 256 << "00004D20";
        QTest::newRow("file of 100 bytes") << 100 << 60 << 0 << "00000000";
        QTest::newRow("hit at 0") << 4096 << 0 << 0 << "00000000";
    }
    void clickingAHitMovesThePage() {
        QFETCH(int, size);
        QFETCH(int, hit);
        QFETCH(int, page);
        QFETCH(QString, firstAddress);
        openWithPanel(Zeros(size, {{hit, "\xAB\xCD"}}));
        search(QStringLiteral("abcd"));
        QCOMPARE(entries().size(), 1);
        clickHit(0);
        QCOMPARE(pageOffset(), page);
        QCOMPARE(bar()->value(), page);
        QCOMPARE(h->cell(0, 1), firstAddress);
        // The hit's first byte is in the table, at the top left when the page starts there.
        const int inPage = hit - page;
        QCOMPARE(h->cell(1 + inPage % 16, 1 + inPage / 16), QStringLiteral("AB"));
        QVERIFY(list()->selectionModel()->isRowSelected(0, {}));
        // It is the table's current cell, while the list keeps the focus.
        QCOMPARE(QPoint(h->grid()->currentCol(), h->grid()->currentRow()),
                 QPoint(1 + inPage % 16, 1 + inPage / 16));
        QCOMPARE(QApplication::focusWidget(), list());
    }

    void scrollingContinuesFromTheHit() {
        openWithPanel(Zeros(100000, {{5000, "\xAB\xCD"}}));
        search(QStringLiteral("abcd"));
        clickHit(0);
        bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(pageOffset(), 5016);
        QCOMPARE(h->cell(0, 1), QStringLiteral("00001398"));
    }

    void arrowKeysInTheListJump() {
        openWithPanel(Zeros(9000, {{1000, "\xAB\xCD"}, {7000, "\xAB\xCD"}}));
        search(QStringLiteral("abcd"));
        clickHit(0);
        QCOMPARE(pageOffset(), 1000);
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(pageOffset(), 7000);
        QCOMPARE(h->cell(0, 1), QStringLiteral("00001B58"));
    }

    void decimalEntriesReadBack() {
        openWithPanel(Zeros(9000, {{7000, "\xAB\xCD"}}));
        h->click("ToolButtonHexDez");
        search(QStringLiteral("abcd"));
        QCOMPARE(entries(), QStringList{"    7000"});
        clickHit(0);
        QCOMPARE(pageOffset(), 7000);
        QCOMPARE(h->cell(0, 1), QStringLiteral("    7000"));
    }

    void clickWithoutASelectedHitDoesNothing() {
        openWithPanel(Zeros(4000, {{3000, "\xAB\xCD"}}));
        search(QStringLiteral("abcd"));
        // Below the only entry: no entry is hit, none selected.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          QPoint(5, list()->viewport()->height() - 3));
        QCOMPARE(pageOffset(), 0);
        QCOMPARE(h->cell(0, 1), QStringLiteral("00000000"));
    }

    // More rows than a list laid out in 32-bit pixels can reach: every byte of the first
    // 2^28 + 64 is a hit, in a file of 512 MiB that holds no data (a sparse file).
    void theLastOfManyHitsIsReachable() {
        path = dir->filePath(QStringLiteral("sparse.bin"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64(1) << 29));
        }
        h->openThroughDialog(path);
        h->click("ToolButtonFindChange");
        zirpel::HitStore hits;
        const std::vector<quint64> full(zirpel::HitStore::kRegionSize / 64, ~quint64(0));
        for (qint64 start = 0; start < (qint64(1) << 28); start += zirpel::HitStore::kRegionSize)
            hits.addRegion(start, full);
        hits.addRegion(qint64(1) << 28, std::span(full).first(1));
        auto* model = qobject_cast<HitListModel*>(list()->model());
        QVERIFY(model);
        model->setHits(std::move(hits), false);
        const int last = (1 << 28) + 63;
        QCOMPARE(model->rowCount(), last + 1);
        QCOMPARE(model->data(model->index(last, 0), Qt::DisplayRole).toString(),
                 QStringLiteral("1000003F"));

        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_End);
        QCOMPARE(list()->currentRow(), last);
        QCOMPARE(pageOffset(), 0x1000003F);
        QCOMPARE(h->cell(0, 1), QStringLiteral("1000003F"));
        // The scroll bar counts rows: at its end the last row is drawn at the bottom.
        QScrollBar* listBar = list()->verticalScrollBar();
        QCOMPARE(listBar->value(), listBar->maximum());
        QVERIFY(list()->visualRect(model->index(last, 0)).bottom() < list()->viewport()->height());

        // One row up by key, then back to the last row by mouse.
        QTest::keyClick(list(), Qt::Key_Up);
        QCOMPARE(pageOffset(), 0x1000003E);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(model->index(last, 0)).center());
        QCOMPARE(list()->currentRow(), last);
        QCOMPARE(pageOffset(), 0x1000003F);
        // Home goes back to the first; Page Down moves by what is in view, less one row.
        QTest::keyClick(list(), Qt::Key_Home);
        QCOMPARE(listBar->value(), 0);
        QCOMPARE(pageOffset(), 0);
        QTest::keyClick(list(), Qt::Key_PageDown);
        QCOMPARE(pageOffset(), listBar->pageStep() - 1);
    }

    // ---- Replace ----------------------------------------------------------------------

    void replaceWritesTheReplacement_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("ascii");
        QTest::addColumn<bool>("asciiAtReplace");
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("0d0a by 0D0A writes the same bytes")
            << QByteArray("a\r\nb\r\n") << "0d0a"
            << "0D0A" << false << false << 1 << QByteArray("a\r\nb\r\n");
        QTest::newRow("hex at the second hit")
            << QByteArray("xAByyABz") << "4142"
            << "5a5A" << false << false << 1 << QByteArray("xAByyZZz");
        QTest::newRow("ASCII abc by ABC") << QByteArray("abc-abc") << "abc"
                                          << "ABC" << true << true << 0 << QByteArray("ABC-abc");
        QTest::newRow("hex search, ASCII replace writes six bytes")
            << QByteArray("..ABC......") << "414243"
            << "XYZ123" << false << true << 0 << QByteArray("..XYZ123...");
        QTest::newRow("hit across the 512 border")
            << Zeros(1024, {{510, "\xDE\xAD\xBE\xEF"}}) << "deadbeef"
            << "01020304" << false << false << 0 << Zeros(1024, {{510, "\x01\x02\x03\x04"}});
    }
    void replaceWritesTheReplacement() {
        QFETCH(QByteArray, file);
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(bool, ascii);
        QFETCH(bool, asciiAtReplace);
        QFETCH(int, row);
        QFETCH(QByteArray, expected);
        openWithPanel(file);
        type(ersetzen(), replacement);
        search(pattern, ascii ? "RadioGrpBasisAscii" : "RadioGrpBasisHex");
        const QStringList listed = entries();
        const QString count = label();
        const QString buttons = states();
        chooseBase(asciiAtReplace ? "RadioGrpBasisAscii" : "RadioGrpBasisHex");
        clickHit(row);
        h->click("BtnErsetzen");
        QVERIFY(h->dialogs.messages.isEmpty());
        QCOMPARE(h->dialogs.questions.size(), 1);
        QCOMPARE(h->dialogs.questions[0].text, QStringLiteral("Soll die Zeichenfolge \n\t") +
                                                   pattern + QStringLiteral("\nan der Adresse [") +
                                                   listed[row] + QStringLiteral("] durch\n\t") +
                                                   replacement +
                                                   QStringLiteral("\nersetzt werden?"));
        QCOMPARE(ReadWholeFile(path), expected);
        // The page starts at the hit and shows the new bytes; list and buttons stay.
        const qint32 offset = listed[row].toInt(nullptr, 16);
        QCOMPARE(pageOffset(), offset);
        QCOMPARE(
            h->cell(1, 1),
            QStringLiteral("%1").arg(quint8(expected[offset]), 2, 16, QLatin1Char('0')).toUpper());
        QCOMPARE(entries(), listed);
        QCOMPARE(label(), count);
        QCOMPARE(states(), buttons);
        QCOMPARE(h->statusText(), QStringLiteral("Dateigröße: %1 Bytes").arg(file.size()));
        QCOMPARE(h->told(), pattern + QStringLiteral(" an der Adresse ") + listed[row] +
                                QStringLiteral(" durch ") + replacement +
                                QStringLiteral(" ersetzt"));
    }

    void questionStandsBelowThePanelsButtons() {
        openWithPanel("a\r\n");
        search(QStringLiteral("0d0a"));
        clickHit(0);
        h->click("BtnErsetzen");
        QCOMPARE(h->dialogs.questions.size(), 1);
        const QPoint corner = h->window->frameGeometry().topLeft();
        QCOMPARE(h->dialogs.questions[0].topLeft,
                 corner + QPoint(w<QPushButton>("BtnErsetzen")->x(),
                                 w<QGroupBox>("GrpFindChange")->y() + 50));
    }

    void replacingTwiceAndAnotherHit() {
        openWithPanel("AB..AB..AB");
        type(ersetzen(), QStringLiteral("5859"));
        search(QStringLiteral("4142"));
        clickHit(2);
        h->click("BtnErsetzen");
        h->click("BtnErsetzen");
        clickHit(0);
        h->click("BtnErsetzen");
        QCOMPARE(ReadWholeFile(path), QByteArray("XY..AB..XY"));
        QCOMPARE(h->dialogs.questions.size(), 3);
    }

    void replaceNearTheEndShowsThePageFromTheHit() {
        const QByteArray file = Zeros(1000, {{995, "\xAB\xCD"}});
        openWithPanel(file);
        type(ersetzen(), QStringLiteral("0102"));
        search(QStringLiteral("abcd"));
        clickHit(0);
        QCOMPARE(pageOffset(), 1000 - 256);
        const int thumb = bar()->value();
        h->click("BtnErsetzen");
        QCOMPARE(ReadWholeFile(path), Zeros(1000, {{995, "\x01\x02"}}));
        QCOMPARE(pageOffset(), 995);
        QCOMPARE(bar()->value(), thumb);
        QCOMPARE(h->cell(0, 1), QStringLiteral("000003E3"));
        QCOMPARE(h->cell(1, 1), QStringLiteral("01"));
        QCOMPARE(h->cell(6, 1), QStringLiteral("00")); // behind the end: the zeroed page
        QCOMPARE(QPoint(h->grid()->currentCol(), h->grid()->currentRow()), QPoint(1, 1));
    }

    void answeringNoWritesNothing() {
        const QByteArray file("a\r\nb\r\n");
        openWithPanel(file);
        type(ersetzen(), QStringLiteral("4142"));
        search(QStringLiteral("0d0a"));
        clickHit(1);
        const qint32 page = pageOffset();
        h->dialogs.nextConfirmAnswers.append(false);
        h->click("BtnErsetzen");
        QCOMPARE(h->dialogs.questions.size(), 1);
        QCOMPARE(ReadWholeFile(path), file);
        QCOMPARE(pageOffset(), page);
        QCOMPARE(h->cell(1, 1), QStringLiteral("61"));
        QCOMPARE(h->told(), QString());
    }

    // The checks run in order; each stops before anything is asked or written.
    void replaceChecksInOrder_data() {
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("select");
        QTest::addColumn<QString>("message");
        QTest::newRow("odd replacement")
            << "0D0" << true << QStringLiteral("Bitte <Ersetzen durch> überprüfen");
        QTest::newRow("bad digit before different length")
            << "0x0D0A" << false << QStringLiteral("Bitte Hexwerte in <Ersetzen durch> überprüfen");
        QTest::newRow("different length") << "0D0A0D" << true << kLengths;
        QTest::newRow("missing selection") << "0D0A" << false << kNoSelection;
    }
    void replaceChecksInOrder() {
        QFETCH(QString, replacement);
        QFETCH(bool, select);
        QFETCH(QString, message);
        const QByteArray file("a\r\nb\r\n");
        openWithPanel(file);
        type(ersetzen(), replacement);
        search(QStringLiteral("0d0a"));
        if (select)
            clickHit(0);
        const qint32 page = pageOffset();
        h->click("BtnErsetzen");
        QCOMPARE(h->dialogs.messageTexts(), QStringList{message});
        QCOMPARE(h->dialogs.messages[0].title, QStringLiteral("Zirpel"));
        QVERIFY(h->dialogs.questions.isEmpty());
        QCOMPARE(ReadWholeFile(path), file);
        QCOMPARE(pageOffset(), page);
    }

    // A text with a character outside Windows-1252 is refused before anything is searched,
    // asked or written.
    void charactersOutsideWindows1252_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::newRow("search for a character outside") << QStringLiteral("\u03C9") << "L";
        QTest::newRow("replace K by a character outside")
            << QStringLiteral("K") << QStringLiteral("\u03C9");
    }
    void charactersOutsideWindows1252() {
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        const QByteArray file("?K?K");
        openWithPanel(file);
        type(ersetzen(), replacement);
        this->search(QStringLiteral("K"), "RadioGrpBasisAscii");
        QCOMPARE(entries(), (QStringList{"00000001", "00000003"}));
        if (search != QLatin1String("K")) {
            h->click("BtnNeueSuche");
            this->search(search, "RadioGrpBasisAscii");
            QCOMPARE(entries(), QStringList{});
            QCOMPARE(states(), QStringLiteral("100 11"));
        } else {
            clickHit(1);
            h->click("BtnErsetzen");
        }
        QCOMPARE(h->dialogs.messageTexts(),
                 QStringList{QStringLiteral("Die Zeichenfolge enthält Zeichen, die nicht im "
                                            "Zeichensatz Windows-1252 stehen.")});
        QCOMPARE(h->dialogs.messages[0].title, QStringLiteral("Zirpel"));
        QVERIFY(h->dialogs.questions.isEmpty());
        QCOMPARE(ReadWholeFile(path), file);
    }

    // A write that cannot happen is reported, and nothing of the file is harmed.
    void failedWrite_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("file deleted after the search") << "deleted";
        QTest::newRow("directory in the file's place") << "directory";
        QTest::newRow("file cut short after the search, below the hit") << "shortened";
        QTest::newRow("replacement would run past the end") << "past-end";
        QTest::newRow("symbolic link to another file swapped in") << "symlink";
        QTest::newRow("held by another program that lets others only read") << "readers";
        QTest::newRow("range locked against writes by another program") << "locked";
        QTest::newRow("read-only attribute set after the search") << "read-only";
        QTest::newRow("sync fails after the write and after the put-back") << "put back";
        QTest::newRow("file cut inside the hit while the write waits") << "cut in the hit";
    }
    void failedWrite() {
        QFETCH(QString, how);
        const QByteArray file = Zeros(600, {{100, "ABC"}, {597, "ABC"}});
        openWithPanel(file);
        type(ersetzen(), QStringLiteral("XYZ123"));
        search(QStringLiteral("414243"));
        QCOMPARE(entries(), (QStringList{"00000064", "00000255"}));
        QByteArray after = file;
        if (how == QLatin1String("deleted") && RunningUnderWine())
            QSKIP("Wine keeps a deleted file reachable by its name while it is open");
#ifdef _WIN32
        if (how == QLatin1String("directory"))
            QSKIP("Windows keeps the name of a deleted file while it is open");
        if (how == QLatin1String("symlink"))
            QSKIP("a link made here on Windows is a shortcut file, not a symbolic link");
        if (how == QLatin1String("locked") && RunningUnderWine())
            QSKIP("Wine does not keep others from writing a locked range");
        if (how == QLatin1String("read-only") && RunningUnderWine())
            QSKIP("Wine keeps the attribute in permission bits, which root overrides");
#else
        if (how == QLatin1String("readers") || how == QLatin1String("locked"))
            QSKIP("only Windows lets a program keep others from writing a file");
        if (how == QLatin1String("read-only"))
            QSKIP("tests may run as root, who writes whatever the permission bits say");
#endif
        std::unique_ptr<HeldFile> held;
        if (how == QLatin1String("deleted")) {
            QVERIFY(QFile::remove(path));
        } else if (how == QLatin1String("directory")) {
            QVERIFY(QFile::remove(path));
            QVERIFY(QDir().mkpath(path));
        } else if (how == QLatin1String("shortened")) {
            QVERIFY(QFile::resize(path, 50));
            after = file.left(50);
        } else if (how == QLatin1String("symlink")) {
            after = Zeros(200, {{100, "ABC"}});
            const QString other = dir->filePath(QStringLiteral("other.bin"));
            WriteWholeFile(other, after);
            QVERIFY(QFile::remove(path));
            QVERIFY(QFile::link(other, path));
        } else if (how == QLatin1String("readers") || how == QLatin1String("locked")) {
            held = std::make_unique<HeldFile>(path, how == QLatin1String("readers")
                                                        ? HeldFile::Way::Readers
                                                        : HeldFile::Way::Locked);
            QVERIFY(held->held());
        } else if (how == QLatin1String("read-only")) {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
        } else if (how == QLatin1String("cut in the hit")) {
            testBeforeRun = [this](qsizetype) { QVERIFY(QFile::resize(path, 102)); };
            after = file.left(102);
        } else if (how == QLatin1String("put back")) {
            BinaryFile::testStepFails = [](BinaryFile::Step s) {
                return s == BinaryFile::Step::Sync;
            };
        }
        chooseBase("RadioGrpBasisAscii");
        clickHit(how == QLatin1String("past-end") ? 1 : 0);
        const qint32 page = pageOffset();
        h->click("BtnErsetzen");
        BinaryFile::testStepFails = nullptr;
        testBeforeRun = nullptr;
        // A replacement past the file's end as it is now is refused before the question; a
        // file cut short is also said to be unreadable, once, when the hit's page is read.
        const bool cut = how == QLatin1String("shortened");
        const bool pastEnd = cut || how == QLatin1String("past-end");
        QCOMPARE(h->dialogs.questions.size(), pastEnd ? 0 : 1);
        // Cut inside the hit while the write waits, the file is not written, and the page
        // read again comes up short.
        const QStringList messages =
            how == QLatin1String("cut in the hit") ? QStringList{kCannotWrite, kCannotRead}
            : cut                                  ? QStringList{kCannotRead, kPastEnd}
            : pastEnd                              ? QStringList{kPastEnd}
            : how == QLatin1String("put back")
                ? QStringList{kCannotWrite +
                              QStringLiteral("\nDie alten Bytes konnten nicht "
                                             "vollständig zurückgeschrieben werden.")}
                : QStringList{kCannotWrite};
        QCOMPARE(h->dialogs.messageTexts(), messages);
        QCOMPARE(h->dialogs.messages[0].title, QStringLiteral("Zirpel"));
        if (how == QLatin1String("deleted"))
            QVERIFY(!QFileInfo::exists(path));
        else if (how == QLatin1String("directory"))
            QVERIFY(QFileInfo(path).isDir());
        else
            QCOMPARE(ReadWholeFile(path), after);
        // The page shows the file as it now is, where it was.
        QCOMPARE(pageOffset(), page);
        const int hit = how == QLatin1String("past-end") ? 597 : 100;
        QCOMPARE(h->cell(1 + (hit - page) % 16, 1 + (hit - page) / 16),
                 cut ? QStringLiteral("00") : QStringLiteral("41"));
        QCOMPARE(entries().size(), 2);
        if (how == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    }
};

QTEST_MAIN(TestSearchReplace)
#include "TestSearchReplace.moc"
