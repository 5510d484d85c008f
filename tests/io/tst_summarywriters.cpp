// The estimation summary as text and as JSON, from a summary built by hand:
// layout, number formats, "--na--" and null for values that do not exist.
#include "estimation/EstimationSummary.h"
#include "io/SummaryJsonWriter.h"
#include "io/SummaryTextWriter.h"

#include <QJsonArray>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

pelk::EstimationSummary smallSummary()
{
    pelk::EstimationSummary summary;
    summary.parameterCount = 2;
    summary.logLikelihood = -12.3456789;
    summary.aic = 2 * 2 + 2 * 12.3456789;
    summary.likelihoods = {{QStringLiteral("L1"), -10.0}, {QStringLiteral("L2"), -2.3456789}};
    summary.sufficientStatisticDimension = 1;
    summary.sampleSize = 10;
    summary.aicc = 30.5; // bic: none
    summary.goodnessOfFit.deviance = 3.5;
    summary.goodnessOfFit.pearson = 1.5;
    summary.goodnessOfFit.df = 2;
    summary.goodnessOfFit.devianceP = 0.173774;
    summary.goodnessOfFit.pearsonP = 0.472367;
    summary.goodnessOfFit.chat = 0.75;
    summary.goodnessOfFit.warning = QStringLiteral("w");
    summary.dataFingerprint = QStringLiteral("ab12");
    summary.counts = {{QStringLiteral("L1"), 10, {{QStringLiteral("a"), 1}, {QStringLiteral("b"), 2}, {QStringLiteral("c"), 3}, {QStringLiteral("d"), 4}}}};
    summary.parameters = {{QStringLiteral("p"), 0.5, 0.25, 0.0125}, {QStringLiteral("q"), 1.0, 1234567.0, std::nan("")}};
    pelk::EstimationSummary::ProfileInterval interval;
    interval.symbol = QStringLiteral("p");
    interval.alphaIndex = 2;
    interval.estimate = 0.25;
    interval.lower = {pelk::ProfileLimitStatus::Found, 0.123456789};
    interval.displayDigits = 5;
    summary.profiles = {interval};
    summary.functions = {{QStringLiteral("f"), 0.0, 1e-7, std::nullopt}};
    summary.observedExpected = {{QStringLiteral("a"), 1, 2.5, -0.75}, {QStringLiteral("L1 unobserved"), -3, 0, std::nan("")}};
    return summary;
}

} // namespace

class TestSummaryWriters : public QObject
{
    Q_OBJECT

private slots:
    void dateLineUsesDoubledColonsAndTheCLocale()
    {
        const QDateTime when(QDate(2010, 3, 5), QTime(15, 15, 42));
        QCOMPARE(pelk::SummaryTextWriter::dateLine(when), QStringLiteral("05 March 2010 03::15::42 pm"));
    }

