#include "expr/NodePool.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zav::NodePool {

namespace {

// Sizes are served in steps of 8 bytes, which keeps every node aligned for
// the pointers and doubles it holds.
constexpr std::size_t grain = 8;
constexpr std::size_t sizeClasses = largestNode / grain;
// Nodes of all sizes are cut from blocks of 2 MiB, the size of a huge page
// (see newBlock()): fifty thousand nodes fit in one.
constexpr std::size_t blockBytes = std::size_t(2) << 20;

struct FreeNode
{
    FreeNode *next;
};

struct Pool
{
    std::mutex mutex;
    // Per size class, the nodes given back, most recent first.
    std::array<FreeNode *, sizeClasses> released {};
    char *unused = nullptr; // the part of the newest block never handed out
    char *unusedEnd = nullptr;
    std::vector<void *> blocks; // every block (allocated ones stay reachable for leak checkers)
};

// Never destroyed: a tree may be freed by a static destructor after the
// pool's own would have run.
Pool &pool()
{
    static Pool *const instance = new Pool;
    return *instance;
}

// On Linux a block is aligned on its size and marked for a transparent huge
// page: where the system has them, a model's nodes then cost one page fault
// instead of one per 4 KiB, and a fault costs microseconds (tens of them on
// a virtual machine). Elsewhere, or when the mapping fails, it is an
// ordinary allocation.
char *newBlock()
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const std::size_t span = 2 * blockBytes;
    void *mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped != MAP_FAILED) {
        char *const start = static_cast<char *>(mapped);
        const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(start);
        char *const block = start + ((blockBytes - address % blockBytes) % blockBytes);
        // The parts of the mapping before and after the aligned block go back.
        if (block > start)
            munmap(start, std::size_t(block - start));
        if (block + blockBytes < start + span)
            munmap(block + blockBytes, std::size_t(start + span - (block + blockBytes)));
        madvise(block, blockBytes, MADV_HUGEPAGE);
        return block;
    }
#endif
    return static_cast<char *>(::operator new(blockBytes));
}

std::size_t classOf(std::size_t size)
{
    return (size + grain - 1) / grain - 1;
}

} // namespace

void *allocate(std::size_t size)
{
    if (size == 0 || size > largestNode)
        return ::operator new(size);
    const std::size_t bytes = (classOf(size) + 1) * grain;
    Pool &p = pool();
    const std::lock_guard<std::mutex> lock(p.mutex);
    FreeNode *&released = p.released[classOf(size)];
    if (FreeNode *node = released) {
        released = node->next;
        return node;
    }
    if (p.unusedEnd - p.unused < std::ptrdiff_t(bytes)) {
        p.blocks.reserve(p.blocks.size() + 1);
        p.unused = newBlock();
        p.unusedEnd = p.unused + blockBytes;
        p.blocks.push_back(p.unused);
    }
    void *node = p.unused;
    p.unused += bytes;
    return node;
}

void release(void *node, std::size_t size) noexcept
{
    if (!node)
        return;
    if (size == 0 || size > largestNode) {
        ::operator delete(node);
        return;
    }
    Pool &p = pool();
    const std::lock_guard<std::mutex> lock(p.mutex);
    FreeNode *&released = p.released[classOf(size)];
    released = new (node) FreeNode {released};
}

} // namespace zav::NodePool
