#include "core/search/HitScanner.h"

#include "core/file/BinaryFile.h"
#include "core/system/ReleaseMemory.h"
#include "core/view/Page.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
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

// The block rule: the first position a hit at c leaves open is c + length, or the start of
// the next no-overlap span if that comes first. Every path below follows from this.
qint64 NextCandidate(qint64 c, qint64 length) {
    return std::min(c + length, (c / kNoOverlapSpan + 1) * kNoOverlapSpan);
}

// Finds the hits of a pattern in one region at a time, as a bitmap of its positions, in
// two passes: a filter marks the positions whose first and last byte match, 64 at a time,
// then the marked words are checked in full and the block rule is applied to them. Dense
// hits thus cost little more than sparse ones, which cost no more than the filter.
// A pattern of one byte value in a run of that byte (a stretch of zeros searched for
// zeros) skips both: a no-overlap span whose bytes, and the length - 1 behind it, all hold
// that value has its hits at the rule's positions from its start, which are copied in.
class RegionScanner {
public:
    // The hits of a region: the bitmap, and the number of hits in each span of
    // HitStore::kCountedPositions.
    struct Hits {
        std::span<const quint64> bits;
        std::span<const quint16> counts;
    };

    explicit RegionScanner(std::span<const quint8> pattern)
        : pattern_(pattern.data()), length_(qint64(pattern.size())), first_(pattern.front()),
          last_(pattern.back()),
          uniform_(std::all_of(pattern.begin(), pattern.end(),
                               [&](quint8 b) { return b == pattern.front(); })),
          bits_(std::make_unique<quint64[]>(kRegionWords)) {
        for (qint64 k = 0; k < kNoOverlapSpan; k = NextCandidate(k, length_)) {
            runBits_[std::size_t(k / 64)] |= quint64(1) << (k % 64);
            runLast_ = k;
            ++runHits_;
        }
        // A word lies within one span: from a hit at its bit 0 the rule goes on to these.
        periodic_ = runBits_[0];
    }

    // The hits among the positions 0 to count - 1 (at most a region) of data, which holds
    // at least count + length - 1 bytes from the region's start on: bit k of word w is
    // set for a hit at position 64 w + k. Empty when there is none. Valid until the next
    // call.
    Hits scan(const quint8* data, qint64 count) {
        marked_ = {};
        runs_ = {};
        const std::size_t words = std::size_t((count + 63) / 64);
        // Only a region's last group can be short: its words past the end hold no marks.
        std::fill(bits_.get() + words,
                  bits_.get() +
                      std::min(kRegionWords, (words + kGroupWords - 1) / kGroupWords * kGroupWords),
                  0);
        filter(data, count);
        if (marked_ == Groups{})
            return {};
        // With one byte every position that passes the filter is a hit, and hits can
        // never overlap.
        if (length_ > 1)
            applyRule(data);
        counts_ = {};
        quint32 total = 0;
        forEachMarkedGroup([&](std::size_t first) {
            int n = 0;
            for (std::size_t w = first; w < first + kGroupWords; w += kSpanWords) {
                if (isRunSpan(w / kSpanWords)) {
                    n += runHits_;
                    continue;
                }
                n += CountBits({bits_.get() + w, kSpanWords});
            }
            counts_[first / kGroupWords] = quint16(n);
            total += quint32(n);
        });
        if (total == 0)
            return {};
        return {{bits_.get(), words}, {counts_.data(), (words + kGroupWords - 1) / kGroupWords}};
    }

private:
    static constexpr std::size_t kSpanWords = std::size_t(kNoOverlapSpan / 64);
    // Words are marked in groups of a counted span, so that the rule and the count skip
    // what the filter found nothing in.
    static constexpr std::size_t kGroupWords = std::size_t(HitStore::kCountedPositions / 64);

    // Writes the filter's bits for every word of the positions 0 to count - 1: a mark for
    // each position that starts with the pattern's first byte and holds its last byte
    // length - 1 further on; notes the groups that hold any. Spans that are a run of the
    // pattern get their hits at once.
    void filter(const quint8* data, qint64 count) {
        for (qint64 group = 0; group < count; group += HitStore::kCountedPositions) {
            const qint64 end = std::min(group + HitStore::kCountedPositions, count);
            quint64 any = 0;
            if (!uniform_) {
                any = linesOf(data, group, end);
            } else {
                for (qint64 i = group; i < end; i += kNoOverlapSpan) {
                    if (i + kNoOverlapSpan <= count && isRun(data + i)) {
                        const std::size_t s = std::size_t(i / kNoOverlapSpan);
                        runs_[s / 64] |= quint64(1) << (s % 64);
                        std::memcpy(bits_.get() + s * kSpanWords, runBits_.data(), sizeof runBits_);
                        any |= 1;
                    } else {
                        any |= linesOf(data, i, std::min(i + kNoOverlapSpan, count));
                    }
                }
            }
            const std::size_t g = std::size_t(group / HitStore::kCountedPositions);
            marked_[g / 64] |= quint64(any != 0) << (g % 64);
        }
    }

