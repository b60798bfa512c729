#include "core/HeapRetention.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace qex {

void RetainFreedHeapMemory()
{
#if defined(__GLIBC__)
    // Trim only beyond 256 MiB of free memory at the top, and serve blocks
    // up to 32 MiB from the heap rather than from mappings of their own
    // (which are unmapped, and faulted in again, at every free).
    constexpr int kTrimThresholdBytes = 256 << 20;
    constexpr int kMmapThresholdBytes = 32 << 20;
    mallopt(M_TRIM_THRESHOLD, kTrimThresholdBytes);
    mallopt(M_MMAP_THRESHOLD, kMmapThresholdBytes);
#endif
}

} // namespace qex
