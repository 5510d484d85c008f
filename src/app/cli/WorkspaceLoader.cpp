#include "WorkspaceLoader.h"

#include "estimation/EstimationLog.h"
#include "expr/ParseError.h"
#include "io/PelkFileReader.h"

#include <QTextStream>

std::unique_ptr<pelk::Workspace> WorkspaceLoader::load(const QString &fileName)
{
    return load(fileName, [](const QString &description) { QTextStream(stderr) << description << '\n'; });
}

std::unique_ptr<pelk::Workspace> WorkspaceLoader::load(const QString &fileName, const Report &report)
{
    auto workspace = std::make_unique<pelk::Workspace>();
    try {
        pelk::PelkFileReader().readWorkspace(fileName, *workspace);
    } catch (const zav::ParseError &error) {
        // The reader has named the file.
        report(error.description());
        return nullptr;
    }
    return workspace;
}

std::unique_ptr<pelk::Workspace> WorkspaceLoader::load(const QString &fileName, pelk::EstimationLog &log)
{
    return load(fileName, [&log](const QString &description) { log.line(description, true); });
}
