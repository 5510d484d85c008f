#include "BootstrapCommand.h"

#include "EstimationInEventLoop.h"
#include "ExitStatus.h"
#include "InterruptHandler.h"
#include "StandardErrorLog.h"
#include "WorkspaceLoader.h"
#include "estimation/EstimationSummary.h"
#include "estimation/ParametricBootstrap.h"
#include "estimation/WorkspaceEstimation.h"
#include "io/BootstrapJsonWriter.h"
#include "io/BootstrapTextWriter.h"
#include "optim/NRError.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

using pelk::ParametricBootstrap;

struct Options
{
    bool json = false;
    ParametricBootstrap::Options run;
    QString fileName;
};

// The largest seed a JSON number carries exactly (2^53 - 1).
constexpr qulonglong largestSeed = 9007199254740991ULL;

std::optional<QString> parse(const QStringList &arguments, Options &options)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const QString value = i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        bool ok = false;
        if (argument == u"--json") {
            options.json = true;
        } else if (argument == u"--replicates") {
            options.run.replicates = value.toInt(&ok);
            if (!ok || options.run.replicates < 1)
                return QStringLiteral("--replicates takes a positive whole number");
            ++i;
        } else if (argument == u"--threads") {
            options.run.threadCount = value.toInt(&ok);
            if (!ok || options.run.threadCount < 1)
                return QStringLiteral("--threads takes a positive whole number");
            ++i;
        } else if (argument == u"--seed") {
            const qulonglong seed = value.toULongLong(&ok);
            if (!ok || seed > largestSeed)
                return QStringLiteral("--seed takes a whole number from 0 to %1").arg(largestSeed);
            options.run.seed = seed;
            ++i;
        } else if (argument == u"--shard") {
            const QStringList parts = value.split(u'/');
            bool indexOk = false;
            options.run.shardIndex = parts.value(0).toInt(&indexOk);
            options.run.shardCount = parts.value(1).toInt(&ok);
            if (parts.size() != 2 || !ok || !indexOk || options.run.shardIndex < 1
                || options.run.shardIndex > options.run.shardCount)
                return QStringLiteral("--shard takes I/M with 1 <= I <= M");
            ++i;
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

} // namespace

QString BootstrapCommand::usage()
{
    return QStringLiteral(
        "usage: pelk-cli bootstrap [options] WORKSPACE\n"
        "  --replicates B   the number of simulated studies (default 1000)\n"
        "  --seed S         the seed of the replicates' random streams, 0 to 2^53-1 (default 20240521)\n"
        "  --shard I/M      compute only the I-th of M blocks of replicates (combine with bootstrap-merge)\n"
        "  --threads T      refit on T threads (default: one per core)\n"
        "  --json           print one JSON document instead of text\n");
}

int BootstrapCommand::run(const QStringList &arguments)
{
    Options options;
    if (const auto problem = parse(arguments, options)) {
        QTextStream(stderr) << "pelk-cli bootstrap: " << *problem << '\n' << usage();
        return ExitUsage;
    }
    InterruptHandler interrupt;
    StandardErrorLog log;
    auto workspace = WorkspaceLoader::load(options.fileName, log);
    if (!workspace)
        return ExitUnreadable;
    // The observed fit, as pelk-cli estimate makes it, without the profile
    // likelihoods: the bootstrap needs the estimates and the fit statistics.
    workspace->dropProfileRequests();
    pelk::WorkspaceEstimation estimation(*workspace, log);
    if (const int status = estimateInEventLoop(estimation, interrupt); status != ExitEstimated)
        return status;

    std::optional<pelk::BootstrapResult> result;
    zav::CancelFlag cancel{false};
    try {
        const ParametricBootstrap bootstrap(*workspace, estimation.estimates(),
                                            ParametricBootstrap::observedFrom(*estimation.summary()));
        QObject::connect(&interrupt, &InterruptHandler::interrupted, [&cancel] { cancel = true; });
        const bool terminal = ::isatty(STDERR_FILENO) == 1;
        // The refits run on their own threads while this one waits in the
        // event loop, where Ctrl-C arrives.
        std::thread worker([&] {
            result = bootstrap.run(options.run, &cancel, [terminal](int done, int total) {
                if (terminal)
                    std::fprintf(stderr, "\rBootstrap: %d of %d replicates", done, total);
            });
            if (terminal)
                std::fprintf(stderr, "\r\033[K");
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
        });
        QCoreApplication::exec();
        worker.join();
    } catch (const NR3::NRError &error) {
        log.line(QString::fromLatin1(error.message), true);
        return ExitRunFailed;
    }
    if (!result) {
        log.line(QStringLiteral("Canceled."), true);
        return ExitInterrupted;
    }
    QTextStream out(stdout);
    if (options.json)
        out << QJsonDocument(pelk::BootstrapJsonWriter::write(*result)).toJson(QJsonDocument::Indented);
    else
        out << pelk::BootstrapTextWriter::write(*result);
    return ExitEstimated;
}
