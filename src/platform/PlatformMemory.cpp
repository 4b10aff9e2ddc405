#include "platform/PlatformMemory.h"

#include <cstdlib> // names the C library

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace corvane {

void KeepFreedMemory()
{
#if defined(__GLIBC__)
    // Blocks of up to 32 MB (the most the library allows) come from the heap, where freed ones are taken
    // again, not from pages mapped for each block and unmapped when it is freed; the heap is not trimmed
    // until 1 GB of it lies free, and grows 64 MB of address space at a time (pages are given as they
    // are written).
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    // One heap for every thread, its first 128 MB given in large pages: a report's tables are written
    // once, in tens of megabytes, and a large page costs far less to give and to take back than 512
    // small ones. Beyond that the system's small pages: a large page it has to find anew can cost more.
    constexpr std::size_t kLargePages = std::size_t{128} << 20;
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TOP_PAD, static_cast<int>(kLargePages));
    char* const start = static_cast<char*>(sbrk(0));
    void* volatile grown = std::malloc(kLargePage); // the heap grows now, not where it is first used
    std::free(grown);
    const auto before = reinterpret_cast<std::uintptr_t>(start);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t first = (before + kLargePage - 1) & ~(kLargePage - 1);
    if (before != ~std::uintptr_t{0} && after > first)
        madvise(start + (first - before), after - first, MADV_HUGEPAGE);
    mallopt(M_TOP_PAD, 64 << 20);
#endif
}

} // namespace corvane
