// Handing memory the program has freed back to the system.
#pragma once

namespace zirpel {

// Returns the free pages the C library's allocator keeps for later use to the system, in
// every thread's arena. With glibc, memory freed on a helper thread, or blocks of a few
// hundred KiB and more once larger ones have been freed, otherwise stay resident for good.
// Elsewhere the allocator gives such blocks back itself and this does nothing.
void ReleaseFreedMemory();

} // namespace zirpel
