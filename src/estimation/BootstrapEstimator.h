// The unit of work that runs a parametric bootstrap on the worker of a
// ThreadRunner, so that the desktop program runs it off the GUI thread as it
// runs an estimation: progress in percent of the replicates, a cancel that
// reaches every refit, and the result read once the run is over.
#pragma once

#include "estimation/ParametricBootstrap.h"
#include "estimation/ThreadRunnable.h"

#include <optional>

namespace pelk {

class BootstrapEstimator : public zav::ThreadRunnable
{
    Q_OBJECT

public:
    using zav::ThreadRunnable::ThreadRunnable;

    // Set before each run; the bootstrap is not owned and must outlive it.
    void setBootstrap(const ParametricBootstrap *bootstrap, const ParametricBootstrap::Options &options)
    {
        m_bootstrap = bootstrap;
        m_options = options;
    }

    void run() override;

    // The result of the last run; none before one ends or after a cancel.
    // Read only after the runner's runComplete.
    const std::optional<BootstrapResult> &result() const { return m_result; }

private:
    const ParametricBootstrap *m_bootstrap = nullptr;
    ParametricBootstrap::Options m_options;
    std::optional<BootstrapResult> m_result;
};

} // namespace pelk
