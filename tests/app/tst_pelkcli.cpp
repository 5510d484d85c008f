// pelk-cli as a script uses it: exit statuses, usage, the Verify text, and
// `estimate --json` on models whose answers are known in closed form.
#include "../support/CaptureRecaptureWorkspace.h"
#include "../support/TempFiles.h"
#include "../support/TwoSampleCapture.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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
    process.start(QStringLiteral(PELK_CLI), arguments);
    if (!process.waitForFinished(120000))
        qFatal("pelk-cli did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// Binomial: 30 successes in 100 trials; a third category that has
// probability 0 and no observations.
const char *binomialWorkspace = "parameters p;\n\nvariables\nodds = p/(1-p);\n\n"
                                "likelihood \"Trials\"\nsuccess, p,\nfailure, 1-p,\nnever, 0;\n\n"
                                "optimizer\npowell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;\n\n"
                                "parameterSeeds\np = 0.5;\n\nprofileLikelihoodRequests;\n\n"
                                "success : 30\nfailure : 70\nnever : 0\n";

} // namespace

class TestPelkCli : public QObject
{
    Q_OBJECT

private:
    support::TempFiles m_files;

    QString file(const QString &name, const QByteArray &text) { return m_files.write(name, text); }

private slots:
    void wrongUsageExits64_data();
    void wrongUsageExits64();
    void unreadableWorkspaceExits2WithTheErrorDescription();
    void verifyPrintsTheVerdict();
    void verifyRefusesAnInvalidModel();
    void estimateJsonMatchesTheClosedForm();
    void twoSampleAbundanceMatchesItsProfileMaximum();
    void estimateWithoutCovarianceHasNoStandardErrors();
    void profileOptionAddsARequest();
    void overParameterisedModelNeedsForce();
    void jsonOnEveryExit_data();
    void jsonOnEveryExit();
    void textSummaryHasEverySection();
    void totalCountPastTheIntRangeIsPrintedWhole();
    void interruptCancelsTheRun();
    void everyExampleWorkspaceEstimates_data();
    void everyExampleWorkspaceEstimates();
};

void TestPelkCli::wrongUsageExits64_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList{"fit", "x"};
    QTest::newRow("verify without file") << QStringList{"verify"};
    QTest::newRow("estimate unknown option") << QStringList{"estimate", "--fast", "x"};
    QTest::newRow("estimate bad optimizer") << QStringList{"estimate", "--optimizer", "newton", "x"};
    QTest::newRow("estimate bad profile") << QStringList{"estimate", "--profile", "p", "x"};
    QTest::newRow("estimate two files") << QStringList{"estimate", "x", "y"};
}

void TestPelkCli::wrongUsageExits64()
{
    QFETCH(QStringList, arguments);
    const Outcome outcome = runCli(arguments);
    QCOMPARE(outcome.status, 64);
    QVERIFY(outcome.err.contains("usage: pelk-cli"));
}

void TestPelkCli::unreadableWorkspaceExits2WithTheErrorDescription()
{
    const QString missing = m_files.path(QStringLiteral("missing.txt"));
    Outcome outcome = runCli({"estimate", missing});
    QCOMPARE(outcome.status, 2);
    QCOMPARE(QString::fromUtf8(outcome.err),
             QStringLiteral("\"\" - Error opening input file (No such file or directory), file \"%1\"\n").arg(missing));
    const QString broken = file(QStringLiteral("broken.txt"), "parameters s = 0.5;\n");
    outcome = runCli({"verify", broken});
    QCOMPARE(outcome.status, 2);
    QCOMPARE(QString::fromUtf8(outcome.err),
             QStringLiteral("\"=\" - Unexpected characters, line 1, file \"%1\"\n").arg(broken));
}

void TestPelkCli::verifyPrintsTheVerdict()
{
    const Outcome outcome = runCli({"verify", file(QStringLiteral("binomial.txt"), binomialWorkspace)});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(QString::fromUtf8(outcome.out), QStringLiteral("\nThe Model Definition is valid.\n\nNumber of parameters: 1\n"
                                                            "Dimension of minimum sufficient statistic: 1\n"));
}

