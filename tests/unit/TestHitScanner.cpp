// The scan for hits on its two threads: the block rule's cases, and a comparison with the
// plain 512-byte window algorithm over many generated files, patterns and short reads in
// each form of the hit store.
#include "FileBytes.h"
#include "WindowSearch.h"
#include "core/file/BinaryFile.h"
#include "core/search/HitScanner.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstring>
#include <mutex>
#include <span>
#include <utility>

using namespace zirpel;

using Offsets = QList<qint32>;

namespace {

// The reference search over Qt's byte arrays.
Offsets WindowSearch(const QByteArray& file, const QByteArray& pattern) {
    const auto bytes = [](const QByteArray& a) {
        return std::span<const quint8>(reinterpret_cast<const quint8*>(a.constData()),
                                       std::size_t(a.size()));
    };
    const std::vector<qint32> hits = ::WindowSearch(bytes(file), bytes(pattern));
    return Offsets(hits.begin(), hits.end());
}

Offsets ToOffsets(const HitStore& hits) {
    Offsets o;
    for (qint64 k = 0; k < hits.count(); ++k)
        o.append(hits.at(k));
    return o;
}

std::span<const quint8> Bytes(const QByteArray& a) {
    return {reinterpret_cast<const quint8*>(a.constData()), std::size_t(a.size())};
}

// Reads data at the offsets asked for, at most maxPiece bytes a call (a short read now
// and then), from both scan threads at once.
ReadAt ReaderOf(const QByteArray& data, std::size_t maxPiece = std::size_t(-1)) {
    return [&data, maxPiece](qint64 offset, quint8* buffer, std::size_t count) {
        if (offset >= data.size())
            return std::size_t(0);
        const std::size_t n = std::min({count, maxPiece, std::size_t(data.size() - offset)});
        std::memcpy(buffer, data.constData() + offset, n);
        return n;
    };
}

Offsets Scan(const QByteArray& data, const QByteArray& pattern,
             std::size_t maxPiece = std::size_t(-1), HitStore::Form form = HitStore::Form::Auto) {
    HitStore hits(form);
    ScanHitsAt(Bytes(pattern), ReaderOf(data, maxPiece), hits, data.size());
    return ToOffsets(hits);
}

Offsets Steps(qint32 from, qint32 to, qint32 step) {
    Offsets o;
    for (qint32 i = from; i <= to; i += step)
        o.append(i);
    return o;
}

QByteArray Placed(int size, char fill, int at, const QByteArray& bytes) {
    QByteArray d(size, fill);
    d.replace(at, bytes.size(), bytes);
    return d;
}

} // namespace

