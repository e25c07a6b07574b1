#include "search/HitScanner.h"

#include "platform/BinaryFile.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zirpel {

namespace {

// Offsets are signed 32-bit: positions from here on are not reported.
constexpr qint64 kOffsetLimit = qint64(1) << 31;

// Tests candidate positions against the pattern and applies the block rule. Positions
// are tested in ascending order; a position that matches becomes a hit unless it lies
// before the next candidate the rule allows.
class Matcher {
public:
    Matcher(std::span<const quint8> pattern, std::vector<qint32>& hits)
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
        const __m128i first = _mm_set1_epi8(char(first_));
        const __m128i last = _mm_set1_epi8(char(last_));
        const quint8* tail = data + length_ - 1;
        while (i + 64 <= count) {
            if (i < next) {
                i = next;
                continue;
            }
            const __m128i m0 = matchFirstAndLast(data + i, tail + i, first, last);
            const __m128i m1 = matchFirstAndLast(data + i + 16, tail + i + 16, first, last);
            const __m128i m2 = matchFirstAndLast(data + i + 32, tail + i + 32, first, last);
            const __m128i m3 = matchFirstAndLast(data + i + 48, tail + i + 48, first, last);
            if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(m0, m1), _mm_or_si128(m2, m3))) == 0) {
                i += 64;
                continue;
            }
            quint64 mask = quint64(quint32(_mm_movemask_epi8(m0))) |
                           quint64(quint32(_mm_movemask_epi8(m1))) << 16 |
                           quint64(quint32(_mm_movemask_epi8(m2))) << 32 |
                           quint64(quint32(_mm_movemask_epi8(m3))) << 48;
            while (mask != 0) {
                const qint64 p = i + __builtin_ctzll(mask);
                mask &= mask - 1;
                if (p >= next && middleMatches(data + p)) {
                    accept(start + p);
                    next = nextCandidate_ - start;
                }
            }
            i += 64;
        }
#endif
        // What is left, or everything where SSE2 is missing.
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

private:
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
        hits_.push_back(qint32(offset));
        const qint64 nextBlock = (offset / kHitBlockSize + 1) * kHitBlockSize;
        nextCandidate_ = std::min(offset + length_, nextBlock);
    }

    const quint8* pattern_;
    qint64 length_;
    quint8 first_;
    quint8 last_;
    qint64 nextCandidate_ = 0;
    std::vector<qint32>& hits_;
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

} // namespace

std::vector<qint32> ScanHits(std::span<const quint8> pattern, const ReadBlock& read,
                             std::size_t readSize) {
    std::vector<qint32> hits;
    if (pattern.empty())
        return hits;
    readSize = std::max<std::size_t>(readSize, 1);
    const qint64 carry = qint64(pattern.size()) - 1;
    // The last length - 1 bytes of each read stay in front of the next: positions whose
    // pattern reaches into the next read are tested then.
    std::vector<quint8> buffer(std::size_t(carry) + readSize);
    Matcher matcher(pattern, hits);
    qint64 have = 0;
    qint64 start = 0;
    for (;;) {
        const std::size_t n = Fill(read, buffer.data() + have, readSize);
        have += qint64(n);
        qint64 count = have - carry;
        if (count > 0) {
            const bool atLimit = start + count >= kOffsetLimit;
            if (atLimit)
                count = kOffsetLimit - start;
            matcher.scan(buffer.data(), count, start);
            if (atLimit)
                break;
            std::memmove(buffer.data(), buffer.data() + count, std::size_t(have - count));
            start += count;
            have -= count;
        }
        // A short fill means the data has ended; what is left runs past its end.
        if (n < readSize)
            break;
    }
    return hits;
}

std::vector<qint32> ScanHits(std::span<const quint8> pattern, BinaryFile& file,
                             std::size_t readSize) {
    return ScanHits(
        pattern, [&file](quint8* buffer, std::size_t count) { return file.read(buffer, count); },
        readSize);
}

} // namespace zirpel
