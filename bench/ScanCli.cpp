// Command-line front ends for side-by-side timing against other tools:
//   ZirpelScan floor FILE            reads FILE on two threads, each its half in reads of
//                                    1 MiB, and does nothing with the bytes (the floor)
//   ZirpelScan read FILE             the same, but reading as the scan does
//   ZirpelScan scan FILE HEX         scans FILE for the pattern as the window does and
//                                    prints the number of hits
//   ZirpelScanList FILE HEX          scans, then fills the hit list, shows it and goes to
//                                    its last entry, and prints the number of entries
//                                    and the time from the start of the scan
//   ZirpelScanWindow FILE HEX...     opens FILE in the real window (offscreen), searches
//                                    with a click on BtnSuchen and prints the number of
//                                    hits and the time from the click to the end; further
//                                    patterns are searched in turn after "Neue Suche",
//                                    and a last "Neue Suche" follows the last of them
// What the scan (or the read) adds to the resident memory at its peak goes to stderr, in MiB and in
// bytes a hit, and so do what it leaves resident (after minus before, the hits still
// held) and the processor time it took; what stays after the last "Neue Suche" goes
// there as well.
#include "core/file/BinaryFile.h"
#include "core/search/HitScanner.h"
#include "core/search/Pattern.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

#if defined(ZIRPEL_SCAN_LIST) || defined(ZIRPEL_SCAN_WINDOW)
#include "core/search/HitListModel.h"
#include "widgets/HitListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#endif
#ifdef ZIRPEL_SCAN_WINDOW
#include "WindowHarness.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#endif

using namespace zirpel;

namespace {

int Usage() {
#if defined(ZIRPEL_SCAN_LIST)
    std::fprintf(stderr, "usage: ZirpelScanList FILE HEX\n");
#elif defined(ZIRPEL_SCAN_WINDOW)
    std::fprintf(stderr, "usage: ZirpelScanWindow FILE HEX\n");
#else
    std::fprintf(stderr, "usage: ZirpelScan read FILE | scan FILE HEX\n");
#endif
    return 2;
}

// A value in kB from /proc/self/status ("VmRSS", "VmHWM"), or -1.
long StatusKb(const char* key) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long value = -1;
    const std::size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, key, n) == 0 && line[n] == ':') {
            value = std::strtol(line + n + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return value;
}

// Measures what the resident memory grows by at its peak from now on: the kernel's
// high-water mark starts again at the present size.
class PeakGrowth {
public:
    PeakGrowth() : cpu_(CpuSeconds()) {
        if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        base_ = StatusKb("VmRSS");
    }
    [[nodiscard]] long base() const { return base_; }
    void report(qint64 hits) const {
        const long peak = StatusKb("VmHWM");
        const double bytes = double(peak - base_) * 1024.0;
        std::fprintf(stderr, "peak memory added: %.1f MiB, %.2f bytes a hit (peak %ld kB)\n",
                     bytes / 1048576.0, hits > 0 ? bytes / double(hits) : 0.0, peak);
        // What stays: the resident set now, with the hits still held, minus before.
        const long now = StatusKb("VmRSS");
        std::fprintf(stderr, "resident added: %.1f MiB (before %ld kB, after %ld kB)\n",
                     double(now - base_) / 1024.0, base_, now);
        std::fprintf(stderr, "processor time: %.3f s, both threads\n", CpuSeconds() - cpu_);
    }

private:
    static double CpuSeconds() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }

    double cpu_;
    long base_ = 0;
};

[[maybe_unused]] bool Open(BinaryFile& file, const char* path) {
    if (file.open(QString::fromLocal8Bit(path), BinaryFile::Mode::Read))
        return true;
    std::fprintf(stderr, "cannot open %s\n", path);
    return false;
}

[[maybe_unused]] std::optional<QByteArray> HexPattern(const char* text) {
    const ParsedPattern p = ParsePattern(QString::fromLatin1(text), PatternBase::Hex);
    if (!p.ok() || p.bytes.isEmpty())
        return std::nullopt;
    return p.bytes;
}

[[maybe_unused]] std::span<const quint8> Bytes(const QByteArray& b) {
    return {reinterpret_cast<const quint8*>(b.constData()), std::size_t(b.size())};
}

} // namespace