void TestPelkCli::verifyRefusesAnInvalidModel()
{
    QByteArray text(binomialWorkspace);
    text.replace("never, 0;", "never, z;");
    const Outcome outcome = runCli({"verify", file(QStringLiteral("invalid.txt"), text)});
    QCOMPARE(outcome.status, 1);
    QCOMPARE(QString::fromUtf8(outcome.out), QStringLiteral("Category \"never\" uses undefined symbol \"z\".\n\n"
                                                            "The Model Definition is not valid.\n"));
}

// p = 0.3, se = sqrt(0.3 * 0.7 / 100); odds = p / (1 - p) with the delta-
// method se = se(p) / (1 - p)^2; LL = log C(100, 30) + 30 log 0.3 + 70 log 0.7.
void TestPelkCli::estimateJsonMatchesTheClosedForm()
{
    const Outcome outcome = runCli({"estimate", "--json", file(QStringLiteral("binomial.txt"), binomialWorkspace)});
    QCOMPARE(outcome.status, 0);
    const QJsonObject json = outcome.json();
    QCOMPARE(json[QStringLiteral("valid")].toBool(), true);
    QCOMPARE(json[QStringLiteral("optimizer")].toString(), QStringLiteral("powell"));
    QCOMPARE(json[QStringLiteral("parameterCount")].toInt(), 1);
    QCOMPARE(json[QStringLiteral("sufficientStatisticDimension")].toInt(), 1);
    const double ll = std::lgamma(101) - std::lgamma(31) - std::lgamma(71) + 30 * std::log(0.3) + 70 * std::log(0.7);
    QVERIFY(std::abs(json[QStringLiteral("logLikelihood")].toDouble() - ll) < 1e-8);
    QVERIFY(std::abs(json[QStringLiteral("aic")].toDouble() - (2 - 2 * ll)) < 1e-8);

    const QJsonObject p = json[QStringLiteral("parameters")].toArray().at(0).toObject();
    QCOMPARE(p[QStringLiteral("name")].toString(), QStringLiteral("p"));
    QCOMPARE(p[QStringLiteral("seed")].toDouble(), 0.5);
    QVERIFY(std::abs(p[QStringLiteral("estimate")].toDouble() - 0.3) < 1e-6);
    const double se = std::sqrt(0.0021);
    QVERIFY(std::abs(p[QStringLiteral("se")].toDouble() / se - 1) < 1e-3);
    const QJsonObject odds = json[QStringLiteral("functions")].toArray().at(0).toObject();
    QVERIFY(std::abs(odds[QStringLiteral("estimate")].toDouble() - 0.3 / 0.7) < 1e-5);
    QVERIFY(std::abs(odds[QStringLiteral("se")].toDouble() / (se / 0.49) - 1) < 1e-3);
    QCOMPARE(json[QStringLiteral("covariance")].toArray().size(), 1);

    // Expected = probability x 100; the category of probability 0 has a
    // residual 0/0 that is not a number and is written as null.
    const QJsonArray rows = json[QStringLiteral("observedExpected")].toArray();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).toObject()[QStringLiteral("category")].toString(), QStringLiteral("success"));
    QVERIFY(std::abs(rows.at(0).toObject()[QStringLiteral("expected")].toDouble() - 30) < 1e-4);
    QVERIFY(std::abs(rows.at(1).toObject()[QStringLiteral("residual")].toDouble()) < 1e-5);
    QVERIFY(rows.at(2).toObject()[QStringLiteral("residual")].isNull());

    const QJsonArray log = json[QStringLiteral("log")].toArray();
    QCOMPARE(log.first().toString(), QStringLiteral("Estimating model parameters..."));
    QCOMPARE(log.last().toString(), QStringLiteral("Covariance matrix estimation complete."));
    QVERIFY(json[QStringLiteral("errors")].toArray().isEmpty());
    QVERIFY(json[QStringLiteral("profiles")].toArray().isEmpty());
    // The log also went to standard error, as it happened.
    QVERIFY(outcome.err.startsWith("Estimating model parameters...\n"));
}

