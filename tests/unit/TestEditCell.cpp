// A byte cell of the edit row and the in-place write of a row.
#include "FileBytes.h"
#include "edit/EditCell.h"
#include "platform/WriteInPlace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

using namespace zirpel;

namespace {

std::vector<quint8> Bytes(const QByteArray& b) {
    return {b.begin(), b.end()};
}

FileIdentity IdentityOf(const QString& path) {
    BinaryFile f;
    return f.open(path, BinaryFile::Mode::Read) ? f.identity().value_or(FileIdentity{})
                                                : FileIdentity{};
}

} // namespace

class TestEditCell : public QObject {
    Q_OBJECT

private slots:
    void normalise_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("value");
        QTest::newRow("one lower-case digit") << "a"
                                              << "A" << 0x0A;
        QTest::newRow("two digits, lower case") << "4a"
                                                << "4A" << 0x4A;
        QTest::newRow("three digits cut to two") << "123"
                                                 << "12" << 0x12;
        QTest::newRow("letter past F") << "G"
                                       << "00" << 0x00;
        QTest::newRow("bad second character") << "4G"
                                              << "00" << 0x00;
        QTest::newRow("leading blank") << " 4"
                                       << "00" << 0x00;
        QTest::newRow("one digit stands alone") << "7"
                                                << "7" << 0x07;
        QTest::newRow("high byte") << "E4"
                                   << "E4" << 0xE4;
        QTest::newRow("empty stays empty, stands for 0") << ""
                                                         << "" << 0x00;
        QTest::newRow("bad character past the two kept") << "41z"
                                                         << "41" << 0x41;
        QTest::newRow("0x prefix") << "0x"
                                   << "00" << 0x00;
        QTest::newRow("umlaut") << "ä"
                                << "00" << 0x00;
        QTest::newRow("ligature that upper-cases to FF") << "\uFB00"
                                                         << "00" << 0x00;
        QTest::newRow("full-width digit") << "\uFF14"
                                          << "00" << 0x00;
        QTest::newRow("mixed case") << "fF"
                                    << "FF" << 0xFF;
    }
    void normalise() {
        QFETCH(QString, typed);
        QFETCH(QString, cell);
        QFETCH(int, value);
        QCOMPARE(NormaliseByteCell(typed), cell);
        QCOMPARE(int(ByteCellValue(cell)), value);
        // A stored cell is already normal: closing its editor changes nothing.
        QCOMPARE(NormaliseByteCell(cell), cell);
    }

    void textChar_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0x00 is a full stop") << 0x00 << ".";
        QTest::newRow("0x0A is a full stop") << 0x0A << ".";
        QTest::newRow("0x1F is a full stop") << 0x1F << ".";
        QTest::newRow("blank") << 0x20 << " ";
        QTest::newRow("J") << 0x4A << "J";
        QTest::newRow("0x7F is itself") << 0x7F << "\x7F";
        QTest::newRow("0x80 is a full stop, not the euro sign") << 0x80 << ".";
        QTest::newRow("0xE4 is a full stop, not a umlaut") << 0xE4 << ".";
        QTest::newRow("0xFF is a full stop") << 0xFF << ".";
    }
    void textChar() {
        QFETCH(int, value);
        QFETCH(QString, shown);
        QCOMPARE(QString(EditTextChar(quint8(value))), shown);
    }

    void replaceTextChar_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("result");
        QTest::newRow("first character") << "ABCD" << 1 << "xBCD";
        QTest::newRow("third character, others kept") << "ABCD" << 3 << "ABxD";
        QTest::newRow("last character") << "ABCD" << 4 << "ABCx";
        QTest::newRow("empty text filled with full stops") << "" << 3 << "..x";
        QTest::newRow("short text filled up to the position") << "AB" << 4 << "AB.x";
        QTest::newRow("position 0 changes nothing") << "ABCD" << 0 << "ABCD";
    }
    void replaceTextChar() {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(QString, result);
        QCOMPARE(ReplaceTextChar(text, position, QLatin1Char('x')), result);
    }

    void writeInPlace_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("after");
        const QByteArray file = QByteArray("0123456789abcdefghij");
        QTest::newRow("inside the file")
            << file << qint64(4) << QByteArray("WXYZ") << QByteArray("0123WXYZ89abcdefghij");
        QTest::newRow("at the start")
            << file << qint64(0) << QByteArray("AB") << QByteArray("AB23456789abcdefghij");
        QTest::newRow("ending at the last byte")
            << file << qint64(18) << QByteArray("XY") << QByteArray("0123456789abcdefghXY");
        QTest::newRow("across the end lengthens the file")
            << file << qint64(16) << QByteArray("KLMNOP") << QByteArray("0123456789abcdefKLMNOP");
        QTest::newRow("into an empty file")
            << QByteArray() << qint64(0) << QByteArray("\0\x41", 2) << QByteArray("\0\x41", 2);
    }
    void writeInPlace() {
        QFETCH(QByteArray, before);
        QFETCH(qint64, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        WriteWholeFile(path, before);
        const std::vector<quint8> data = Bytes(bytes);
        // Every byte typed: all of them go in.
        QVERIFY(WriteInPlace(path, IdentityOf(path), offset, data, Growth::Typed, bytes.size()));
        // Where the bytes fit, refusing growth writes the same.
        if (offset + bytes.size() <= before.size()) {
            WriteWholeFile(path, before);
            QVERIFY(WriteInPlace(path, IdentityOf(path), offset, data, Growth::Refused));
            QCOMPARE(ReadWholeFile(path), after);
        }
        QCOMPARE(ReadWholeFile(path), after);
    }

    // A 16-byte edit row at offset; a typed end of 0: no cell typed into; -1: refused.
    void writeLength_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<qint64>("typedEnd");
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<qint64>("length");
        QTest::newRow("row inside the file") << 0ll << 3ll << 100ll << 16ll;
        QTest::newRow("typed only inside the file") << 0ll << 4ll << 10ll << 10ll;
        QTest::newRow("last cell typed, past the end") << 0ll << 16ll << 10ll << 16ll;
        QTest::newRow("row starting at the end, nothing typed") << 10ll << 0ll << 10ll << 0ll;
        QTest::newRow("row starting past the end") << 11ll << 16ll << 10ll << -1ll;
    }
    void writeLength() {
        QFETCH(qint64, offset);
        QFETCH(qint64, typedEnd);
        QFETCH(qint64, fileSize);
        QFETCH(qint64, length);
        QCOMPARE(WriteLength(offset, 16, typedEnd, fileSize, Growth::Typed).value_or(-1), length);
        // Refusing growth writes the whole row or nothing.
        const qint64 whole = offset >= 0 && offset + 16 <= fileSize ? 16 : -1;
        QCOMPARE(WriteLength(offset, 16, typedEnd, fileSize, Growth::Refused).value_or(-1), whole);
    }

    void writeInPlaceFails_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("directory in place of the file") << "directory";
        QTest::newRow("path through a regular file") << "through";
        QTest::newRow("negative offset") << "negative";
        QTest::newRow("reaching past the end with growth refused") << "pastEnd";
        QTest::newRow("past the end would leave a gap") << "gap";
    }
    void writeInPlaceFails() {
        QFETCH(QString, what);
        QTemporaryDir dir;
        const QByteArray original("0123456789");
        const QString plain = dir.filePath(QStringLiteral("plain.bin"));
        WriteWholeFile(plain, original);
        QString path = plain;
        qint64 offset = 2;
        if (what == QLatin1String("missing")) {
            path = dir.filePath(QStringLiteral("gone.bin"));
        } else if (what == QLatin1String("directory")) {
            path = dir.filePath(QStringLiteral("sub"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        } else if (what == QLatin1String("through")) {
            path = plain + QStringLiteral("/inner.bin");
        } else if (what == QLatin1String("pastEnd")) {
            offset = 9;
        } else if (what == QLatin1String("gap")) {
            offset = 12;
        } else {
            offset = -1;
        }
        const std::vector<quint8> data = Bytes("AB");
        const Growth growth = what == QLatin1String("pastEnd") ? Growth::Refused : Growth::Typed;
        QVERIFY(!WriteInPlace(path, IdentityOf(plain), offset, data, growth, 2));
        // Nothing came into being and the file beside it is untouched.
        QCOMPARE(ReadWholeFile(plain), original);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("plain.bin")});
        if (what == QLatin1String("directory"))
            QVERIFY(QDir(path).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEditCell)
#include "TestEditCell.moc"
