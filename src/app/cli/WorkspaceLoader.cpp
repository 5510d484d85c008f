#include "WorkspaceLoader.h"

#include "expr/ParseError.h"

#include <QTextStream>

std::unique_ptr<pelk::Workspace> WorkspaceLoader::load(const QString &fileName)
{
    auto workspace = std::make_unique<pelk::Workspace>();
    try {
        workspace->read(fileName);
    } catch (const zav::ParseError &error) {
        // The reader has named the file.
        QTextStream(stderr) << error.description() << '\n';
        return nullptr;
    }
    return workspace;
}
