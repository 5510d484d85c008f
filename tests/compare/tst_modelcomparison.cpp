// A set of binomial models with closed-form maxima, written as the JSON
// records of `pelk-cli estimate --json`: 30 of 100 successes in group A and
// 45 of 100 in group B (n = 200). "common" has one p = 75/200 for both
// groups (its functions pA and pB are that p), "groups" has pA = 0.3 and
// pB = 0.45, "groupsPlus" adds a parameter that changes nothing. Every
// expected number is computed here from those counts.
#include "../support/BinomialWorkspace.h"
#include "../support/TempFiles.h"

#include "compare/ComparisonTable.h"
#include "compare/ModelComparison.h"
#include "compare/ModelSetEstimator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using pelk::ModelComparison;
using pelk::ModelRecord;

namespace {

constexpr double n = 200;

// ln of the binomial probability of the successes, as PELK's multinomial
// log-likelihood counts it (with the coefficient).
double binomialLogLikelihood(double successes, double trials, double p)
{
    return std::lgamma(trials + 1) - std::lgamma(successes + 1) - std::lgamma(trials - successes + 1)
        + successes * std::log(p) + (trials - successes) * std::log(1 - p);
}

const double llCommon = binomialLogLikelihood(30, 100, 0.375) + binomialLogLikelihood(45, 100, 0.375);
const double llGroups = binomialLogLikelihood(30, 100, 0.3) + binomialLogLikelihood(45, 100, 0.45);

struct Estimate
{
    const char *name;
    double value;
    double se;
};

// The record of a document with the keys that pelk-cli estimate --json writes.
ModelRecord record(const QString &name, int k, double logLikelihood, const QList<Estimate> &parameters,
                   const QList<Estimate> &functions = {}, const QString &data = "data-1", bool aicc = true)
{
    const double aic = -2 * logLikelihood + 2 * k;
    const auto array = [](const QList<Estimate> &estimates) {
        QJsonArray list;
        for (const Estimate &e : estimates)
            list.append(QJsonObject {{"name", e.name}, {"estimate", e.value}, {"se", e.se}});
        return list;
    };
    const QJsonObject json {{"name", name},
                            {"parameterCount", k},
                            {"logLikelihood", logLikelihood},
                            {"aic", aic},
                            {"aicc", aicc ? QJsonValue(aic + 2.0 * k * (k + 1) / (n - k - 1)) : QJsonValue()},
                            {"sampleSize", n},
                            {"goodnessOfFit", QJsonObject {{"chat", 1.25}}},
                            {"dataFingerprint", data},
                            {"parameters", array(parameters)},
                            {"functions", array(functions)}};
    QString problem;
    const auto record = ModelRecord::fromJson(json, "unused", &problem);
    if (!record)
        qFatal("%s", qPrintable(problem));
    return *record;
}

double se(double p, double trials)
{
    return std::sqrt(p * (1 - p) / trials);
}

QList<ModelRecord> binomialSet()
{
    const double p = 0.375;
    return {record("common", 1, llCommon, {{"p", p, se(p, 200)}}, {{"pA", p, se(p, 200)}, {"pB", p, se(p, 200)}}),
            record("groups", 2, llGroups, {{"pA", 0.3, se(0.3, 100)}, {"pB", 0.45, se(0.45, 100)}}),
            record("groupsPlus", 3, llGroups,
                   {{"pA", 0.3, se(0.3, 100)}, {"pB", 0.45, se(0.45, 100)}, {"q", 1.0, 0.5}})};
}

} // namespace

class TestModelComparison : public QObject
{
    Q_OBJECT

private slots:
    void ranksWeighsAndAveragesAsInClosedForm_data()
    {
        QTest::addColumn<double>("chat"); // 0: none
        QTest::addColumn<QStringList>("order");
        QTest::newRow("AICc") << 0.0 << QStringList {"groups", "groupsPlus", "common"};
        // Overdispersion of 3 shrinks the groups' gain below their extra parameter.
        QTest::newRow("QAICc, c-hat 3") << 3.0 << QStringList {"common", "groups", "groupsPlus"};
    }

