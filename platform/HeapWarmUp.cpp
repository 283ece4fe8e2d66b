// SPDX-License-Identifier: MIT
#include "HeapWarmUp.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr int kOwnMappingFrom = 16 << 20;
constexpr int kKeptAtTop = 32 << 20;

}   // namespace

void WarmUpHeap(std::size_t bytes)
{
#if defined(__GLIBC__) && defined(MADV_POPULATE_WRITE)
    if (bytes == 0 || bytes >= static_cast<std::size_t>(kOwnMappingFrom))
        return;
    if (mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom) == 0 || mallopt(M_TRIM_THRESHOLD, kKeptAtTop) == 0)
        return;
    void* block = std::malloc(bytes);
    if (!block)
        return;
    // Only whole pages inside the block: the pages it shares with blocks
    // next to it are there already.
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(block) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) / page * page;
    // Kernels before 5.14 refuse the advice; the pages then come one fault
    // at a time, as they would have anyway.
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    // Freed, the block joins the heap's top, where the next blocks are cut from.
    std::free(block);
#else
    (void)bytes;
#endif
}
