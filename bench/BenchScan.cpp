// Throughput of the hit scan over 64 MiB held in memory, read at offsets by two threads
// as from a page-cached file: a rare pattern, a hit every 16 bytes, a pattern whose first
// byte is everywhere, every byte a hit, and the copy alone as the floor.
#include "core/search/HitScanner.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cstring>

using namespace zirpel;

namespace {

constexpr qsizetype kDataSize = qsizetype(64) << 20;

const QByteArray& RandomData() {
    static const QByteArray data = [] {
        QByteArray d(kDataSize, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(d.data()), d.size() / 4);
        return d;
    }();
    return data;
}

const QByteArray& EverySixteen() {
    static const QByteArray data = [] {
        QByteArray d = RandomData();
        for (qsizetype i = 0; i + 4 <= d.size(); i += 16)
            std::memcpy(d.data() + i, "\xAB\xCD\xEF\x01", 4);
        return d;
    }();
    return data;
}

const QByteArray& MostlyZeros() {
    static const QByteArray data = [] {
        QByteArray d(kDataSize, '\0');
        for (qsizetype i = 0; i < d.size(); i += 4093)
            d[i] = '\x01';
        return d;
    }();
    return data;
}

// Copies the data out at the offsets asked for, as a read from the page cache does.
std::size_t Scan(const QByteArray& data, std::span<const quint8> pattern) {
    const ReadAt readAt = [&](qint64 offset, quint8* buffer, std::size_t count) {
        const std::size_t n = std::min(count, std::size_t(data.size() - offset));
        std::memcpy(buffer, data.constData() + offset, n);
        return n;
    };
    HitStore hits;
    ScanHitsAt(pattern, readAt, hits, data.size());
    return std::size_t(hits.count());
}

void Run(benchmark::State& state, const QByteArray& data, std::span<const quint8> pattern) {
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = Scan(data, pattern);
        benchmark::DoNotOptimize(hits);
    }
    state.SetBytesProcessed(qint64(state.iterations()) * data.size());
    state.counters["hits"] = double(hits);
}

void BM_ScanRarePattern(benchmark::State& state) {
    static const quint8 pattern[] = {0x5A, 0x17, 0xC3, 0xE9};
    Run(state, RandomData(), pattern);
}

void BM_ScanHitEvery16Bytes(benchmark::State& state) {
    static const quint8 pattern[] = {0xAB, 0xCD, 0xEF, 0x01};
    Run(state, EverySixteen(), pattern);
}

// A first byte of 00 is everywhere: a filter on the first byte alone would stall.
void BM_ScanZerosFirstByteEverywhere(benchmark::State& state) {
    static const quint8 pattern[] = {0x00, 0x00, 0x00, 0x02};
    Run(state, MostlyZeros(), pattern);
}

// Every byte a hit: the worst case of the hit store.
void BM_ScanZerosEveryByte(benchmark::State& state) {
    static const QByteArray zeros(kDataSize, '\0');
    static const quint8 pattern[] = {0x00};
    Run(state, zeros, pattern);
}

void BM_CopyOnly(benchmark::State& state) {
    const QByteArray& data = RandomData();
    std::vector<quint8> buffer(static_cast<std::size_t>(HitStore::kRegionSize));
    for (auto _ : state) {
        for (qsizetype pos = 0; pos < data.size(); pos += qsizetype(buffer.size())) {
            const std::size_t n = std::min(buffer.size(), std::size_t(data.size() - pos));
            std::memcpy(buffer.data(), data.constData() + pos, n);
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(qint64(state.iterations()) * data.size());
}

} // namespace

BENCHMARK(BM_CopyOnly)->Unit(benchmark::kMillisecond);
// The scan runs on two threads: wall time is what counts.
BENCHMARK(BM_ScanRarePattern)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanHitEvery16Bytes)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanZerosFirstByteEverywhere)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanZerosEveryByte)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
