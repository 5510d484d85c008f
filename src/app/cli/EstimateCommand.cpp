#include "EstimateCommand.h"

#include "EstimationInEventLoop.h"
#include "ExitStatus.h"
#include "InterruptHandler.h"
#include "StandardErrorLog.h"
#include "WorkspaceLoader.h"
#include "estimation/EstimationLog.h"
#include "estimation/WorkspaceEstimation.h"
#include "io/OptimizerKeyword.h"
#include "io/SummaryJsonWriter.h"
#include "io/SummaryTextWriter.h"
#include "model/ProfileLikelihoods.h"
#include "optim/OptimizerFactory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <QTextStream>
#include <QVarLengthArray>

#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>
#include <utility>

namespace {

using Factory = zav::OptimizerFactory;

struct Options
{
    bool json = false;
    bool force = false;
    bool noCovariance = false;
    bool profileCurves = false;
    std::optional<Factory::OptimizerType> optimizer;
    QList<QPair<QString, QString>> profiles; // (symbol, alpha text)
    QString fileName;
};

// Returns an error text for wrong usage, or nothing.
std::optional<QString> parse(const QStringList &arguments, Options &options)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == u"--json") {
            options.json = true;
        } else if (argument == u"--force") {
            options.force = true;
        } else if (argument == u"--profile-curves") {
            options.profileCurves = true;
        } else if (argument == u"--no-covariance") {
            options.noCovariance = true;
        } else if (argument == u"--optimizer") {
            if (!hasValue || !(options.optimizer = pelk::optimizerTypeForKeyword(arguments.at(++i))))
                return QStringLiteral("--optimizer takes powell, fletch or simplex");
        } else if (argument == u"--profile") {
            const QString request = hasValue ? arguments.at(++i) : QString();
            const qsizetype equals = request.indexOf(u'=');
            if (equals <= 0)
                return QStringLiteral("--profile takes NAME=ALPHA");
            options.profiles.append({request.left(equals), request.mid(equals + 1)});
        } else if (argument.startsWith(u'-') || !options.fileName.isEmpty()) {
            return QStringLiteral("unexpected argument \"%1\"").arg(argument);
        } else {
            options.fileName = argument;
        }
    }
    if (options.fileName.isEmpty())
        return QStringLiteral("no workspace file named");
    return std::nullopt;
}

// Adds a request (never removes one that the workspace already holds).
std::optional<QString> addProfileRequest(pelk::Workspace &workspace, const QString &symbol,
                                         const QString &alpha)
{
    const qsizetype level = pelk::ProfileLikelihoods::alphaLevels().indexOf(alpha);
    if (level < 0)
        return QStringLiteral("alpha level \"%1\" is not one of 0.01, 0.05, 0.10").arg(alpha);
    qsizetype index = workspace.model.parameterNames().indexOf(symbol);
    pelk::ProfileLikelihoods *requests = &workspace.parameterRequests;
    if (index < 0) {
        index = workspace.model.variableNames().indexOf(symbol);
        requests = &workspace.variableRequests;
    }
    if (index < 0)
        return QStringLiteral("\"%1\" is neither a parameter nor a convenience function").arg(symbol);
    if (!requests->isRequested(int(index), int(level)))
        requests->toggleRequest(int(index), int(level));
    return std::nullopt;
}

// Writes the text to standard output as UTF-8, as a text stream would, but
// a piece at a time: the report of a thousand categories is a string of
// 150 KB, of which a stream would first make a whole copy and then a whole
// encoding.
void print(QStringView text)
{
    constexpr qsizetype piece = 4096;
    QStringEncoder encoder(QStringEncoder::Utf8);
    QVarLengthArray<char, 4 * piece> bytes(encoder.requiredSpace(piece));
    for (qsizetype start = 0; start < text.size(); start += piece) {
        const char *end = encoder.appendToBuffer(bytes.data(), text.mid(start, piece));
        std::fwrite(bytes.data(), 1, std::size_t(end - bytes.data()), stdout);
    }
}

// Prints the result and returns the exit status. With --json there is one
// document on every exit, so that a script can parse every outcome: the log
// of the run, its errors, the exit status and whatever was computed.
int finish(const Options &options, const StandardErrorLog &log, pelk::SummaryJsonWriter::Run run,
           const pelk::EstimationSummary *summary, int status)
{
    run.name = QFileInfo(options.fileName).completeBaseName();
    run.log = log.lines();
    run.errors = log.errors();
    if (options.json) {
        QJsonObject json = pelk::SummaryJsonWriter::write(run, summary);
        json[QStringLiteral("exitStatus")] = status;
        const QByteArray document = QJsonDocument(json).toJson(QJsonDocument::Indented);
        std::fwrite(document.constData(), 1, std::size_t(document.size()), stdout);
    } else if (summary)
        print(pelk::SummaryTextWriter::write(*summary, QDateTime::currentDateTime()));
    return status;
}

// Keeps the workspace until the process ends, right after the command
// returns: the system then takes its memory back at once, where freeing a
// model of a thousand formula trees node by node takes a millisecond. The
// static pointer keeps it reachable, so leak checkers do not count it.
void keepUntilExit(std::unique_ptr<pelk::Workspace> workspace)
{
    static pelk::Workspace *kept = nullptr;
    delete std::exchange(kept, workspace.release());
}

} // namespace

QString EstimateCommand::usage()
{
    return QStringLiteral(
        "usage: pelk-cli estimate [options] WORKSPACE\n"
        "  --optimizer powell|fletch|simplex  the minimisation method (default: the workspace's)\n"
        "  --no-covariance                    do not estimate the covariance matrix\n"
        "  --profile NAME=ALPHA               add a profile-likelihood request (ALPHA: 0.01, 0.05, 0.10)\n"
        "  --profile-curves                   with --json, add points of each profile for plotting\n"
        "  --force                            go on when there are more parameters than can be estimated\n"
        "  --json                             print one JSON document instead of the text summary\n");
}

int EstimateCommand::run(const QStringList &arguments)
{
    Options options;
    if (const auto problem = parse(arguments, options)) {
        QTextStream(stderr) << "pelk-cli estimate: " << *problem << '\n' << usage();
        return ExitUsage;
    }
    // From here on, so that Ctrl-C at any point ends in a document too (it
    // takes effect once the run starts).
    InterruptHandler interrupt;
    StandardErrorLog log;
    auto workspace = WorkspaceLoader::load(options.fileName, log);
    if (!workspace)
        return finish(options, log, {}, nullptr, ExitUnreadable);
    for (const auto &[symbol, alpha] : std::as_const(options.profiles))
        if (const auto problem = addProfileRequest(*workspace, symbol, alpha)) {
            QTextStream(stderr) << "pelk-cli estimate: " << *problem << '\n' << usage();
            return ExitUsage;
        }
    if (options.optimizer)
        workspace->optimizer.type = *options.optimizer;
    workspace->calculateCovariance = workspace->calculateCovariance && !options.noCovariance;

    pelk::WorkspaceEstimation estimation(*workspace, log);
    estimation.setForce(options.force);
    estimation.setProfileCurves(options.profileCurves);
    const int status = estimateInEventLoop(estimation, interrupt);
    log.clearProgress();
    finish(options, log, estimation.run(), estimation.summary(), status);
    keepUntilExit(std::move(workspace));
    return status;
}
