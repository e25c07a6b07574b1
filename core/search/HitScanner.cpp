#include "core/search/HitScanner.h"

#include "core/file/BinaryFile.h"
#include "core/system/ReleaseMemory.h"
#include "core/view/Page.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <exception>
#include <memory>
#include <thread>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zirpel {

namespace {

// Alignment of the read buffers: copying from the page cache into a misaligned buffer
// can take several times as long.
constexpr std::size_t kAlign = 64;

// Offsets are signed 32-bit: positions past the largest file are not reported.
constexpr qint64 kOffsetLimit = kMaxFileSize + 1;

constexpr std::size_t kRegionWords = std::size_t(HitStore::kRegionSize / 64);

// Finds the hits of a pattern in one region at a time, as a bitmap of its positions, in
// two passes: a filter marks the positions whose first and last byte match, 64 at a time,
// then the marked words are checked in full and the block rule is applied to them. Dense
// hits thus cost little more than sparse ones, which cost no more than the filter.
class RegionScanner {
public:
    explicit RegionScanner(std::span<const quint8> pattern)
        : pattern_(pattern.data()), length_(qint64(pattern.size())), first_(pattern.front()),
          last_(pattern.back()), bits_(std::make_unique<quint64[]>(kRegionWords)) {}

    // The hits among the positions 0 to count - 1 (at most a region) of data, which holds
    // at least count + length - 1 bytes from the region's start on: bit k of word w is
    // set for a hit at position 64 w + k. Empty when there is none. Valid until the next
    // call.
    std::span<const quint64> scan(const quint8* data, qint64 count) {
        // Only the groups marked last time hold bits.
        forEachMarkedGroup([this](std::size_t first) {
            std::fill(bits_.get() + first, bits_.get() + first + kGroupWords, 0);
        });
        marked_ = {};
        filter(data, count);
        // With one byte every position that passes the filter is a hit, and hits can
        // never overlap.
        if (marked_ == Groups{} || (length_ > 1 && !applyRule(data)))
            return {};
        return {bits_.get(), std::size_t((count + 63) / 64)};
    }

private:
    // Marks the positions that start with the pattern's first byte and hold its last
    // byte length - 1 further on, and notes the groups of words that hold any.
    void filter(const quint8* data, qint64 count) {
        // Kept here, not in marked_, so that marking a word costs no store of its group.
        std::size_t group = kRegionWords;
        const auto mark = [&](qint64 position, quint64 mask) {
            const std::size_t w = std::size_t(position / 64);
            bits_[w] = mask;
            if (w / kGroupWords != group) {
                group = w / kGroupWords;
                marked_[group / 64] |= quint64(1) << (group % 64);
            }
        };
        qint64 i = 0;
#ifdef __SSE2__
        const __m128i first = _mm_set1_epi8(char(first_));
        const __m128i last = _mm_set1_epi8(char(last_));
        const quint8* const tail = data + length_ - 1;
        for (; i + 64 <= count; i += 64) {
            const __m128i m0 = matchFirstAndLast(data + i, tail + i, first, last);
            const __m128i m1 = matchFirstAndLast(data + i + 16, tail + i + 16, first, last);
            const __m128i m2 = matchFirstAndLast(data + i + 32, tail + i + 32, first, last);
            const __m128i m3 = matchFirstAndLast(data + i + 48, tail + i + 48, first, last);
            const __m128i found = _mm_or_si128(_mm_or_si128(m0, m1), _mm_or_si128(m2, m3));
            if (_mm_movemask_epi8(found) != 0) {
                mark(i, quint64(quint32(_mm_movemask_epi8(m0))) |
                            quint64(quint32(_mm_movemask_epi8(m1))) << 16 |
                            quint64(quint32(_mm_movemask_epi8(m2))) << 32 |
                            quint64(quint32(_mm_movemask_epi8(m3))) << 48);
            }
        }
#endif
        // What is left, or everything where SSE2 is missing.
        for (; i < count; i += 64) {
            quint64 mask = 0;
            const qint64 n = std::min<qint64>(64, count - i);
            for (qint64 k = 0; k < n; ++k) {
                if (data[i + k] == first_ && data[i + k + length_ - 1] == last_)
                    mask |= quint64(1) << k;
            }
            if (mask != 0)
                mark(i, mask);
        }
    }