// The bundled two-sample study: 40 caught first only, 30 second only, 20
// in both. For a given N the MLEs of p1, p2 are n1/N and n2/N; N maximises
// the profile below (found by golden-section search on its closed form).
void TestPelkCli::twoSampleAbundanceMatchesItsProfileMaximum()
{
    const Outcome outcome = runCli({"estimate", "--json", QStringLiteral(PELK_EXAMPLES_DIR "/two-sample-capture.txt")});
    QCOMPARE(outcome.status, 0);
    const QJsonObject json = outcome.json();
    QVERIFY(json[QStringLiteral("sufficientStatisticDimension")].isNull());  // an unobserved category
    using namespace support::twoSample;
    const double nHat = abundance();
    const QJsonArray parameters = json[QStringLiteral("parameters")].toArray();
    QVERIFY(std::abs(parameters.at(0).toObject()[QStringLiteral("estimate")].toDouble() / nHat - 1) < 1e-5);
    QVERIFY(std::abs(parameters.at(1).toObject()[QStringLiteral("estimate")].toDouble() - caughtFirst / nHat) < 1e-5);
    QVERIFY(std::abs(parameters.at(2).toObject()[QStringLiteral("estimate")].toDouble() - caughtSecond / nHat) < 1e-5);
    // The log-likelihood at the estimates is the profile's maximum less the
    // multinomial constant of the counts.
    const double ll = profile(nHat) - std::lgamma(41) - std::lgamma(31) - std::lgamma(21);
    QVERIFY(std::abs(json[QStringLiteral("logLikelihood")].toDouble() - ll) < 1e-6);
    // Unobserved row: N - 90 animals never caught.
    const QJsonArray rows = json[QStringLiteral("observedExpected")].toArray();
    QCOMPARE(rows.last().toObject()[QStringLiteral("category")].toString(), QStringLiteral("Two samples unobserved"));
    QVERIFY(std::abs(rows.last().toObject()[QStringLiteral("observed")].toDouble() - (nHat - seen)) < 1e-3);
    QCOMPARE(json[QStringLiteral("profiles")].toArray().size(), 2);
}

void TestPelkCli::estimateWithoutCovarianceHasNoStandardErrors()
{
    const Outcome outcome = runCli({"estimate", "--json", "--no-covariance", "--optimizer", "simplex",
                                    file(QStringLiteral("binomial.txt"), binomialWorkspace)});
    QCOMPARE(outcome.status, 0);
    const QJsonObject json = outcome.json();
    QCOMPARE(json[QStringLiteral("optimizer")].toString(), QStringLiteral("simplex"));
    QVERIFY(json[QStringLiteral("covariance")].isNull());
    QVERIFY(json[QStringLiteral("parameters")].toArray().at(0).toObject()[QStringLiteral("se")].isNull());
    QVERIFY(json[QStringLiteral("functions")].toArray().at(0).toObject()[QStringLiteral("se")].isNull());
}

void TestPelkCli::profileOptionAddsARequest()
{
    const Outcome outcome = runCli({"estimate", "--json", "--profile", "p=0.10", "--profile", "odds=0.10",
                                    file(QStringLiteral("binomial.txt"), binomialWorkspace)});
    QCOMPARE(outcome.status, 0);
    const QJsonArray profiles = outcome.json()[QStringLiteral("profiles")].toArray();
    QCOMPARE(profiles.size(), 2);
    const QJsonObject p = profiles.at(0).toObject();
    QCOMPARE(p[QStringLiteral("kind")].toString(), QStringLiteral("parameter"));
    QCOMPARE(p[QStringLiteral("alpha")].toString(), QStringLiteral("0.10"));
    QVERIFY(p[QStringLiteral("lower")].toDouble() < 0.3 && p[QStringLiteral("upper")].toDouble() > 0.3);
    // odds is increasing in p, so its limits are the odds of p's limits.
    const QJsonObject odds = profiles.at(1).toObject();
    QCOMPARE(odds[QStringLiteral("kind")].toString(), QStringLiteral("function"));
    const double pl = p[QStringLiteral("lower")].toDouble(), pu = p[QStringLiteral("upper")].toDouble();
    QVERIFY(std::abs(odds[QStringLiteral("lower")].toDouble() - pl / (1 - pl)) < 1e-4);
    QVERIFY(std::abs(odds[QStringLiteral("upper")].toDouble() - pu / (1 - pu)) < 1e-4);

    const Outcome unknown = runCli({"estimate", "--profile", "zeta=0.05", file(QStringLiteral("b.txt"), binomialWorkspace)});
    QCOMPARE(unknown.status, 64);
    const Outcome level = runCli({"estimate", "--profile", "p=0.1", file(QStringLiteral("b.txt"), binomialWorkspace)});
    QCOMPARE(level.status, 64);
}

