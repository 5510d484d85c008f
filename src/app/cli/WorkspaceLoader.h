// Reads the workspace named on the command line; on failure writes the
// error's description (with the file name) to standard error.
#pragma once

#include "io/Workspace.h"

#include <QString>

#include <memory>

class WorkspaceLoader
{
public:
    // Null when the file cannot be opened or read.
    static std::unique_ptr<pelk::Workspace> load(const QString &fileName);
};
