// Command-line front ends for side-by-side timing against other tools:
//   ZirpelScan read FILE             reads FILE with a plain fread loop (the floor)
//   ZirpelScan scan FILE HEX [N]     scans FILE for the pattern (reading N bytes at a
//                                    time) and prints the number of hits
//   ZirpelScanList FILE HEX          scans, then fills the hit list, shows it and scrolls
//                                    to its end, and prints the number of entries
// Peak memory (kB) goes to stderr.
#include "platform/BinaryFile.h"
#include "search/Pattern.h"
#include "search/HitScanner.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>

#ifdef ZIRPEL_SCAN_LIST
#include "search/HitListModel.h"

#include <QApplication>
#include <QListView>
#endif

namespace {

int Usage() {
#ifdef ZIRPEL_SCAN_LIST
    std::fprintf(stderr, "usage: ZirpelScanList FILE HEX\n");
#else
    std::fprintf(stderr, "usage: ZirpelScan read FILE | scan FILE HEX [N]\n");
#endif
    return 2;
}

void ReportPeakMemory() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "peak memory: %ld kB\n", usage.ru_maxrss);
}

bool Open(BinaryFile& file, const char* path) {
    if (file.open(QString::fromLocal8Bit(path), BinaryFile::Mode::Read))
        return true;
    std::fprintf(stderr, "cannot open %s\n", path);
    return false;
}

std::optional<QByteArray> HexPattern(const char* text) {
    const zirpel::ParsedPattern p =
        zirpel::ParsePattern(QString::fromLatin1(text), zirpel::PatternBase::Hex);
    if (!p.ok() || p.bytes.isEmpty())
        return std::nullopt;
    return p.bytes;
}

std::span<const quint8> Bytes(const QByteArray& b) {
    return {reinterpret_cast<const quint8*>(b.constData()), std::size_t(b.size())};
}

} // namespace

#ifdef ZIRPEL_SCAN_LIST

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
    QListView view;
    view.setUniformItemSizes(true);
    view.resize(81, 107);
    HitListModel model;
    view.setModel(&model);
    view.show();
    model.setHits(zirpel::ScanHits(Bytes(*pattern), file), false);
    QApplication::processEvents();
    view.scrollToBottom();
    QApplication::processEvents();
    std::printf("%d\n", model.count());
    ReportPeakMemory();
    return 0;
}

#else

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string mode = argv[1];
    BinaryFile file;
    if (mode == "read") {
        if (!Open(file, argv[2]))
            return 1;
        // Page-aligned, as the scan's own buffer is: a misaligned target slows the copy
        // from the page cache down several times on some processors.
        std::vector<char> storage(zirpel::kScanReadSize + 4096);
        const auto address = reinterpret_cast<std::uintptr_t>(storage.data());
        char* const buffer = storage.data() + (4096 - address % 4096) % 4096;
        long long total = 0;
        while (const std::size_t n = file.read(buffer, zirpel::kScanReadSize))
            total += qint64(n);
        std::printf("%lld\n", total);
        return 0;
    }
    if (mode != "scan" || argc < 4)
        return Usage();
    const std::optional<QByteArray> pattern = HexPattern(argv[3]);
    if (!pattern)
        return Usage();
    if (!Open(file, argv[2]))
        return 1;
    const std::size_t readSize =
        argc > 4 ? std::size_t(std::strtoull(argv[4], nullptr, 10)) : zirpel::kScanReadSize;
    std::printf("%zu\n", zirpel::ScanHits(Bytes(*pattern), file, readSize).size());
    ReportPeakMemory();
    return 0;
}

#endif