    // Calls f with the first word of every marked group, in ascending order.
    template <typename F> void forEachMarkedGroup(F f) const {
        for (std::size_t k = 0; k < marked_.size(); ++k) {
            for (quint64 m = marked_[k]; m != 0; m &= m - 1)
                f((k * 64 + std::size_t(std::countr_zero(m))) * kGroupWords);
        }
    }

#ifdef __SSE2__
    // 0xFF in each of 16 lanes whose position starts with the pattern's first byte and
    // whose position + length - 1 holds its last byte.
    static __m128i matchFirstAndLast(const quint8* at, const quint8* atLast, __m128i first,
                                     __m128i last) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(atLast));
        return _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last));
    }
#endif

    // Keeps, of the marked positions, the hits: those whose middle bytes match too and
    // that the block rule allows; true if there is any. A region starts at a multiple of
    // 512, and a word of 64 positions lies in one block.
    bool applyRule(const quint8* data) {
        qint64 next = 0; // the first position the rule allows
        quint64 any = 0;
        forEachMarkedGroup([&](std::size_t first) {
            for (std::size_t w = first; w < first + kGroupWords; ++w)
                any |= applyRule(data, w, next);
        });
        return any != 0;
    }

    // The same for word w, after the hits before it allowed next on; the word's hits.
    quint64 applyRule(const quint8* data, std::size_t w, qint64& next) {
        quint64 matches = bits_[w];
        if (matches == 0)
            return 0;
        const qint64 base = qint64(w) * 64;
        const qint64 skip = next - base;
        if (skip >= 64) {
            bits_[w] = 0;
            return 0;
        }
        if (skip > 0)
            matches &= ~quint64(0) << skip;
        // The filter tests two bytes: up to that length it is the whole test.
        if (length_ > 2) {
            for (quint64 m = matches; m != 0; m &= m - 1) {
                const int k = std::countr_zero(m);
                if (!middleMatches(data + base + k))
                    matches &= ~(quint64(1) << k);
            }
        }
        const quint64 hits = hitsOf(matches);
        bits_[w] = hits;
        if (hits != 0) {
            const qint64 lastHit = base + 63 - std::countl_zero(hits);
            const qint64 nextBlock = (lastHit / kHitBlockSize + 1) * kHitBlockSize;
            next = std::min(lastHit + length_, nextBlock);
        }
        return hits;
    }

    // The hits among the matching positions of one word (bit k: position k), all of
    // them allowed by the hits before the word.
    quint64 hitsOf(quint64 matches) const {
        if (length_ == 2) {
            // In a run of matches the hits are its first position and every second one
            // after it. Adding a run's first bit clears the whole run (the carry runs to
            // its end), which picks out the runs that start at an even position.
            constexpr quint64 even = 0x5555555555555555;
            const quint64 starts = matches & ~(matches << 1);
            const quint64 evenRuns = matches & ~(matches + (starts & even));
            return (evenRuns & even) | ((matches ^ evenRuns) & ~even);
        }
        quint64 hits = 0;
        for (quint64 m = matches; m != 0;) {
            const int k = std::countr_zero(m);
            hits |= quint64(1) << k;
            const qint64 after = k + length_;
            m = after >= 64 ? 0 : m & (~quint64(0) << after);
        }
        return hits;
    }

    // The bytes between the first and the last, which the filter has already checked.
    bool middleMatches(const quint8* at) const {
        // Patterns are short: a loop beats a call to memcmp.
        for (qint64 k = 1; k < length_ - 1; ++k) {
            if (at[k] != pattern_[k])
                return false;
        }
        return true;
    }

    const quint8* pattern_;
    qint64 length_;
    quint8 first_;
    quint8 last_;
    // Words are marked in groups, so that the rule and the clearing skip what the filter
    // found nothing in.
    static constexpr std::size_t kGroupWords = 64;
    using Groups = std::array<quint64, kRegionWords / kGroupWords / 64>;

    std::unique_ptr<quint64[]> bits_; // zero but in the marked groups
    Groups marked_ = {};              // bit g: group g holds marks
};

