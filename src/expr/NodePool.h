// Memory for the nodes of formula trees. A model of a thousand categories
// holds some forty thousand nodes of a few small sizes (a number takes 16
// bytes, an operation 24, a name 48); the general allocator adds a header to
// each and rounds it up, which makes a third more memory, and costs a call
// that searches its bins per node. The pool cuts nodes from large blocks
// instead, at their exact size, and gives a freed node's place to the next
// node of that size. Every fresh page of memory costs a process a page
// fault, so a model read into fewer pages, and blocks that are huge pages
// where the system has them (see NodePool.cpp), read faster. Blocks are kept
// for the life of the process: the memory of a model's trees is reused by
// the next model's.
//
// Safe to use from any thread.
#pragma once

#include <cstddef>

// Whether Equation takes its nodes from the pool: not in an
// address-sanitizer build, which must see every node as an allocation of
// its own to catch one used after it was freed, or never freed. GCC marks
// such a build with a macro, Clang with a feature.
#if defined(__SANITIZE_ADDRESS__)
#define ZAV_NODES_IN_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZAV_NODES_IN_POOL 0
#endif
#endif
#ifndef ZAV_NODES_IN_POOL
#define ZAV_NODES_IN_POOL 1
#endif

namespace zav::NodePool {

// The largest size served from blocks; a larger one is an ordinary
// allocation.
constexpr std::size_t largestNode = 64;

// Memory for one node of `size` bytes, aligned for any node's members.
void *allocate(std::size_t size);
// Gives back what allocate() returned for the same size.
void release(void *node, std::size_t size) noexcept;

} // namespace zav::NodePool
