// Opening files and the recent-file items of the file menu.
#include "HeldFile.h"
#include "WindowHarness.h"
#include "platform/QtDialogs.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

using namespace zirpel;

class TestOpenFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<WindowHarness> h;

    QString makeFile(const QString& name, const QByteArray& bytes) {
        return MakeFile(dir, name, bytes);
    }
    // The recent list as the file menu shows it, behind "k  ".
    QStringList recent() const {
        QStringList names;
        for (const QString& caption : captions())
            names << Shown(caption).mid(3);
        return names;
    }
    // The text a menu item shows: "&&" as "&", a single "&" only marking the next letter.
    static QString Shown(const QString& caption) {
        QString s;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i] == u'&' && i + 1 < caption.size())
                ++i;
            s += caption[i];
        }
        return s;
    }
    QStringList captions() const {
        QStringList c;
        for (const char* n : {"MnuObjekt1", "MnuObjekt2", "MnuObjekt3", "MnuObjekt4"})
            c << h->find<QAction>(n)->text();
        return c;
    }
    void setRecent(const QStringList& names) {
        h->access().SetRecentFiles({names[0], names[1], names[2], names[3]});
    }
    void chooseItem(int k) {
        h->find<QAction>(QStringLiteral("MnuObjekt%1").arg(k).toLatin1().constData())->trigger();
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        h->create();
        h->showAndActivate();
    }
    void cleanup() { h.reset(); }

    void cancelChangesNothing() {
        h->find<QAction>("MnuOeffnen")->trigger(); // no name preset: the user cancels
        QCOMPARE(h->dialogs.openTitles.size(), 1);
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel []"));
        QVERIFY(h->dialogs.messages.isEmpty());
        QCOMPARE(recent(), QStringList(4, QString()));
    }

    void toolButtonRunsTheMenuItem() {
        const QString a = makeFile(QStringLiteral("a.bin"), "abc");
        h->dialogs.nextFileNames.append(a);
        h->click("ToolBtnOpen");
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel  [") + a + QLatin1Char(']'));
    }

    // Qt reads "[*]" in a caption as its modified marker and "&" in a menu item as a
    // mnemonic; a path shows as it is in both.
    void captionShowsThePathAsItIs_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("[*] in the name") << "a[*]b.bin";
        QTest::newRow("name ending in [* before the closing bracket") << "ab.bin[*";
        QTest::newRow("& in the name") << "a&b.bin";
        QTest::newRow("[*] and & in the name") << "a[*]b&c.bin";
    }
    void captionShowsThePathAsItIs() {
        QFETCH(QString, name);
#ifdef _WIN32
        if (name.contains(QLatin1Char('*')))
            QSKIP("Windows allows no * in file names");
#endif
        const QString path = makeFile(name, "abc");
        h->openThroughDialog(path);
        QCOMPARE(h->window->windowHandle()->title(),
                 QStringLiteral("Zirpel  [") + path + QLatin1Char(']'));
        QCOMPARE(Shown(captions()[0]), QStringLiteral("1  ") + path);
    }

    // Failures keep everything as it was: caption, page, recent list (except the
    // existing name, which is already at the top), tool buttons.
    void openFailures_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("inRecentList");
        const QString missing = QStringLiteral("Die angegebene Datei ist nicht vorhanden");
        const QString cannot = QStringLiteral("Die Datei kann nicht geöffnet werden.");
        QTest::newRow("missing file") << "missing" << missing << false;
        QTest::newRow("path through a regular file") << "through" << missing << false;
        QTest::newRow("directory passes the existence test") << "directory" << cannot << true;
        QTest::newRow("named pipe chosen in the dialog") << "pipe" << cannot << true;
        QTest::newRow("named pipe chosen from the recent list") << "pipe-recent" << cannot << true;
        QTest::newRow("held by another program that shares it with nobody")
            << "held" << cannot << true;
        QTest::newRow("2 GiB file is too large")
            << "huge"
            << "Die Datei ist zu groß. Es können nur Dateien unter 2 GB geöffnet werden." << true;
    }
    void openFailures() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(bool, inRecentList);
        const QString shown = makeFile(QStringLiteral("shown.bin"), "Zirpel");
        h->openThroughDialog(shown);
        QString bad;
        std::unique_ptr<PipeAtPath> pipe;
        std::unique_ptr<HeldFile> held;
        if (kind.startsWith(QLatin1String("pipe"))) {
            bad = dir.filePath(kind);
            pipe = std::make_unique<PipeAtPath>(bad);
#ifdef _WIN32
            QSKIP("Windows has no named pipes in folders");
#endif
            QVERIFY(pipe->made());
        } else if (kind == QLatin1String("missing")) {
            bad = dir.filePath(QStringLiteral("nope.bin"));
        } else if (kind == QLatin1String("through")) {
            bad = shown + QStringLiteral("/inner.bin");
        } else if (kind == QLatin1String("directory")) {
            bad = dir.filePath(QStringLiteral("folder"));
            QVERIFY(QDir().mkpath(bad));
        } else if (kind == QLatin1String("held")) {
#ifndef _WIN32
            QSKIP("only Windows lets a program keep others from opening a file");
#endif
            bad = makeFile(QStringLiteral("held.bin"), "held");
            held = std::make_unique<HeldFile>(bad, HeldFile::Way::Alone);
            QVERIFY(held->held());
        } else {
            bad = dir.filePath(QStringLiteral("huge.bin"));
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(qint64(2147483648))); // sparse
        }
        bad = QDir::toNativeSeparators(bad);
        if (kind == QLatin1String("pipe-recent")) {
            setRecent({shown, bad, QString(), QString()});
            chooseItem(2);
        } else {
            h->openThroughDialog(bad);
        }
        if (pipe)
            QVERIFY(!pipe->readerWaited());
        QCOMPARE(h->dialogs.messages.size(), 1);
        const FakeDialogs::Message& m = h->dialogs.messages[0];
        QCOMPARE(m.text, message);
        QCOMPARE(m.title, QStringLiteral("Öffnen Datei"));
        QVERIFY(m.kind == FakeDialogs::Message::Kind::System);
        QVERIFY(m.icon == Dialogs::Icon::Error);
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel  [") + shown + QLatin1Char(']'));
        QCOMPARE(h->cell(1, 1), QStringLiteral("5A"));
        QCOMPARE(h->statusText(), QStringLiteral("Dateigröße: 6 Bytes"));
        QCOMPARE(recent().first(), inRecentList ? bad : shown);
        QVERIFY(h->grid()->isVisible());
        // The shown file's stream still serves page reads.
        QTest::keyClick(h->find<SpinEdit>("CSpinEditReihen"), Qt::Key_Up);
        QCOMPARE(h->cell(1, 1), QStringLiteral("5A"));
    }

    void failureBeforeAnyFileKeepsStartState() {
        const QString folder = dir.filePath(QStringLiteral("folder2"));
        QVERIFY(QDir().mkpath(folder));
        h->openThroughDialog(folder);
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel []"));
        QVERIFY(!h->grid()->isVisible());
        QVERIFY(!h->find<QToolButton>("ToolButtonEdit")->isEnabled());
        QCOMPARE(h->window->frameGeometry().size(), QSize(250, 200));
    }

    void recentListThroughTheMenu() {
        QStringList files;
        for (const char* n : {"A", "B", "C", "D", "E"})
            files << makeFile(QString::fromLatin1(n), QByteArray(n));
        const QString &a = files[0], &b = files[1], &c = files[2], &d = files[3], &e = files[4];
        for (const QString& f : {d, c, b, a})
            h->openThroughDialog(f);
        QCOMPARE(recent(), (QStringList{a, b, c, d}));
        QCOMPARE(captions(), (QStringList{"&1  " + a, "&2  " + b, "&3  " + c, "&4  " + d}));

        h->openThroughDialog(c); // opening C through the dialog
        QCOMPARE(recent(), (QStringList{c, a, b, d}));

        setRecent({a, b, c, d});
        h->openThroughDialog(e); // a new file
        QCOMPARE(recent(), (QStringList{e, a, b, c}));

        setRecent({a, b, c, d});
        chooseItem(2); // the item of B
        QCOMPARE(recent(), (QStringList{b, a, c, d}));
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel  [") + b + QLatin1Char(']'));
        QCOMPARE(h->cell(1, 1), QStringLiteral("42"));
        QCOMPARE(captions()[0], "&1  " + b);

        // Another file shown first: Windows keeps the name of a shown file that is deleted.
        h->openThroughDialog(e);
        setRecent({a, b, c, d});
        QVERIFY(QFile::remove(b));
        chooseItem(2);
        QCOMPARE(h->dialogs.messageTexts(),
                 QStringList{QStringLiteral("Die Datei existiert nicht mehr!")});
        QCOMPARE(h->dialogs.messages[0].title, QStringLiteral("Auswahl Objekt"));
        QVERIFY(h->dialogs.messages[0].icon == Dialogs::Icon::Warning);
        QCOMPARE(recent(), (QStringList{a, c, d, QString()}));
        QCOMPARE(captions()[3], QStringLiteral("&4  "));
        // The page shown before stays.
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel  [") + e + QLatin1Char(']'));
    }

    void emptySlotGivesMessage() {
        const QString f = makeFile(QStringLiteral("second.bin"), "2");
        setRecent({QString(), f, QString(), QString()});
        chooseItem(1);
        QCOMPARE(h->dialogs.messageTexts(),
                 QStringList{QStringLiteral("Die Menüzeile enthält keinen gültigen Dateinamen!")});
        QCOMPARE(h->dialogs.messages[0].title, QStringLiteral("Auswahl Objekt"));
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel []"));
        chooseItem(2);
        QCOMPARE(h->window->windowTitle(), QStringLiteral("Zirpel  [") + f + QLatin1Char(']'));
        QCOMPARE(recent(), (QStringList{f, QString(), QString(), QString()}));
    }

    void namesDifferingInCaseAreTwoEntries() {
        const QString lower = makeFile(QStringLiteral("x.bin"), "x");
        const QString upper = makeFile(QStringLiteral("X.BIN"), "X");
        h->openThroughDialog(upper);
        h->openThroughDialog(lower);
        QCOMPARE(recent(), (QStringList{lower, upper, QString(), QString()}));
    }

    void openDialogOpensTheNameTheUserPutIn() {
        // The real dialog, the second time with the last name in its name box: the user
        // pastes a name before the box has the focus, and the folder is read after that.
        QtDialogs dialogs;
        for (const char* name : {"last.bin", "wanted.bin"}) {
            const QString path = makeFile(QString::fromLatin1(name), name);
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"))->setFocus();
                box->selectAll();
                box->insert(path);
                emit dialog->findChild<QFileSystemModel*>()->directoryLoaded(dir.path());
                QTest::keyClick(box, Qt::Key_Return);
                if (dialog->isVisible())
                    dialog->reject();
            });
            const std::optional<QString> chosen =
                dialogs.openFile(QStringLiteral("Öffnen Datei"), QStringLiteral("*.*|*.*|"));
            QCOMPARE(QDir::toNativeSeparators(chosen.value_or(QString())), path);
        }
    }

    // The dialog the program shows, with the filter the window gives it: the first entry,
    // "Alle Dateien (*.*)", lists names without a dot as well.
    void openDialogListsEveryFileUnderAllFiles() {
        h->find<QAction>("MnuOeffnen")->trigger(); // the fake records the filter, then cancels
        const QString filter = h->dialogs.openFilters.value(0);
        QTemporaryDir folder;
        for (const char* name : {"noext", "core.1", "liesmich.TXT"})
            MakeFile(folder, QString::fromLatin1(name), name);
        QtDialogs dialogs;
        QStringList listed;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
            dialog->setDirectory(folder.path());
            (void)QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) >= 3; });
            for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
                listed << list->model()->index(row, 0, list->rootIndex()).data().toString();
            dialog->reject();
        });
        QVERIFY(!dialogs.openFile(QStringLiteral("Öffnen Datei"), filter));
        listed.sort();
        QCOMPARE(listed, (QStringList{"core.1", "liesmich.TXT", "noext"}));
    }

    void reopeningTheShownFileStartsAtTop() {
        const QString f = makeFile(QStringLiteral("same.bin"), QByteArray(2000, 'q'));
        h->openThroughDialog(f);
        h->openThroughDialog(f);
        QCOMPARE(recent(), (QStringList{f, QString(), QString(), QString()}));
        QCOMPARE(h->shownOffset(), 0);
    }
};

QTEST_MAIN(TestOpenFile)
#include "TestOpenFile.moc"
