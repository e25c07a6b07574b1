#include "core/search/HitStore.h"

#include "core/system/ReleaseMemory.h"

#include <algorithm>
#include <array>
#include <bit>

namespace zirpel {

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

HitStore::Bitmap HitStore::BitmapPool::copyOf(std::span<const quint64> bits) {
    if (last_ && bits.size() == lastWords_ && std::equal(bits.begin(), bits.end(), last_))
        return Bitmap(const_cast<quint64*>(last_), {block_});
    constexpr std::size_t kPerBlock = kLargePage / (kWords * sizeof(quint64));
    static_assert(kPerBlock >= 1 && kLargePage % (kWords * sizeof(quint64)) == 0);
    Bitmap copy;
    if (block_ && taken_ < kPerBlock) {
        copy = Bitmap(static_cast<quint64*>(block_.get()) + taken_++ * kWords, {block_});
    } else if (void* const block = AllocateLargeBlock(kLargePage)) {
        block_ = std::shared_ptr<void>(block, [](void* b) { FreeLargeBlock(b, kLargePage); });
        taken_ = 1;
        copy = Bitmap(static_cast<quint64*>(block), {block_});
    } else {
        copy = Bitmap(new quint64[kWords], {});
    }
    std::fill(std::copy(bits.begin(), bits.end(), copy.get()), copy.get() + kWords, 0);
    // Only a bitmap in a block outlives its region when shared.
    last_ = copy.get_deleter().block ? copy.get() : nullptr;
    lastWords_ = bits.size();
    return copy;
}

void HitStore::addRegion(qint64 start, std::span<const quint64> bits,
                         std::span<const quint16> counts, BitmapPool* pool) {
    constexpr std::size_t kBlockWords = std::size_t(1) << (kBlockShift - 6);
    Q_ASSERT(start % kRegionSize == 0 && bits.size() <= kWords);
    Q_ASSERT(counts.empty() || counts.size() == (bits.size() + kBlockWords - 1) / kBlockWords);
    std::array<quint16, kBlocks> blockCounts{};
    quint32 count = 0;
    for (std::size_t b = 0; b * kBlockWords < bits.size(); ++b) {
        int n = 0;
        if (!counts.empty()) {
            n = counts[b];
        } else {
            for (std::size_t w = b * kBlockWords; w < std::min(bits.size(), (b + 1) * kBlockWords);
                 ++w) {
                // Runs of one byte value searched for that byte fill whole words.
                n += bits[w] == ~quint64(0) ? 64 : CountBits(bits[w]);
            }
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
        if (pool) {
            region.bits = pool->copyOf(bits);
        } else {
            region.bits = Bitmap(new quint64[kWords], {});
            std::fill(std::copy(bits.begin(), bits.end(), region.bits.get()),
                      region.bits.get() + kWords, 0);
        }
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
    // Equal bitmaps may share their memory.
    std::vector<const quint64*> bitmaps;
    for (const Region& r : regions_) {
        if (r.bits) {
            bitmaps.push_back(r.bits.get());
            bytes += qint64(kBlocks * 2);
        } else {
            bytes += qint64(r.offsets.capacity() * 4);
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
