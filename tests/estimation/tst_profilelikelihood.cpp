// One profile-likelihood limit search on profiles known in closed form, each
// given to the search as a one-parameter fit: how each side ends (a limit,
// a bound of the usable range, a side the data do not bound, a better
// optimum), where the limit lies against the precision, and how few fits it
// takes; the precision rule.
#include "estimation/ProfileLimitSearch.h"
#include "optim/Func.h"

#include <QTest>

#include <cmath>
#include <functional>

using Search = zav::ProfileLimitSearch;
using Status = pelk::ProfileLimitStatus;
using Profile = std::function<double(double)>; // f at q; NaN where unusable

namespace {

constexpr double chi95 = 3.841458820694129;

// A fit whose minimum at q is a given profile: the search sees nothing else.
class KnownProfile : public zav::ProfileFit
{
public:
    explicit KnownProfile(Profile f) : m_f(std::move(f)) {}
    double minimum(double q, std::vector<double> &point, const zav::CancelFlag *) override
    {
        point.assign(1, q);
        const double f = m_f(q);
        return std::isnan(f) ? zav::Func::unusable : f;
    }
    long evaluationCost() const override { return 0; }

private:
    Profile m_f;
};

// Solves g(q) = 0 for q in [a, b] (g(a), g(b) of opposite signs) by bisection.
double bisect(const Profile &g, double a, double b)
{
    const bool negativeAtA = g(a) < 0;
    for (int i = 0; i < 200; ++i) {
        const double m = 0.5 * (a + b);
        ((g(m) < 0) == negativeAtA ? a : b) = m;
    }
    return 0.5 * (a + b);
}

Profile quadratic(double centre, double width)
{
    return [=](double q) { return 0.5 * (q - centre) * (q - centre) / (width * width); };
}

// 9 successes in 10 trials (p) or 10 in 10; log(0) and p > 1 are unusable.
Profile binomial(int successes)
{
    return [=](double p) {
        if (p <= 0.0 || p > 1.0)
            return std::nan("");
        const double failures = 10 - successes;
        const double f = -(successes * std::log(p) + (failures > 0 ? failures * std::log(1 - p) : 0.0));
        return std::isfinite(f) ? f : std::nan("");
    };
}

} // namespace

Q_DECLARE_METATYPE(Profile)

class TestProfileLikelihood : public QObject
{
    Q_OBJECT

private slots:
    void sidesEndAsTheirProfilesDictate_data()
    {
        QTest::addColumn<Profile>("profile");
        QTest::addColumn<double>("estimate");
        QTest::addColumn<double>("standardError"); // 0: no covariance
        QTest::addColumn<int>("side");
        QTest::addColumn<Status>("status");
        QTest::addColumn<double>("expected"); // the closed-form limit or last value
        QTest::addColumn<int>("maxFits");

        const double half = std::sqrt(chi95);
        QTest::newRow("quadratic, lower") << quadratic(10, 1) << 10.0 << 1.0 << 0 << Status::Found << 10 - half << 6;
        QTest::newRow("quadratic, upper") << quadratic(10, 1) << 10.0 << 1.0 << 1 << Status::Found << 10 + half << 6;
        QTest::newRow("quadratic, no covariance") << quadratic(10, 1) << 10.0 << 0.0 << 1 << Status::Found << 10 + half << 12;
        // Limits a thousand times the estimate away, and an estimate of 0.
        QTest::newRow("limits far from a small estimate")
            << quadratic(0.002, 1) << 0.002 << 1.0 << 0 << Status::Found << 0.002 - half << 6;
        QTest::newRow("estimate 0, no covariance") << quadratic(0, 1) << 0.0 << 0.0 << 1 << Status::Found << half << 20;
        // The normal mean exp(a) of one observation 0.1 (s.e. 1): the fit can
        // never be worse than mean 0, 0.1^2 < T, so the lower side is open;
        // the upper limit is where exp(a) = 0.1 + sqrt(T). The s.e. of a is 10.
        const Profile flat = [](double a) { return 0.5 * std::pow(0.1 - std::exp(a), 2); };
        QTest::newRow("flat side") << flat << std::log(0.1) << 10.0 << 0 << Status::Open
                                   << std::log(0.1) - Search::openReach * 10 << 12;
        QTest::newRow("the other side of the flat one")
            << flat << std::log(0.1) << 10.0 << 1 << Status::Found << std::log(0.1 + half) << 20;
        // 10 of 10: no p above 1 can be evaluated, and the profile never
        // reaches T below it; 9 of 10 reaches it just below 1.
        QTest::newRow("at the bound p = 1") << binomial(10) << 1.0 << 0.0 << 1 << Status::AtBound << 1.0 << 40;
        QTest::newRow("below the bound p = 1") << binomial(10) << 1.0 << 0.0 << 0 << Status::Found
                                               << std::exp(-chi95 / 20) << 40;
        const Profile nineOfTen = binomial(9);
        QTest::newRow("near the bound p = 1")
            << nineOfTen << 0.9 << std::sqrt(0.009) << 1 << Status::Found
            << bisect([&](double p) { return 2 * (nineOfTen(p) - nineOfTen(0.9)) - chi95; }, 0.9, 1 - 1e-15) << 30;
    }

