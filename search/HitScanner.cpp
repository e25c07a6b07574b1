#include "search/HitScanner.h"

#include "platform/BinaryFile.h"
#include "platform/ReleaseMemory.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zirpel {

namespace {

// Alignment of the read buffers.
constexpr std::size_t kAlign = 64;

// Offsets are signed 32-bit: positions from here on are not reported.
constexpr qint64 kOffsetLimit = qint64(1) << 31;

// Tests candidate positions against the pattern and applies the block rule. Positions
// are tested in ascending order; a position that matches becomes a hit unless it lies
// before the next candidate the rule allows.
class Matcher {
public:
    Matcher(std::span<const quint8> pattern, HitStore& hits)
        : pattern_(pattern.data()), length_(qint64(pattern.size())), first_(pattern.front()),
          last_(pattern.back()), hits_(hits) {}

    // Tests the positions 0 to count - 1 of data, which holds the bytes from offset start
    // on, at least count + length - 1 of them.
    void scan(const quint8* data, qint64 count, qint64 start) {
        qint64 i = 0;
        qint64 next = nextCandidate_ - start;
#ifdef __SSE2__
        // Filter 64 positions at a time on their first and last pattern byte; only the
        // positions that pass both are compared in full.
        const quint8* const tail = data + length_ - 1;
        // The filter's words start at file offsets that are multiples of 64, so that
        // the hits of a word go into the store at once; the positions in front of the
        // first such word are tested one by one below.
        const qint64 head = std::min(count, (64 - start % 64) % 64);
        scanOneByOne(data, head, start, i, next);
        for (;;) {
            i = std::max(i, next);
            // Back to the start of the word; positions before the next candidate drop out.
            i = head + (i - head) / 64 * 64;
            quint64 mask = 0;
            i = nextPassingWord(data, tail, i, count, first_, last_, mask);
            if (i + 64 > count)
                break;
            // The filter tests two bytes: up to that length it is the whole test.
            if (length_ > 2) {
                for (quint64 m = mask; m != 0; m &= m - 1) {
                    const int k = std::countr_zero(m);
                    if (!middleMatches(data + i + k))
                        mask &= ~(quint64(1) << k);
                }
            }
            takeWord(start + i, mask);
            next = nextCandidate_ - start;
            i += 64;
        }
#endif
        // What is left, or everything where SSE2 is missing.
        scanOneByOne(data, count, start, i, next);
    }

private:
    // Tests positions i to count - 1 one at a time.
    void scanOneByOne(const quint8* data, qint64 count, qint64 start, qint64& i, qint64& next) {
        while (i < count) {
            if (i < next) {
                i = next;
                continue;
            }
            if (data[i] == first_ && data[i + length_ - 1] == last_ && middleMatches(data + i)) {
                accept(start + i);
                next = nextCandidate_ - start;
            } else {
                ++i;
            }
        }
    }

