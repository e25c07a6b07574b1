// Handing memory the program has freed back to the system, and keeping large blocks where
// that is cheap.
#pragma once

#include <cstddef>

namespace zirpel {

// Returns the free pages the C library's allocator keeps for later use to the system, in
// every thread's arena. With glibc, memory freed on a helper thread, or blocks of a few
// hundred KiB and more once larger ones have been freed, otherwise stay resident for good.
// Elsewhere the allocator gives such blocks back itself and this does nothing.
void ReleaseFreedMemory();

// Lets the allocator take blocks of up to 4 MiB from its heap rather than map each from
// the system on its own. A search of many hits allocates a list of up to 128 KiB for
// every MiB of the file: mapped one by one, each costs system calls and fresh page
// faults. Freed blocks go back with ReleaseFreedMemory.
// Elsewhere this does nothing.
void KeepLargeBlocksInHeap();

// A block of size bytes (a multiple of kLargePage), aligned to kLargePage, for memory that
// is filled soon and kept: where the system can back it with huge pages, the first
// touch of each kLargePage costs one page fault instead of 512 (filling 128 MiB of fresh
// pages otherwise takes longer than reading a gigabyte from the page cache). nullptr
// when the system gives none. Freed with FreeLargeBlock.
inline constexpr std::size_t kLargePage = std::size_t(2) << 20;
[[nodiscard]] void* AllocateLargeBlock(std::size_t size);
void FreeLargeBlock(void* block, std::size_t size);

} // namespace zirpel
