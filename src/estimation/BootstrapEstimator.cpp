#include "estimation/BootstrapEstimator.h"

namespace pelk {

void BootstrapEstimator::run()
{
    m_result.reset();
    if (!m_bootstrap)
        return;
    const int first = BootstrapResult::firstReplicate(m_options.shardIndex, m_options.shardCount, m_options.replicates);
    const int last = BootstrapResult::lastReplicate(m_options.shardIndex, m_options.shardCount, m_options.replicates);
    postStatus(QStringLiteral("Bootstrap: %1 replicates...").arg(last - first + 1));
    beginProgress(last - first + 1);
    // The bootstrap calls back on its own threads, one at a time under its
    // lock, which orders the runner's progress counters between them.
    m_result = m_bootstrap->run(m_options, cancelFlag(), [this](int done, int) { postProgress(done); });
    if (m_result)
        postStatus(QStringLiteral("Bootstrap complete."));
}

} // namespace pelk