    // Applies the block rule to the matching positions base + k (bit k of matches) and
    // stores the hits among them. base is a multiple of 64, so the word lies in one block.
    void takeWord(qint64 base, quint64 matches) {
        const qint64 skip = nextCandidate_ - base;
        if (skip >= 64)
            return;
        if (skip > 0)
            matches &= ~quint64(0) << skip;
        if (matches == 0)
            return;
        quint64 hits = 0;
        if (length_ == 1) {
            hits = matches;
        } else if (length_ == 2) {
            // In a run of matches the hits are its first position and every second one
            // after it. Adding a run's first bit clears the whole run (the carry runs to
            // its end), which picks out the runs that start at an even position.
            constexpr quint64 even = 0x5555555555555555;
            const quint64 starts = matches & ~(matches << 1);
            const quint64 evenRuns = matches & ~(matches + (starts & even));
            hits = (evenRuns & even) | ((matches ^ evenRuns) & ~even);
        } else {
            for (quint64 m = matches; m != 0;) {
                const int k = std::countr_zero(m);
                hits |= quint64(1) << k;
                const qint64 after = k + length_;
                m = after >= 64 ? 0 : m & (~quint64(0) << after);
            }
        }
        hits_.addWord(base, hits);
        const qint64 last = base + 63 - std::countl_zero(hits);
        const qint64 nextBlock = (base / kHitBlockSize + 1) * kHitBlockSize;
        nextCandidate_ = std::min(last + length_, nextBlock);
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

    // The first i, in steps of 64, whose 64 positions hold one that passes the filter,
    // with bit k of mask set where position i + k passes; or the first i whose 64
    // positions do not all lie before count. A tight loop without calls, so that
    // everything stays in registers.
    static qint64 nextPassingWord(const quint8* data, const quint8* tail, qint64 i, qint64 count,
                                  quint8 firstByte, quint8 lastByte, quint64& mask) {
        const __m128i first = _mm_set1_epi8(char(firstByte));
        const __m128i last = _mm_set1_epi8(char(lastByte));
        for (; i + 64 <= count; i += 64) {
            const quint8* const at = data + i;
            const quint8* const atLast = tail + i;
            const __m128i m0 = matchFirstAndLast(at, atLast, first, last);
            const __m128i m1 = matchFirstAndLast(at + 16, atLast + 16, first, last);
            const __m128i m2 = matchFirstAndLast(at + 32, atLast + 32, first, last);
            const __m128i m3 = matchFirstAndLast(at + 48, atLast + 48, first, last);
            const __m128i any = _mm_or_si128(_mm_or_si128(m0, m1), _mm_or_si128(m2, m3));
            if (_mm_movemask_epi8(any) != 0) {
                mask = quint64(quint32(_mm_movemask_epi8(m0))) |
                       quint64(quint32(_mm_movemask_epi8(m1))) << 16 |
                       quint64(quint32(_mm_movemask_epi8(m2))) << 32 |
                       quint64(quint32(_mm_movemask_epi8(m3))) << 48;
                break;
            }
        }
        return i;
    }
#endif

    // The bytes between the first and the last, which the filter has already checked.
    bool middleMatches(const quint8* at) const {
        // Patterns are short: a loop beats a call to memcmp.
        for (qint64 k = 1; k < length_ - 1; ++k) {
            if (at[k] != pattern_[k])
                return false;
        }
        return true;
    }

    void accept(qint64 offset) {
        hits_.add(qint32(offset));
        const qint64 nextBlock = (offset / kHitBlockSize + 1) * kHitBlockSize;
        nextCandidate_ = std::min(offset + length_, nextBlock);
    }

    const quint8* pattern_;
    qint64 length_;
    quint8 first_;
    quint8 last_;
    qint64 nextCandidate_ = 0;
    HitStore& hits_;
};

// Reads until count bytes are in or a read gives nothing.
std::size_t Fill(const ReadBlock& read, quint8* buffer, std::size_t count) {
    std::size_t got = 0;
    while (got < count) {
        const std::size_t n = read(buffer + got, count - got);
        if (n == 0)
            break;
        got += std::min(n, count - got);
    }
    return got;
}

// A counting semaphore from a mutex and a condition variable: std::counting_semaphore
// deadlocks at its first hand-off when built with MinGW-w64 GCC 12.
class Tokens {
public:
    explicit Tokens(int count) : count_(count) {}
    void acquire() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return count_ > 0; });
        --count_;
    }
    void release(int n = 1) {
        {
            std::lock_guard lock(mutex_);
            count_ += n;
        }
        ready_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    int count_;
};

// The data in blocks of blockSize bytes, each at a 64-byte aligned address with room for
// `room` bytes before it: copying from the page cache into a misaligned buffer can take
// several times as long. Large blocks are read ahead on a second thread into two
// alternating buffers, so that copying the next block out of the page cache overlaps the
// scan of this one; small blocks are read when asked for.
class BlockSource {
public:
    struct Block {
        quint8* data;
        std::size_t size; // less than blockSize at the end of the data
    };

    BlockSource(const ReadBlock& read, std::size_t blockSize, std::size_t room)
        : read_(read), blockSize_(blockSize) {
        const int buffers = blockSize >= kReadAheadMin ? 2 : 1;
        for (int k = 0; k < buffers; ++k) {
            storage_[k] = std::make_unique_for_overwrite<quint8[]>(kAlign + room + blockSize);
            const auto address = reinterpret_cast<std::uintptr_t>(storage_[k].get());
            target_[k] = storage_[k].get() + (kAlign - address % kAlign) % kAlign + room;
        }
        if (buffers == 2)
            reader_ = std::thread([this] { readAhead(); });
    }

    ~BlockSource() {
        if (reader_.joinable()) {
            stop_ = true;
            free_.release(2);
            reader_.join();
        }
    }

    BlockSource(const BlockSource&) = delete;
    BlockSource& operator=(const BlockSource&) = delete;

