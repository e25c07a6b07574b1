#include "search/HitStore.h"

#include <algorithm>
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
        // A finished list gives back the room its growth left over.
        if (!regions_.empty() && !regions_.back().bits)
            regions_.back().offsets.shrink_to_fit();
        regions_.reserve(std::max(r + 1, regions_.size() * 2));
        while (regions_.size() <= r) {
            regions_.emplace_back();
            regions_.back().before = count_;
        }
    }
    return regions_[r];
}

void HitStore::makeBitmap(Region& region) {
    region.bits = std::make_unique<quint64[]>(kWords);
    region.blockCounts = std::make_unique<quint16[]>(kBlocks);
    // A word at a time: dense lists have many offsets in one word.
    std::size_t w = 0;
    quint64 word = 0;
    for (const qint32 offset : region.offsets) {
        const qint64 p = offset & (kRegionSize - 1);
        if (std::size_t(p >> 6) != w) {
            region.bits[w] = word;
            region.blockCounts[w >> (kBlockShift - 6)] += quint16(CountBits(word));
            w = std::size_t(p >> 6);
            word = 0;
        }
        word |= quint64(1) << (p & 63);
    }
    region.bits[w] = word;
    region.blockCounts[w >> (kBlockShift - 6)] += quint16(CountBits(word));
    std::vector<qint32>().swap(region.offsets);
}

void HitStore::add(qint32 offset) {
    Region& region = regionFor(offset);
    if (!region.bits) {
        if (form_ == Form::Bitmap || (form_ == Form::Auto && region.count >= kListMax))
            makeBitmap(region);
    }
    if (region.bits) {
        const qint64 p = offset & (kRegionSize - 1);
        region.bits[std::size_t(p >> 6)] |= quint64(1) << (p & 63);
        ++region.blockCounts[std::size_t(p >> kBlockShift)];
    } else {
        region.offsets.push_back(offset);
    }
    ++region.count;
    ++count_;
}

void HitStore::addWord(qint64 base, quint64 bits) {
    if (bits == 0)
        return;
    // Mostly the words go into the region of the word before.
    const std::size_t r = std::size_t(base >> kRegionShift) - origin_;
    Region& region = r + 1 == regions_.size() ? regions_.back() : regionFor(base);
    // Runs of one byte value searched for that byte fill whole words.
    const int n = bits == ~quint64(0) ? 64 : CountBits(bits);
    if (!region.bits) {
        if (form_ == Form::Bitmap || (form_ == Form::Auto && region.count + n > kListMax))
            makeBitmap(region);
    }
    if (region.bits) {
        const qint64 p = base & (kRegionSize - 1);
        region.bits[std::size_t(p >> 6)] |= bits;
        region.blockCounts[std::size_t(p >> kBlockShift)] += quint16(n);
    } else {
        const std::size_t at = region.offsets.size();
        region.offsets.resize(at + std::size_t(n));
        qint32* out = region.offsets.data() + at;
        for (; bits != 0; bits &= bits - 1)
            *out++ = qint32(base + std::countr_zero(bits));
    }
    region.count += quint32(n);
    count_ += n;
}

qint32 HitStore::at(qint64 k) const {
    Q_ASSERT(k >= 0 && k < count_);
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
    if (!regions_.empty() && !regions_.back().bits)
        regions_.back().offsets.shrink_to_fit();
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