// Reads until count bytes are in or a read gives nothing.
std::size_t ReadFully(const ReadAt& readAt, qint64 offset, quint8* buffer, std::size_t count) {
    std::size_t got = 0;
    while (got < count) {
        const std::size_t n = readAt(offset + qint64(got), buffer + got, count - got);
        if (n == 0)
            break;
        got += std::min(n, count - got);
    }
    return got;
}

} // namespace

bool ScanHitsAt(std::span<const quint8> pattern, const ReadAt& readAt, HitStore& hits,
                qint64 size) {
    if (pattern.empty())
        return true;
    constexpr qint64 kChunk = HitStore::kRegionSize;
    static_assert(kChunk % kHitBlockSize == 0);
    const qint64 length = qint64(pattern.size());
    // Positions from the limit on are not hits, so their bytes need not be read.
    const qint64 end = std::min(size, kOffsetLimit + length - 1);
    struct Part {
        HitStore hits;
        bool shortRead; // the data ended in this chunk or the bytes after it
    };
    // Thread k scans the chunks k, k + 2, k + 4, ... until the data ends for it.
    const auto work = [&](int k, std::vector<Part>& parts) {
        const std::size_t room = std::size_t(kChunk + length - 1);
        const std::unique_ptr<quint8[]> storage =
            std::make_unique_for_overwrite<quint8[]>(room + kAlign);
        const auto address = reinterpret_cast<std::uintptr_t>(storage.get());
        quint8* const buffer = storage.get() + (kAlign - address % kAlign) % kAlign;
        RegionScanner scanner(pattern);
        for (qint64 start = k * kChunk; start < end; start += 2 * kChunk) {
            const std::size_t want = std::size_t(std::min(kChunk + length - 1, end - start));
            const std::size_t got = ReadFully(readAt, start, buffer, want);
            parts.push_back({HitStore(hits.form(), start), got < want});
            const qint64 positions = std::min(qint64(got) - length + 1, kChunk);
            if (positions > 0)
                parts.back().hits.addRegion(start, scanner.scan(buffer, positions));
            if (got < want)
                return;
        }
    };
    std::vector<Part> parts[2];
    std::exception_ptr failure;
    std::thread second([&] {
        try {
            work(1, parts[1]);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    try {
        work(0, parts[0]);
    } catch (...) {
        second.join();
        throw;
    }
    second.join();
    if (failure)
        std::rethrow_exception(failure);
    // In file order, up to the chunk where the data ended: the other thread may have read
    // on behind it, but its hits would leave a gap.
    for (std::size_t c = 0; c / 2 < parts[c % 2].size(); ++c) {
        Part& part = parts[c % 2][c / 2];
        hits.append(std::move(part.hits));
        if (part.shortRead)
            return false;
    }
    return true;
}

bool ScanHits(std::span<const quint8> pattern, BinaryFile& file, HitStore& hits, qint64 size) {
    KeepLargeBlocksInHeap();
    const bool whole = ScanHitsAt(
        pattern,
        [&file](qint64 offset, quint8* buffer, std::size_t count) {
            return file.readAt(offset, buffer, count);
        },
        hits, size);
    // The read buffers, freed on both threads, would otherwise stay resident after the
    // search.
    ReleaseFreedMemory();
    return whole;
}

} // namespace zirpel
