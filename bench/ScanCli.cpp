// A small command-line front end for side-by-side timing against other tools:
//   ZirpelScan read FILE            reads FILE with a plain fread loop (the floor)
//   ZirpelScan scan FILE HEX        scans FILE for the pattern and prints the hit count
//   ZirpelScan list FILE HEX        the same, then fills the hit list and shows it
// Peak memory (kB) goes to stderr.
#include "platform/BinaryFile.h"
#include "search/HexText.h"
#include "search/HitListModel.h"
#include "search/HitScanner.h"

#include <QApplication>
#include <QListView>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: ZirpelScan read FILE | scan FILE HEX | list FILE HEX\n");
    return 2;
}

void ReportPeakMemory() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "peak memory: %ld kB\n", usage.ru_maxrss);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]);
    BinaryFile file;
    if (!file.open(path, BinaryFile::Mode::Read)) {
        std::fprintf(stderr, "cannot open %s\n", argv[2]);
        return 1;
    }
    if (mode == QLatin1String("read")) {
        std::vector<char> buffer(zirpel::kScanReadSize);
        long long total = 0;
        while (const std::size_t n = file.read(buffer.data(), buffer.size()))
            total += qint64(n);
        std::printf("%lld\n", total);
        return 0;
    }
    if (argc < 4)
        return Usage();
    const zirpel::ParsedPattern pattern =
        zirpel::ParsePattern(QString::fromLatin1(argv[3]), zirpel::PatternBase::Hex);
    if (!pattern.ok() || pattern.bytes.isEmpty())
        return Usage();
    const std::span<const quint8> bytes(reinterpret_cast<const quint8*>(pattern.bytes.constData()),
                                        std::size_t(pattern.bytes.size()));
    if (mode == QLatin1String("scan")) {
        std::printf("%zu\n", zirpel::ScanHits(bytes, file).size());
        ReportPeakMemory();
        return 0;
    }
    if (mode != QLatin1String("list"))
        return Usage();
    QApplication app(argc, argv);
    QListView view;
    view.setUniformItemSizes(true);
    view.resize(81, 107);
    HitListModel model;
    view.setModel(&model);
    view.show();
    model.setHits(zirpel::ScanHits(bytes, file), false);
    // Lay out and paint the top of the list, then the end of it.
    QApplication::processEvents();
    view.scrollToBottom();
    QApplication::processEvents();
    std::printf("%d\n", model.count());
    ReportPeakMemory();
    return 0;
}
