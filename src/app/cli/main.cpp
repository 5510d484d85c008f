// pelk-cli: PELK without a window.
//
//   pelk-cli verify WORKSPACE              what the Verify page shows
//   pelk-cli estimate [options] WORKSPACE  the Estimate page's sequence
//   pelk-cli compare [options] ITEM...     a set of models ranked and averaged
//   pelk-cli print WORKSPACE               the workspace as PELK saves it
//   pelk-cli bootstrap [options] WORKSPACE the parametric bootstrap of the fit
//   pelk-cli bootstrap-merge FILES...      the shards of one bootstrap, combined
#include "BootstrapCommand.h"
#include "BootstrapMergeCommand.h"
#include "CompareCommand.h"
#include "EstimateCommand.h"
#include "ExitStatus.h"
#include "VerifyCommand.h"
#include "WorkspaceLoader.h"
#include "io/FileWriter.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QString usage()
{
    return VerifyCommand::usage() + EstimateCommand::usage() + CompareCommand::usage()
        + BootstrapCommand::usage() + BootstrapMergeCommand::usage()
        + QStringLiteral("usage: pelk-cli print WORKSPACE\n");
}

int printWorkspace(const QStringList &arguments)
{
    if (arguments.size() != 1) {
        QTextStream(stderr) << usage();
        return ExitUsage;
    }
    const auto workspace = WorkspaceLoader::load(arguments.first());
    if (!workspace)
        return ExitUnreadable;
    QTextStream out(stdout);
    pelk::FileWriter writer(&out);
    writer.writeWorkspace(*workspace);
    return ExitEstimated;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("ZAV"));
    QCoreApplication::setApplicationName(QStringLiteral("PELK"));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == u"verify")
        return VerifyCommand::run(rest);
    if (command == u"estimate")
        return EstimateCommand::run(rest);
    if (command == u"compare")
        return CompareCommand::run(rest);
    if (command == u"bootstrap")
        return BootstrapCommand::run(rest);
    if (command == u"bootstrap-merge")
        return BootstrapMergeCommand::run(rest);
    if (command == u"print")
        return printWorkspace(rest);
    QTextStream(stderr) << usage();
    return ExitUsage;
}
