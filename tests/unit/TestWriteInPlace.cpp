// The in-place write of a row: what it writes, decided from the file as it is, and the
// files it refuses to write into.
#include "FileBytes.h"
#include "platform/WriteInPlace.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

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
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("after");
        const QByteArray file = QByteArray("0123456789abcdefghij");
        QTest::newRow("inside the file") << file << qint64(4) << qint64(4) << QByteArray("WXYZ")
                                         << QByteArray("0123WXYZ89abcdefghij");
        QTest::newRow("at the start") << file << qint64(0) << qint64(2) << QByteArray("AB")
                                      << QByteArray("AB23456789abcdefghij");
        QTest::newRow("ending at the last byte")
            << file << qint64(18) << qint64(2) << QByteArray("XY")
            << QByteArray("0123456789abcdefghXY");
        QTest::newRow("across the end lengthens the file")
            << file << qint64(16) << qint64(6) << QByteArray("KLMNOP")
            << QByteArray("0123456789abcdefKLMNOP");
        QTest::newRow("fewer bytes than the range covers")
            << file << qint64(2) << qint64(8) << QByteArray("x")
            << QByteArray("01x3456789abcdefghij");
        QTest::newRow("into an empty file") << QByteArray() << qint64(0) << qint64(2)
                                            << QByteArray("\0\x41", 2) << QByteArray("\0\x41", 2);
    }
    void writeInPlace() {
        QFETCH(QByteArray, before);
        QFETCH(qint64, offset);
        QFETCH(qint64, count);
        QFETCH(QByteArray, bytes);
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
                                 return std::optional<QByteArray>(bytes);
                             }));
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
        QVERIFY(!WriteInPlace(path, shown, offset, 2, [&](qint64, std::span<const quint8>) {
            return refuse ? std::nullopt : std::optional<QByteArray>("AB");
        }));
        // Nothing came into being and the file at the name is untouched.
        QCOMPARE(ReadWholeFile(plain), atPlain);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("plain.bin")});
        if (what == QLatin1String("directory"))
            QVERIFY(QDir(path).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWriteInPlace)
#include "TestWriteInPlace.moc"
