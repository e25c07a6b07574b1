// The hits of a search: their offsets in ascending order, counted and reachable by
// number, in bounded memory.
//
// The offsets are kept per region of 2^20 file positions, each in the smaller of two
// forms: a sorted list of 32-bit offsets (with room for one more) while it holds few
// hits; a bitmap of the region's positions (128 KiB) once the list would outgrow it, with
// the number of hits of every counted span of 4096 positions beside it (512 bytes), so
// that finding hit number k takes at most a few hundred steps. So a search of a file of
// any size never needs more than min(4 bytes a hit, file size / 8). A region's hits
// arrive at once, as a bitmap, in ascending order of regions while the scan runs.
#pragma once

#include <QtGlobal>
#include <bit>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace zirpel {

// The number of bits set. Without the processor's own instruction (not in the x86-64
// baseline) std::popcount is a library call; this is as fast inline, and a full word, as
// runs of one byte value searched for that byte give, costs one compare.
inline int CountBits(quint64 v) {
#ifdef __POPCNT__
    return std::popcount(v);
#else
    if (v == ~quint64(0))
        return 64;
    v = v - ((v >> 1) & 0x5555555555555555);
    v = (v & 0x3333333333333333) + ((v >> 2) & 0x3333333333333333);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0F;
    return int((v * 0x0101010101010101) >> 56);
#endif
}

// The same for all words, with the processor's own instruction where it has one: a dense
// region has every word of its bitmap counted.
[[nodiscard]] int CountBits(std::span<const quint64> words);

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

    // Where a bitmap's or a list's memory goes back to: its share of a large page of a
    // PagePool, or the heap.
    struct PageShare {
        std::shared_ptr<void> page;
        template <typename T> void operator()(T* p) const {
            if (!page)
                delete[] p;
        }
    };
    using Bitmap = std::unique_ptr<quint64[], PageShare>;
    using List = std::unique_ptr<qint32[], PageShare>;

    // Bitmaps and lists for the regions one thread adds, cut from large pages
    // (kLargePage), so that filling them costs few page faults; a page goes back when the
    // last piece cut from it is freed. At most one page is partly used. A bitmap
    // equal to the one before shares its memory: a long run of one byte value searched
    // for that byte gives the same hits in every region.
    class PagePool {
    public:
        // A bitmap of a region holding bits, then zeros. Never written to afterwards.
        [[nodiscard]] Bitmap copyOf(std::span<const quint64> bits);
        // Room for count offsets: in a large page unless they fit in a small one.
        [[nodiscard]] List list(std::size_t count);

    private:
        // size bytes (a multiple of 64) from the page in use or a fresh one; nullptr for
        // more than a page, or when the system gives none.
        void* take(std::size_t size);

        std::shared_ptr<void> page_;
        std::size_t used_ = 0; // bytes of page_ cut off
        // The last bitmap cut from page_, and how many of its words were given.
        const quint64* last_ = nullptr;
        std::size_t lastWords_ = 0;
    };

    // Hits are counted per this many positions (a counted span: 64 words of a bitmap).
    static constexpr int kCountedShift = 12;
    static constexpr qint64 kCountedPositions = qint64(1) << kCountedShift;

    // Appends the hits of the region from start on (a multiple of kRegionSize): bit k of
    // bits[w] stands for the position start + 64 w + k. bits holds at most a region's
    // words, and the region lies behind every hit added before. counts, if given, holds
    // the number of hits in each kCountedPositions of bits (the scan knows them);
    // otherwise they are counted here. The region's memory is taken from pool if given.
    void addRegion(qint64 start, std::span<const quint64> bits,
                   std::span<const quint16> counts = {}, PagePool* pool = nullptr);

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
    static constexpr std::size_t kCountedSpans = std::size_t(kRegionSize >> kCountedShift);
    static constexpr std::size_t kCountedWords = std::size_t(kCountedPositions / 64);
    // A list longer than this would need more room than the region's bitmap.
    static constexpr std::size_t kListMax = std::size_t(kRegionSize / 8 / 4);

    struct Region {
        qint64 before = 0; // hits in the regions in front of this one
        quint32 count = 0;
        List offsets;                      // set while the region is a list
        Bitmap bits;                       // set once the region is a bitmap
        std::unique_ptr<quint16[]> counts; // hits in each counted span of the bitmap
    };

    Region& regionFor(qint64 offset);

    Form form_;
    std::size_t origin_; // the region that regions_[0] stands for
    qint64 count_ = 0;
    std::vector<Region> regions_;
};

} // namespace zirpel
