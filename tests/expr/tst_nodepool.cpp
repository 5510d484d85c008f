// The node pool: nodes of every size are distinct, aligned and whole, a
// freed place goes to the next node of its size, and threads share it.
#include "expr/NodePool.h"

#include <QTest>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

class TestNodePool : public QObject
{
    Q_OBJECT

private slots:
    void nodesAreDistinctAlignedAndReused()
    {
        std::vector<std::pair<char *, std::size_t>> nodes;
        for (int round = 0; round < 300; ++round)
            for (std::size_t size = 1; size <= zav::NodePool::largestNode + 8; ++size) {
                auto *node = static_cast<char *>(zav::NodePool::allocate(size));
                QCOMPARE(reinterpret_cast<std::uintptr_t>(node) % alignof(double), std::uintptr_t(0));
                std::memset(node, int(nodes.size() % 251), size);
                nodes.emplace_back(node, size);
            }
        for (std::size_t k = 0; k < nodes.size(); ++k) // no node wrote over another
            QVERIFY(std::all_of(nodes[k].first, nodes[k].first + nodes[k].second,
                                [k](char c) { return c == char(k % 251); }));
        for (const auto &[node, size] : nodes)
            zav::NodePool::release(node, size);
        // Sizes 17 to 24 share a class; the last released of them was the
        // last round's node of 24 bytes.
        void *again = zav::NodePool::allocate(24);
        QCOMPARE(again, static_cast<void *>(nodes[nodes.size() - 49].first));
        zav::NodePool::release(again, 24);
    }

    void threadsAllocateAndReleaseAtOnce()
    {
        const auto work = [] {
            std::vector<void *> nodes;
            for (int i = 0; i < 20000; ++i)
                nodes.push_back(zav::NodePool::allocate(std::size_t(8 + i % 7 * 8)));
            for (std::size_t i = 0; i < nodes.size(); ++i)
                zav::NodePool::release(nodes[i], std::size_t(8 + i % 7 * 8));
        };
        std::thread other(work);
        work();
        other.join();
    }
};

QTEST_GUILESS_MAIN(TestNodePool)
#include "tst_nodepool.moc"