    void ranksWeighsAndAveragesAsInClosedForm()
    {
        QFETCH(double, chat);
        QFETCH(QStringList, order);
        const double c = chat > 0 ? chat : 1.0;
        const int extra = chat > 0 ? 1 : 0; // K = k + 1 counts c-hat
        const auto criterion = [&](double ll, int k) {
            const double K = k + extra;
            return -2 * ll / c + 2 * K + 2 * K * (K + 1) / (n - K - 1);
        };
        const QMap<QString, double> values {{"common", criterion(llCommon, 1)},
                                            {"groups", criterion(llGroups, 2)},
                                            {"groupsPlus", criterion(llGroups, 3)}};
        const double best = values.value(order.first());
        double sum = 0;
        for (double v : values)
            sum += std::exp(-(v - best) / 2);
        QMap<QString, double> weight;
        for (auto it = values.begin(); it != values.end(); ++it)
            weight[it.key()] = std::exp(-(it.value() - best) / 2) / sum;

        ModelComparison::Options options;
        if (chat > 0)
            options.chat = chat;
        const ModelComparison result = ModelComparison::compare(binomialSet(), options);
        QVERIFY(result.refusal.isEmpty());
        QCOMPARE(result.rankedBy, chat > 0 ? ModelComparison::Criterion::Qaicc : ModelComparison::Criterion::Aicc);
        QCOMPARE(result.rows.size(), 3);
        double cumulative = 0;
        for (int i = 0; i < 3; ++i) {
            const ModelComparison::Row &row = result.rows.at(i);
            QCOMPARE(row.model.name, order.at(i));
            const double delta = values.value(row.model.name) - best;
            QVERIFY(std::abs((chat > 0 ? *row.deltaQaicc : row.delta) - delta) < 1e-9);
            QVERIFY(std::abs(row.rankingWeight() - weight.value(row.model.name)) < 1e-12);
            cumulative += weight.value(row.model.name);
            QVERIFY(std::abs(row.cumulativeWeight - cumulative) < 1e-12);
        }
        QVERIFY(std::abs(result.rows.last().cumulativeWeight - 1) < 1e-12);

        // pA is in every model, p and q are not; eq. 4.9 with c var_i.
        QCOMPARE(result.averaged.size(), 2);
        const ModelComparison::Averaged &pA = result.averaged.at(result.averaged.at(0).name == "pA" ? 0 : 1);
        QCOMPARE(pA.name, QString("pA"));
        QCOMPARE(pA.modelNames, order);
        const QMap<QString, std::pair<double, double>> pAByModel {
            {"common", {0.375, se(0.375, 200)}}, {"groups", {0.3, se(0.3, 100)}}, {"groupsPlus", {0.3, se(0.3, 100)}}};
        double mean = 0, unconditional = 0;
        for (auto it = pAByModel.begin(); it != pAByModel.end(); ++it)
            mean += weight.value(it.key()) * it.value().first;
        for (auto it = pAByModel.begin(); it != pAByModel.end(); ++it)
            unconditional += weight.value(it.key())
                * std::sqrt(c * std::pow(it.value().second, 2) + std::pow(it.value().first - mean, 2));
        QVERIFY(std::abs(pA.estimate - mean) < 1e-12);
        QVERIFY(std::abs(*pA.unconditionalSe - unconditional) < 1e-12);
    }

    void averagesPartialQuantitiesOnRenormalisedWeights()
    {
        ModelComparison::Options options;
        options.averagePartial = true;
        const ModelComparison result = ModelComparison::compare(binomialSet(), options);
        QStringList names;
        for (const auto &averaged : result.averaged)
            names.append(averaged.name);
        QCOMPARE(names, QStringList({"pA", "pB", "q", "p"}));
        // q is only in groupsPlus: its own estimate and s.e., whatever its weight.
        QCOMPARE(result.averaged.at(2).estimate, 1.0);
        QCOMPARE(*result.averaged.at(2).unconditionalSe, 0.5);
        QCOMPARE(result.averaged.at(2).modelNames, QStringList {"groupsPlus"});
        QCOMPARE(result.notes, QStringList {"Some quantities are averaged over only the models that have them, "
                                            "with their weights renormalised; a name may not mean the same thing "
                                            "in every model."});
    }

