#include "core/search/HitStore.h"

#include <algorithm>
#include <array>
#include <bit>

namespace zirpel {

namespace {

// Without the processor's own instruction (not in the x86-64 baseline) std::popcount is a
// library call; this is as fast inline.
int CountBits(quint64 v) {
#ifdef __POPCNT__
    return std::popcount(v);
#else
    v = v - ((v >> 1) & 0x5555555555555555);
    v = (v & 0x3333333333333333) + ((v >> 2) & 0x3333333333333333);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0F;
    return int((v * 0x0101010101010101) >> 56);
#endif
}

} // namespace

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

void HitStore::addRegion(qint64 start, std::span<const quint64> bits) {
    Q_ASSERT(start % kRegionSize == 0 && bits.size() <= kWords);
    constexpr std::size_t kBlockWords = std::size_t(1) << (kBlockShift - 6);
    std::array<quint16, kBlocks> blockCounts{};
    quint32 count = 0;
    for (std::size_t b = 0; b * kBlockWords < bits.size(); ++b) {
        int n = 0;
        for (std::size_t w = b * kBlockWords; w < std::min(bits.size(), (b + 1) * kBlockWords);
             ++w) {
            // Runs of one byte value searched for that byte fill whole words.
            n += bits[w] == ~quint64(0) ? 64 : CountBits(bits[w]);
        }
        blockCounts[b] = quint16(n);
        count += quint32(n);
    }
    if (count == 0)
        return;
    Region& region = regionFor(start);
    region.count = count;
    count_ += count;
    if (form_ == Form::Bitmap || (form_ == Form::Auto && count > kListMax)) {
        region.bits = std::make_unique_for_overwrite<quint64[]>(kWords);
        std::fill(std::copy(bits.begin(), bits.end(), region.bits.get()),
                  region.bits.get() + kWords, 0);
        region.blockCounts = std::make_unique_for_overwrite<quint16[]>(kBlocks);
        std::copy(blockCounts.begin(), blockCounts.end(), region.blockCounts.get());
        return;
    }
    region.offsets.resize(count);
    qint32* out = region.offsets.data();
    for (std::size_t w = 0; w < bits.size(); ++w) {
        for (quint64 word = bits[w]; word != 0; word &= word - 1)
            *out++ = qint32(start + qint64(w) * 64 + std::countr_zero(word));
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
    std::size_t block = 0;
    while (rest >= region.blockCounts[block])
        rest -= region.blockCounts[block++];
    for (std::size_t w = block << (kBlockShift - 6);; ++w) {
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
    for (const Region& r : regions_)
        bytes += r.bits ? qint64(kWords * 8 + kBlocks * 2) : qint64(r.offsets.capacity() * 4);
    return bytes;
}

int HitStore::bitmapRegions() const {
    return int(std::count_if(regions_.begin(), regions_.end(),
                             [](const Region& r) { return bool(r.bits); }));
}

} // namespace zirpel
