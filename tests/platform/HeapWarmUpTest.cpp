// SPDX-License-Identifier: MIT
// The heap made ready at start: blocks made after it are there before they
// are first touched, and stay there through frees.
#include "HeapWarmUp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

// Under the address sanitizer the heap is the sanitizer's, not the C library's.
#if defined(__SANITIZE_ADDRESS__) || !defined(__GLIBC__) || !defined(MADV_POPULATE_WRITE)
constexpr bool kLibraryHeap = false;
#else
constexpr bool kLibraryHeap = true;
#endif

// The number of whole pages of the block that are not in memory.
std::size_t PagesMissing(const void* block, std::size_t bytes)
{
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(block) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) / page * page;
    std::vector<unsigned char> present((end - begin) / page);
    if (::mincore(reinterpret_cast<void*>(begin), end - begin, present.data()) != 0)
        return present.size();
    std::size_t missing = 0;
    for (const unsigned char p : present)
        missing += (p & 1) ? 0 : 1;
    return missing;
}

// Run in a child of its own: the heap's state is the process's.
int ExitCodeOfWarmedHeap()
{
    WarmUpHeap(kStartHeap);
    // The window's picture, then the screenshot grabbed after it was freed.
    const std::size_t image = 383 * 431 * 4;
    void* picture = std::malloc(image);
    if (!picture || PagesMissing(picture, image) != 0)
        return 1;
    std::free(picture);
    void* read = std::malloc(std::size_t(1) << 20);
    if (!read || PagesMissing(read, std::size_t(1) << 20) != 0)
        return 2;
    std::free(read);
    return 0;
}

}   // namespace

TEST(HeapWarmUpTest, BlocksMadeAfterItAreThereBeforeTheyAreTouched)
{
    if (!kLibraryHeap)
        GTEST_SKIP() << "the heap is not the C library's, or has no such controls";
    EXPECT_EXIT(std::exit(ExitCodeOfWarmedHeap()), ::testing::ExitedWithCode(0), "");
}
