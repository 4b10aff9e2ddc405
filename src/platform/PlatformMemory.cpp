#include "platform/PlatformMemory.h"

#include <cstdlib> // names the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace corvane {

void KeepFreedMemory()
{
#if defined(__GLIBC__)
    // Blocks of up to 32 MB (the most the library allows) come from the heap, where freed ones are taken
    // again, not from pages mapped for each block and unmapped when it is freed; the heap is not trimmed
    // until 1 GB of it lies free, and grows 64 MB at a time (address space only: pages are given as
    // they are written).
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_TOP_PAD, 64 << 20);
#endif
}

} // namespace corvane
