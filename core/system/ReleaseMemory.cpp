#include "core/system/ReleaseMemory.h"

#include <cstdint>
#include <cstdlib> // defines __GLIBC__ where it applies
#include <new>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace zirpel {

void ReleaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void KeepLargeBlocksInHeap() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
#endif
}

void* AllocateLargeBlock(std::size_t size) {
#ifdef __linux__
    // Mapped with room to align it, then cut to the aligned part: huge pages need it.
    void* mapped = mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kLargePage - 1) & ~std::uintptr_t(kLargePage - 1);
    if (aligned > start)
        munmap(mapped, aligned - start);
    if (const std::size_t after = start + kLargePage - aligned; after > 0)
        munmap(reinterpret_cast<void*>(aligned + size), after);
    // Only advice: where the system keeps huge pages for those who ask, this asks.
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
#else
    return ::operator new(size, std::align_val_t(64), std::nothrow);
#endif
}

void FreeLargeBlock(void* block, std::size_t size) {
#ifdef __linux__
    munmap(block, size);
#else
    (void)size;
    ::operator delete(block, std::align_val_t(64));
#endif
}

} // namespace zirpel