    // The next block. The block returned before may be overwritten from now on.
    Block next() {
        if (!reader_.joinable())
            return {target_[0], Fill(read_, target_[0], blockSize_)};
        if (taken_ > 0)
            free_.release();
        filled_.acquire();
        const int k = taken_++ % 2;
        return {target_[k], size_[k]};
    }

private:
    static constexpr std::size_t kReadAheadMin = std::size_t(256) << 10;

    void readAhead() {
        for (int k = 0;; k = 1 - k) {
            free_.acquire();
            if (stop_)
                return;
            size_[k] = Fill(read_, target_[k], blockSize_);
            const bool last = size_[k] < blockSize_;
            filled_.release();
            if (last)
                return;
        }
    }

    const ReadBlock& read_;
    const std::size_t blockSize_;
    std::unique_ptr<quint8[]> storage_[2];
    quint8* target_[2] = {};
    std::size_t size_[2] = {};
    int taken_ = 0;
    Tokens free_{2}; // buffers the reader may fill
    Tokens filled_{0};
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

} // namespace

void ScanHits(std::span<const quint8> pattern, const ReadBlock& read, HitStore& hits,
              std::size_t readSize) {
    if (pattern.empty())
        return;
    readSize = std::max<std::size_t>(readSize, 1);
    // The last length - 1 bytes of each block go in front of the next: positions whose
    // pattern reaches into the next block are tested then.
    const qint64 carry = qint64(pattern.size()) - 1;
    std::vector<quint8> carried(std::size_t(carry) + 1);
    qint64 kept = 0;
    const std::size_t room = (std::size_t(carry) + kAlign - 1) / kAlign * kAlign;
    BlockSource source(read, readSize, room);

    Matcher matcher(pattern, hits);
    qint64 start = 0;
    for (;;) {
        const BlockSource::Block block = source.next();
        quint8* const data = block.data - kept;
        std::memcpy(data, carried.data(), std::size_t(kept));
        const qint64 have = kept + qint64(block.size);
        qint64 count = std::max<qint64>(have - carry, 0);
        const bool atLimit = start + count >= kOffsetLimit;
        if (atLimit)
            count = kOffsetLimit - start;
        matcher.scan(data, count, start);
        // A short block means the data has ended; what is left runs past its end.
        if (atLimit || block.size < readSize)
            break;
        start += count;
        kept = have - count;
        std::memcpy(carried.data(), data + count, std::size_t(kept));
    }
}

bool ScanHitsAt(std::span<const quint8> pattern, const ReadAt& readAt, HitStore& hits,
                qint64 size) {
    if (pattern.empty())
        return true;
    constexpr qint64 kChunk = HitStore::kRegionSize;
    static_assert(kChunk % kHitBlockSize == 0);
    const std::size_t want = std::size_t(kChunk) + pattern.size() - 1;
    struct Part {
        HitStore hits;
        bool last;  // the data ended in this chunk or the bytes after it
        qint64 end; // where it ended
    };
    // Thread k scans the chunks k, k + 2, k + 4, ... until the data ends for it.
    const auto work = [&](int k, std::vector<Part>& parts) {
        const std::unique_ptr<quint8[]> storage =
            std::make_unique_for_overwrite<quint8[]>(want + kAlign);
        const auto address = reinterpret_cast<std::uintptr_t>(storage.get());
        quint8* const buffer = storage.get() + (kAlign - address % kAlign) % kAlign;
        for (qint64 start = k * kChunk; start < kOffsetLimit; start += 2 * kChunk) {
            std::size_t got = 0;
            while (got < want) {
                const std::size_t n = readAt(start + qint64(got), buffer + got, want - got);
                if (n == 0)
                    break;
                got += std::min(n, want - got);
            }
            parts.push_back({HitStore(hits.form(), start), got < want, start + qint64(got)});
            const qint64 positions = std::max<qint64>(qint64(got) - qint64(pattern.size()) + 1, 0);
            Matcher matcher(pattern, parts.back().hits);
            matcher.scan(buffer, std::min({positions, kChunk, kOffsetLimit - start}), start);
            if (parts.back().last)
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
        if (part.last)
            return part.end >= size;
    }
    return true;
}

bool ScanHits(std::span<const quint8> pattern, BinaryFile& file, HitStore& hits, qint64 size) {
    const bool whole = ScanHitsAt(
        pattern,
        [&file](qint64 offset, quint8* buffer, std::size_t count) {
            return file.readAt(offset, buffer, count);
        },
        hits, size);
    // The read buffers, freed on both threads, and the room the hit lists outgrew would
    // otherwise stay resident after the search.
    ReleaseFreedMemory();
    return whole;
}

} // namespace zirpel