    // The filter's bits for the positions from (a multiple of 64) to to - 1, written
    // whether or not they hold marks: dense marks make a test mispredict. Returns them
    // ORed together. A pattern of one byte needs one compare.
    quint64 linesOf(const quint8* data, qint64 from, qint64 to) {
        return length_ == 1 ? lines<true>(data, from, to) : lines<false>(data, from, to);
    }
    template <bool kOneByte> quint64 lines(const quint8* data, qint64 from, qint64 to) {
        quint64 any = 0;
        qint64 i = from;
        const quint8* const tail = data + length_ - 1;
        for (; i + 64 <= to; i += 64) {
            const quint64 mask = lineMatches<kOneByte>(data + i, tail + i);
            bits_[std::size_t(i / 64)] = mask;
            any |= mask;
        }
        if (i < to) {
            const quint64 mask = partMatches(data + i, to - i);
            bits_[std::size_t(i / 64)] = mask;
            any |= mask;
        }
        return any;
    }

    // Whether the bytes of a span at at, and the length - 1 behind it, all hold the
    // pattern's byte. Most spans that are no run differ in their first line already.
    bool isRun(const quint8* at) const {
        return holdsOnly(at, 64) && holdsOnly(at + 64, kNoOverlapSpan - 64 + length_ - 1);
    }

    // Whether the n bytes at at (16 or more) all hold the pattern's byte.
    bool holdsOnly(const quint8* at, qint64 n) const {
#ifdef __SSE2__
        const auto differ = [&](qint64 k) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + k));
            return _mm_xor_si128(v, firstLanes_);
        };
        __m128i any = _mm_setzero_si128();
        qint64 k = 0;
        for (; k + 64 <= n; k += 64) {
            any = _mm_or_si128(any, _mm_or_si128(_mm_or_si128(differ(k), differ(k + 16)),
                                                 _mm_or_si128(differ(k + 32), differ(k + 48))));
        }
        for (; k + 16 <= n; k += 16)
            any = _mm_or_si128(any, differ(k));
        if (k < n)
            any = _mm_or_si128(any, differ(n - 16));
        return _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF;
#else
        return std::all_of(at, at + n, [this](quint8 b) { return b == first_; });
#endif
    }

    [[nodiscard]] bool isRunSpan(std::size_t s) const {
        return (runs_[s / 64] >> (s % 64)) & 1;
    }

    // The filter's bits for the 64 positions at at, whose last bytes are at tail.
    template <bool kOneByte> quint64 lineMatches(const quint8* at, const quint8* tail) const {
#ifdef __SSE2__
        const __m128i first = firstLanes_;
        const __m128i last = lastLanes_;
        const __m128i m0 = matchFirstAndLast<kOneByte>(at, tail, first, last);
        const __m128i m1 = matchFirstAndLast<kOneByte>(at + 16, tail + 16, first, last);
        const __m128i m2 = matchFirstAndLast<kOneByte>(at + 32, tail + 32, first, last);
        const __m128i m3 = matchFirstAndLast<kOneByte>(at + 48, tail + 48, first, last);
        return quint64(quint32(_mm_movemask_epi8(m0))) |
               quint64(quint32(_mm_movemask_epi8(m1))) << 16 |
               quint64(quint32(_mm_movemask_epi8(m2))) << 32 |
               quint64(quint32(_mm_movemask_epi8(m3))) << 48;
#else
        (void)tail;
        return partMatches(at, 64);
#endif
    }

    // The same for the first n (at most 64) of them.
    quint64 partMatches(const quint8* at, qint64 n) const {
        quint64 mask = 0;
        for (qint64 k = 0; k < n; ++k) {
            if (at[k] == first_ && at[k + length_ - 1] == last_)
                mask |= quint64(1) << k;
        }
        return mask;
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
    template <bool kOneByte>
    static __m128i matchFirstAndLast(const quint8* at, const quint8* atLast, __m128i first,
                                     __m128i last) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        if constexpr (kOneByte)
            return _mm_cmpeq_epi8(a, first);
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(atLast));
        return _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last));
    }