    void textHasTheReportSectionsInOrder()
    {
        const QString text = pelk::SummaryTextWriter::write(smallSummary(), QDateTime(QDate(2010, 3, 5), QTime(9, 0, 0)));
        const QStringList expectedInOrder{
            "Estimation Summary Report\n\n05 March 2010 09::00::00 am\n",
            "AIC: 28.6914\nAICc: 30.5\nBIC: --na--\nLog-likelihood:  -12.3457\n   L1:  -10\n   L2:  -2.34568\n",
            "\nDimension of the Minimum Sufficient Statistic:  1\nNumber of parameters: 2\n"
            "WARNING:  Parameters may not be estimable\nSample size (n): 10\n",
            "Goodness of Fit\n---------------\nDeviance (G^2):  3.5\nPearson X^2:  1.5\nDegrees of freedom:  2\n"
            "p-value of G^2:  0.173774\np-value of X^2:  0.472367\nc-hat (X^2/df):  0.75\nc-hat is below 1: no "
            "overdispersion is indicated, and 1 is the value to use.\nWARNING:  w\n",
            "\"L1\"\nTotal observed counts: 10\n",
            "Category  Counts  Category  Counts  Category  Counts\n"
            "a         1       b         2       c         3\n"
            "d         4\n",
            "Parameter  Estimate     s.e.\np          0.25         0.0125\nq          1.23457e+06  --na--\n",
            "Symbol  Estimate  Alpha  Lower Bound  Upper Bound\np       0.25      0.10   0.12346      --na--\n",
            "Name  Estimate  s.e.\nf     1e-07     --na--\n",
            "Category       Observed  Expected  Anscombe Residual\n"
            "a              1         2.5       -0.75\n"
            "L1 unobserved  -3        0         --na--\n"};
        qsizetype from = 0;
        for (const QString &part : expectedInOrder) {
            const qsizetype at = text.indexOf(part, from);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("missing or out of order:\n%1\nin:\n%2").arg(part, text)));
            from = at + part.size();
        }
    }

    void textLeavesOutEmptySections()
    {
        pelk::EstimationSummary summary = smallSummary();
        summary.profiles.clear();
        summary.functions.clear();
        summary.likelihoods.removeLast();
        summary.sufficientStatisticDimension.reset();
        summary.goodnessOfFit.warning.clear();
        const QString text = pelk::SummaryTextWriter::write(summary, QDateTime::currentDateTime());
        QVERIFY(!text.contains(QLatin1String("Profile Likelihood")));
        QVERIFY(!text.contains(QLatin1String("Convenience Functions")));
        QVERIFY(!text.contains(QLatin1String("   L1:")));
        QVERIFY(!text.contains(QLatin1String("WARNING")));
        QVERIFY(text.contains(QLatin1String("Minimum Sufficient Statistic:  Not available\n")));
    }

    void jsonWritesNullForWhatDoesNotExist()
    {
        pelk::SummaryJsonWriter::Run run;
        run.valid = true;
        run.optimizer = QStringLiteral("fletch");
        run.log = QStringList{QStringLiteral("a"), QStringLiteral("b")};
        pelk::EstimationSummary summary = smallSummary();
        summary.aic = std::numeric_limits<double>::infinity();
        const QJsonObject json = pelk::SummaryJsonWriter::write(run, &summary);
        QVERIFY(json[QStringLiteral("aic")].isNull());
        QCOMPARE(json[QStringLiteral("logLikelihood")].toDouble(), -12.3456789);
        QCOMPARE(json[QStringLiteral("sufficientStatisticDimension")].toInt(), 1);
        QVERIFY(json[QStringLiteral("covariance")].isNull());
        const QJsonArray parameters = json[QStringLiteral("parameters")].toArray();
        QCOMPARE(parameters.at(0).toObject()[QStringLiteral("se")].toDouble(), 0.0125);
        QVERIFY(parameters.at(1).toObject()[QStringLiteral("se")].isNull());
        const QJsonObject profile = json[QStringLiteral("profiles")].toArray().at(0).toObject();
        QCOMPARE(profile[QStringLiteral("alpha")].toString(), QStringLiteral("0.10"));
        QCOMPARE(profile[QStringLiteral("kind")].toString(), QStringLiteral("parameter"));
        QCOMPARE(profile[QStringLiteral("lower")].toDouble(), 0.123456789);  // full precision, not rounded
        QVERIFY(profile[QStringLiteral("upper")].isNull());
        QCOMPARE(json[QStringLiteral("log")].toArray().size(), 2);
        QVERIFY(json[QStringLiteral("name")].isNull());
        QCOMPARE(json[QStringLiteral("aicc")].toDouble(), 30.5);
        QVERIFY(json[QStringLiteral("bic")].isNull());
        QCOMPARE(json[QStringLiteral("dataFingerprint")].toString(), QStringLiteral("ab12"));
        const QJsonObject fit = json[QStringLiteral("goodnessOfFit")].toObject();
        QCOMPARE(fit[QStringLiteral("df")].toInt(), 2);
        QCOMPARE(fit[QStringLiteral("chat")].toDouble(), 0.75);
        QCOMPARE(fit[QStringLiteral("warning")].toString(), QStringLiteral("w"));
        QVERIFY(fit[QStringLiteral("reason")].isNull());
    }

    // Each way a side can end: the table's cell, the note under the table,
    // and the JSON status and value (given only where it bounds the limit).
    void profileLimitsShowHowTheirSearchEnded_data()
    {
        using Status = pelk::ProfileLimitStatus;
        QTest::addColumn<Status>("status");
        QTest::addColumn<bool>("isUpper");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("json");
        QTest::addColumn<bool>("hasValue");
        QTest::newRow("found") << Status::Found << false << "0.99990" << "" << "found" << true;
        QTest::newRow("upper at a bound") << Status::AtBound << true << "> 0.99990" << "\"> x\", \"< x\": the limit "
            "lies beyond the range where the model can be evaluated; x is the last value where it can." << "atBound" << true;
        QTest::newRow("lower at a bound") << Status::AtBound << false << "< 0.99990" << "\"> x\"" << "atBound" << true;
        QTest::newRow("open") << Status::Open << true << "not bounded" << "\"not bounded\": the profile levels off "
            "below the target; the data do not bound the quantity on that side." << "open" << false;
        QTest::newRow("not found") << Status::NotFound << true << "--na--" << "" << "notFound" << false;
        QTest::newRow("better optimum") << Status::BetterOptimum << false << "--na--" << "A profile reached a higher "
            "log-likelihood than the estimates: re-estimate the parameters before reading these limits." << "betterOptimum" << false;
    }

    void profileLimitsShowHowTheirSearchEnded()
    {
        QFETCH(pelk::ProfileLimitStatus, status);
        QFETCH(bool, isUpper);
        QFETCH(QString, cell);
        QFETCH(QString, note);
        QFETCH(QString, json);
        QFETCH(bool, hasValue);
        pelk::EstimationSummary summary = smallSummary();
        auto &interval = summary.profiles.first();
        interval.lower = interval.upper = {pelk::ProfileLimitStatus::Found, 0.5};
        (isUpper ? interval.upper : interval.lower) = {status, 0.9999};
        QCOMPARE(pelk::SummaryTextWriter::profileLimit({status, 0.9999}, isUpper, 5), cell);
        const QStringList notes = pelk::SummaryTextWriter::profileNotes(summary);
        QCOMPARE(notes.size(), note.isEmpty() ? 0 : 1);
        QVERIFY(note.isEmpty() || notes.first().startsWith(note));
        const QString side = isUpper ? QStringLiteral("upper") : QStringLiteral("lower");
        const QJsonObject profile = pelk::SummaryJsonWriter::write({}, &summary)[QStringLiteral("profiles")].toArray().at(0).toObject();
        QCOMPARE(profile[side + QStringLiteral("Status")].toString(), json);
        QCOMPARE(profile[side].isNull(), !hasValue);
    }

    void jsonWithoutASummaryHasEveryKey()
    {
        pelk::SummaryJsonWriter::Run run;
        const QJsonObject json = pelk::SummaryJsonWriter::write(run, nullptr);
        for (const char *key : {"valid", "optimizer", "logLikelihood", "aic", "parameterCount",
                                "sufficientStatisticDimension", "likelihoods", "parameters", "functions",
                                "covariance", "profiles", "observedExpected", "log", "errors", "name", "sampleSize",
                                "aicc", "bic", "dataFingerprint", "goodnessOfFit"})
            QVERIFY2(json.contains(QLatin1String(key)), key);
        QVERIFY(json[QStringLiteral("logLikelihood")].isNull());
        QVERIFY(json[QStringLiteral("parameters")].toArray().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSummaryWriters)
#include "tst_summarywriters.moc"
