// Start-up, activation, close and the about box, as a user sees them.
#include "WindowHarness.h"
#include "widgets/About.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <utility>

using namespace zirpel;

namespace {

// The settings an earlier run left: a place on the screen and the page shape.
void StoreShape(MemorySettingsStore& store, int rows, int columns, int decimal, int lines) {
    store.keyExists = true;
    const std::pair<const char*, int> values[] = {{"frmTop", 100},       {"frmLeft", 100},
                                                  {"HexReihen", rows},   {"HexSpalten", columns},
                                                  {"HexOrDez", decimal}, {"Gitter", lines}};
    for (const auto& [name, value] : values)
        store.values.insert(QString::fromLatin1(name), value);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void startStateAsTheUserSeesIt() {
        WindowHarness h;
        h.create();
        h.showAndActivate();
        TFrmHexEditor& w = *h.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Zirpel []"));
        QCOMPARE(w.frameGeometry().size(), QSize(250, 200));
        for (const char* name :
             {"HexGrid", "CSpinEditReihen", "CSpinEditSpalten", "TextReihen", "TextSpalten"})
            QVERIFY2(!h.find<QWidget>(name)->isVisible(), name);
        QVERIFY(!h.find<QToolButton>("ToolButtonEdit")->isEnabled());
        QVERIFY(!h.find<QToolButton>("ToolButtonFindChange")->isEnabled());
        QVERIFY(h.find<QToolButton>("ToolButtonGitter")->isEnabled());
        QVERIFY(h.find<QToolButton>("ToolButtonHexDez")->isEnabled());
        const char* items[] = {"MnuObjekt1", "MnuObjekt2", "MnuObjekt3", "MnuObjekt4"};
        for (int k = 0; k < 4; ++k)
            QCOMPARE(h.find<QAction>(items[k])->text(), QStringLiteral("&%1  ").arg(k + 1));
        // After the first activation with no stored settings: hex addresses, no lines.
        QVERIFY(h.find<QToolButton>("ToolButtonHexDez")->isChecked());
        QVERIFY(!h.find<QToolButton>("ToolButtonGitter")->isChecked());
        QCOMPARE(h.find<SpinEdit>("CSpinEditReihen")->value(), 16);
        QCOMPARE(h.find<SpinEdit>("CSpinEditSpalten")->value(), 16);
    }

    void toolTipsAndImages() {
        WindowHarness h;
        h.create();
        const QList<QPair<const char*, QString>> tips = {
            {"ToolBtnOpen", QStringLiteral("Öffnen")},
            {"ToolButtonEdit", QStringLiteral("Edit")},
            {"ToolButtonFindChange", QStringLiteral("Suchen/Ersetzen")},
            {"ToolButtonEnde", QStringLiteral("Programmende")},
            {"ToolButtonInfo", QStringLiteral("Hilfeinformationen")},
            {"ToolButtonHexDez", QStringLiteral("Hex-/Dezimal-Adressen ein/aus")},
            {"ToolButtonGitter", QStringLiteral("Tabellengitter ein-/ausschalten")}};
        for (const auto& [name, tip] : tips) {
            auto* b = h.find<QToolButton>(name);
            QVERIFY2(b, name);
            QCOMPARE(b->toolTip(), tip);
            QVERIFY2(!b->icon().pixmap(16, 16).isNull(), name);
        }
    }

    void storedShapeReachesSpinEditsWithoutLayout_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("decimal");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("shownRows");
        QTest::addColumn<int>("shownColumns");
        QTest::newRow("24 rows, 20 columns") << 24 << 20 << 0 << 1 << 24 << 20;
        QTest::newRow("100 rows clamp to 32") << 100 << 16 << 5 << 2 << 32 << 16;
        QTest::newRow("tiny values clamp to 16") << 1 << 0 << 1 << 0 << 16 << 16;
    }
    void storedShapeReachesSpinEditsWithoutLayout() {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, decimal);
        QFETCH(int, lines);
        QFETCH(int, shownRows);
        QFETCH(int, shownColumns);
        WindowHarness h;
        StoreShape(h.settings, rows, columns, decimal, lines);
        h.create();
        const int gridCols = h.grid()->colCount();
        h.showAndActivate();
        QCOMPARE(h.find<SpinEdit>("CSpinEditReihen")->value(), shownRows);
        QCOMPARE(h.find<SpinEdit>("CSpinEditSpalten")->value(), shownColumns);
        QCOMPARE(h.find<QToolButton>("ToolButtonHexDez")->isChecked(), decimal == 0);
        QCOMPARE(h.find<QToolButton>("ToolButtonGitter")->isChecked(), lines == 1);
        // Nothing laid out: the window keeps its start size, and the stored values go back
        // unchanged at close.
        QCOMPARE(h.grid()->colCount(), gridCols);
        QCOMPARE(h.window->frameGeometry().size(), QSize(250, 200));
        QVERIFY(h.statusText().isEmpty());
        QVERIFY(h.window->close());
        const QMap<QString, QVariant>& saved = h.settings.values;
        QCOMPARE((QVariantList{saved["HexReihen"], saved["HexSpalten"], saved["HexOrDez"],
                               saved["Gitter"]}),
                 (QVariantList{rows, columns, decimal, lines}));
    }

    void secondActivationChangesNothing_data() {
        QTest::addColumn<bool>("withFile");
        QTest::newRow("no file open") << false;
        QTest::newRow("file shown, 24 rows, decimal, lines") << true;
    }
    void secondActivationChangesNothing() {
        QFETCH(bool, withFile);
        QTemporaryDir dir;
        WindowHarness h;
        StoreShape(h.settings, 24, 16, 0, 0);
        h.create();
        h.showAndActivate();
        if (withFile) {
            const QString path = dir.filePath(QStringLiteral("f.bin"));
            QVERIFY(WriteWholeFile(path, QByteArray(3000, 'z')));
            h.openThroughDialog(path);
            h.click("ToolButtonHexDez");
            h.click("ToolButtonGitter");
        }
        auto snapshot = [&] {
            QStringList cells;
            for (int r = 0; r < h.grid()->rowCount(); ++r)
                cells << h.cell(0, r) + h.cell(1, r) + h.cell(h.grid()->colCount() - 1, r);
            return QVariantList{h.window->size(),
                                h.find<SpinEdit>("CSpinEditReihen")->value(),
                                h.find<SpinEdit>("CSpinEditSpalten")->value(),
                                h.find<QToolButton>("ToolButtonHexDez")->isChecked(),
                                h.find<QToolButton>("ToolButtonGitter")->isChecked(),
                                h.find<QScrollBar>("ScrollBarVertikal")->value(),
                                h.statusText(),
                                cells};
        };
        const QVariantList before = snapshot();
        // Closing the about box activates the window again.
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                box->accept();
        });
        h.find<QAction>("MnuInfo")->trigger();
        QCOMPARE(snapshot(), before);
        // And after another window had the focus.
        QApplication::setActiveWindow(nullptr);
        h.showAndActivate();
        QCOMPARE(snapshot(), before);
    }

    void closingWithoutAFileRaisesNoError() {
        WindowHarness h;
        h.create();
        h.showAndActivate();
        QVERIFY(h.window->close());
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void exitMenuAndToolButtonClose_data() {
        QTest::addColumn<bool>("viaToolButton");
        QTest::newRow("menu item &Beenden") << false;
        QTest::newRow("tool button") << true;
    }
    void exitMenuAndToolButtonClose() {
        QFETCH(bool, viaToolButton);
        WindowHarness h;
        h.create();
        h.showAndActivate();
        QVERIFY(h.window->isVisible());
        if (viaToolButton)
            h.click("ToolButtonEnde");
        else
            h.find<QAction>("MnuEnde")->trigger();
        QVERIFY(!h.window->isVisible());
    }

    void aboutBoxIsFreshEachTime() {
        WindowHarness h;
        h.create();
        h.showAndActivate();
        QList<QPointer<QDialog>> seen;
        QStringList captions;
        auto closeBox = [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(box);
            captions << box->windowTitle();
            QVERIFY(box->findChild<QLabel*>(QStringLiteral("Label2")));
            QCOMPARE(box->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                     QStringLiteral("Version  2.3"));
            seen << QPointer<QDialog>(box);
            QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("BtnOK")),
                              Qt::LeftButton);
        };
        QTimer::singleShot(0, closeBox);
        h.find<QAction>("MnuInfo")->trigger();
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].isNull()); // destroyed once closed
        QTimer::singleShot(0, closeBox);
        h.find<QAction>("MnuInfo")->trigger();
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen[1].isNull());
        QCOMPARE(captions, QStringList({QStringLiteral("FrmAbout"), QStringLiteral("FrmAbout")}));
        QVERIFY(h.window->isVisible());
    }
};

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
