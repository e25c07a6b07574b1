// Help: F1 and the help commands ask for the right topic; the help viewer finds the help
// file and shows the topic asked for; the help file itself holds every topic.
#include "EditRowDriver.h"
#include "WindowHarness.h"
#include "core/system/HelpContext.h"
#include "platform/QtHelpViewer.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

using namespace zirpel;

namespace {

// Every anchor name and every in-document link target of a document.
void CollectAnchors(const QTextDocument& doc, QSet<QString>* names, QSet<QString>* links) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            for (const QString& n : f.anchorNames())
                names->insert(n);
            if (f.anchorHref().startsWith(QLatin1Char('#')))
                links->insert(f.anchorHref().mid(1));
        }
    }
}

// The top of the block that carries the anchor, in the browser's viewport.
int AnchorTopInViewport(QTextBrowser& browser, const QString& anchor) {
    const QTextDocument& doc = *browser.document();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return int(doc.documentLayout()->blockBoundingRect(b).top()) -
                       browser.verticalScrollBar()->value();
        }
    }
    return -1000000;
}

void CopyHelpFileTo(const QString& folder) {
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(QStringLiteral(ZIRPEL_HELP_FILE), folder + QStringLiteral("/Tamsel.hlp")));
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void f1AsksForTheTopicOfTheFocus_data() {
        QTest::addColumn<QString>("panelButton"); // shows the panel first
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("context");
        QTest::newRow("search entry") << "ToolButtonFindChange"
                                      << "ComboBoxSuchen" << 500;
        QTest::newRow("hit list") << "ToolButtonFindChange"
                                  << "ListBoxTreffer" << 500;
        QTest::newRow("Suchen button") << "ToolButtonFindChange"
                                       << "BtnSuchen" << 500;
        QTest::newRow("edit row") << "ToolButtonEdit"
                                  << "HexEditGrid" << 507;
        QTest::newRow("Abbrechen button") << "ToolButtonEdit"
                                          << "BtnEditGridCancel" << 507;
        QTest::newRow("table") << ""
                               << "HexGrid" << 100;
        QTest::newRow("scroll bar") << ""
                                    << "ScrollBarVertikal" << 100;
        QTest::newRow("rows spin edit, search panel shown") << "ToolButtonFindChange"
                                                            << "CSpinEditReihen" << 100;
    }
    void f1AsksForTheTopicOfTheFocus() {
        QFETCH(QString, panelButton);
        QFETCH(QString, focus);
        QFETCH(int, context);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.bin"));
        WriteWholeFile(file, QByteArray(600, 'z'));
        WindowHarness h;
        h.create();
        h.showAndActivate();
        h.openThroughDialog(file);
        if (!panelButton.isEmpty())
            h.click(qPrintable(panelButton));
        if (panelButton == QLatin1String("ToolButtonEdit"))
            LoadRow(h, 1); // the edit row takes the focus only once a row is loaded
        auto* target = h.find<QWidget>(qPrintable(focus));
        target->setFocus(Qt::MouseFocusReason);
        QVERIFY(target->isAncestorOf(QApplication::focusWidget()) ||
                target == QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(h.help.requests, QList<int>{context});
    }

    void f1BeforeAnyFileAsksForTheMainWindow() {
        WindowHarness h;
        h.create();
        h.showAndActivate();
        QTest::keyClick(h.window.get(), Qt::Key_F1);
        QCOMPARE(h.help.requests, QList<int>{100});
    }

    void f1OnAHighlightedMenuItem_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QList<int>>("requests");
        QTest::newRow("&Inhalt carries 100") << "MnuHelp"
                                             << "MnuInhalt" << QList<int>{100};
        // No fall back to the window's context: nothing happens, the menu stays open.
        QTest::newRow("Inf&o... carries none") << "MnuHelp"
                                               << "MnuInfo" << QList<int>{};
        QTest::newRow("Ö&ffnen carries none") << "MnuDatei"
                                              << "MnuOeffnen" << QList<int>{};
    }
    void f1OnAHighlightedMenuItem() {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QList<int>, requests);
        WindowHarness h;
        h.create();
        h.showAndActivate();
        auto* m = h.find<QMenu>(qPrintable(menu));
        m->popup(h.window->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(m));
        m->setActiveAction(h.find<QAction>(qPrintable(item)));
        QTest::keyClick(m, Qt::Key_F1);
        QCOMPARE(h.help.requests, requests);
        // The menu gives way to the help window, and only to it.
        QCOMPARE(m->isVisible(), requests.isEmpty());
    }

    void contentsFromMenuAndToolButton_data() {
        QTest::addColumn<bool>("viaToolButton");
        QTest::newRow("menu item &Inhalt") << false;
        QTest::newRow("tool button Hilfeinformationen") << true;
    }
    void contentsFromMenuAndToolButton() {
        QFETCH(bool, viaToolButton);
        WindowHarness h;
        h.create();
        h.showAndActivate();
        if (viaToolButton)
            h.click("ToolButtonInfo");
        else
            h.find<QAction>("MnuInhalt")->trigger();
        QCOMPARE(h.help.requests, QList<int>{0}); // 0: the contents
    }

    void contextOfAnObjectWithoutOneNorParents() {
        QObject orphan;
        QCOMPARE(FindHelpContext(&orphan), std::nullopt);
        QObject child(&orphan);
        orphan.setProperty("helpContext", 500);
        QCOMPARE(FindHelpContext(&child), std::optional<int>(500));
    }

    void helpFileLookupOrder_data() {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("found"); // relative to the temporary folder
        QTest::newRow("build tree: beside the executable") << true << false << "bin/Tamsel.hlp";
        QTest::newRow("installed tree: share/zirpel") << false << true << "share/zirpel/Tamsel.hlp";
        QTest::newRow("both: beside the executable wins") << true << true << "bin/Tamsel.hlp";
        QTest::newRow("neither") << false << false << "";
    }
    void helpFileLookupOrder() {
        QFETCH(bool, beside);
        QFETCH(bool, installed);
        QFETCH(QString, found);
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        if (beside)
            CopyHelpFileTo(bin);
        if (installed)
            CopyHelpFileTo(dir.filePath(QStringLiteral("share/zirpel")));
        QCOMPARE(FindHelpFile(bin),
                 found.isEmpty() ? std::nullopt : std::optional<QString>(dir.filePath(found)));
    }

    void viewerShowsTheTopicAskedFor_data() {
        QTest::addColumn<int>("context"); // 0: the contents
        QTest::addColumn<QString>("anchor");
        QTest::addColumn<QString>("heading");
        QTest::newRow("contents") << 0 << "contents" << QStringLiteral("Zirpel – Inhalt");
        QTest::newRow("main window") << 100 << "100" << QStringLiteral("Das Hauptfenster");
        QTest::newRow("search and replace")
            << 500 << "500" << QStringLiteral("Suchen und Ersetzen");
        QTest::newRow("editing") << 507 << "507" << QStringLiteral("Bearbeiten");
    }
    void viewerShowsTheTopicAskedFor() {
        QFETCH(int, context);
        QFETCH(QString, anchor);
        QFETCH(QString, heading);
        QTemporaryDir dir;
        CopyHelpFileTo(dir.filePath(QStringLiteral("share/zirpel")));
        QtHelpViewer viewer(dir.filePath(QStringLiteral("bin")));
        viewer.showContents();
        if (context != 0)
            viewer.showContext(context);
        QTextBrowser* b = viewer.text();
        QVERIFY(b && b->isVisible());
        QCOMPARE(b->source().fragment(), anchor);
        const int top = AnchorTopInViewport(*b, anchor);
        QVERIFY2(top >= 0 && top < b->viewport()->height(), qPrintable(QString::number(top)));
        QVERIFY(b->toPlainText().contains(heading));
        // A reader starts on the topic's heading, in a text it reads by its caret.
        QCOMPARE(b->textCursor().block().text().trimmed(), heading);
        QAccessibleInterface* text = QAccessible::queryAccessibleInterface(b);
        QCOMPARE(text->role(), QAccessible::EditableText);
        // Its links are links; Tab chooses the next one, which then has the focus.
        QVERIFY(text->childCount() > 0);
        QCOMPARE(text->child(0)->role(), QAccessible::Link);
        QVERIFY(QTest::qWaitForWindowActive(b));
        QTest::keyClick(b, Qt::Key_Tab);
        QVERIFY(text->focusChild() && text->focusChild()->state().focused);
        QCOMPARE(text->focusChild()->text(QAccessible::Name), b->textCursor().selectedText());
        // The window is a window, named by its title.
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(b->window());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Zirpel-Hilfe"));
    }

    void everyTopicAndLinkOfTheHelpFileExists() {
        QFile f(QStringLiteral(ZIRPEL_HELP_FILE));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(f.readAll()));
        QSet<QString> names, links;
        CollectAnchors(doc, &names, &links);
        for (const char* topic : {"contents", "100", "500", "507"})
            QVERIFY2(names.contains(QLatin1String(topic)), topic);
        for (const QString& link : links)
            QVERIFY2(names.contains(link), qPrintable(link));
    }

    void openHelpWindowDoesNotKeepTheProgramRunning() {
        QTemporaryDir dir;
        CopyHelpFileTo(dir.path());
        QtHelpViewer viewer(dir.path());
        viewer.showContents();
        // The program ends when the main window closes, even with the help still open.
        QVERIFY(viewer.text()->isVisible());
        QVERIFY(!viewer.text()->window()->testAttribute(Qt::WA_QuitOnClose));
    }

    void viewerClosesWithKeys_data() {
        QTest::addColumn<QKeyCombination>("keys");
        QTest::newRow("Esc") << QKeyCombination(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << (Qt::CTRL | Qt::Key_W);
    }
    void viewerClosesWithKeys() {
        QFETCH(QKeyCombination, keys);
        QtHelpViewer viewer(QDir::tempPath());
        viewer.showContents();
        QVERIFY(QTest::qWaitForWindowActive(viewer.text()));
        // It carries the program's icon, as the main window does.
        QCOMPARE(viewer.text()->windowIcon().pixmap(32).toImage(),
                 WindowHarness().create().windowIcon().pixmap(32).toImage());
        QTest::keyClick(viewer.text(), keys.key(), keys.keyboardModifiers());
        QVERIFY(!viewer.text()->isVisible());
    }

    void missingHelpFileIsReportedByTheViewer() {
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QtHelpViewer viewer(bin);
        viewer.showContext(500);
        QTextBrowser* b = viewer.text();
        QVERIFY(b && b->isVisible());
        QVERIFY(b->toPlainText().contains(
            QStringLiteral("Die Hilfedatei „Tamsel.hlp“ wurde nicht gefunden.")));
        QVERIFY(b->toPlainText().contains(
            QDir::toNativeSeparators(bin + QStringLiteral("/Tamsel.hlp"))));
        // Once the file is there, the next request shows it.
        CopyHelpFileTo(bin);
        viewer.showContext(500);
        QCOMPARE(b->source().fragment(), QStringLiteral("500"));
        QVERIFY(b->toPlainText().contains(QStringLiteral("Suchen und Ersetzen")));
    }
};

QTEST_MAIN(TestHelp)
#include "TestHelp.moc"
