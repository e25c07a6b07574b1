// The hit scan against the plain 512-byte window search, for any data, pattern, size
// and way of reading.
#include "FuzzInput.h"
#include "WindowSearch.h"
#include "core/search/HitScanner.h"
#include "core/search/HitStore.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

using namespace zirpel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const quint8 mode = in.Byte();
    // 1 to 40 bytes, the longest pattern the search entry takes.
    const std::size_t length = 1 + in.Byte() % 40;
    // Short reads now and then, as a pipe or a network file gives them.
    const std::size_t maxPiece = (mode & 2) ? 1 + in.Byte() % 700 : std::size_t(-1);
    // Bytes behind the size taken at open, as when the file grew since.
    const std::size_t grown = (mode & 32) ? in.Byte() : 0;
    QByteArray bytes = in.Rest();
    // Two letters make many overlapping and touching hits.
    if (mode & 1) {
        for (char& c : bytes)
            c = (c & 1) ? 'A' : 'B';
    } else if (mode & 64) {
        // Zero bytes broken now and then: whole blocks that are runs of the pattern's byte.
        for (char& c : bytes)
            c = quint8(c) == 0xFF ? 1 : 0;
    }
    const std::size_t patternSize = std::min<std::size_t>(length, std::size_t(bytes.size()));
    if (patternSize == 0)
        return 0;
    const auto* all = reinterpret_cast<const quint8*>(bytes.constData());
    const std::span<const quint8> pattern(all, patternSize);
    const std::span<const quint8> file(all + patternSize, std::size_t(bytes.size()) - patternSize);
    const std::size_t scanned = file.size() - std::min(grown, file.size());

    // Every form of the hit store.
    const HitStore::Form forms[] = {HitStore::Form::Auto, HitStore::Form::Offsets,
                                    HitStore::Form::Bitmap};
    const HitStore::Form form = forms[(mode >> 2) % 3];
    const auto offsets = [](const HitStore& hits) {
        std::vector<qint32> v;
        for (qint64 k = 0; k < hits.count(); ++k)
            v.push_back(hits.at(k));
        return v;
    };
    const std::vector<qint32> expected = WindowSearch(file.first(scanned), pattern);

    const ReadAt readAt = [&](qint64 offset, quint8* buffer, std::size_t count) {
        if (offset < 0 || std::size_t(offset) >= file.size())
            return std::size_t(0);
        const std::size_t n = std::min({count, maxPiece, file.size() - std::size_t(offset)});
        std::memcpy(buffer, file.data() + offset, n);
        return n;
    };
    HitStore hits(form);
    const bool whole = ScanHitsAt(pattern, readAt, hits, qint64(scanned));
    fuzz::Check(whole, "ScanHitsAt says the data ended early");
    fuzz::Check(offsets(hits) == expected, "ScanHitsAt differs from the 512-byte window search");
    return 0;
}
