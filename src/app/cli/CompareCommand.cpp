#include "CompareCommand.h"

#include "ExitStatus.h"
#include "InterruptHandler.h"
#include "compare/ComparisonJsonWriter.h"
#include "compare/ComparisonTable.h"
#include "compare/ComparisonTextWriter.h"
#include "compare/ModelComparison.h"
#include "compare/ModelSetEstimator.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QTextStream>

#include <optional>

namespace {

struct Options
{
    enum Format { Text, Json, Csv } format = Text;
    pelk::ModelComparison::Options comparison;
    QStringList items;
};

// Returns an error text for wrong usage, or nothing.
std::optional<QString> parse(const QStringList &arguments, Options &options)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const QString value = arguments.value(i + 1);
        if (argument == u"--json" || argument == u"--csv") {
            options.format = argument == u"--json" ? Options::Json : Options::Csv;
        } else if (argument == u"--average-partial") {
            options.comparison.averagePartial = true;
        } else if (argument == u"--chat") {
            bool ok = false;
            const double chat = value.toDouble(&ok);
            if (!ok || !(chat > 0))
                return QStringLiteral("--chat takes a positive number");
            options.comparison.chat = chat;
            ++i;
        } else if (argument == u"--nested") {
            const QStringList pair = value.split(u':');
            if (pair.size() != 2 || pair.first().isEmpty() || pair.last().isEmpty())
                return QStringLiteral("--nested takes SIMPLER:GENERAL");
            options.comparison.nested.append({pair.first(), pair.last()});
            ++i;
        } else if (argument.startsWith(u'-')) {
            return QStringLiteral("unexpected argument \"%1\"").arg(argument);
        } else {
            options.items.append(argument);
        }
    }
    if (options.items.isEmpty())
        return QStringLiteral("no models named");
    return std::nullopt;
}

} // namespace

QString CompareCommand::usage()
{
    return QStringLiteral(
        "usage: pelk-cli compare [options] ITEM...\n"
        "  ITEM                  a workspace (estimated now) or the output of pelk-cli estimate --json\n"
        "  --chat C              rank by QAICc with this c-hat (below 1: 1); variances and LR tests use it\n"
        "  --nested A:B          a likelihood-ratio test of model A within the more general model B\n"
        "  --average-partial     also average quantities that only some models have\n"
        "  --json | --csv        print one JSON document, or the table as CSV, instead of text\n");
}

int CompareCommand::run(const QStringList &arguments)
{
    Options options;
    if (const auto problem = parse(arguments, options)) {
        QTextStream(stderr) << "pelk-cli compare: " << *problem << '\n' << usage();
        return ExitUsage;
    }
    InterruptHandler interrupt;
    pelk::ModelSetEstimator estimator;
    QObject::connect(&estimator, &pelk::ModelSetEstimator::finished, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&interrupt, &InterruptHandler::interrupted, &estimator, &pelk::ModelSetEstimator::cancel);
    QTextStream err(stderr);
    QObject::connect(&estimator, &pelk::ModelSetEstimator::progress, [&err](int done, int total) {
        err << QStringLiteral("Models ready: %1 of %2\n").arg(done).arg(total);
        err.flush();
    });
    estimator.start(options.items);
    if (estimator.isRunning())
        QCoreApplication::exec();

    if (const QStringList problems = estimator.problems(); !problems.isEmpty()) {
        err << problems.join(u'\n') << '\n';
        return estimator.isCanceled() ? ExitInterrupted : ExitModelRefused;
    }
    const auto comparison = pelk::ModelComparison::compare(estimator.records(), options.comparison);
    if (!comparison.refusal.isEmpty()) {
        err << "pelk-cli compare: " << comparison.refusal << '\n';
        return ExitModelRefused;
    }
    QTextStream out(stdout);
    if (options.format == Options::Json)
        out << QJsonDocument(pelk::ComparisonJsonWriter::write(comparison)).toJson(QJsonDocument::Indented);
    else if (options.format == Options::Csv)
        out << pelk::ComparisonTable::csv(comparison);
    else
        out << pelk::ComparisonTextWriter::write(comparison);
    return ExitEstimated;
}