    void sidesEndAsTheirProfilesDictate()
    {
        QFETCH(Profile, profile);
        QFETCH(double, estimate);
        QFETCH(double, standardError);
        QFETCH(int, side);
        QFETCH(Status, status);
        QFETCH(double, expected);
        QFETCH(int, maxFits);
        KnownProfile fit(profile);
        Search::Quantity quantity;
        quantity.estimate = estimate;
        quantity.minimum = profile(estimate);
        if (standardError > 0) {
            quantity.standardError = standardError;
            quantity.direction = {1.0};
        }
        const double precision = Search::precisionFor(estimate, nullptr);
        int points = 0;
        Search search(fit, {estimate}, quantity, precision, [&](double, double) { ++points; });
        const zav::CancelFlag cancel{false};
        const Search::Result result = search.find(Search::Side(side), chi95, &cancel);
        QCOMPARE(result.limit.status, status);
        QCOMPARE(points, result.fits);
        QVERIFY2(result.fits <= maxFits, qPrintable(QString::number(result.fits)));
        const double error = result.limit.value - expected;
        if (status == Status::Found) {
            // On or outside the interval, within the precision.
            const double outward = side == 0 ? -error : error;
            QVERIFY2(outward >= -1e-9 && outward <= precision, qPrintable(QString::number(error)));
        } else {
            QVERIFY2(std::abs(error) <= precision, qPrintable(QString::number(error)));
        }
    }

    // The estimates at 10 under a profile whose maximum is at 12: the first
    // fit beats them, and the search stops there.
    void aBetterOptimumStopsTheSearch()
    {
        KnownProfile fit(quadratic(12, 1));
        Search::Quantity quantity;
        quantity.estimate = 10;
        quantity.minimum = 2; // f(10)
        quantity.standardError = 1;
        Search search(fit, {10.0}, quantity, 1e-3, [](double, double) {});
        const zav::CancelFlag cancel{false};
        const Search::Result result = search.find(Search::Upper, chi95, &cancel);
        QCOMPARE(result.limit.status, Status::BetterOptimum);
        const double q = 10 + std::sqrt(chi95);
        QCOMPARE(result.limit.value, q);
        QCOMPARE(result.betterLogLikelihood, -0.5 * (q - 12) * (q - 12));
        QCOMPARE(result.fits, 1);
    }

    void precisionFollowsTheEstimate_data()
    {
        QTest::addColumn<double>("estimate");
        QTest::addColumn<double>("supplied"); // 0: automatic
        QTest::addColumn<double>("precision");
        QTest::newRow("50") << 50.0 << 0.0 << 0.001;
        QTest::newRow("0.3") << 0.3 << 0.0 << 1e-5;
        QTest::newRow("-2000") << -2000.0 << 0.0 << 0.1;
        QTest::newRow("supplied 5 is lowered to 1") << 50.0 << 5.0 << 1.0;
    }

    void precisionFollowsTheEstimate()
    {
        QFETCH(double, estimate);
        QFETCH(double, supplied);
        QFETCH(double, precision);
        const double found = Search::precisionFor(estimate, supplied > 0 ? &supplied : nullptr);
        QVERIFY(std::abs(found / precision - 1) < 1e-12);
        QCOMPARE(Search::displayDigits(found), std::floor(std::log10(1 / precision)));
    }
};

QTEST_GUILESS_MAIN(TestProfileLikelihood)
#include "tst_profilelikelihood.moc"
