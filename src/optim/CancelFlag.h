// A request to stop a run, written by the GUI thread and read by the worker
// once per iteration. Atomic so that the cross-thread write is defined
// behaviour; relaxed order suffices since nothing else is published with it.
#pragma once

#include <atomic>

namespace zav {

using CancelFlag = std::atomic<bool>;

inline bool isCancelled(const CancelFlag *flag)
{
    return flag && flag->load(std::memory_order_relaxed);
}

} // namespace zav