    void ranksByAicWhenAiccIsMissing()
    {
        QList<ModelRecord> set = binomialSet();
        set[2] = record("groupsPlus", 3, llGroups, {}, {}, "data-1", false);
        const ModelComparison result = ModelComparison::compare(set, {});
        QCOMPARE(result.rankedBy, ModelComparison::Criterion::Aic);
        QCOMPARE(result.notes, QStringList {"Ranked by AIC: AICc is not available for \"groupsPlus\"."});
        // AIC: groups 2 below groupsPlus exactly.
        QCOMPARE(result.rows.at(1).model.name, QString("groupsPlus"));
        QVERIFY(std::abs(result.rows.at(1).delta - 2) < 1e-9);
    }

    void testsNestedPairs_data()
    {
        QTest::addColumn<double>("chat");
        QTest::addColumn<QStringList>("notes");
        QTest::newRow("no c-hat") << 0.0 << QStringList();
        QTest::newRow("c-hat 0.5 used as 1")
            << 0.5 << QStringList {"c-hat 0.5 is below 1: 1 is used."};
        QTest::newRow("c-hat 2 divides")
            << 2.0 << QStringList {"Likelihood-ratio statistics are divided by c-hat = 2."};
    }

    void testsNestedPairs()
    {
        QFETCH(double, chat);
        QFETCH(QStringList, notes);
        ModelComparison::Options options;
        options.nested = {{"common", "groups"}, {"groups", "groupsPlus"}};
        if (chat > 0)
            options.chat = chat;
        const ModelComparison result = ModelComparison::compare(binomialSet(), options);
        QCOMPARE(result.notes, notes);
        QCOMPARE(result.tests.size(), 2);
        const auto &test = result.tests.first();
        QCOMPARE(test.df, 1);
        const double statistic = 2 * (llGroups - llCommon) / std::max(chat, 1.0);
        QVERIFY(std::abs(test.statistic - statistic) < 1e-12);
        // The upper tail of chi-squared with 1 df: erfc(sqrt(x / 2)).
        QVERIFY(std::abs(test.p - std::erfc(std::sqrt(statistic / 2))) < 1e-12);
        QCOMPARE(result.tests.last().statistic, 0.0);
        QCOMPARE(result.tests.last().p, 1.0);
    }

    void refusesSetsThatCannotBeCompared_data()
    {
        QTest::addColumn<QList<ModelRecord>>("set");
        QTest::addColumn<QString>("nested"); // "A:B" or empty
        QTest::addColumn<QString>("refusal");
        QList<ModelRecord> set = binomialSet();
        set[0].fileName = "a/common.txt";
        set[2] = set[0];
        set[2].fileName = "b/common.json";
        QTest::newRow("duplicate name") << set << "" << "Two models are named \"common\": a/common.txt and b/common.json.";
        set = binomialSet();
        set[1].dataFingerprint = set[2].dataFingerprint = "data-2";
        QTest::newRow("other data") << set << ""
                                    << "Models fitted to other data than \"common\": \"groups\", \"groupsPlus\". "
                                       "Models can only be compared on the same data.";
        QTest::newRow("general has fewer parameters")
            << binomialSet() << "groups:common" << "\"groups\" is not nested in \"common\": k = 2 for \"groups\" and 1 "
                                                   "for \"common\", so df = -1.";
        set = binomialSet();
        set[2].logLikelihood = llGroups - 0.0011;
        QTest::newRow("general fits worse")
            << set << "groups:groupsPlus"
            << QString("\"groups\" is not nested in \"groupsPlus\": its log-likelihood %1 is above \"groupsPlus\"'s %2.")
                   .arg(QString::number(llGroups, 'g', 10), QString::number(llGroups - 0.0011, 'g', 10));
        QTest::newRow("unknown model") << binomialSet() << "common:mixture"
                                       << "There is no model named \"mixture\" to test.";
        QTest::newRow("empty set") << QList<ModelRecord>() << "" << "There are no models to compare.";
    }

