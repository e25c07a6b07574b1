// The window without a mouse: the keys for the tool buttons, loading a row and leaving
// the grids with the keyboard, searching with Return; and what a screen reader is told:
// the names of the controls and the entries of the hit list.
#include "EditRowDriver.h"
#include "WindowHarness.h"
#include "widgets/HitListView.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>

using namespace zirpel;

namespace {

// The name a screen reader speaks for a control: its own name, unless that is only its
// content (as for an entry), else the name of the label that labels it.
QString SpokenName(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    const QString name = iface->text(QAccessible::Name);
    if (!name.isEmpty() && name != iface->text(QAccessible::Value))
        return name;
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<WindowHarness> h;

    HitListView* list() const { return h->find<HitListView>("ListBoxTreffer"); }
    void openFile(const QByteArray& bytes) {
        WriteWholeFile(dir->filePath(QStringLiteral("f")), bytes);
        h->openThroughDialog(dir->filePath(QStringLiteral("f")));
    }
    // Steps as a user takes them: "open" a file with one line end, press the "Edit" or
    // "Find" tool button, click the "cell" of a table row, double-click to "load" a row,
    // "type" into a byte cell of the edit row, press a "key" and let the window answer, put
    // the "focus" on a control, click into the search "entry"; search ten
    // "hits", then "click" or "scroll" to an entry of the hit list.
    void run(const QString& steps) {
        for (const QString& step : steps.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
            const QString verb = step.section(QLatin1Char(' '), 0, 0);
            const int n = step.section(QLatin1Char(' '), 1, 1).toInt();
            if (verb == QLatin1String("open")) {
                openFile(QByteArray(600, 'A').replace(100, 2, "\r\n"));
            } else if (verb == QLatin1String("Edit") || verb == QLatin1String("Find")) {
                h->click(verb == QLatin1String("Edit") ? "ToolButtonEdit" : "ToolButtonFindChange");
            } else if (verb == QLatin1String("cell")) {
                QTest::mouseClick(h->grid()->viewport(), Qt::LeftButton, {},
                                  h->grid()->cellRect(2, n).center());
            } else if (verb == QLatin1String("load")) {
                LoadRow(*h, n);
            } else if (verb == QLatin1String("type")) {
                TypeIntoCell(*h, n, step.section(QLatin1Char(' '), 2), false);
            } else if (verb == QLatin1String("key")) {
                const QKeyCombination keys = QKeySequence(step.section(QLatin1Char(' '), 1))[0];
                QTest::keyClick(KeyTarget(h->window.get()), keys.key(), keys.keyboardModifiers());
                QCoreApplication::processEvents();
            } else if (verb == QLatin1String("focus")) {
                h->find<QWidget>(qPrintable(step.section(QLatin1Char(' '), 1)))->setFocus();
            } else if (verb == QLatin1String("entry")) {
                QTest::mouseClick(h->find<QComboBox>("ComboBoxSuchen")->lineEdit(), Qt::LeftButton);
            } else if (verb == QLatin1String("hits")) {
                QByteArray bytes(200, '\0');
                for (int i = 0; i < 10; ++i)
                    bytes.replace(i * 16, 2, "\x41\x42");
                openFile(bytes);
                h->click("ToolButtonFindChange");
                h->find<QComboBox>("ComboBoxSuchen")->setEditText(QStringLiteral("4142"));
                h->click("BtnSuchen");
            } else if (verb == QLatin1String("click")) {
                QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                                  list()->visualRect(list()->model()->index(n, 0)).center());
            } else {
                list()->verticalScrollBar()->setValue(n);
            }
        }
    }
    // The shown panel, the open dialogs asked for, whether the window is open, the
    // control with the focus, the address and byte 2 of the edit row (once loaded, with
    // its current column and the word said there), the hit count; with the search panel
    // shown, the search entry's text and the help topics asked for.
    QString editRow() const {
        const StringGrid* edit = h->editGrid();
        QString text = edit->cell(0, 0) + QLatin1Char('/') + edit->cell(2, 0);
        if (edit->cell(0, 0).isEmpty())
            return text;
        const QString word =
            edit->model()->data(edit->currentIndex(), Qt::AccessibleDescriptionRole).toString();
        text += QStringLiteral("@%1").arg(edit->currentCol());
        return word.isEmpty() ? text : text + QStringLiteral(" \"%1\"").arg(word);
    }
    QString state() const {
        QString search;
        if (h->find<QToolButton>("ToolButtonFindChange")->isChecked())
            search = QLatin1Char(' ') + h->find<QComboBox>("ComboBoxSuchen")->currentText() +
                     QStringLiteral(" Hilfe:%1").arg(h->help.requests.size());
        const auto down = [this](const char* button) {
            return h->find<QToolButton>(button)->isChecked();
        };
        return QStringList{down("ToolButtonFindChange") ? QStringLiteral("Suchen")
                           : down("ToolButtonEdit")     ? QStringLiteral("Bearbeiten")
                                                        : QStringLiteral("-"),
                           QString::number(h->dialogs.openTitles.size()),
                           h->window->isVisible() ? QStringLiteral("offen") : QStringLiteral("zu"),
                           QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                       : QString(),
                           editRow(),
                           h->find<QLabel>("LblTreffer")->text()}
                   .join(QLatin1Char(' ')) +
               search;
    }

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

