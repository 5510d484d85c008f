#include "expr/NodePool.h"

#include <array>
#include <mutex>
#include <new>
#include <vector>

namespace zav::NodePool {

namespace {

// Sizes are served in steps of 8 bytes, which keeps every node aligned for
// the pointers and doubles it holds.
constexpr std::size_t grain = 8;
constexpr std::size_t sizeClasses = largestNode / grain;
// Large enough that a model of a thousand categories takes a few dozen
// blocks, small enough that a model of one formula wastes little.
constexpr std::size_t blockBytes = std::size_t(64) << 10;

struct FreeNode
{
    FreeNode *next;
};

struct SizeClass
{
    FreeNode *released = nullptr; // nodes given back, most recent first
    char *unused = nullptr; // the part of the newest block never handed out
    char *unusedEnd = nullptr;
};

struct Pool
{
    std::mutex mutex;
    std::array<SizeClass, sizeClasses> classes;
    std::vector<void *> blocks; // every block, reachable for leak checkers
};

// Never destroyed: a tree may be freed by a static destructor after the
// pool's own would have run.
Pool &pool()
{
    static Pool *const instance = new Pool;
    return *instance;
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
    SizeClass &sizeClass = p.classes[classOf(size)];
    if (FreeNode *node = sizeClass.released) {
        sizeClass.released = node->next;
        return node;
    }
    if (sizeClass.unusedEnd - sizeClass.unused < std::ptrdiff_t(bytes)) {
        p.blocks.reserve(p.blocks.size() + 1);
        sizeClass.unused = static_cast<char *>(::operator new(blockBytes));
        sizeClass.unusedEnd = sizeClass.unused + blockBytes;
        p.blocks.push_back(sizeClass.unused);
    }
    void *node = sizeClass.unused;
    sizeClass.unused += bytes;
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
    SizeClass &sizeClass = p.classes[classOf(size)];
    sizeClass.released = new (node) FreeNode {sizeClass.released};
}

} // namespace zav::NodePool