void TestPelkCli::overParameterisedModelNeedsForce()
{
    QByteArray text(binomialWorkspace);
    text.replace("parameters p;", "parameters p, unused;").replace("p = 0.5;", "p = 0.5,\nunused = 1;");
    const QString path = file(QStringLiteral("over.txt"), text);
    const Outcome refused = runCli({"estimate", path});
    QCOMPARE(refused.status, 1);
    QVERIFY(refused.err.contains("There are more parameters than can be estimated.\n"
                                 "Any estimates obtained by continuing can not be considered valid.\n"));
    QVERIFY(refused.out.isEmpty());
    const Outcome forced = runCli({"estimate", "--force", "--no-covariance", "--json", path});
    QCOMPARE(forced.status, 0);
    QCOMPARE(forced.json()[QStringLiteral("sufficientStatisticDimension")].toInt(), 1);
}

void TestPelkCli::jsonOnEveryExit_data()
{
    QTest::addColumn<QByteArray>("from"); // replaced in the binomial workspace
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QStringList>("arguments"); // before the file
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("errors"); // %1: the file
    QTest::newRow("estimated") << QByteArray() << QByteArray() << QStringList() << 0 << true << QStringList();
    QTest::newRow("file that does not read")
        << QByteArray("parameters p;") << QByteArray("parameters p") << QStringList() << 2 << false
        << QStringList{"\"variables\" - Unexpected characters, line 3, file \"%1\""};
    QTest::newRow("invalid model")
        << QByteArray("never, 0;") << QByteArray("never, z;") << QStringList() << 1 << false
        << QStringList{"Category \"never\" uses undefined symbol \"z\".",
                       "Model Definition errors must be fixed before estimating the parameters."};
    QTest::newRow("negative count")
        << QByteArray("success : 30") << QByteArray("success : -3") << QStringList() << 1 << true
        << QStringList{"Category \"success\" has the negative count -3.",
                       "Negative counts must be fixed before estimating the parameters."};
    QTest::newRow("more parameters than can be estimated")
        << QByteArray("parameters p;") << QByteArray("parameters p, unused;") << QStringList() << 1 << true
        << QStringList{"There are more parameters than can be estimated.",
                       "Any estimates obtained by continuing can not be considered valid."};
    QTest::newRow("failed parameter run")
        << QByteArray("powell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;")
        << QByteArray("fletch, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = no,\nmaxIterations = 1;")
        << QStringList() << 3 << true << QStringList{"Maximum number of iterations exceeded in fletch"};
}

// Every exit but wrong usage prints one JSON document that says how the
// run ended; only an estimated run has results.
void TestPelkCli::jsonOnEveryExit()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(bool, valid);
    QFETCH(QStringList, errors);
    const QString path = file(QStringLiteral("run.txt"), QByteArray(binomialWorkspace).replace(from, to));
    const Outcome outcome = runCli(QStringList{"estimate", "--json"} + arguments + QStringList{path});
    QCOMPARE(outcome.status, status);
    QJsonParseError parsed;
    const QJsonObject json = QJsonDocument::fromJson(outcome.out, &parsed).object();
    QCOMPARE(parsed.error, QJsonParseError::NoError);
    QCOMPARE(json[QStringLiteral("exitStatus")].toInt(-1), status);
    QCOMPARE(json[QStringLiteral("valid")].toBool(!valid), valid);
    for (QString &error : errors)
        error = error.arg(path);
    QCOMPARE(json[QStringLiteral("errors")].toVariant().toStringList(), errors);
    // The errors are lines of the log, which also went to standard error.
    const QStringList log = json[QStringLiteral("log")].toVariant().toStringList();
    for (const QString &error : std::as_const(errors))
        QVERIFY(log.contains(error) && outcome.err.contains(error.toUtf8() + '\n'));
    QCOMPARE(json[QStringLiteral("logLikelihood")].isDouble(), status == 0);
    QCOMPARE(json[QStringLiteral("parameters")].toArray().size(), status == 0 ? 1 : 0);
}

