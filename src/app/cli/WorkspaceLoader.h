// Reads the workspace named on the command line; on failure reports the
// error's description (which names the file), by default on standard error.
#pragma once

#include "model/Workspace.h"

namespace pelk {
class EstimationLog;
}

#include <QString>

#include <functional>
#include <memory>

class WorkspaceLoader
{
public:
    using Report = std::function<void(const QString &description)>;

    // Null when the file cannot be opened or read.
    static std::unique_ptr<pelk::Workspace> load(const QString &fileName);
    static std::unique_ptr<pelk::Workspace> load(const QString &fileName, const Report &report);
    // Reports to the run's log, as an error line.
    static std::unique_ptr<pelk::Workspace> load(const QString &fileName, pelk::EstimationLog &log);
};