    void refusesSetsThatCannotBeCompared()
    {
        QFETCH(QList<ModelRecord>, set);
        QFETCH(QString, nested);
        QFETCH(QString, refusal);
        ModelComparison::Options options;
        if (!nested.isEmpty())
            options.nested = {{nested.section(':', 0, 0), nested.section(':', 1)}};
        const ModelComparison result = ModelComparison::compare(set, options);
        QCOMPARE(result.refusal, refusal);
        QVERIFY(result.rows.isEmpty() && result.averaged.isEmpty() && result.tests.isEmpty());
    }

    // Workspaces run at once, each on its own thread, beside a document
    // estimated elsewhere; records come in the order of the files.
    void estimatesWorkspacesAtOnceBesideDocuments()
    {
        support::TempFiles files;
        support::Binomial logit;
        logit.parameters = "b";
        logit.variables = "p = 1/(1+exp(-b))";
        logit.seeds = "b = 0";
        const QJsonObject document {{"name", "elsewhere"}, {"parameterCount", 0}, {"logLikelihood", -70.0},
                                    {"aic", 140.0}, {"parameters", QJsonArray()}};
        const QStringList names {files.write("plain.txt", support::Binomial().text()),
                                 files.write("job-7.json", QJsonDocument(document).toJson()),
                                 files.write("logit.txt", logit.text())};
        pelk::ModelSetEstimator estimator;
        estimator.setConcurrency(2);
        QSignalSpy finished(&estimator, &pelk::ModelSetEstimator::finished);
        estimator.start(names);
        QVERIFY(finished.count() == 1 || finished.wait(120000));
        QCOMPARE(estimator.problems(), QStringList());
        const QList<ModelRecord> records = estimator.records();
        QCOMPARE(records.size(), 3);
        QCOMPARE(records.at(0).name, QString("plain"));
        QCOMPARE(records.at(1).name, QString("elsewhere"));
        QCOMPARE(records.at(2).name, QString("logit"));
        for (int i : {0, 2}) {
            QVERIFY(std::abs(records.at(i).logLikelihood - binomialLogLikelihood(30, 100, 0.3)) < 1e-8);
            QCOMPARE(records.at(i).parameterCount, 1);
        }
        QCOMPARE(records.at(1).logLikelihood, -70.0);
    }

    void acceptsTheDropWithinRounding()
    {
        QList<ModelRecord> set = binomialSet();
        set[2].logLikelihood = llGroups - 0.0009;
        ModelComparison::Options options;
        options.nested = {{"groups", "groupsPlus"}};
        QCOMPARE(ModelComparison::compare(set, options).tests.first().statistic, 0.0);
    }

    // The CSV a spreadsheet reads: one header, one line per model in rank
    // order, a name holding a comma or a quote quoted.
    void csvQuotesNames()
    {
        const QList<ModelRecord> set {record("a,\"b\"", 1, -10.0, {}), record("plain", 2, -12.0, {})};
        const QStringList lines = pelk::ComparisonTable::csv(ModelComparison::compare(set, {})).split(u'\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), QStringLiteral("Model,k,log L,AIC,AICc,Delta AICc,AICc weight,Cumulative weight,Pearson c-hat"));
        QVERIFY2(lines.at(1).startsWith(QStringLiteral("\"a,\"\"b\"\"\",1,-10,22,")), qPrintable(lines.at(1)));
        QVERIFY2(lines.at(2).startsWith(QStringLiteral("\"plain\",2,-12,28,")), qPrintable(lines.at(2)));
        QVERIFY(lines.at(3).isEmpty());
    }
};

Q_DECLARE_METATYPE(QList<ModelRecord>)

QTEST_GUILESS_MAIN(TestModelComparison)
#include "tst_modelcomparison.moc"