void TestPelkCli::textSummaryHasEverySection()
{
    const Outcome outcome = runCli({"estimate", "--profile", "p=0.05", file(QStringLiteral("binomial.txt"), binomialWorkspace)});
    QCOMPARE(outcome.status, 0);
    const QString text = QString::fromUtf8(outcome.out);
    for (const char *section : {"Estimation Summary Report\n", "\nAIC: ", "\nLog-likelihood:  -2.",
                                "Dimension of the Minimum Sufficient Statistic:  1\nNumber of parameters: 1\n",
                                "\"Trials\"\nTotal observed counts: 100\n", "Parameter Estimates",
                                "Profile Likelihood Confidence Intervals", "Convenience Functions",
                                "Observed vs Expected"})
        QVERIFY2(text.contains(QLatin1String(section)), section);
    QVERIFY(!text.contains(QLatin1String("WARNING")));
}

// Two counts that each fit in an int but whose sum does not.
void TestPelkCli::totalCountPastTheIntRangeIsPrintedWhole()
{
    QByteArray text(binomialWorkspace);
    text.replace("success : 30\nfailure : 70", "success : 1500000000\nfailure : 1500000000");
    const Outcome outcome = runCli({"estimate", "--no-covariance", file(QStringLiteral("large.txt"), text)});
    QCOMPARE(outcome.status, 0);
    QVERIFY(outcome.out.contains("\"Trials\"\nTotal observed counts: 3000000000\n"));
}

// Ctrl-C during the profile run ends it through the cancel flags.
void TestPelkCli::interruptCancelsTheRun()
{
    QProcess process;
    // Profiles of every quantity of a six-occasion capture-recapture model
    // at every level: a run of many optimisations.
    QStringList requests;
    for (const char *symbol : {"N", "a1", "a2", "a3", "p1", "p2", "p3"})
        for (const char *alpha : {"0.01", "0.05", "0.10"})
            requests << QStringLiteral("%1 = %2").arg(QLatin1String(symbol), QLatin1String(alpha));
    const QString workspace = support::captureRecaptureWorkspace(6, QStringLiteral("powell"),
                                                                 u'\n' + requests.join(QStringLiteral(",\n")) + u';');
    process.start(QStringLiteral(PELK_CLI),
                  {"estimate", "--json", file(QStringLiteral("captures.txt"), workspace.toUtf8())});
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
    QCOMPARE(json[QStringLiteral("exitStatus")].toInt(), 130);
    QCOMPARE(json[QStringLiteral("errors")].toVariant().toStringList(), QStringList{"Canceled."});
}

void TestPelkCli::everyExampleWorkspaceEstimates_data()
{
    // The files of examples/ that are not workspaces to estimate, and why.
    // Every other file there is one, so a new example is covered at once.
    const QMap<QString, QString> notWorkspaces{
        {"format-sample.txt", "a sample of the format whose maximum lies on the boundary"},
        {"model-definition.txt", "a model definition file, which has no optimizer section"}};
    const QDir examples(QStringLiteral(PELK_EXAMPLES_DIR));
    const QStringList names = examples.entryList(QDir::Files, QDir::Name);
    for (auto it = notWorkspaces.cbegin(); it != notWorkspaces.cend(); ++it)
        QVERIFY2(names.contains(it.key()), qPrintable(it.key() + QStringLiteral(" is gone: drop it from the list")));
    QTest::addColumn<QString>("path");
    for (const QString &name : names)
        if (!notWorkspaces.contains(name))
            QTest::newRow(qPrintable(name)) << examples.filePath(name);
    QVERIFY(names.size() > notWorkspaces.size());
}

void TestPelkCli::everyExampleWorkspaceEstimates()
{
    QFETCH(QString, path);
    const Outcome outcome = runCli({"estimate", "--json", path});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.json()[QStringLiteral("errors")].toArray().size(), 0);
}

QTEST_GUILESS_MAIN(TestPelkCli)
#include "tst_pelkcli.moc"
