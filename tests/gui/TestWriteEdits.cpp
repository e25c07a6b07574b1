// Writing the edit row into the file with "Übernehmen", abandoning it with "Abbrechen",
// and a write that fails. Every case compares the whole file.
#include "EditRowDriver.h"
#include "HeldFile.h"
#include "WindowHarness.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstdio>

using namespace zirpel;

namespace {

QByteArray Letters(int size) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char('A' + i % 26);
    return b;
}

QByteArray Patched(QByteArray bytes, int offset, const QByteArray& with) {
    if (bytes.size() < offset + with.size())
        bytes.resize(offset + with.size(), '\0');
    bytes.replace(offset, with.size(), with);
    return bytes;
}

QString Hex(quint8 b) {
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

const QString kCannotWrite = QStringLiteral("Die Datei kann nicht geschrieben werden.");
const QString kCannotRead = QStringLiteral("Die Datei kann nicht gelesen werden.");
const QString kBehindEnd = QStringLiteral("Die Zeile beginnt hinter dem Dateiende.");
const QString kLongFolder = QStringLiteral("Ordner mit einem langen Namen");

} // namespace

class TestWriteEdits : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<WindowHarness> h;
    QString path;

    QScrollBar* bar() const { return h->find<QScrollBar>("ScrollBarVertikal"); }
    QString editCell(int col) const { return h->editGrid()->cell(col, 0); }
    bool enabled() const { return EditRowEnabled(*h); }
    bool disabled() const { return EditRowDisabled(*h); }
    void open(const QByteArray& bytes) {
        WriteWholeFile(path, bytes);
        h->openThroughDialog(path);
        h->click("ToolButtonEdit");
    }
    // Every page cell shows the bytes of file from the page's offset, zeros past its end.
    void comparePage(const QByteArray& file) const {
        const int offset = h->shownOffset();
        for (int r = 1; r <= 16; ++r) {
            for (int c = 1; c <= 16; ++c) {
                const int at = offset + (r - 1) * 16 + c - 1;
                QCOMPARE(h->cell(c, r), Hex(at < file.size() ? quint8(file[at]) : 0));
            }
        }
    }
    // Edits as "column=keys" (closed with Return, no keys: the editor opened and closed) or
    // "column=keys>n" (closed with n Tabs); "+bytes" appends to the file, as another
    // program does, and "@offset=bytes" has it write there when the write starts, after
    // the row's bytes were read from the file.
    void type(const QStringList& edits) const {
        for (const QString& e : edits) {
            if (e.startsWith(QLatin1Char('+'))) {
                QFile f(path);
                QVERIFY(f.open(QIODevice::Append) && f.write(e.mid(1).toLatin1()) > 0);
                continue;
            }
            if (e.startsWith(QLatin1Char('@'))) {
                const qint64 at = e.mid(1).section(QLatin1Char('='), 0, 0).toLongLong();
                const QByteArray bytes = e.section(QLatin1Char('='), 1).toLatin1();
                BinaryFile::testTransferLimit =
                    [file = path, at, bytes, done = false](BinaryFile::Transfer t, qint64,
                                                           std::size_t n) mutable -> std::size_t {
                    if (t == BinaryFile::Transfer::Write && !done) {
                        done = true;
                        QFile f(file);
                        (void)(f.open(QIODevice::ReadWrite) && f.seek(at) && f.write(bytes));
                    }
                    return n;
                };
                continue;
            }
            const QString keys = e.section(QLatin1Char('='), 1).section(QLatin1Char('>'), 0, 0);
            const int tabs = e.section(QLatin1Char('>'), 1).toInt();
            TypeIntoCell(*h, e.section(QLatin1Char('='), 0, 0).toInt(), keys, tabs == 0);
            for (int t = 0; t < tabs; ++t)
                QTest::keyClick(KeyTarget(h->editGrid()), Qt::Key_Tab);
        }
    }

