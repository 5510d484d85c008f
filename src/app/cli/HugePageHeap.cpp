#include "HugePageHeap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace HugePageHeap {

namespace {

void *volatile head = nullptr; // see prepare()

} // namespace

void prepare()
{
#if defined(__GLIBC__) && defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t reserve = std::size_t(8) << 20;
    constexpr std::uintptr_t hugePage = std::uintptr_t(2) << 20;
    // Blocks below twice the reserve come from the heap (not from mappings
    // of their own), and a freed reserve stays at the heap's top.
    mallopt(M_MMAP_THRESHOLD, int(2 * reserve));
    mallopt(M_TRIM_THRESHOLD, int(4 * reserve));
    void *block = std::malloc(reserve);
    if (!block)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    std::free(block);
    // The reserve is now the heap's free top, from `start` to the heap's end.
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t firstHugePage = (start + hugePage - 1) & ~(hugePage - 1);
    if (start >= end || end - start > 2 * reserve || firstHugePage + hugePage > end)
        return; // the reserve did not come from the top of the heap
    // A block up to the first huge page, kept for the life of the process
    // and never written, so that what follows starts on it. A chunk's
    // header, two words, comes before the block it returns.
    constexpr std::uintptr_t header = 2 * sizeof(std::size_t);
    if (firstHugePage - start > 2 * header)
        head = std::malloc(firstHugePage - start - header);
    madvise(reinterpret_cast<void *>(firstHugePage), (end - firstHugePage) & ~(hugePage - 1), MADV_HUGEPAGE);
#endif
}

} // namespace HugePageHeap
