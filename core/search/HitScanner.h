// The scan of a whole file for a byte pattern, giving the offsets of the hits.
//
// Which positions are hits is fixed by the block rule: the file is cut into spans of 512
// positions; within a span hits do not overlap (the next candidate after a hit at c is
// c + length), but every span's first position is a candidate again, so after a hit at c
// the next candidate is min(c + length, the start of the next span). A position whose
// pattern would run past the end of the file is no hit. How the file is read (read size,
// filter) does not change the hits.
#pragma once

#include "core/search/HitStore.h"

#include <QtGlobal>
#include <cstddef>
#include <functional>
#include <span>

namespace zirpel {

class BinaryFile;

// The block rule's span: hits never overlap within the positions from a multiple of this
// on to the next.
inline constexpr qint64 kNoOverlapSpan = 512;

// Reads up to count bytes at offset into buffer and returns how many it read; 0 at the
// end of the data or on a read error, which ends the scan there. Two threads call it at
// once. It must not throw.
using ReadAt = std::function<std::size_t(qint64 offset, quint8* buffer, std::size_t count)>;

// Appends the offsets of the hits of pattern in the first size bytes of the data to hits,
// in ascending order; bytes behind them are never read. The hits of a span
// depend on its bytes (and the length - 1 behind it) alone, so the store's regions are
// scanned independently: this thread and a second one each read a region and scan it
// while it is still in their processor's cache, taking turns; the second thread ends
// before the function returns. Memory besides the hits stays at a read buffer and a
// region's bitmap for each thread. False when the data ended before size (a read failed,
// or the data was cut short): the hits are then those before the first position that
// could not be read, whichever thread failed. An empty pattern has no hits. Offsets stop
// below 2^31.
bool ScanHitsAt(std::span<const quint8> pattern, const ReadAt& readAt, HitStore& hits, qint64 size);

// The same over the first size bytes of a file, read at explicit offsets: the stream's
// position is neither used nor moved. What the scan freed goes back to the system before
// it returns.
bool ScanHits(std::span<const quint8> pattern, BinaryFile& file, HitStore& hits, qint64 size);

} // namespace zirpel