class TestHitScanner : public QObject {
    Q_OBJECT
private slots:
    void blockRule_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<Offsets>("hits");
        const QByteArray dead("\xDE\xAD\xBE\xEF");
        QTest::newRow("hit across the 512 border")
            << Placed(1024, 0, 510, dead) << dead << Offsets{510};
        QTest::newRow("hit across the 1024 border")
            << Placed(1500, 0, 1021, dead) << dead << Offsets{1021};
        QTest::newRow("41 41 in eight 41s")
            << QByteArray(8, 'A') << QByteArray("AA") << Offsets{0, 2, 4, 6};
        QTest::newRow("414141 in a 1024-byte run of 41")
            << QByteArray(1024, 'A') << QByteArray("AAA") << Steps(0, 510, 3) + Steps(512, 1019, 3);
        QTest::newRow("0000 in 1030 zero bytes")
            << QByteArray(1030, 0) << QByteArray(2, 0) << Steps(0, 1028, 2);
        QTest::newRow("empty file") << QByteArray() << QByteArray("AB") << Offsets{};
        QTest::newRow("pattern longer than the file")
            << QByteArray("ABC") << QByteArray("ABCD") << Offsets{};
        QTest::newRow("pattern ending in 00 cut off by the end")
            << QByteArray("xyzA\0", 5) << QByteArray("A\0\0", 3) << Offsets{};
        QTest::newRow("pattern ending in 00 just fits")
            << QByteArray("xyA\0\0", 5) << QByteArray("A\0\0", 3) << Offsets{2};
        QTest::newRow("CR LF line ends")
            << QByteArray("ab\r\ncd\r\n\r\n") << QByteArray("\r\n") << Offsets{2, 6, 8};
        QTest::newRow("first and last byte of the file")
            << QByteArray("ABxxxxAB") << QByteArray("AB") << Offsets{0, 6};
        QTest::newRow("one-byte pattern")
            << QByteArray("abcabc") << QByteArray("c") << Offsets{2, 5};
        QTest::newRow("first and last byte match, middle not")
            << QByteArray("AxxB AyyB") << QByteArray("AyyB") << Offsets{5};
        QTest::newRow("40-byte pattern across a border")
            << Placed(2000, 'q', 500, QByteArray(40, 'z')) << QByteArray(40, 'z') << Offsets{500};
        QTest::newRow("overlapping candidates are skipped in a block")
            << QByteArray("ABABABA") << QByteArray("ABA") << Offsets{0, 4};
        // Blocks that are runs of the pattern's byte, written at once, beside those that
        // are not.
        const QByteArray ones(1100, 1);
        QTest::newRow("00000000 in zeros ending inside a block")
            << QByteArray(1500, 0) << QByteArray(4, 0)
            << Steps(0, 508, 4) + Steps(512, 1020, 4) + Steps(1024, 1496, 4);
        QTest::newRow("000000 in zeros, the byte behind a block's last hit set")
            << Placed(1024, 0, 512, "\x01") << QByteArray(3, 0)
            << Steps(0, 507, 3) + Steps(513, 1020, 3);
        QTest::newRow("0000 in zeros broken by one byte")
            << Placed(1536, 0, 700, "\x01") << QByteArray(2, 0)
            << Steps(0, 510, 2) + Steps(512, 698, 2) + Steps(701, 1023, 2) + Steps(1024, 1534, 2);
        QTest::newRow("eight zero bytes in zeros broken by one byte")
            << Placed(1536, 0, 700, "\x01") << QByteArray(8, 0)
            << Steps(0, 504, 8) + Steps(512, 688, 8) + Steps(701, 1021, 8) + Steps(1024, 1528, 8);
        QByteArray twoSet(600, 0);
        twoSet[53] = twoSet[130] = 1;
        QTest::newRow("40 zero bytes in zeros, a byte set past the word of the next candidate")
            << twoSet << QByteArray(40, 0)
            << Offsets{0, 54} + Steps(131, 491, 40) + Steps(512, 552, 40);
        QTest::newRow("0101 in a run of 01") << ones << QByteArray(2, 1) << Steps(0, 1098, 2);
        QTest::newRow("01010101 in a run of 01")
            << ones << QByteArray(4, 1)
            << Steps(0, 508, 4) + Steps(512, 1020, 4) + Steps(1024, 1096, 4);
    }
    void blockRule() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, pattern);
        QFETCH(Offsets, hits);
        QCOMPARE(WindowSearch(file, pattern), hits);
        // Reads cut around the block size and below the pattern's length.
        for (const std::size_t piece :
             {std::size_t(1), std::size_t(3), std::size_t(64), std::size_t(511), std::size_t(512),
              std::size_t(513), std::size_t(-1)}) {
            const Offsets got = Scan(file, pattern, piece);
            if (got != hits)
                QFAIL(qPrintable(QStringLiteral("reads of at most %1 bytes").arg(piece)));
        }
    }

    void emptyPatternHasNoHits() {
        QCOMPARE(Scan(QByteArray(10, 'a'), QByteArray(), 4), Offsets{});
    }

    // Copies through the borders of blocks and of the regions the two threads take in
    // turns, read whole or in short pieces.
    void shortReadsGiveTheSameHits_data() {
        QTest::addColumn<int>("maxPiece");
        QTest::newRow("whole reads") << 0;
        QTest::newRow("short reads") << 9999;
        QTest::newRow("odd short reads") << 262144 + 13;
        QTest::newRow("tiny reads") << 7;
    }
    void shortReadsGiveTheSameHits() {
        QFETCH(int, maxPiece);
        QRandomGenerator rng(99);
        QByteArray file(3 * int(HitStore::kRegionSize) + int(rng.bounded(1000)), Qt::Uninitialized);
        for (char& c : file)
            c = rng.bounded(8) ? 'A' : 'B';
        const QByteArray pattern("ABAAAAB");
        for (qsizetype border = 512; border < file.size(); border += 512 * (1 + rng.bounded(9)))
            file.replace(border - 1 - rng.bounded(7), pattern.size(), pattern);
        for (qsizetype border = HitStore::kRegionSize; border < file.size();
             border += HitStore::kRegionSize)
            file.replace(border - 3, pattern.size(), pattern);
        const Offsets expected = WindowSearch(file, pattern);
        QVERIFY(expected.size() > 1000);
        QCOMPARE(Scan(file, pattern, maxPiece ? std::size_t(maxPiece) : std::size_t(-1)), expected);
    }

    // Regions of a file read at their offsets and scanned on two threads give the hits of
    // one scan. A read that fails or a file cut short ends them at the first byte not
    // read, whichever thread reads it, and the scan says so.
    void scanAtOffsetsGivesTheSameHits_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("pattern");
        // "fail": reads give nothing from at on, "hole": nothing of the 512 bytes from at
        // on; "grown": the file held at bytes when it was opened and grew since.
        QTest::addColumn<QString>("fault");
        QTest::addColumn<qint64>("at");
        const qint64 mib = HitStore::kRegionSize;
        // Runs of zeros through the region borders and in between: dense hits, taken 64
        // positions at a time, on both sides of every border.
        QByteArray runs(3 * mib + 777, 'q');
        for (qint64 at = mib / 2; at < runs.size(); at += mib / 2)
            runs.replace(at - 3000, 6000, QByteArray(6000, 0));
        runs.replace(runs.size() - 500, 500, QByteArray(500, 0));
        QTest::newRow("runs of zeros, 00") << runs << QByteArray(2, 0) << "" << 0ll;
        QTest::newRow("runs of zeros, one zero byte") << runs << QByteArray(1, 0) << "" << 0ll;
        QTest::newRow("runs of zeros, five zero bytes") << runs << QByteArray(5, 0) << "" << 0ll;
        QByteArray copies(4 * mib + 100, 'q');
        const QByteArray pattern("ABAAAAB");
        for (qint64 border = 512; border < copies.size(); border += 512 * 37)
            copies.replace(border - 3, pattern.size(), pattern);
        for (qint64 border = mib; border < copies.size(); border += mib)
            copies.replace(border - 4, pattern.size(), pattern);
        QTest::newRow("copies across 512 and region borders") << copies << pattern << "" << 0ll;
        const QByteArray three(3, 0);
        QTest::newRow("read failing in the first region") << runs << three << "fail" << 1000ll;
        QTest::newRow("read failing in a middle region, second thread")
            << runs << three << "fail" << mib + 5000;
        QTest::newRow("read failing in a middle region, first thread")
            << runs << three << "fail" << 2 * mib + 1000;
        QTest::newRow("read failing at a region's first byte")
            << copies << pattern << "fail" << 3 * mib;
        QTest::newRow("read hole in a middle region, readable data behind it")
            << runs << three << "hole" << mib + 5000;
        QTest::newRow("read failing in the last region")
            << runs << three << "fail" << 3 * mib + 300;
        QTest::newRow("short read inside the size taken at open")
            << runs << three << "cut before" << mib + 77;
        QTest::newRow("file cut short during the scan")
            << runs << three << "cut during" << 2 * mib + 4321;
        QTest::newRow("shorter than the pattern") << QByteArray(2, 0) << three << "" << 0ll;
        QTest::newRow("grown: a hit across the size taken at open")
            << copies << pattern << "grown" << qint64(512 * 37 + 1);
        QTest::newRow("grown: a region behind the size taken at open")
            << runs << QByteArray(2, 0) << "grown" << mib;
    }
    void scanAtOffsetsGivesTheSameHits() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, pattern);
        QFETCH(QString, fault);
        QFETCH(qint64, at);
        const bool grown = fault == QLatin1String("grown");
        const qint64 size = grown ? at : file.size();
        const qint64 end = fault.isEmpty() || grown ? size : at;
        const Offsets expected = WindowSearch(file.left(end), pattern);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        for (const HitStore::Form form :
             {HitStore::Form::Auto, HitStore::Form::Offsets, HitStore::Form::Bitmap}) {
            QVERIFY(WriteWholeFile(path, file));
            if (fault == QLatin1String("cut before"))
                QVERIFY(QFile::resize(path, at));
            BinaryFile stream;
            QVERIFY(stream.open(path, BinaryFile::Mode::Read));
            std::once_flag cut;
            std::atomic<qint64> furthest = 0;
            // Both threads read through here.
            BinaryFile::testTransferLimit = [&](BinaryFile::Transfer, qint64 offset,
                                                std::size_t count) {
                for (qint64 seen = furthest; seen < offset + qint64(count);)
                    furthest.compare_exchange_weak(seen, offset + qint64(count));
                if (fault == QLatin1String("fail") ||
                    (fault == QLatin1String("hole") && offset < at + 512))
                    return std::size_t(std::clamp<qint64>(at - offset, 0, qint64(count)));
                if (fault == QLatin1String("cut during") && offset + qint64(count) > at)
                    std::call_once(cut, [&] { QFile::resize(path, at); });
                return count;
            };
            HitStore hits(form);
            const bool complete = ScanHits(Bytes(pattern), stream, hits, size);
            BinaryFile::testTransferLimit = nullptr;
            QCOMPARE(ToOffsets(hits), expected);
            QCOMPARE(complete, end >= size);
            // Nothing behind the size is read.
            QVERIFY(furthest <= size);
        }
    }

    void offsetsStopBelowTwoGiB() {
        // Zero bytes with 01 at the last offset that fits 32 bits and a little behind it.
        const qint64 last = qint64(INT32_MAX);
        const qint64 size = last + 100;
        const ReadAt readAt = [&](qint64 pos, quint8* buffer, std::size_t count) {
            const std::size_t n = std::size_t(std::min<qint64>(qint64(count), size - pos));
            std::memset(buffer, 0, n);
            for (const qint64 at : {qint64(7), last, last + 5}) {
                if (at >= pos && at < pos + qint64(n))
                    buffer[at - pos] = 1;
            }
            return n;
        };
        const quint8 pattern[] = {0x01};
        HitStore hits;
        QVERIFY(ScanHitsAt(pattern, readAt, hits, size));
        QCOMPARE(ToOffsets(hits), (Offsets{7, INT32_MAX}));
    }

    // Many generated files and patterns: the scan, with reads cut anywhere, gives exactly
    // the hits of the window algorithm.
    void sameHitsAsTheWindowAlgorithm_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<HitStore::Form>("form");
        const std::pair<const char*, HitStore::Form> forms[] = {
            {"auto", HitStore::Form::Auto},
            {"offsets", HitStore::Form::Offsets},
            {"bitmap", HitStore::Form::Bitmap}};
        for (const auto& [formName, form] : forms) {
            QTest::addRow("random bytes of two values, %s", formName) << 0 << form;
            QTest::addRow("random bytes of all values, %s", formName) << 1 << form;
            QTest::addRow("runs of one byte, %s", formName) << 2 << form;
            QTest::addRow("pattern repeated across every border, %s", formName) << 3 << form;
            QTest::addRow("zero bytes with a pattern ending in zeros, %s", formName) << 4 << form;
            QTest::addRow("runs of zeros and short patterns of zeros, %s", formName) << 5 << form;
        }
    }
    void sameHitsAsTheWindowAlgorithm() {
        QFETCH(int, kind);
        QFETCH(HitStore::Form, form);
        QRandomGenerator rng(0x5eed + kind);
        for (int round = 0; round < 150; ++round) {
            const int length = 1 + int(rng.bounded(40));
            // Sizes near the block borders and a little past them.
            const int size =
                int(rng.bounded(4)) * 512 + int(rng.bounded(2)) * 1024 + int(rng.bounded(160)) - 40;
            QByteArray file(std::max(0, size), 0);
            QByteArray pattern(length, 0);
            switch (kind) {
            case 0:
                for (char& c : file)
                    c = rng.bounded(2) ? 'A' : 'B';
                for (char& c : pattern)
                    c = rng.bounded(4) ? 'A' : 'B';
                break;
            case 1:
                for (char& c : file)
                    c = char(rng.bounded(256));
                if (file.size() >= length)
                    pattern = file.mid(rng.bounded(int(file.size() - length + 1)), length);
                break;
            case 2: {
                qsizetype i = 0;
                while (i < file.size()) {
                    const qsizetype run = 1 + rng.bounded(200);
                    const char c = rng.bounded(3) ? 'A' : char(rng.bounded(256));
                    for (qsizetype k = i; k < std::min(file.size(), i + run); ++k)
                        file[k] = c;
                    i += run;
                }
                pattern.fill('A');
                break;
            }
            case 3: {
                for (char& c : pattern)
                    c = char('a' + rng.bounded(3));
                file.fill('.');
                // A copy of the pattern through every 512 border, at every shift in turn.
                for (qsizetype border = 512; border < file.size(); border += 512) {
                    const qsizetype at = border - 1 - rng.bounded(length);
                    if (at >= 0 && at + length <= file.size())
                        file.replace(at, length, pattern);
                }
                break;
            }
            case 4:
                pattern.fill(0);
                pattern[0] = 'Z';
                for (qsizetype i = 0; i < file.size(); i += 1 + rng.bounded(600))
                    file[i] = 'Z';
                break;
            case 5:
                // Dense hits, which the scan takes 64 positions at a time.
                pattern = QByteArray(1 + int(rng.bounded(3)), 0);
                for (qsizetype i = 0; i < file.size(); i += 1 + rng.bounded(150))
                    file[i] = char(rng.bounded(2));
                break;
            }
            const Offsets expected = WindowSearch(file, pattern);
            const std::size_t pieces[] = {std::size_t(1 + rng.bounded(70)),
                                          std::size_t(64 + rng.bounded(1000)), std::size_t(-1)};
            for (const std::size_t piece : pieces) {
                const Offsets got = Scan(file, pattern, piece, form);
                if (got != expected) {
                    QFAIL(qPrintable(QStringLiteral("round %1: size %2, pattern %3, reads of at "
                                                    "most %4 bytes: %5 hits, expected %6")
                                         .arg(round)
                                         .arg(file.size())
                                         .arg(QString::fromLatin1(pattern.toHex()))
                                         .arg(piece)
                                         .arg(got.size())
                                         .arg(expected.size())));
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestHitScanner)
#include "TestHitScanner.moc"
