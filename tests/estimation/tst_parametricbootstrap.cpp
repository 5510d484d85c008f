// The parametric bootstrap of a 4-occasion capture-recapture fit (model
// M_t): shards merged give one run's document byte for byte, a refit
// equals an estimation of the replicate's data from scratch, the fitted
// model's own data look ordinary and heterogeneous data do not, and a
// cancelled run stops. Runs on several threads (ThreadSanitizer runs it).
#include "EstimationFixture.h"
#include "../support/CaptureRecaptureWorkspace.h"

#include "estimation/BootstrapShardMerge.h"
#include "estimation/EstimationSummary.h"
#include "estimation/ParametricBootstrap.h"
#include "io/BootstrapJsonWriter.h"

#include <QJsonDocument>

#include <cmath>
#include <optional>

using pelk::BootstrapResult;
using pelk::ParametricBootstrap;

using Counts = QMap<QString, int>;

namespace {

constexpr int occasions = 4;

// The study fitted to `counts` (default: the expected counts of the
// generating values, rounded).
struct FittedStudy
{
    EstimationFixture fixture{support::captureRecaptureWorkspace(occasions)};
    std::optional<pelk::EstimationSummary> summary;
    std::optional<ParametricBootstrap> bootstrap;

    explicit FittedStudy(const QMap<QString, int> &counts = {})
    {
        if (!counts.isEmpty())
            fixture.workspace.categoryCounts = counts;
        if (!fixture.run())
            qFatal("the study does not fit");
        summary = pelk::EstimationSummary::compute(fixture.workspace, fixture.results);
        bootstrap.emplace(fixture.workspace, fixture.results.estimates, ParametricBootstrap::observedFrom(*summary));
    }

    BootstrapResult run(int replicates, int threads, int shard = 1, int shards = 1) const
    {
        const auto result = bootstrap->run({5, replicates, shard, shards, threads});
        if (!result)
            qFatal("the bootstrap did not run");
        return *result;
    }
};

QByteArray document(const BootstrapResult &result)
{
    return QJsonDocument(pelk::BootstrapJsonWriter::write(result)).toJson();
}

// Capture-history counts of 500 animals by a rule per history.
template<typename Count>
QMap<QString, int> histories(Count count)
{
    QMap<QString, int> counts;
    for (int history = 1; history < (1 << occasions); ++history) {
        QString label;
        int caught = 0;
        for (int j = 0; j < occasions; ++j) {
            label += (history >> j) & 1 ? u'1' : u'0';
            caught += (history >> j) & 1;
        }
        counts.insert(label, count(label, caught));
    }
    return counts;
}

} // namespace

class TestParametricBootstrap : public QObject
{
    Q_OBJECT

private slots:
    void shardsMergedAreOneRunAndRefitsAreFits();
    void pValueSeparatesOwnDataFromOtherData_data();
    void pValueSeparatesOwnDataFromOtherData();
    void cancelStopsTheRun();
};

void TestParametricBootstrap::shardsMergedAreOneRunAndRefitsAreFits()
{
    const FittedStudy study;
    const BootstrapResult whole = study.run(12, 2);
    QCOMPARE(whole.replicates(), 12);
    QCOMPARE(whole.failed(), 0);
    QList<pelk::BootstrapShardMerge::Shard> shards;
    for (int index = 1; index <= 3; ++index)
        shards.append({QString::number(index), study.run(12, index, index, 3)});
    QString error;
    const auto merged = pelk::BootstrapShardMerge::merge(shards, error);
    QVERIFY2(merged, qPrintable(error));
    QCOMPARE(document(*merged), document(whole));

    // Replicate 1 estimated from the seeds as any workspace is: the same
    // minimum, so the same deviance and X^2 to the optimizer's precision.
    FittedStudy replicate(pelk::BootstrapReplicate(study.fixture.workspace.model,
                                                   study.fixture.workspace.categoryCounts,
                                                   study.fixture.results.estimates)
                              .draw(5, 1)
                              .counts);
    QVERIFY(std::abs(*replicate.summary->goodnessOfFit.deviance - whole.results[0].deviance) < 1e-6);
    QVERIFY(std::abs(*replicate.summary->goodnessOfFit.pearson - whole.results[0].pearson) < 1e-6);
    QVERIFY(whole.results[0].deviance != whole.results[1].deviance);
}

void TestParametricBootstrap::pValueSeparatesOwnDataFromOtherData_data()
{
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // One study drawn from M_t at the generating values.
    FittedStudy generating;
    std::vector<double> truth{500.0};
    for (int j = 0; j < occasions; ++j) {
        const double p = support::captureProbability(j);
        truth.push_back(std::log(p / (1.0 - p)));
    }
    const auto own = pelk::BootstrapReplicate(generating.fixture.workspace.model,
                                              generating.fixture.workspace.categoryCounts, truth)
                         .draw(99, 1)
                         .counts;
    // Half the animals caught with chance 0.1 on every occasion, half with
    // 0.8: heterogeneity that no time effect describes.
    const auto mixture = histories([](const QString &, int k) {
        return int(std::lround(250.0 * (std::pow(0.1, k) * std::pow(0.9, occasions - k)
                                        + std::pow(0.8, k) * std::pow(0.2, occasions - k))));
    });
    QTest::newRow("own model") << own << 0.1 << 0.9;
    QTest::newRow("heterogeneous") << mixture << 0.0 << 1.0 / 40.0;
}

void TestParametricBootstrap::pValueSeparatesOwnDataFromOtherData()
{
    QFETCH(Counts, counts);
    QFETCH(double, low);
    QFETCH(double, high);
    const BootstrapResult result = FittedStudy(counts).run(39, 0);
    QCOMPARE(result.failed(), 0);
    QVERIFY2(*result.bootstrapPValue() >= low && *result.bootstrapPValue() <= high,
             qPrintable(QString::number(*result.bootstrapPValue())));
    QVERIFY2(*result.bootstrapPearsonPValue() >= low && *result.bootstrapPearsonPValue() <= high,
             qPrintable(QString::number(*result.bootstrapPearsonPValue())));
}

void TestParametricBootstrap::cancelStopsTheRun()
{
    const FittedStudy study;
    zav::CancelFlag cancel{false};
    int calls = 0, wrongTotals = 0; // the callback runs on the workers, under the run's lock
    const auto result = study.bootstrap->run({5, 200, 1, 1, 2}, &cancel, [&](int done, int total) {
        ++calls;
        wrongTotals += total != 200;
        if (done == 3)
            cancel = true;
    });
    QVERIFY(!result);
    QCOMPARE(wrongTotals, 0);
    // The replicates under way when the flag was set may still end.
    QVERIFY(calls >= 3 && calls <= 4);
}

QTEST_GUILESS_MAIN(TestParametricBootstrap)
#include "tst_parametricbootstrap.moc"
