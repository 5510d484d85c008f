#include "VerifyCommand.h"

#include "ExitStatus.h"
#include "WorkspaceLoader.h"
#include "estimation/ModelVerifier.h"
#include "model/MessageSink.h"

#include <QTextStream>

QString VerifyCommand::usage()
{
    return QStringLiteral("usage: pelk-cli verify WORKSPACE\n");
}

int VerifyCommand::run(const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments.first().startsWith(u'-')) {
        QTextStream(stderr) << usage();
        return ExitUsage;
    }
    const auto workspace = WorkspaceLoader::load(arguments.first());
    if (!workspace)
        return ExitUnreadable;
    pelk::PlainTextSink sink;
    const bool valid = pelk::verifyModel(workspace->model, sink);
    QTextStream(stdout) << sink.text();
    return valid ? ExitEstimated : ExitModelRefused;
}