    void keys_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* steps, QKeyCombination keys,
                            const char* expected) {
            QTest::newRow(name) << QString::fromLatin1(steps) << keys
                                << QString::fromLatin1(expected);
        };
        row("Ctrl+O asks for a file", "", Qt::CTRL | Qt::Key_O, "- 1 offen ToolBtnOpen / :");
        row("Ctrl+F before a file: button disabled", "", Qt::CTRL | Qt::Key_F,
            "- 0 offen ToolBtnOpen / :");
        // The focus goes into the entry, its text selected whole: typing replaces it.
        row("Ctrl+F shows the search panel", "open", Qt::CTRL | Qt::Key_F,
            "Suchen 1 offen ComboBoxSuchen / : 0d0a Hilfe:0");
        row("A letter after Ctrl+F replaces the entry's text", "open, Find",
            QKeyCombination(Qt::Key_A), "Suchen 1 offen ComboBoxSuchen / : a Hilfe:0");
        // A mnemonic never types, nor does that of a disabled button ("&Ersetzen").
        row("Alt+E types nothing", "open, Find, entry", Qt::ALT | Qt::Key_E,
            "Suchen 1 offen ComboBoxSuchen / : 0d0a Hilfe:0");
        // With the search panel shown, Alt+H is its "&Hilfe" button's, not the menu's.
        row("Alt+H presses the panel's Hilfe", "open, Find", Qt::ALT | Qt::Key_H,
            "Suchen 1 offen ComboBoxSuchen / : 0d0a Hilfe:1");
        row("Ctrl+E shows the edit panel", "open", Qt::CTRL | Qt::Key_E,
            "Bearbeiten 1 offen HexGrid / :");
        row("Ctrl+Q ends the program", "open", Qt::CTRL | Qt::Key_Q, "- 1 zu  / :");
        row("Return loads the row", "open, Edit, cell 3", QKeyCombination(Qt::Key_Return),
            "Bearbeiten 1 offen HexEditGrid 00000020/41@1 :");
        row("F2 loads the row", "open, cell 3", QKeyCombination(Qt::Key_F2),
            "- 1 offen HexGrid 00000020/41@1 :");
        row("Return after moving in the edit row loads at the first byte",
            "open, Edit, cell 3, key Return, key Right, key Right, cell 4",
            QKeyCombination(Qt::Key_Return), "Bearbeiten 1 offen HexEditGrid 00000030/41@1 :");
        row("F2 after moving in the edit row loads at the first byte",
            "open, Edit, cell 3, key F2, key Right, key Right, cell 4", QKeyCombination(Qt::Key_F2),
            "Bearbeiten 1 offen HexEditGrid 00000030/41@1 :");
        row("Ctrl+Tab takes back the word said in the edit row", "open, Edit, cell 3, key Return",
            Qt::CTRL | Qt::Key_Tab, "Bearbeiten 1 offen BtnEditGridUebernehmen 00000020/41@1 :");
        row("Ctrl+Tab leaves the table", "open, cell 3", Qt::CTRL | Qt::Key_Tab,
            "- 1 offen ToolBtnOpen / :");
        // A keyboard sends Shift+Tab as Backtab.
        row("Ctrl+Shift+Tab leaves the table", "open, cell 3",
            Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, "- 1 offen ScrollBarVertikal / :");
        row("Tab stays in the table", "open, cell 3", QKeyCombination(Qt::Key_Tab),
            "- 1 offen HexGrid / :");
        row("Ctrl+Tab leaves the edit row, keeping what was typed", "open, Edit, load 3, type 2 4a",
            Qt::CTRL | Qt::Key_Tab, "Bearbeiten 1 offen BtnEditGridUebernehmen 00000020/4A@2 :");
        // The search disables the entry; the user goes on in the hit list.
        row("Return in the search entry searches", "open, Find, entry",
            QKeyCombination(Qt::Key_Return),
            "Suchen 1 offen ListBoxTreffer / 1 Treffer 0d0a Hilfe:0");
        // The tool bar's buttons (address base, grid lines, ...) take the focus from Tab.
        row("Shift+Tab from the spin edits reaches the tool bar", "open, focus CSpinEditReihen",
            Qt::SHIFT | Qt::Key_Backtab, "- 1 offen ToolButtonGitter / :");
    }
    void keys() {
        QFETCH(QString, steps);
        QFETCH(QKeyCombination, keys);
        QFETCH(QString, expected);
        run(steps);
        QTest::keyClick(KeyTarget(h->window.get()), keys.key(), keys.keyboardModifiers());
        QCOMPARE(state(), expected);
        // The menus show no key texts.
        QVERIFY(h->find<QAction>("MnuOeffnen")->shortcut().isEmpty());
    }

    void loadingARowIsTold_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("told");
        QTest::newRow("into the shown panel") << "open, Edit, cell 3"
                                              << "Bearbeitungszeile 00000020";
        QTest::newRow("into the hidden panel: nothing") << "open, cell 3"
                                                        << "";
    }
    void loadingARowIsTold() {
        QFETCH(QString, steps);
        QFETCH(QString, told);
        run(steps);
        QTest::keyClick(KeyTarget(h->window.get()), Qt::Key_Return);
        QCOMPARE(h->told(), told);
    }

    void controlNames_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        for (const char* row :
             {"ToolBtnOpen=Öffnen", "ToolButtonEdit=Edit", "ToolButtonFindChange=Suchen/Ersetzen",
              "ToolButtonEnde=Programmende", "ToolButtonInfo=Hilfeinformationen",
              "ToolButtonHexDez=Hex-/Dezimal-Adressen ein/aus",
              "ToolButtonGitter=Tabellengitter ein-/ausschalten",
              "CSpinEditReihen=Reihen:", "CSpinEditSpalten=Spalten:", "ComboBoxSuchen=Suchen nach:",
              "ComboBoxErsetzen=Ersetzen durch:"}) {
            const QStringList parts = QString::fromUtf8(row).split(QLatin1Char('='));
            QTest::newRow(row) << parts[0] << parts[1];
        }
    }
    void controlNames() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        run(QStringLiteral("open, Find"));
        QCOMPARE(SpokenName(h->find<QWidget>(control.toLatin1().constData())), name);
    }

    // Ten hits; the list shows seven entries at a time.
    void hitListChildren_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("firstEntry"); // the entry read as the first child
        QTest::addColumn<int>("selected");   // the selected child, or -1
        QTest::newRow("after the search") << "hits" << 0 << -1;
        QTest::newRow("third entry clicked") << "hits, click 2" << 0 << 2;
        QTest::newRow("scrolled to the end") << "hits, scroll 3" << 3 << -1;
        QTest::newRow("clicked, then scrolled") << "hits, click 4, scroll 2" << 2 << 2;
        QTest::newRow("clicked, then the table focused")
            << "hits, click 2, focus HexGrid" << 0 << 2;
    }
    void hitListChildren() {
        QFETCH(QString, steps);
        QFETCH(int, firstEntry);
        QFETCH(int, selected);
        run(steps);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(list());
        QCOMPARE(iface->role(), QAccessible::List);
        QCOMPARE(iface->childCount(), 7);
        for (int i = 0; i < 7; ++i) {
            QAccessibleInterface* entry = iface->child(i);
            QCOMPARE(
                entry->text(QAccessible::Name),
                QStringLiteral("%1").arg((firstEntry + i) * 16, 8, 16, QLatin1Char('0')).toUpper());
            QCOMPARE(entry->text(QAccessible::Description),
                     QStringLiteral("Treffer %1 von 10").arg(firstEntry + i + 1));
            QCOMPARE(entry->state().selected, i == selected);
            // Only the object that has the focus claims it.
            QCOMPARE(entry->state().focused, i == selected && list()->hasFocus());
            QCOMPARE(iface->indexOfChild(entry), i);
            QCOMPARE(iface->childAt(entry->rect().center().x(), entry->rect().center().y()), entry);
        }
        QCOMPARE(iface->focusChild(), selected < 0 ? nullptr : iface->child(selected));
    }
};

QTEST_MAIN(TestKeyboard)
#include "TestKeyboard.moc"
