// The hits of a search: their offsets in ascending order, counted and reachable by
// number, in bounded memory.
//
// The offsets are kept per region of 2^20 file positions, each in the smaller of two
// forms: a sorted list of 32-bit offsets, of exactly its length, while it holds few hits;
// a bitmap of the region's positions (128 KiB) once the list would outgrow it, with the
// number of hits of every 4096 positions beside it (512 bytes), so that finding hit
// number k takes at most a few hundred steps. So a search of a file of any size never
// needs more than min(4 bytes a hit, file size / 8). A region's hits arrive at once, as
// a bitmap, in ascending order of regions while the scan runs.
#pragma once

#include <QtGlobal>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace zirpel {

class HitStore {
public:
    // Auto picks the smaller form per region; the other two keep one form throughout
    // (to compare the forms).
    enum class Form { Auto, Offsets, Bitmap };

    static constexpr int kRegionShift = 20;
    static constexpr qint64 kRegionSize = qint64(1) << kRegionShift;

    // A store for hits from offset origin on (a multiple of kRegionSize), as a part of a
    // larger store that append() puts together.
    explicit HitStore(Form form = Form::Auto, qint64 origin = 0)
        : form_(form), origin_(std::size_t(origin >> kRegionShift)) {}

    // Appends the hits of the region from start on (a multiple of kRegionSize): bit k of
    // bits[w] stands for the position start + 64 w + k. bits holds at most a region's
    // words, and the region lies behind every hit added before.
    void addRegion(qint64 start, std::span<const quint64> bits);

    // Appends the hits of part, whose origin lies behind every hit added before.
    void append(HitStore&& part);

    [[nodiscard]] Form form() const { return form_; }
    [[nodiscard]] qint64 count() const { return count_; }
    // The offset of hit number k (0 <= k < count()); -1 for any other k.
    [[nodiscard]] qint32 at(qint64 k) const;
    void clear();

    // Bytes held for the hits, and how many regions are bitmaps (for tests and benchmarks).
    [[nodiscard]] qint64 bytesHeld() const;
    [[nodiscard]] int bitmapRegions() const;

private:
    static constexpr std::size_t kWords = std::size_t(kRegionSize / 64);
    static constexpr int kBlockShift = 12; // 4096 positions, 64 words
    static constexpr std::size_t kBlocks = std::size_t(kRegionSize >> kBlockShift);
    // A list longer than this would need more room than the region's bitmap.
    static constexpr std::size_t kListMax = std::size_t(kRegionSize / 8 / 4);

    struct Region {
        qint64 before = 0; // hits in the regions in front of this one
        quint32 count = 0;
        std::vector<qint32> offsets;
        std::unique_ptr<quint64[]> bits;        // set once the region is a bitmap
        std::unique_ptr<quint16[]> blockCounts; // hits in each block of the bitmap
    };

    Region& regionFor(qint64 offset);

    Form form_;
    std::size_t origin_; // the region that regions_[0] stands for
    qint64 count_ = 0;
    std::vector<Region> regions_;
};

} // namespace zirpel
