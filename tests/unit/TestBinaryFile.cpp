// The stream over files: names outside the ANSI code page, what is no file (and what the
// existence test of FileSystem.h says of it), and bytes another stream wrote.
#include "FileBytes.h"
#include "core/file/BinaryFile.h"
#include "core/file/FileSystem.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace zirpel;

class TestBinaryFile : public QObject {
    Q_OBJECT
private slots:
    // Any name opens, also outside the system's ANSI code page, and keeps its identity.
    void wideNameOpens() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Grüße Ω 文字.bin"));
        QVERIFY(WriteWholeFile(path, "Zirpel"));
        BinaryFile f;
        QVERIFY(f.open(path, BinaryFile::Mode::Update));
        QVERIFY(f.identity());
        QCOMPARE(f.size(), 6);
        QVERIFY(f.seek(1) && f.write("E", 1) && f.commitAndClose());
        QCOMPARE(ReadWholeFile(path), QByteArray("ZErpel"));
    }

    // A path longer than MAX_PATH (260) opens for reading and for update, as the system's
    // dialog offers it, with either separator, and names the same file as a short one.
    void longPathOpens_data() {
        QTest::addColumn<bool>("slashes");
        QTest::newRow("300 characters, the system's separators") << false;
        QTest::newRow("300 characters, forward slashes") << true;
    }
    void longPathOpens() {
        QFETCH(bool, slashes);
        QTemporaryDir dir;
        QString folder = dir.path();
        while (folder.size() < 250)
            folder += QStringLiteral("/Ordner mit einem langen Namen");
        QVERIFY(QDir().mkpath(folder));
        QString path = folder + QLatin1Char('/');
        path += QString(300 - path.size() - 4, QLatin1Char('x')) + QStringLiteral(".bin");
        QCOMPARE(path.size(), 300);
        QVERIFY(WriteWholeFile(path, "Zirpel"));
        path = slashes ? path : QDir::toNativeSeparators(path);
        QVERIFY(fileExists(path));
        BinaryFile shown;
        QVERIFY(shown.open(path, BinaryFile::Mode::Read));
        BinaryFile update;
        QVERIFY(update.open(path, BinaryFile::Mode::Update));
        QVERIFY(update.identity() && update.identity() == shown.identity());
        QVERIFY(update.seek(5) && update.write("E", 1) && update.commitAndClose());
        QCOMPARE(ReadWholeFile(path), QByteArray("ZirpeE"));
    }

    // What Windows is given to open: the long form of the path, whatever form it came in.
    void longPathForm_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("form");
        QTest::newRow("drive") << R"(C:\Daten\x.bin)"
                               << R"(\\?\C:\Daten\x.bin)";
        QTest::newRow("forward slashes") << "C:/Daten/x.bin"
                                         << R"(\\?\C:\Daten\x.bin)";
        QTest::newRow("dot and dot-dot") << R"(C:\Daten\.\alt\..\x.bin)"
                                         << R"(\\?\C:\Daten\x.bin)";
        QTest::newRow("share") << R"(\\server\teil\x.bin)"
                               << R"(\\?\UNC\server\teil\x.bin)";
        QTest::newRow("already long") << R"(\\?\C:\Daten\x.bin)"
                                      << R"(\\?\C:\Daten\x.bin)";
        // Names Windows opens without them in the short form; the long form would not.
        QTest::newRow("trailing dot") << R"(C:\Daten\text.txt.)"
                                      << R"(\\?\C:\Daten\text.txt)";
        QTest::newRow("trailing blank") << R"(C:\Daten\text.txt )"
                                        << R"(\\?\C:\Daten\text.txt)";
    }
    void longPathForm() {
#ifdef _WIN32
        QFETCH(QString, path);
        QFETCH(QString, form);
        QCOMPARE(LongPathForm(path), form);
#else
        QSKIP("only Windows has the \\\\?\\ form of a path");
#endif
    }

    // What Windows' reservation sets: never an allocation at or below the end of file.
    void raisedAllocation_data() {
        QTest::addColumn<qint64>("end");
        QTest::addColumn<qint64>("endOfFile");
        QTest::addColumn<qint64>("allocated");
        QTest::addColumn<qint64>("raised"); // -1: none
        QTest::newRow("sparse 1 MiB, write inside") << 500002LL << 1048576LL << 8192LL << -1LL;
        QTest::newRow("sparse, write past the end")
            << 1048600LL << 1048576LL << 8192LL << 1048600LL;
        QTest::newRow("past the end, already allocated") << 5000LL << 4000LL << 8192LL << -1LL;
        QTest::newRow("plain file, write inside") << 100LL << 4000LL << 4096LL << -1LL;
    }
    void raisedAllocation() {
        QFETCH(qint64, end);
        QFETCH(qint64, endOfFile);
        QFETCH(qint64, allocated);
        QFETCH(qint64, raised);
        QCOMPARE(RaisedAllocation(end, endOfFile, allocated).value_or(-1), raised);
    }

    void openRefusesWhatIsNoFile_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("exists");
        QTest::newRow("directory") << "dir" << true;
        QTest::newRow("missing file") << "missing" << false;
        QTest::newRow("path through a regular file") << "through" << false;
        QTest::newRow("empty name") << "empty" << false;
    }
    void openRefusesWhatIsNoFile() {
        QFETCH(QString, what);
        QFETCH(bool, exists);
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("plain.bin"));
        QVERIFY(WriteWholeFile(plain, "abc"));
        QString path;
        if (what == QLatin1String("dir"))
            path = dir.path();
        else if (what == QLatin1String("missing"))
            path = dir.filePath(QStringLiteral("gone.bin"));
        else if (what == QLatin1String("through"))
            path = plain + QStringLiteral("/x");
        QCOMPARE(fileExists(path), exists);
        for (BinaryFile::Mode mode : {BinaryFile::Mode::Read, BinaryFile::Mode::Update}) {
            BinaryFile f;
            QVERIFY(!f.open(path, mode));
            QVERIFY(!f.isOpen());
        }
        QCOMPARE(ReadWholeFile(plain), QByteArray("abc"));
    }

    // Another program may save over the shown file (a new file renamed over its name)
    // while the stream is open; the stream stays on the file it opened.
    void savedOverWhileOpen() {
        if (RunningUnderWine())
            QSKIP("Wine refuses to rename over a file that is open, even with delete sharing");
        QTemporaryDir dir;
        const QString path = MakeFile(dir, QStringLiteral("shown.bin"), "old");
        BinaryFile shown;
        QVERIFY(shown.open(path, BinaryFile::Mode::Read));
        const std::optional<FileIdentity> before = shown.identity();
        QVERIFY(SaveOver(MakeFile(dir, QStringLiteral("new.bin"), "new!"), path));
        QCOMPARE(shown.identity(), before);
        QCOMPARE(shown.size(), 3);
        BinaryFile now;
        QVERIFY(now.open(path, BinaryFile::Mode::Read));
        QVERIFY(now.identity() != before);
        QCOMPARE(ReadWholeFile(path), QByteArray("new!"));
    }

    // A page read must show bytes another stream wrote, even where the reading
    // stream still holds the old bytes in its buffer.
    void seekDropsBufferedBytes() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        QVERIFY(WriteWholeFile(path, QByteArray(4000, 'a')));
        BinaryFile reader;
        QVERIFY(reader.open(path, BinaryFile::Mode::Read));
        QCOMPARE(reader.size(), 4000);
        char page[16] = {};
        QVERIFY(reader.seek(0));
        QCOMPARE(reader.read(page, 16), std::size_t(16));
        BinaryFile writer;
        QVERIFY(writer.open(path, BinaryFile::Mode::Update));
        QVERIFY(writer.seek(100));
        QVERIFY(writer.write("XY", 2));
        QVERIFY(writer.commitAndClose());
        QVERIFY(reader.seek(100));
        QCOMPARE(reader.read(page, 4), std::size_t(4));
        QCOMPARE(QByteArray(page, 4), QByteArray("XYaa"));
        QCOMPARE(ReadWholeFile(path), QByteArray(100, 'a') + "XY" + QByteArray(3898, 'a'));
    }
};

QTEST_GUILESS_MAIN(TestBinaryFile)
#include "TestBinaryFile.moc"
