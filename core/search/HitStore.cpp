#include "core/search/HitStore.h"

#include "core/system/ReleaseMemory.h"

#include <algorithm>
#include <array>
#include <bit>

namespace zirpel {

namespace {

#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__) && !defined(__POPCNT__)
#define ZIRPEL_COUNT_BY_INSTRUCTION
__attribute__((target("popcnt"))) int CountByInstruction(std::span<const quint64> words) {
    int n = 0;
    for (const quint64 w : words)
        n += __builtin_popcountll(w);
    return n;
}
#endif

} // namespace

int CountBits(std::span<const quint64> words) {
#ifdef ZIRPEL_COUNT_BY_INSTRUCTION
    static const bool hasInstruction = __builtin_cpu_supports("popcnt");
    if (hasInstruction)
        return CountByInstruction(words);
#endif
    int n = 0;
    for (const quint64 w : words)
        n += CountBits(w);
    return n;
}

HitStore::Region& HitStore::regionFor(qint64 offset) {
    const std::size_t r = std::size_t(offset >> kRegionShift) - origin_;
    if (r >= regions_.size()) {
        regions_.reserve(std::max(r + 1, regions_.size() * 2));
        while (regions_.size() <= r) {
            regions_.emplace_back();
            regions_.back().before = count_;
        }
    }
    return regions_[r];
}

void* HitStore::PagePool::take(std::size_t size) {
    if (size > kLargePage)
        return nullptr;
    if (!page_ || used_ + size > kLargePage) {
        void* const page = AllocateLargeBlock(kLargePage);
        if (!page)
            return nullptr;
        page_ = std::shared_ptr<void>(page, [](void* p) { FreeLargeBlock(p, kLargePage); });
        used_ = 0;
        last_ = nullptr; // shared with page_ from now on, it would outlive its own page
    }
    void* const piece = static_cast<char*>(page_.get()) + used_;
    used_ += size;
    return piece;
}

HitStore::List HitStore::PagePool::list(std::size_t count) {
    // A list within a small page costs no more page faults on the heap, and a few hits do
    // not hold a large page.
    if (count * sizeof(qint32) > 4096) {
        if (void* const piece = take((count * sizeof(qint32) + 63) / 64 * 64))
            return List(static_cast<qint32*>(piece), {page_});
    }
    return List(new qint32[count], {});
}

HitStore::Bitmap HitStore::PagePool::copyOf(std::span<const quint64> bits) {
    if (last_ && bits.size() == lastWords_ && std::equal(bits.begin(), bits.end(), last_))
        return Bitmap(const_cast<quint64*>(last_), {page_});
    static_assert(kLargePage % (kWords * sizeof(quint64)) == 0);
    Bitmap copy;
    if (void* const piece = take(kWords * sizeof(quint64)))
        copy = Bitmap(static_cast<quint64*>(piece), {page_});
    else
        copy = Bitmap(new quint64[kWords], {});
    std::fill(std::copy(bits.begin(), bits.end(), copy.get()), copy.get() + kWords, 0);
    // Only a bitmap in a page outlives its region when shared.
    last_ = copy.get_deleter().page ? copy.get() : nullptr;
    lastWords_ = bits.size();
    return copy;
}

void HitStore::addRegion(qint64 start, std::span<const quint64> bits,
                         std::span<const quint16> counts, PagePool* pool) {
    Q_ASSERT(start % kRegionSize == 0 && bits.size() <= kWords);
    Q_ASSERT(counts.empty() || counts.size() == (bits.size() + kCountedWords - 1) / kCountedWords);
    std::array<quint16, kCountedSpans> spanCounts{};
    quint32 count = 0;
    for (std::size_t c = 0; c * kCountedWords < bits.size(); ++c) {
        int n = 0;
        if (!counts.empty()) {
            n = counts[c];
        } else {
            n = CountBits(bits.subspan(c * kCountedWords,
                                       std::min(bits.size() - c * kCountedWords, kCountedWords)));
        }
        spanCounts[c] = quint16(n);
        count += quint32(n);
    }
    if (count == 0)
        return;
    Region& region = regionFor(start);
    region.count = count;
    count_ += count;
    if (form_ == Form::Bitmap || (form_ == Form::Auto && count > kListMax)) {
        if (pool) {
            region.bits = pool->copyOf(bits);
        } else {
            region.bits = Bitmap(new quint64[kWords], {});
            std::fill(std::copy(bits.begin(), bits.end(), region.bits.get()),
                      region.bits.get() + kWords, 0);
        }
        region.counts = std::make_unique_for_overwrite<quint16[]>(kCountedSpans);
        std::copy(spanCounts.begin(), spanCounts.end(), region.counts.get());
        return;
    }
    // An offset of every word is written whether it holds one or not, so that words of no
    // or one hit, the most in dense text, cost no mispredicted test: the list has room for
    // one more. The top bit only spares the count of trailing zeros its test for an empty
    // word.
    region.offsets = pool ? pool->list(count + 1) : List(new qint32[count + 1], {});
    qint32* out = region.offsets.get();
    constexpr quint64 kTop = quint64(1) << 63;
    for (std::size_t c = 0; c < kCountedSpans; ++c) {
        if (spanCounts[c] == 0)
            continue;
        const std::size_t end = std::min(bits.size(), (c + 1) * kCountedWords);
        for (std::size_t w = c * kCountedWords; w < end; ++w) {
            quint64 word = bits[w];
            const qint64 base = start + qint64(w) * 64;
            *out = qint32(base + std::countr_zero(word | kTop));
            out += word != 0;
            word &= word - 1;
            for (; word != 0; word &= word - 1)
                *out++ = qint32(base + std::countr_zero(word));
        }
    }
}

qint32 HitStore::at(qint64 k) const {
    if (k < 0 || k >= count_)
        return -1;
    // The last region that starts at or before hit k holds it.
    const auto after = std::upper_bound(regions_.begin(), regions_.end(), k,
                                        [](qint64 v, const Region& r) { return v < r.before; });
    const Region& region = *(after - 1);
    const qint64 regionStart = qint64(std::size_t(after - 1 - regions_.begin()) + origin_)
                               << kRegionShift;
    qint64 rest = k - region.before;
    if (!region.bits)
        return region.offsets[std::size_t(rest)];
    std::size_t span = 0;
    while (rest >= region.counts[span])
        rest -= region.counts[span++];
    for (std::size_t w = span * kCountedWords;; ++w) {
        quint64 word = region.bits[w];
        const int n = CountBits(word);
        if (rest < n) {
            for (; rest > 0; --rest)
                word &= word - 1;
            return qint32(regionStart + qint64(w) * 64 + std::countr_zero(word));
        }
        rest -= n;
    }
}

void HitStore::append(HitStore&& part) {
    if (part.regions_.empty())
        return;
    Q_ASSERT(part.origin_ >= origin_ + regions_.size() || part.count_ == 0);
    const std::size_t first = part.origin_ - origin_;
    regions_.reserve(std::max(first + part.regions_.size(), regions_.size() * 2));
    while (regions_.size() < first) {
        regions_.emplace_back();
        regions_.back().before = count_;
    }
    for (Region& region : part.regions_) {
        region.before += count_;
        regions_.push_back(std::move(region));
    }
    count_ += part.count_;
    part.clear();
}

void HitStore::clear() {
    std::vector<Region>().swap(regions_);
    count_ = 0;
}

qint64 HitStore::bytesHeld() const {
    qint64 bytes = qint64(regions_.capacity() * sizeof(Region));
    // Equal bitmaps may share their memory.
    std::vector<const quint64*> bitmaps;
    for (const Region& r : regions_) {
        if (r.bits) {
            bitmaps.push_back(r.bits.get());
            bytes += qint64(kCountedSpans * 2);
        } else {
            bytes += qint64(r.count + 1) * 4;
        }
    }
    std::sort(bitmaps.begin(), bitmaps.end());
    const auto distinct = std::unique(bitmaps.begin(), bitmaps.end()) - bitmaps.begin();
    return bytes + qint64(distinct) * qint64(kWords * 8);
}

int HitStore::bitmapRegions() const {
    return int(std::count_if(regions_.begin(), regions_.end(),
                             [](const Region& r) { return bool(r.bits); }));
}

} // namespace zirpel