private slots:
    void init() {
        h = std::make_unique<WindowHarness>();
        h->create();
        h->showAndActivate();
        path = dir.filePath(QStringLiteral("data.bin"));
    }
    void cleanup() {
        BinaryFile::testTransferLimit = nullptr;
        BinaryFile::testStepFails = nullptr;
        h.reset();
        QFile::remove(path);
        QDir(dir.filePath(kLongFolder)).removeRecursively();
    }

    void write_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<int>("scrollBefore");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("scrollAfter");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QByteArray>("after");
        const QByteArray big = Letters(1000);
        QTest::newRow("first cell 41 to 61") << big << false << 0 << 1 << "00000000" << 0
                                             << QStringList{"1=61"} << Patched(big, 0, "a");
        QTest::newRow("nothing typed writes the row as it was")
            << big << false << 0 << 2 << "00000010" << 0 << QStringList{} << big;
        QTest::newRow("first and last cell of row 3")
            << big << false << 0 << 3 << "00000020" << 0 << QStringList{"1=ff", "16=0"}
            << Patched(Patched(big, 32, "\xFF"), 47, QByteArray(1, '\0'));
        QTest::newRow("retyped twice, the last text counts")
            << big << false << 0 << 1 << "00000000" << 0 << QStringList{"5=11", "5=3a"}
            << Patched(big, 4, ":");
        QTest::newRow("decimal address of 512") << big << true << 512 << 1 << "     512" << 512
                                                << QStringList{"1=FE"} << Patched(big, 512, "\xFE");
        QTest::newRow("scrolled away before writing")
            << big << false << 0 << 2 << "00000010" << 512 << QStringList{"5=00"}
            << Patched(big, 20, QByteArray(1, '\0'));
        QTest::newRow("editor opened and closed past the end of a 10-byte file")
            << Letters(10) << false << 0 << 1 << "00000000" << 0 << QStringList{"14="}
            << Letters(10);
        QTest::newRow("61 typed, then Tab over 13 cells")
            << Letters(10) << false << 0 << 1 << "00000000" << 0 << QStringList{"1=61>13"}
            << Patched(Letters(10), 0, "a");
        QTest::newRow("bytes appended meanwhile stay")
            << Letters(10) << false << 0 << 1 << "00000000" << 0 << QStringList{"+KLMNOP", "2=61"}
            << Patched(Letters(16), 1, "a");
        QTest::newRow("a byte another program writes between typed cells stays")
            << big << false << 0 << 1 << "00000000" << 0 << QStringList{"1=61", "8=78", "@3=z"}
            << Patched(Patched(Patched(big, 0, "a"), 7, "x"), 3, "z");
    }
    void write() {
        QFETCH(QByteArray, before);
        QFETCH(bool, decimal);
        QFETCH(int, scrollBefore);
        QFETCH(int, row);
        QFETCH(QString, address);
        QFETCH(int, scrollAfter);
        QFETCH(QStringList, edits);
        QFETCH(QByteArray, after);
        open(before);
        if (decimal)
            h->click("ToolButtonHexDez");
        bar()->setValue(scrollBefore);
        LoadRow(*h, row);
        QCOMPARE(editCell(0), address);
        bar()->setValue(scrollAfter);
        type(edits);
        h->click("BtnEditGridUebernehmen");
        BinaryFile::testTransferLimit = nullptr;

        QCOMPARE(ReadWholeFile(path), after);
        QVERIFY(h->dialogs.messages.isEmpty());
        QVERIFY(disabled());
        QCOMPARE(editCell(0), address);
        // The page stays where it is and shows the file as it now is.
        QCOMPARE(h->shownOffset(), scrollAfter);
        QCOMPARE(bar()->value(), scrollAfter);
        comparePage(after);
        // The size taken at the open stays.
        QCOMPARE(bar()->maximum(), qMax(0, before.size() - 256 + 1));
        QCOMPARE(h->statusText(), QStringLiteral("Dateigröße: %1 Bytes").arg(before.size()));
        // A double click loads and enables the row again.
        LoadRow(*h, row);
        QVERIFY(enabled());
    }

    // Also through a path longer than the system's old limit of 260 characters, as the
    // open dialog offers it; the recent list keeps that path.
    void writtenBytesShowInTable_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("short path") << 0;
        QTest::newRow("path of 300 characters") << 300;
    }
    void writtenBytesShowInTable() {
        QFETCH(int, length);
        if (length > 0) {
            QString folder = dir.path();
            while (folder.size() < length - 50)
                folder += QLatin1Char('/') + kLongFolder;
            QVERIFY(QDir().mkpath(folder));
            path = folder + QLatin1Char('/');
            path += QString(length - path.size() - 4, QLatin1Char('x')) + QStringLiteral(".bin");
            QCOMPARE(path.size(), length);
        }
        open(Letters(1000));
        QCOMPARE(h->find<QAction>("MnuObjekt1")->text(),
                 QStringLiteral("&1  ") + QDir::toNativeSeparators(path));
        LoadRow(*h, 1);
        QCOMPARE(h->cell(1, 1), QStringLiteral("41"));
        TypeIntoCell(*h, 1, QStringLiteral("61"));
        QCOMPARE(h->cell(1, 1), QStringLiteral("41"));
        h->click("BtnEditGridUebernehmen");
        QCOMPARE(h->cell(1, 1), QStringLiteral("61"));
        QCOMPARE(h->cell(18, 1), QStringLiteral("aBCDEFGHIJKLMNOP"));
        QCOMPARE(ReadWholeFile(path), Patched(Letters(1000), 0, "a"));
    }

    void editorStillOpenWhenWriting() {
        open(Letters(1000));
        LoadRow(*h, 2);
        TypeIntoCell(*h, 3, QStringLiteral("7"), false);
        h->click("BtnEditGridUebernehmen");
        QCOMPARE(ReadWholeFile(path), Patched(Letters(1000), 18, "\x07"));
        QVERIFY(disabled());
    }

    void cancelWritesNothing() {
        const QByteArray bytes = Letters(1000);
        open(bytes);
        LoadRow(*h, 1);
        TypeIntoCell(*h, 1, QStringLiteral("61"));
        TypeIntoCell(*h, 2, QStringLiteral("x"));
        h->click("BtnEditGridCancel");
        QCOMPARE(ReadWholeFile(path), bytes);
        QVERIFY(disabled());
        QCOMPARE(editCell(1), QStringLiteral("61"));
        QCOMPARE(editCell(2), QStringLiteral("00"));
        QCOMPARE(editCell(18), QStringLiteral("a.CDEFGHIJKLMNOP"));
        QCOMPARE(h->cell(1, 1), QStringLiteral("41"));
        QVERIFY(h->dialogs.messages.isEmpty());
        LoadRow(*h, 1);
        QVERIFY(enabled());
        QCOMPARE(editCell(1), QStringLiteral("41"));
    }

    // The update stream fails, or finds another file, without relying on permission bits
    // (tests may run as root): the table still reads the file it opened.
    void failedWrite_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("file deleted after opening") << "deleted";
        QTest::newRow("directory in place of the file") << "directory";
        QTest::newRow("another file renamed over it") << "renamed";
        QTest::newRow("file shortened below the loaded row") << "shortened";
        QTest::newRow("file cut to the row's start while the write waits") << "cut";
        QTest::newRow("write refused by the disk") << "short";
        QTest::newRow("sync fails after the write") << "sync";
        QTest::newRow("sync fails after the write and after the put-back") << "put back";
        QTest::newRow("held by another program that lets others only read") << "readers";
        QTest::newRow("range locked against writes by another program") << "locked";
        QTest::newRow("read-only attribute set meanwhile") << "read-only";
    }
    void failedWrite() {
        QFETCH(QString, how);
        const QByteArray bytes = Letters(1000);
        open(bytes);
        LoadRow(*h, 2);
        TypeIntoCell(*h, 1, QStringLiteral("61"));
        // Another program changes a byte the table does not show yet, then the fault.
        QByteArray shown = Patched(bytes, 5, "z");
        WriteWholeFile(path, shown);
        QCOMPARE(h->cell(6, 1), QStringLiteral("46"));
        const QByteArray other = Letters(40).toLower();
        QStringList messages{kCannotWrite};
        std::unique_ptr<HeldFile> held;
        if (how == QLatin1String("deleted") || how == QLatin1String("directory")) {
            if (how == QLatin1String("deleted") && RunningUnderWine())
                QSKIP("Wine keeps a deleted file reachable by its name while it is open");
#ifdef _WIN32
            if (how == QLatin1String("directory"))
                QSKIP("Windows keeps the name of a deleted file while it is open");
#endif
            QVERIFY(QFile::remove(path));
            if (how == QLatin1String("directory"))
                QVERIFY(QDir().mkdir(path));
        } else if (how == QLatin1String("renamed")) {
            if (RunningUnderWine())
                QSKIP("Wine refuses to rename over a file that is open, even with delete sharing");
            const QString fresh = MakeFile(dir, QStringLiteral("fresh.bin"), other);
            QVERIFY(SaveOver(fresh, path));
        } else if (how == QLatin1String("shortened")) {
            QVERIFY(QFile::resize(path, 10));
            shown.truncate(10);
            // The row starts behind the end now; the page read again after that message
            // comes up short for the same reason, which is not told again.
            messages = QStringList{kBehindEnd};
        } else if (how == QLatin1String("cut")) {
            testBeforeRun = [this](qsizetype) { QVERIFY(QFile::resize(path, 16)); };
            shown.truncate(16);
            messages << kCannotRead;
        } else if (how == QLatin1String("sync")) {
            BinaryFile::testStepFails = [syncs = 0](BinaryFile::Step step) mutable {
                return step == BinaryFile::Step::Sync && syncs++ == 0;
            };
        } else if (how == QLatin1String("put back")) {
            BinaryFile::testStepFails = [](BinaryFile::Step step) {
                return step == BinaryFile::Step::Sync;
            };
            messages =
                QStringList{kCannotWrite + QStringLiteral("\nDie alten Bytes konnten nicht "
                                                          "vollständig zurückgeschrieben werden.")};
        } else if (how == QLatin1String("readers") || how == QLatin1String("locked")) {
#ifndef _WIN32
            QSKIP("only Windows lets a program keep others from writing a file");
#endif
            if (how == QLatin1String("locked") && RunningUnderWine())
                QSKIP("Wine does not keep others from writing a locked range");
            held = std::make_unique<HeldFile>(path, how == QLatin1String("readers")
                                                        ? HeldFile::Way::Readers
                                                        : HeldFile::Way::Locked);
            QVERIFY(held->held());
        } else if (how == QLatin1String("read-only")) {
#ifndef _WIN32
            QSKIP("tests may run as root, who writes whatever the permission bits say");
#endif
            if (RunningUnderWine())
                QSKIP("Wine keeps the attribute in permission bits, which root overrides");
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
        } else {
            BinaryFile::testTransferLimit = [writes = 0](BinaryFile::Transfer t, qint64,
                                                         std::size_t n) mutable {
                return t == BinaryFile::Transfer::Write && writes++ == 0 ? std::size_t(0) : n;
            };
        }
        h->click("BtnEditGridUebernehmen");
        BinaryFile::testTransferLimit = nullptr;
        BinaryFile::testStepFails = nullptr;
        testBeforeRun = nullptr;

        QCOMPARE(h->dialogs.messageTexts(), messages);
        QCOMPARE(h->dialogs.messages.last().kind, FakeDialogs::Message::Kind::App);
        // Nothing came into being where the file was; a file at the name is untouched.
        if (how == QLatin1String("directory"))
            QVERIFY(QDir(path).isEmpty());
        else if (how == QLatin1String("deleted"))
            QVERIFY(!QFile::exists(path));
        else
            QCOMPARE(ReadWholeFile(path), how == QLatin1String("renamed") ? other : shown);
        // The row stays loaded and enabled; the page is read again as the old file is.
        QVERIFY(enabled());
        QCOMPARE(editCell(0), QStringLiteral("00000010"));
        QCOMPARE(editCell(1), QStringLiteral("61"));
        QCOMPARE(editCell(18), QStringLiteral("aRSTUVWXYZABCDEF"));
        comparePage(shown);

        // Once the shown file is whole again the row can be written; a new file at the
        // name never is.
        h->dialogs.clear();
        if (how == QLatin1String("directory"))
            QVERIFY(QDir().rmdir(path));
        held.reset();
        if (how == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        if (how != QLatin1String("renamed") && how != QLatin1String("short") &&
            how != QLatin1String("sync"))
            WriteWholeFile(path, shown = bytes);
        const bool sameFile = how != QLatin1String("deleted") &&
                              how != QLatin1String("directory") && how != QLatin1String("renamed");
        h->click("BtnEditGridUebernehmen");
        QCOMPARE(h->dialogs.messageTexts(), sameFile ? QStringList() : QStringList{kCannotWrite});
        const QByteArray atName = how == QLatin1String("renamed") ? other : shown;
        QCOMPARE(ReadWholeFile(path), sameFile ? Patched(atName, 16, "a") : atName);
        QCOMPARE(disabled(), sameFile);
    }

    // An injected read error: the zeros shown for the bytes not read are never loaded.
    void rowNotReadIsNotLoaded() {
        const QByteArray bytes = Letters(1000);
        open(bytes);
        BinaryFile::testTransferLimit = [](BinaryFile::Transfer, qint64, std::size_t) {
            return std::size_t(20);
        };
        bar()->setValue(16);
        BinaryFile::testTransferLimit = nullptr;
        QCOMPARE(h->dialogs.messageTexts(), QStringList{kCannotRead});
        QCOMPARE(h->cell(5, 2), QStringLiteral("00"));
        LoadRow(*h, 2); // bytes 32 to 47, four of them read
        QVERIFY(disabled());
        LoadRow(*h, 1); // bytes 16 to 31, read whole
        QVERIFY(enabled());
        QCOMPARE(editCell(0), QStringLiteral("00000010"));
        h->click("BtnEditGridUebernehmen");
        QCOMPARE(ReadWholeFile(path), bytes);
        QCOMPARE(h->dialogs.messages.size(), 1);
    }

    void nothingBeforeAFileIsOpen() {
        auto* take = h->find<QPushButton>("BtnEditGridUebernehmen");
        QVERIFY(take->isEnabled());
        take->click();
        h->find<QPushButton>("BtnEditGridCancel")->click();
        QVERIFY(h->dialogs.messages.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(TestWriteEdits)
#include "TestWriteEdits.moc"
