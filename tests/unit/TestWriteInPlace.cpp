// The in-place write of a row: what it writes, decided from the file as it is, the files
// it refuses to write into, and the file after a failure or a kill at any step.
#include "FileBytes.h"
#include "core/file/WriteInPlace.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <numeric>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace zirpel;

namespace {

FileIdentity IdentityOf(const QString& path) {
    BinaryFile f;
    return f.open(path, BinaryFile::Mode::Read) ? f.identity().value_or(FileIdentity{})
                                                : FileIdentity{};
}

} // namespace

class TestWriteInPlace : public QObject {
    Q_OBJECT
private slots:
    void writeInPlace_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<WriteRuns>("runs");
        QTest::addColumn<QByteArray>("after");
        const QByteArray file = QByteArray("0123456789abcdefghij");
        QTest::newRow("inside the file") << file << qint64(4) << qint64(4) << WriteRuns{{0, "WXYZ"}}
                                         << QByteArray("0123WXYZ89abcdefghij");
        QTest::newRow("at the start") << file << qint64(0) << qint64(2) << WriteRuns{{0, "AB"}}
                                      << QByteArray("AB23456789abcdefghij");
        QTest::newRow("ending at the last byte")
            << file << qint64(18) << qint64(2) << WriteRuns{{0, "XY"}}
            << QByteArray("0123456789abcdefghXY");
        QTest::newRow("across the end lengthens the file")
            << file << qint64(16) << qint64(6) << WriteRuns{{0, "KLMNOP"}}
            << QByteArray("0123456789abcdefKLMNOP");
        QTest::newRow("fewer bytes than the range covers")
            << file << qint64(2) << qint64(8) << WriteRuns{{0, "x"}}
            << QByteArray("01x3456789abcdefghij");
        QTest::newRow("two runs leave the bytes between them")
            << file << qint64(2) << qint64(8) << WriteRuns{{0, "x"}, {3, "yz"}}
            << QByteArray("01x34yz789abcdefghij");
        QTest::newRow("nothing to write") << file << qint64(2) << qint64(8) << WriteRuns{} << file;
        QTest::newRow("into an empty file")
            << QByteArray() << qint64(0) << qint64(2) << WriteRuns{{0, QByteArray("\0\x41", 2)}}
            << QByteArray("\0\x41", 2);
    }
    void writeInPlace() {
        QFETCH(QByteArray, before);
        QFETCH(qint64, offset);
        QFETCH(qint64, count);
        QFETCH(WriteRuns, runs);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        WriteWholeFile(path, before);
        qint64 seenSize = -1;
        QByteArray seen;
        QVERIFY(WriteInPlace(path, IdentityOf(path), offset, count,
                             [&](qint64 size, std::span<const quint8> current) {
                                 seenSize = size;
                                 seen = QByteArray(reinterpret_cast<const char*>(current.data()),
                                                   qsizetype(current.size()));
                                 return std::optional<WriteRuns>(runs);
                             }) == WriteResult::Written);
        // What is written is decided from the size and the bytes of the range as they are.
        QCOMPARE(seenSize, before.size());
        QCOMPARE(seen, before.mid(offset, count));
        QCOMPARE(ReadWholeFile(path), after);
    }

    void writeInPlaceFails_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("directory in place of the file") << "directory";
        QTest::newRow("path through a regular file") << "through";
        QTest::newRow("another file renamed over the name") << "renamed";
        QTest::newRow("negative offset") << "negative";
        QTest::newRow("the bytes refused as the file is now") << "refused";
        QTest::newRow("a run past the range") << "outside";
        QTest::newRow("no space for the range") << "no space";
    }
    void writeInPlaceFails() {
        QFETCH(QString, what);
        QTemporaryDir dir;
        const QByteArray original("0123456789");
        const QString plain = dir.filePath(QStringLiteral("plain.bin"));
        WriteWholeFile(plain, original);
        const FileIdentity shown = IdentityOf(plain);
        QString path = plain;
        QByteArray atPlain = original;
        qint64 offset = 2;
        if (what == QLatin1String("missing")) {
            path = dir.filePath(QStringLiteral("gone.bin"));
        } else if (what == QLatin1String("directory")) {
            path = dir.filePath(QStringLiteral("sub"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        } else if (what == QLatin1String("through")) {
            path = plain + QStringLiteral("/inner.bin");
        } else if (what == QLatin1String("renamed")) {
            atPlain = "another file";
            const QString other = MakeFile(dir, QStringLiteral("other.bin"), atPlain);
            QVERIFY(SaveOver(other, plain));
        } else if (what == QLatin1String("negative")) {
            offset = -1;
        }
        const bool refuse = what == QLatin1String("refused");
        const WriteRuns runs{{what == QLatin1String("outside") ? 1 : 0, "AB"}};
        if (what == QLatin1String("no space"))
            BinaryFile::testStepFails = [](BinaryFile::Step s) {
                return s == BinaryFile::Step::Reserve;
            };
        QVERIFY(WriteInPlace(path, shown, offset, 2, [&](qint64, std::span<const quint8>) {
                    return refuse ? std::nullopt : std::optional<WriteRuns>(runs);
                }) == WriteResult::Unchanged);
        BinaryFile::testStepFails = nullptr;
        // Nothing came into being and the file at the name is untouched.
        QCOMPARE(ReadWholeFile(plain), atPlain);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("plain.bin")});
        if (what == QLatin1String("directory"))
            QVERIFY(QDir(path).isEmpty());
    }

    // Once a byte may have gone in, a failure puts back the old bytes of exactly what went
    // in, and the old length: "write 2" fails the second write, "write 1 short" moves one
    // byte of the first, "sync" and "close" fail those steps of the closing commit, "and
    // the put-back" the write after; "replace" writes a replacement. Another program may
    // write EE at 0x15, append it at 0x20 or 0x21 or cut the file before a run; what it did
    // stays, and the write stops before a run whose place is cut. Where the first byte
    // written "stays", the file is not as it was.
    void failureAfterTheFirstByte_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<WriteRuns>("runs");
        QTest::newRow("first run cut short")
            << "write 1 short" << qint64(2) << WriteRuns{{0, "AB"}};
        QTest::newRow("second run refused")
            << "write 2" << qint64(2) << WriteRuns{{0, "A"}, {4, "B"}};
        QTest::newRow("sync fails") << "sync" << qint64(2) << WriteRuns{{0, "AB"}};
        QTest::newRow("close fails") << "close" << qint64(2) << WriteRuns{{0, "AB"}};
        QTest::newRow("sync fails after the file grew")
            << "sync" << qint64(30) << WriteRuns{{0, "ABCD"}};
        QTest::newRow("close fails after the file grew")
            << "close" << qint64(30) << WriteRuns{{1, "B"}, {2, "CD"}};
        QTest::newRow("third run refused after two went in")
            << "write 3" << qint64(2) << WriteRuns{{0, "A"}, {2, "B"}, {5, "C"}};
        QTest::newRow("another program writes where the write never came")
            << "write 2, EE at 0x15 before run 2" << qint64(16)
            << WriteRuns{{0, "A"}, {2, "B"}, {5, "C"}};
        QTest::newRow("another program writes where a run cut short never came")
            << "write 1 short, EE at 0x15 before run 1" << qint64(0x14) << WriteRuns{{0, "AB"}};
        QTest::newRow("another program appends where the write never came")
            << "write 2, EE at 0x20 before run 2" << qint64(2) << WriteRuns{{0, "A"}, {4, "B"}};
        QTest::newRow("another program appends behind what the write appended")
            << "write 2, EE at 0x21 before run 2, C stays" << qint64(32)
            << WriteRuns{{0, "C"}, {1, "D"}};
        QTest::newRow("file cut to nothing before the first run")
            << "cut to 0 before run 1" << qint64(16) << WriteRuns{{0, "A"}};
        QTest::newRow("file cut to nothing between the runs")
            << "cut to 0 before run 2" << qint64(16) << WriteRuns{{0, "A"}, {2, "B"}};
        const WriteRuns cells025{{0, "A"}, {2, "B"}, {5, "C"}};
        QTest::newRow("file cut to its first run's start")
            << "cut to 0 before run 1" << qint64(0) << cells025;
        QTest::newRow("file cut to a later run's start")
            << "cut to 5 before run 1" << qint64(0) << cells025;
        QTest::newRow("file cut inside a run, then the sync fails")
            << "sync, cut to 1 before run 1" << qint64(0) << WriteRuns{{0, "AB"}};
        QTest::newRow("replace in a file cut after the hit's first byte")
            << "replace, cut to 2 before run 1" << qint64(1) << WriteRuns{{0, "abc"}};
        QTest::newRow("replace in a file cut before the hit's last byte")
            << "replace, cut to 3 before run 1" << qint64(1) << WriteRuns{{0, "abc"}};
        QTest::newRow("putting the old bytes back fails too")
            << "write 2 and the put-back" << qint64(2) << WriteRuns{{0, "A"}, {4, "B"}};
    }
    void failureAfterTheFirstByte() {
        QFETCH(QString, fault);
        QFETCH(qint64, offset);
        QFETCH(WriteRuns, runs);
        QTemporaryDir dir;
        QByteArray before(32, Qt::Uninitialized); // 00 to 1F
        std::iota(before.begin(), before.end(), 0);
        const QString path = MakeFile(dir, QStringLiteral("f.bin"), before);
        const bool cutShort = fault.startsWith(QLatin1String("write 1 short"));
        const bool putBackFails = fault.endsWith(QLatin1String("put-back"));
        const bool notRestored = putBackFails || fault.endsWith(QLatin1String("stays"));
        const int failingWrite =
            fault.startsWith(QLatin1String("write ")) ? fault[6].digitValue() : 0;
        int writes = 0;
        BinaryFile::testTransferLimit = [&](BinaryFile::Transfer t, qint64, std::size_t n) {
            if (t == BinaryFile::Transfer::Write && ++writes == failingWrite)
                return cutShort ? n - 1 : 0;
            return putBackFails && writes == failingWrite + 1 ? 0 : n;
        };
        // What another program does: cut the file to cut bytes, or write EE at ee.
        const QRegularExpressionMatch other =
            QRegularExpression(QStringLiteral("(cut to (\\d+)|EE at 0x(..)) before run (\\d)"))
                .match(fault);
        const qint64 cut = other.captured(2).isEmpty() ? -1 : other.captured(2).toInt();
        const int ee = other.captured(3).toInt(nullptr, 16);
        testBeforeRun = [&](qsizetype run) {
            QFile file(path);
            if (other.captured(4).toInt() == run + 1)
                QVERIFY(file.open(QIODevice::ReadWrite) &&
                        (cut >= 0 ? file.resize(cut) : file.seek(ee) && file.write("\xEE", 1)));
        };
        // Only the write's own step fails; the commit that puts the old bytes back works.
        const std::optional<BinaryFile::Step> failing =
            fault.contains(QLatin1String("sync")) ? std::optional(BinaryFile::Step::Sync)
            : fault == QLatin1String("close")     ? std::optional(BinaryFile::Step::Close)
                                                  : std::nullopt;
        bool failed = false;
        BinaryFile::testStepFails = [&](BinaryFile::Step step) {
            const bool now = !failed && step == failing;
            failed = failed || now;
            return now;
        };
        const WriteResult written = WriteInPlace(
            path, IdentityOf(path), offset, 16,
            [&](qint64, std::span<const quint8>) { return std::optional<WriteRuns>(runs); },
            fault.startsWith(QLatin1String("replace")) ? WriteKind::Replace : WriteKind::Row);
        BinaryFile::testTransferLimit = nullptr;
        BinaryFile::testStepFails = nullptr;
        testBeforeRun = nullptr;
        QCOMPARE(written, notRestored ? WriteResult::NotRestored : WriteResult::Unchanged);
        if (cut >= 0)
            before.truncate(cut);
        if (ee > 0) {
            before.resize(std::max<qsizetype>(before.size(), ee + 1));
            before[ee] = '\xEE';
        }
        if (notRestored)
            before[offset] = runs[0].bytes[0];
        QCOMPARE(ReadWholeFile(path), before);
    }

    // Killed at a write, the file is as before or holds bytes of the row being written,
    // never a byte nobody typed: the reservation does not lengthen it.
    void killedAtAWrite_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<WriteRuns>("runs");
        QTest::addColumn<int>("killedAt"); // the write, from 1
        QTest::addColumn<QByteArray>("after");
        const QByteArray hundred(100, 'x');
        QTest::newRow("row typed past the end of a 100-byte file")
            << qint64(96) << WriteRuns{{4, QByteArray(7, '\0') + 'A'}} << 1 << hundred;
        QTest::newRow("second run of a row") << qint64(16) << WriteRuns{{0, "a"}, {5, "b"}} << 2
                                             << QByteArray(hundred).replace(16, 1, "a");
    }
    void killedAtAWrite() {
#ifndef Q_OS_UNIX
        QSKIP("the process killed at its write is a fork of the test, which Windows lacks");
#else
        QFETCH(qint64, offset);
        QFETCH(WriteRuns, runs);
        QFETCH(int, killedAt);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = MakeFile(dir, QStringLiteral("f.bin"), QByteArray(100, 'x'));
        const FileIdentity shown = IdentityOf(path);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            int writes = 0;
            BinaryFile::testTransferLimit = [&](BinaryFile::Transfer t, qint64, std::size_t n) {
                if (t == BinaryFile::Transfer::Write && ++writes == killedAt)
                    raise(SIGKILL);
                return n;
            };
            (void)WriteInPlace(path, shown, offset, 16, [&](qint64, std::span<const quint8>) {
                return std::optional<WriteRuns>(runs);
            });
            _exit(0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        QCOMPARE(ReadWholeFile(path), after);
#endif
    }
};

QTEST_GUILESS_MAIN(TestWriteInPlace)
#include "TestWriteInPlace.moc"