#endif

    // Keeps, of the marked positions of the region, the hits: those whose middle bytes
    // match too and that the block rule allows. A region starts at a multiple of the span,
    // and a word of 64 positions lies in one span. A run span holds its hits already.
    void applyRule(const quint8* data) {
        qint64 next = 0; // the first position the rule allows
        forEachMarkedGroup([&](std::size_t first) {
            for (std::size_t w = first; w < first + kGroupWords; w += kSpanWords) {
                if (isRunSpan(w / kSpanWords))
                    next = NextCandidate(qint64(w) * 64 + runLast_, length_);
                else
                    for (std::size_t k = w; k < w + kSpanWords; ++k)
                        keepWordHits(data, k, next);
            }
        });
    }

    // The same for word w, after the hits before it allowed next on.
    void keepWordHits(const quint8* data, std::size_t w, qint64& next) {
        quint64 matches = bits_[w];
        if (matches == 0)
            return;
        const qint64 base = qint64(w) * 64;
        const qint64 skip = next - base;
        if (skip >= 64) {
            bits_[w] = 0;
            return;
        }
        const int from = int(std::max<qint64>(skip, 0));
        matches &= ~quint64(0) << from;
        quint64 hits = 0;
        if (uniform_ && from + length_ - 1 <= 64 &&
            (matches | ~(~quint64(0) << from)) == ~quint64(0)) {
            // A pattern of one byte value, and every position from the first allowed on
            // starts with it and holds it length - 1 further on: the bytes between are
            // that value too, so every position matches, and the hits lie where the rule
            // goes from the first. This is a run of that byte, as in a stretch of zeros.
            hits = periodic_ << from;
        } else {
            hits = wordHits(data + base, base, matches);
        }
        bits_[w] = hits;
        if (hits != 0)
            next = NextCandidate(base + 63 - std::countl_zero(hits), length_);
    }

    // The hits among the positions of one word at (bit k: position base + k) that pass
    // the filter, all of them allowed by the hits before the word.
    quint64 wordHits(const quint8* at, qint64 base, quint64 matches) const {
        if (length_ == 2) {
            // The filter tests two bytes: that is the whole test. In a run of matches the
            // rule takes its first position and every second one after it: the periodic
            // bits shifted to the run's start. Adding a run's first bit clears the whole
            // run (the carry runs to its end), which picks out the runs that start at an
            // even position.
            const quint64 starts = matches & ~(matches << 1);
            const quint64 evenRuns = matches & ~(matches + (starts & periodic_));
            return (evenRuns & periodic_) | ((matches ^ evenRuns) & ~periodic_);
        }
        // Only the positions the rule comes to are compared in full, as the window
        // algorithm compares them.
        quint64 hits = 0;
        for (quint64 m = matches; m != 0;) {
            const int k = std::countr_zero(m);
            if (!middleMatches(at + k)) {
                m &= m - 1;
                continue;
            }
            hits |= quint64(1) << k;
            const qint64 after = NextCandidate(base + k, length_) - base;
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
    bool uniform_; // every byte of the pattern is the same
#ifdef __SSE2__
    __m128i firstLanes_ = _mm_set1_epi8(char(first_));
    __m128i lastLanes_ = _mm_set1_epi8(char(last_));
#endif
    // The hits of a run span, their number and the last of them, and those of its first
    // word: the rule's positions from 0 on.
    std::array<quint64, kSpanWords> runBits_ = {};
    int runHits_ = 0;
    qint64 runLast_ = 0;
    quint64 periodic_ = 0;
    using Groups = std::array<quint64, kRegionWords / kGroupWords / 64>;

    std::unique_ptr<quint64[]> bits_;
    Groups marked_ = {}; // bit g: group g holds marks
    // bit s: span s is a run of the pattern's byte
    std::array<quint64, kRegionWords / kSpanWords / 64> runs_ = {};
    std::array<quint16, kRegionWords / kGroupWords> counts_ = {};
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
    static_assert(kChunk % kNoOverlapSpan == 0);
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
        HitStore::PagePool pool;
        for (qint64 start = k * kChunk; start < end; start += 2 * kChunk) {
            const std::size_t want = std::size_t(std::min(kChunk + length - 1, end - start));
            const std::size_t got = ReadFully(readAt, start, buffer, want);
            parts.push_back({HitStore(hits.form(), start), got < want});
            const qint64 positions = std::min(qint64(got) - length + 1, kChunk);
            if (positions > 0) {
                const RegionScanner::Hits found = scanner.scan(buffer, positions);
                parts.back().hits.addRegion(start, found.bits, found.counts, &pool);
            }
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
