// pelk-cli as a script uses it: exit statuses, usage, the Verify text, and
// `estimate --json` on models whose answers are known in closed form.
#include "../support/BinomialWorkspace.h"
#include "../support/CaptureRecaptureWorkspace.h"
#include "../support/TempFiles.h"
#include "../support/TwoSampleCapture.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <csignal>

namespace {

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Outcome runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QString(PELK_CLI), arguments);
    if (!process.waitForFinished(120000))
        qFatal("pelk-cli did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The binomial workspace with a third category that has probability 0
// and no observations.
const QByteArray binomialWorkspace = [] {
    support::Binomial b;
    b.categories += ",\nnever, 0";
    b.counts += "\nnever : 0";
    return b.text().toUtf8();
}();

} // namespace

class TestPelkCli : public QObject
{
    Q_OBJECT

private:
    support::TempFiles m_files;

    QString file(const QString &name, const QByteArray &text) { return m_files.write(name, text); }

private slots:
    void wrongUsageExits64_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "FILE": a workspace that reads
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("unknown command") << QStringList{"fit", "x"};
        QTest::newRow("verify without file") << QStringList{"verify"};
        QTest::newRow("estimate unknown option") << QStringList{"estimate", "--fast", "x"};
        QTest::newRow("estimate bad optimizer") << QStringList{"estimate", "--optimizer", "newton", "x"};
        QTest::newRow("estimate bad profile") << QStringList{"estimate", "--profile", "p", "x"};
        QTest::newRow("estimate two files") << QStringList{"estimate", "x", "y"};
        QTest::newRow("profile of an unknown symbol") << QStringList{"estimate", "--profile", "zeta=0.05", "FILE"};
        QTest::newRow("profile at an unknown level") << QStringList{"estimate", "--profile", "p=0.1", "FILE"};
        QTest::newRow("compare nothing") << QStringList{"compare", "--json"};
        QTest::newRow("compare with c-hat 0") << QStringList{"compare", "--chat", "0", "FILE"};
        QTest::newRow("compare half a pair") << QStringList{"compare", "--nested", "a:", "FILE"};
    }

    void wrongUsageExits64()
    {
        QFETCH(QStringList, arguments);
        arguments.replaceInStrings(QRegularExpression("^FILE$"), file("usage.txt", binomialWorkspace));
        const Outcome outcome = runCli(arguments);
        QCOMPARE(outcome.status, 64);
        QVERIFY(outcome.err.contains("usage: pelk-cli"));
    }

    void plainTextOutcome_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("from"); // replaced in the binomial workspace; empty "to": no file
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // %1: the file
        QTest::newRow("valid") << "verify" << QByteArray("\np;") << QByteArray("\np;") << 0
                               << "\nThe Model Definition is valid.\n\nNumber of parameters: 1\n"
                                  "Dimension of minimum sufficient statistic: 1\n" << QString();
        QTest::newRow("invalid") << "verify" << QByteArray("never, 0;") << QByteArray("never, z;") << 1
                                 << "Category \"never\" uses undefined symbol \"z\".\n\n"
                                    "The Model Definition is not valid.\n" << QString();
        QTest::newRow("unreadable") << "verify" << QByteArray("\np;") << QByteArray("\np = 0.5;")
                                    << 2 << QString() << "\"=\" - Unexpected characters, line 2, file \"%1\"\n";
        QTest::newRow("too many parameters") << "estimate" << QByteArray("\np;")
                                             << QByteArray("\np, unused;") << 1 << QString()
                                             << "There are more parameters than can be estimated.\n"
                                                "Any estimates obtained by continuing can not be considered valid.\n";
        QTest::newRow("missing") << "estimate" << QByteArray() << QByteArray() << 2 << QString()
                                 << "\"\" - Error opening input file (No such file or directory), file \"%1\"\n";
    }

    void plainTextOutcome()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const QString path = to.isEmpty() ? m_files.path("missing.txt")
                                          : file("plain.txt", QByteArray(binomialWorkspace).replace(from, to));
        const Outcome outcome = runCli({command, path});
        QCOMPARE(outcome.status, status);
        QCOMPARE(QString::fromUtf8(outcome.out), out);
        QCOMPARE(QString::fromUtf8(outcome.err), err.contains("%1") ? err.arg(path) : err);
    }

    // The Fletch method named on the command line, not the file's Powell,
    // and profiles asked for there; the summary is the core's (its numbers
    // are checked there), written whole as JSON.
    void estimateTakesTheCommandLineOptions()
    {
        const Outcome outcome = runCli({"estimate", "--json", "--optimizer", "fletch", "--profile", "p=0.10",
                                        "--profile", "odds=0.10", "--profile-curves",
                                        file("binomial.txt", binomialWorkspace)});
        QCOMPARE(outcome.status, 0);
        const QJsonObject json = outcome.json();
        QCOMPARE(json["optimizer"].toString(), QString("fletch"));
        QCOMPARE(json["parameterCount"].toInt(), 1);
        const QJsonObject p = json["parameters"].toArray().at(0).toObject();
        QCOMPARE(p["seed"].toDouble(), 0.5);
        QVERIFY(std::abs(p["estimate"].toDouble() - 0.3) < 1e-6);
        QVERIFY(std::abs(p["se"].toDouble() / std::sqrt(0.0021) - 1) < 1e-3);
        QVERIFY(std::abs(json["functions"].toArray().at(0).toObject()["estimate"].toDouble() - 0.3 / 0.7) < 1e-5);
        QCOMPARE(json["covariance"].toArray().size(), 1);
        // The convergence check: |d(-LL)/dp| = |30/p - 70/(1 - p)| at the
        // estimate, times max(p, s.e.).
        const double pHat = p["estimate"].toDouble();
        const QJsonObject gradient = json["maxGradient"].toObject();
        QCOMPARE(gradient["parameter"].toString(), QString("p"));
        const double scaled = std::abs(30 / pHat - 70 / (1 - pHat)) * std::max(pHat, p["se"].toDouble());
        QVERIFY(std::abs(gradient["value"].toDouble() - scaled) <= 1e-6 * scaled + 1e-12);

        // Expected = probability x 100; the category of probability 0 has a
        // residual 0/0 that is not a number and is written as null.
        const QJsonArray rows = json["observedExpected"].toArray();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(0).toObject()["category"].toString(), QString("success"));
        QVERIFY(std::abs(rows.at(0).toObject()["expected"].toDouble() - 30) < 1e-4);
        QVERIFY(rows.at(2).toObject()["residual"].isNull());

        // The limits are checked with the sequence.
        const QJsonArray profiles = json["profiles"].toArray();
        QCOMPARE(profiles.size(), 2);
        const QJsonObject p10 = profiles.at(0).toObject(), odds10 = profiles.at(1).toObject();
        QCOMPARE(p10["kind"].toString() + odds10["kind"].toString() + odds10["alpha"].toString(), "parameterfunction0.10");
        QVERIFY(p10["lower"].toDouble() < 0.3 && p10["upper"].toDouble() > 0.3);
        // Each profile's curve: the searches' points, a dozen more per side,
        // and the estimate at statistic 0.
        const QJsonArray curves = json["profileCurves"].toArray();
        QCOMPARE(curves.size(), 2);
        const QJsonArray points = curves.at(0).toObject()["points"].toArray();
        QVERIFY(points.size() > 25);
        QVERIFY(points.contains(QJsonArray{p["estimate"].toDouble(), 0.0}));

        const QJsonArray log = json["log"].toArray();
        QCOMPARE(log.first().toString(), QString("Estimating model parameters..."));
        QCOMPARE(log.last().toString(), QString("ProfileLikelihood estimation complete."));
    }

    // The bundled two-sample study: 40 caught first only, 30 second only, 20
    // in both. For a given N the MLEs of p1, p2 are n1/N and n2/N; N maximises
    // the profile below (found by golden-section search on its closed form),
    // and N's limits are where it falls by half the chi-squared quantile.
    void twoSampleAbundanceMatchesItsProfileMaximum()
    {
        const Outcome outcome = runCli({"estimate", "--json", QString(PELK_EXAMPLES_DIR "/two-sample-capture.txt")});
        QCOMPARE(outcome.status, 0);
        const QJsonObject json = outcome.json();
        QVERIFY(json["sufficientStatisticDimension"].isNull());  // an unobserved category
        using namespace support::twoSample;
        const double nHat = abundance();
        const QJsonArray parameters = json["parameters"].toArray();
        QVERIFY(std::abs(parameters.at(0).toObject()["estimate"].toDouble() / nHat - 1) < 1e-5);
        QVERIFY(std::abs(parameters.at(1).toObject()["estimate"].toDouble() - caughtFirst / nHat) < 1e-5);
        QVERIFY(std::abs(parameters.at(2).toObject()["estimate"].toDouble() - caughtSecond / nHat) < 1e-5);
        // The log-likelihood at the estimates is the profile's maximum less the
        // multinomial constant of the counts.
        const double ll = profile(nHat) - std::lgamma(41) - std::lgamma(31) - std::lgamma(21);
        QVERIFY(std::abs(json["logLikelihood"].toDouble() - ll) < 1e-6);
        // Unobserved row: N - 90 animals never caught.
        const QJsonArray rows = json["observedExpected"].toArray();
        QCOMPARE(rows.last().toObject()["category"].toString(), QString("Two samples unobserved"));
        QVERIFY(std::abs(rows.last().toObject()["observed"].toDouble() - (nHat - seen)) < 1e-3);
        // N's 0.05 profile limits, where 2 (profile(N^) - profile(N)) reaches
        // the quantile, found by bisection: on or outside, within the
        // precision of an estimate in the hundreds (0.01).
        const QJsonObject limits = json["profiles"].toArray().at(0).toObject();
        QCOMPARE(limits["lowerStatus"].toString() + limits["upperStatus"].toString(), QString("foundfound"));
        QVERIFY(!json.contains("profileCurves")); // not asked for
        const auto beyond = [&](double N) { return 2 * (profile(nHat) - profile(N)) > 3.841458820694129; };
        const auto crossing = [&](double inside, double outside) {
            for (int i = 0; i < 100; ++i)
                (beyond(0.5 * (inside + outside)) ? outside : inside) = 0.5 * (inside + outside);
            return inside;
        };
        const double lower = crossing(nHat, seen), upper = crossing(nHat, 10 * nHat);
        QVERIFY(limits["lower"].toDouble() <= lower && limits["lower"].toDouble() >= lower - 0.01);
        QVERIFY(limits["upper"].toDouble() >= upper && limits["upper"].toDouble() <= upper + 0.01);
    }

    void jsonOnEveryExit_data()
    {
        QTest::addColumn<QByteArray>("from"); // replaced in the binomial workspace
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QStringList>("arguments"); // before the file
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("errors"); // %1: the file
        QTest::newRow("estimated") << QByteArray() << QByteArray() << QStringList() << 0 << true << QStringList();
        QTest::newRow("file that does not read")
            << QByteArray("\np;") << QByteArray("\np") << QStringList() << 2 << false
            << QStringList{"\"variables\" - Unexpected characters, line 4, file \"%1\""};
        QTest::newRow("invalid model")
            << QByteArray("never, 0;") << QByteArray("never, z;") << QStringList() << 1 << false
            << QStringList{"Category \"never\" uses undefined symbol \"z\".",
                           "Model Definition errors must be fixed before estimating the parameters."};
        QTest::newRow("negative count")
            << QByteArray("success : 30") << QByteArray("success : -3") << QStringList() << 1 << true
            << QStringList{"Category \"success\" has the negative count -3.",
                           "Negative counts must be fixed before estimating the parameters."};
        QTest::newRow("more parameters than can be estimated")
            << QByteArray("\np;") << QByteArray("\np, unused;") << QStringList() << 1 << true
            << QStringList{"There are more parameters than can be estimated.",
                           "Any estimates obtained by continuing can not be considered valid."};
        QTest::newRow("forced past too many parameters")
            << QByteArray("\np;") << QByteArray("\np, unused;")
            << QStringList{"--force", "--no-covariance"} << 0 << true << QStringList();
        QTest::newRow("failed parameter run")
            << QByteArray("powell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;")
            << QByteArray("fletch, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = no,\nmaxIterations = 1;")
            << QStringList() << 3 << true << QStringList{"Maximum number of iterations exceeded in fletch"};
    }

    // Every exit but wrong usage prints one JSON document that says how the
    // run ended; only an estimated run has results.
    void jsonOnEveryExit()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(bool, valid);
        QFETCH(QStringList, errors);
        const QString path = file("run.txt", QByteArray(binomialWorkspace).replace(from, to));
        const Outcome outcome = runCli(QStringList{"estimate", "--json"} + arguments + QStringList{path});
        QCOMPARE(outcome.status, status);
        QJsonParseError parsed;
        const QJsonObject json = QJsonDocument::fromJson(outcome.out, &parsed).object();
        QCOMPARE(parsed.error, QJsonParseError::NoError);
        QCOMPARE(json["exitStatus"].toInt(-1), status);
        QCOMPARE(json["valid"].toBool(!valid), valid);
        errors.replaceInStrings("%1", path);
        QCOMPARE(json["errors"].toVariant().toStringList(), errors);
        // The errors are lines of the log, which also went to standard error.
        const QStringList log = json["log"].toVariant().toStringList();
        for (const QString &error : std::as_const(errors))
            QVERIFY(log.contains(error) && outcome.err.contains(error.toUtf8() + '\n'));
        QCOMPARE(json["logLikelihood"].isDouble(), status == 0);
        QCOMPARE(json["parameters"].toArray().isEmpty(), status != 0);
    }

    // The text summary, with two counts that each fit in an int but whose sum
    // does not: the total is printed whole.
    void textSummaryHasTheWholeTotalCount()
    {
        QByteArray text(binomialWorkspace);
        text.replace("success : 30\nfailure : 70", "success : 1500000000\nfailure : 1500000000");
        const Outcome outcome = runCli({"estimate", "--no-covariance", file("large.txt", text)});
        QCOMPARE(outcome.status, 0);
        QVERIFY(outcome.out.startsWith("Estimation Summary Report\n"));
        QVERIFY(outcome.out.contains("\"Trials\"\nTotal observed counts: 3000000000\n"));
    }

    // Ctrl-C during the profile run ends it through the cancel flags.
    void interruptCancelsTheRun()
    {
        QProcess process;
        // Profiles of every quantity of an eight-occasion capture-recapture
        // model at every level: a run of many optimisations.
        constexpr int occasions = 8;
        QStringList symbols{"N"}, requests;
        for (int j = 1; j <= occasions; ++j)
            symbols << QString("a%1").arg(j) << QString("p%1").arg(j);
        for (const QString &symbol : symbols)
            for (const char *alpha : {"0.01", "0.05", "0.10"})
                requests << QString("%1 = %2").arg(symbol, QLatin1String(alpha));
        const QString workspace = support::captureRecaptureWorkspace(occasions, QString("powell"),
                                                                     u'\n' + requests.join(QString(",\n")) + u';');
        process.start(QString(PELK_CLI),
                      {"estimate", "--json", file("captures.txt", workspace.toUtf8())});
        QVERIFY(process.waitForStarted());
        QByteArray err;
        while (!err.contains("Estimating profile likelihood confidence intervals...")
               && process.state() == QProcess::Running) {
            process.waitForReadyRead(1000);
            err += process.readAllStandardError();
        }
        if (process.state() != QProcess::Running)
            QSKIP("the run ended before it could be interrupted");
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(60000));
        err += process.readAllStandardError();
        QCOMPARE(process.exitCode(), 130);
        QVERIFY(err.contains("Canceled.\n"));
        QVERIFY(!err.contains("ProfileLikelihood estimation complete."));
        const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QCOMPARE(json["exitStatus"].toInt(), 130);
        QCOMPARE(json["errors"].toVariant().toStringList(), QStringList{"Canceled."});
    }

    void everyExampleWorkspaceEstimates_data()
    {
        // The files of examples/ that are not workspaces to estimate, and why.
        // Every other file there is one, so a new example is covered at once.
        const QMap<QString, QString> notWorkspaces{
            {"format-sample.txt", "a sample of the format whose maximum lies on the boundary"},
            {"model-definition.txt", "a model definition file, which has no optimizer section"}};
        const QDir examples(QString(PELK_EXAMPLES_DIR));
        const QStringList names = examples.entryList(QDir::Files, QDir::Name);
        for (auto it = notWorkspaces.cbegin(); it != notWorkspaces.cend(); ++it)
            QVERIFY2(names.contains(it.key()), qPrintable(it.key() + QString(" is gone: drop it from the list")));
        QTest::addColumn<QString>("path");
        for (const QString &name : names)
            if (!notWorkspaces.contains(name))
                QTest::newRow(qPrintable(name)) << examples.filePath(name);
        QVERIFY(names.size() > notWorkspaces.size());
    }

    void everyExampleWorkspaceEstimates()
    {
        QFETCH(QString, path);
        const Outcome outcome = runCli({"estimate", "--json", path});
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.json()["errors"].toArray().size(), 0);
    }

    // Groups A (30 of 100) and B (45 of 100) of one multinomial, with one
    // p or one each: the workspaces estimated by compare and the same read
    // back from estimate's documents give one table, whose statistic is the
    // closed form's.
    void compareRanksWorkspacesAndDocumentsAlike()
    {
        const auto workspace = [](bool groups) {
            const QString pA = groups ? "pA" : "p", pB = groups ? "pB" : "p";
            return QString("parameters\n%1;\n\nvariables;\n\nlikelihood \"Groups\"\n"
                           "successA, %2/2,\nfailureA, (1-%2)/2,\nsuccessB, %3/2,\nfailureB, (1-%3)/2;\n\n"
                           "optimizer\npowell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;\n\n"
                           "parameterSeeds\n%4;\n\nprofileLikelihoodRequests;\n\n"
                           "successA : 30\nfailureA : 70\nsuccessB : 45\nfailureB : 55\n")
                .arg(groups ? "pA, pB" : "p", pA, pB, groups ? "pA = 0.5,\npB = 0.5" : "p = 0.5")
                .toUtf8();
        };
        const QString common = file("common.txt", workspace(false)), groups = file("groups.txt", workspace(true));
        const QStringList documents {file("common.json", runCli({"estimate", "--json", common}).out),
                                     file("groups.json", runCli({"estimate", "--json", groups}).out)};
        const double gain = 30 * std::log(0.3 / 0.375) + 70 * std::log(0.7 / 0.625) + 45 * std::log(0.45 / 0.375)
            + 55 * std::log(0.55 / 0.625);
        QJsonObject first;
        for (const QStringList &items : {QStringList {common, groups}, documents}) {
            const Outcome outcome = runCli(QStringList {"compare", "--json", "--nested", "common:groups"} + items);
            QCOMPARE(outcome.status, 0);
            const QJsonObject json = outcome.json();
            QCOMPARE(json["rankedBy"].toString(), QString("aicc"));
            const QJsonArray models = json["models"].toArray();
            QCOMPARE(models.at(0)["name"].toString(), QString("groups"));
            QCOMPARE(models.at(0).toObject().keys(),
                     QStringList({"aic", "aicc", "aiccWeight", "cumulativeWeight", "deltaAicc", "logLikelihood",
                                  "name", "parameterCount", "pearsonChat"}));
            const QJsonObject test = json["lrt"].toArray().at(0).toObject();
            QVERIFY(std::abs(test["statistic"].toDouble() - 2 * gain) < 1e-6);
            QCOMPARE(test["df"].toInt(), 1);
            if (first.isEmpty())
                first = json;
            else
                QCOMPARE(json, first);
        }
        const Outcome twice = runCli({"compare", common, documents.first()});
        QCOMPARE(twice.status, 1);
        QVERIFY2(twice.err.endsWith(QString("Two models are named \"common\": %1 and %2.\n")
                                        .arg(common, documents.first())
                                        .toUtf8()),
                 twice.err);
    }
};

QTEST_GUILESS_MAIN(TestPelkCli)
#include "tst_pelkcli.moc"
