// Writing the edit row into the file with "Übernehmen", abandoning it with "Abbrechen",
// and a write that fails. Every case compares the whole file.
#include "EditRowDriver.h"
#include "WindowHarness.h"
#include "ui/StringGrid.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

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

} // namespace

class TestEditWrite : public QObject {
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
        const int offset = h->access().PageOffset();
        for (int r = 1; r <= 16; ++r) {
            for (int c = 1; c <= 16; ++c) {
                const int at = offset + (r - 1) * 16 + c - 1;
                QCOMPARE(h->cell(c, r), Hex(at < file.size() ? quint8(file[at]) : 0));
            }
        }
    }
    // Edits as "column=keys".
    void type(const QStringList& edits) const {
        for (const QString& e : edits) {
            const qsizetype eq = e.indexOf(QLatin1Char('='));
            TypeIntoCell(*h, e.left(eq).toInt(), e.mid(eq + 1));
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
        h.reset();
        QFile::remove(path);
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
        QTest::newRow("one-digit cell 7 writes 07")
            << big << false << 0 << 1 << "00000000" << 0 << QStringList{"2=7"}
            << Patched(big, 1, "\x07");
        QTest::newRow("cell reset by a bad entry writes 00")
            << big << false << 0 << 1 << "00000000" << 0 << QStringList{"3=4G"}
            << Patched(big, 2, QByteArray(1, '\0'));
        QTest::newRow("emptied cell writes 00")
            << big << false << 0 << 1 << "00000000" << 0 << QStringList{"4="}
            << Patched(big, 3, QByteArray(1, '\0'));
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
        QTest::newRow("row of a 10-byte file lengthens it to 16 with zeros")
            << Letters(10) << false << 0 << 1 << "00000000" << 0 << QStringList{}
            << Letters(10) + QByteArray(6, '\0');
        QTest::newRow("typed past the end of a 10-byte file")
            << Letters(10) << false << 0 << 1 << "00000000" << 0 << QStringList{"12=ee"}
            << Letters(10) + QByteArray("\0\xEE\0\0\0\0", 6);
        QTest::newRow("row wholly past the end of a 20-byte file")
            << Letters(20) << false << 0 << 3 << "00000020" << 0 << QStringList{"1=5A"}
            << Letters(20) + QByteArray(12, '\0') + "Z" + QByteArray(15, '\0');
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

        QCOMPARE(ReadWholeFile(path), after);
        QVERIFY(h->dialogs.messages.isEmpty());
        QVERIFY(disabled());
        QCOMPARE(editCell(0), address);
        // The page stays where it is and shows the file as it now is.
        QCOMPARE(h->access().PageOffset(), scrollAfter);
        QCOMPARE(bar()->value(), scrollAfter);
        comparePage(after);
        // The size taken at the open stays.
        QCOMPARE(h->access().FileSize(), before.size());
        QCOMPARE(bar()->maximum(), qMax(0, before.size() - h->access().PageSize() + 1));
        QCOMPARE(h->statusText(), QStringLiteral("Dateigröße: %1 Bytes").arg(before.size()));
        // A double click loads and enables the row again.
        LoadRow(*h, row);
        QVERIFY(enabled());
    }

    void writtenBytesShowInTable() {
        open(Letters(1000));
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

    // The update stream fails without relying on permission bits: the file is gone, or
    // a directory stands in its place, while the table still reads the old one.
    void failedWrite_data() {
        QTest::addColumn<bool>("directory");
        QTest::newRow("file deleted after opening") << false;
        QTest::newRow("directory in place of the file") << true;
    }
    void failedWrite() {
        QFETCH(bool, directory);
        const QByteArray bytes = Letters(1000);
        open(bytes);
        LoadRow(*h, 1);
        TypeIntoCell(*h, 1, QStringLiteral("61"));
        // Another program changes a byte the table does not show yet, then the file goes;
        // the table's stream still reads what it opened.
        const QByteArray changed = Patched(bytes, 5, "z");
        WriteWholeFile(path, changed);
        QCOMPARE(h->cell(6, 1), QStringLiteral("46"));
        QVERIFY(QFile::remove(path));
        if (directory)
            QVERIFY(QDir().mkdir(path));
        h->click("BtnEditGridUebernehmen");

        QCOMPARE(h->dialogs.messageTexts(), QStringList{kCannotWrite});
        QCOMPARE(h->dialogs.messages[0].kind, FakeDialogs::Message::Kind::App);
        // Nothing came into being where the file was.
        if (directory)
            QVERIFY(QDir(path).isEmpty());
        else
            QVERIFY(!QFile::exists(path));
        // The row stays loaded and enabled; the page is read again as the old file is.
        QVERIFY(enabled());
        QCOMPARE(editCell(0), QStringLiteral("00000000"));
        QCOMPARE(editCell(1), QStringLiteral("61"));
        QCOMPARE(editCell(18), QStringLiteral("aBCDEFGHIJKLMNOP"));
        comparePage(changed);

        // Once the file is back, the same row can be written.
        if (directory)
            QVERIFY(QDir().rmdir(path));
        WriteWholeFile(path, bytes);
        h->click("BtnEditGridUebernehmen");
        QCOMPARE(h->dialogs.messageTexts(), QStringList{kCannotWrite});
        QCOMPARE(ReadWholeFile(path), Patched(bytes, 0, "a"));
        QVERIFY(disabled());
    }

    void nothingBeforeAFileIsOpen() {
        auto* take = h->find<QPushButton>("BtnEditGridUebernehmen");
        QVERIFY(take->isEnabled());
        take->click();
        h->find<QPushButton>("BtnEditGridCancel")->click();
        QVERIFY(h->dialogs.messages.isEmpty());
        QVERIFY(h->access().FileName().isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(TestEditWrite)
#include "TestEditWrite.moc"
