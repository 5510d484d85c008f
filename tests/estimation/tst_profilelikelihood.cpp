// One profile-likelihood search on objectives whose profile is known: the
// precision and the first step rules, the limits of a quadratic, a zero
// estimate, a quantity the likelihood does not constrain, and the status
// lines of a run without requests.
#include "estimation/PenalisedProfileSolver.h"
#include "estimation/ProfileLikelihoodEstimator.h"
#include "estimation/ProfileLikelihoodsEstimator.h"
#include "estimation/ThreadRunner.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "optim/NRError.h"
#include "optim/AbstractOptimizer.h"
#include "optim/OptimizerFactory.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

constexpr double chi95 = 3.841458820694129;

// f = (theta - centre)^2 / (2 width^2): a normal log-likelihood whose
// profile is itself, so the 0.05 limits are centre -/+ width sqrt(T).
class Quadratic : public zav::Func
{
public:
    explicit Quadratic(double centre, double width = 1.0) : m_centre(centre), m_width(width) {}
    double operator()(const std::vector<double> &x) override
    {
        const double z = (x[0] - m_centre) / m_width;
        return 0.5 * z * z;
    }

private:
    double m_centre;
    double m_width;
};

// The likelihood ignores theta altogether.
class Flat : public zav::Func
{
public:
    double operator()(const std::vector<double> &) override { return 1.0; }
};

// Powell's method, as a workspace that chose it gives every run.
zav::AbstractOptimizer &powell()
{
    static const std::unique_ptr<zav::AbstractOptimizer> optimizer
        = zav::OptimizerFactory::create(zav::OptimizerFactory::Powell);
    return *optimizer;
}

std::unique_ptr<zav::ProfileLikelihoodEstimator> estimatorFor(const std::vector<double> &estimates, zav::Func &function,
                                                              const double *precision = nullptr)
{
    return std::make_unique<zav::ProfileLikelihoodEstimator>(
        estimates, &function, estimates[0], precision,
        std::make_unique<zav::PenalisedProfileSolver>(estimates, &function, 0, powell(),
                                                      zav::OptimizerFactory::Powell));
}

} // namespace

class TestProfileLikelihood : public QObject
{
    Q_OBJECT

private slots:
    void precisionAndFirstStepFollowTheEstimate_data()
    {
        QTest::addColumn<double>("estimate");
        QTest::addColumn<double>("supplied");  // 0: automatic
        QTest::addColumn<double>("precision");
        QTest::addColumn<double>("firstValue");
        QTest::newRow("50") << 50.0 << 0.0 << 0.001 << 45.0;
        QTest::newRow("0.3") << 0.3 << 0.0 << 1e-5 << 0.27;
        QTest::newRow("2000: step 0.4 x estimate") << 2000.0 << 0.0 << 0.1 << 1200.0;
        QTest::newRow("supplied 5 is lowered to 1") << 50.0 << 5.0 << 1.0 << 45.0;
        QTest::newRow("zero estimate steps by 0.1") << 0.0 << 0.0 << 1e-5 << -0.1;
    }

    void precisionAndFirstStepFollowTheEstimate()
    {
        QFETCH(double, estimate);
        QFETCH(double, supplied);
        QFETCH(double, precision);
        QFETCH(double, firstValue);
        Quadratic function(estimate);
        const std::vector<double> estimates{estimate};
        auto estimator = estimatorFor(estimates, function, supplied > 0 ? &supplied : nullptr);
        QVERIFY(std::abs(estimator->precision() / precision - 1) < 1e-12);
        QSignalSpy status(estimator.get(), &zav::ProfileLikelihoodEstimator::profileStatus);
        const zav::CancelFlag cancel{false};
        estimator->findBound(zav::ProfileLikelihoodEstimator::Lower, chi95, &cancel);
        QVERIFY(std::abs(status.first().at(1).toDouble() - firstValue) < 1e-12);
        QCOMPARE(status.first().at(0).toDouble(), estimate);
        QCOMPARE(status.first().at(3).toDouble(), chi95);
        QCOMPARE(estimator->displayDigits(), std::floor(std::log10(1 / precision)));
    }

    void quadraticLimitsLieJustOutsideTheTrueOnes_data()
    {
        QTest::addColumn<double>("centre");
        QTest::addColumn<double>("width");
        QTest::newRow("10") << 10.0 << 1.0;
        QTest::newRow("0") << 0.0 << 1.0;
        QTest::newRow("0.3 narrow") << 0.3 << 0.05;
    }

    void quadraticLimitsLieJustOutsideTheTrueOnes()
    {
        QFETCH(double, centre);
        QFETCH(double, width);
        Quadratic function(centre, width);
        const std::vector<double> estimates{centre};
        auto estimator = estimatorFor(estimates, function);
        const zav::CancelFlag cancel{false};
        const double half = width * std::sqrt(chi95);
        const double prec = estimator->precision();
        const double lower = estimator->findBound(zav::ProfileLikelihoodEstimator::Lower, chi95, &cancel);
        const double upper = estimator->findBound(zav::ProfileLikelihoodEstimator::Upper, chi95, &cancel);
        // On or outside the interval, within one final step; the optimizer's
        // own tolerance allows a hair inside.
        const double slack = 1e-6 * std::max(1.0, std::abs(centre));
        QVERIFY2(lower <= centre - half + slack && lower >= centre - half - prec - slack,
                 qPrintable(QString::number(lower - (centre - half))));
        QVERIFY2(upper >= centre + half - slack && upper <= centre + half + prec + slack,
                 qPrintable(QString::number(upper - (centre + half))));
    }

    void unconstrainedQuantityGivesUp()
    {
        Flat function;
        const std::vector<double> estimates{2.0};
        auto estimator = estimatorFor(estimates, function);
        const zav::CancelFlag cancel{false};
        try {
            estimator->findBound(zav::ProfileLikelihoodEstimator::Upper, chi95, &cancel);
            QFAIL("the search should give up");
        } catch (const NR3::NRError &error) {
            QCOMPARE(QByteArray(error.message), QByteArray("Profile likelihood limit not found"));
        }
    }

    void runWithoutRequestsWritesTwoLines()
    {
        zav::ThreadRunner runner;
        pelk::ProfileLikelihoodsEstimator estimator(&runner);
        pelk::ModelDefinition model;
        model.insertParameter(0, QStringLiteral("p"));
        pelk::ProfileLikelihoods parameters, functions;
        std::vector<double> estimates{0.5};
        Quadratic function(0.5);
        estimator.setModel(&model);
        estimator.setOptimizer(&powell(), zav::OptimizerFactory::Powell);
        estimator.setRequests(&parameters, &functions);
        estimator.setEstimates(&estimates);
        estimator.setFunction(&function);
        QSignalSpy status(&runner, &zav::ThreadRunner::status);
        estimator.run();  // on this thread: the runner emits directly
        QCOMPARE(status.count(), 2);
        QCOMPARE(status.at(0).at(0).toString(), QStringLiteral("Estimating profile likelihood confidence intervals..."));
        QCOMPARE(status.at(1).at(0).toString(), QStringLiteral("ProfileLikelihood estimation complete."));
    }
};

QTEST_GUILESS_MAIN(TestProfileLikelihood)
#include "tst_profilelikelihood.moc"