#if defined(ZIRPEL_SCAN_LIST)

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::optional<QByteArray> pattern = HexPattern(argv[2]);
    BinaryFile file;
    if (!pattern)
        return Usage();
    if (!Open(file, argv[1]))
        return 1;
    QApplication app(argc, argv);
    HitListView view;
    view.resize(81, 107);
    HitListModel model;
    view.setModel(&model);
    view.show();
    QApplication::processEvents();
    const PeakGrowth growth;
    QElapsedTimer timer;
    timer.start();
    HitStore hits;
    ScanHits(Bytes(*pattern), file, hits, file.size());
    model.setHits(std::move(hits), false);
    QApplication::processEvents();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_End);
    view.viewport()->repaint();
    std::printf("%d in %.3f s\n", model.count(), double(timer.nsecsElapsed()) / 1e9);
    growth.report(model.count());
    return 0;
}

#elif defined(ZIRPEL_SCAN_WINDOW)

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WindowHarness h;
    h.create();
    h.showAndActivate();
    h.openThroughDialog(QString::fromLocal8Bit(argv[1]));
    h.click("ToolButtonFindChange");
    auto* suchen = h.find<QComboBox>("ComboBoxSuchen");
    long before = 0;
    // Each pattern is searched in turn, after "Neue Suche" dropped the hits before.
    for (int p = 2; p < argc; ++p) {
        if (p > 2) {
            h.click("BtnNeueSuche");
            QApplication::processEvents();
        }
        suchen->lineEdit()->setText(QString::fromLatin1(argv[p]));
        QApplication::processEvents();
        const PeakGrowth growth;
        QElapsedTimer timer;
        timer.start();
        h.click("BtnSuchen");
        // Until the list and the count are drawn.
        QApplication::processEvents();
        const qint64 ns = timer.nsecsElapsed();
        const QString count = h.find<QLabel>("LblTreffer")->text();
        std::printf("%s in %.3f s\n", qPrintable(count), double(ns) / 1e9);
        std::fflush(stdout);
        growth.report(count.section(QLatin1Char(' '), 0, 0).toLongLong());
        if (p == 2)
            before = growth.base();
    }
    h.click("BtnNeueSuche");
    QApplication::processEvents();
    const long after = StatusKb("VmRSS");
    std::fprintf(stderr,
                 "resident after \"Neue Suche\": %.1f MiB above before the first search "
                 "(before %ld kB, after %ld kB)\n",
                 double(after - before) / 1024.0, before, after);
    return 0;
}

#else

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string mode = argv[1];
    BinaryFile file;
    if (mode == "read" || mode == "floor") {
        if (!Open(file, argv[2]))
            return 1;
        // Aligned as the scan's own buffers are: a misaligned target slows the copy from
        // the page cache down several times on some processors.
        constexpr qint64 kRead = qint64(1) << 20;
        const qint64 size = file.size();
        const PeakGrowth growth;
        qint64 total[2] = {};
        const auto readSpan = [&](int k, qint64 from, qint64 to, qint64 step) {
            std::vector<quint8> storage(std::size_t(kRead) + 4096);
            const auto address = reinterpret_cast<std::uintptr_t>(storage.data());
            quint8* const buffer = storage.data() + (4096 - address % 4096) % 4096;
            for (qint64 start = from; start < to; start += step)
                total[k] +=
                    qint64(file.readAt(start, buffer, std::size_t(std::min(kRead, to - start))));
        };
        // floor: each thread reads its half of the file; read: in turns of 1 MiB, a region
        // of the hit store, as the scan does.
        const qint64 half = (size / 2 + kRead - 1) / kRead * kRead;
        const auto read = [&](int k) {
            if (mode == "floor")
                readSpan(k, k == 0 ? 0 : half, k == 0 ? half : size, kRead);
            else
                readSpan(k, k * kRead, size, 2 * kRead);
        };
        std::thread second(read, 1);
        read(0);
        second.join();
        std::printf("%lld\n", static_cast<long long>(total[0] + total[1]));
        growth.report(0);
        return 0;
    }
    if (mode != "scan" || argc < 4)
        return Usage();
    const std::optional<QByteArray> pattern = HexPattern(argv[3]);
    if (!pattern)
        return Usage();
    if (!Open(file, argv[2]))
        return 1;
    const PeakGrowth growth;
    HitStore hits;
    ScanHits(Bytes(*pattern), file, hits, file.size());
    std::printf("%lld\n", static_cast<long long>(hits.count()));
    growth.report(hits.count());
    return 0;
}

#endif
