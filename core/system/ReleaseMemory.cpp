#include "core/system/ReleaseMemory.h"

#include <cstdlib> // defines __GLIBC__ where it applies
#ifdef __GLIBC__
#include <malloc.h>
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

} // namespace zirpel
