// The summary report document built from hand-made summaries, read as its
// lines: each "\n" of the report ends a block, every table cell is a block
// of its own, and an empty block follows every table.
#include "estimation/EstimationSummary.h"
#include "pages/report/ReportFormats.h"
#include "pages/report/SummaryReport.h"

#include <QTextDocument>
#include <QtTest>

#include <cmath>
#include <limits>

using pelk::EstimationSummary;

namespace {

// A two-sample capture-recapture fit as the window would summarise it.
EstimationSummary twoSampleSummary()
{
    EstimationSummary summary;
    summary.parameterCount = 3;
    summary.logLikelihood = -12.3456789;
    summary.aic = 30.6913578; // 2*3 - 2*LL
    summary.likelihoods = {{"Two samples", -12.3456789}};
    summary.sufficientStatisticDimension = 3;
    summary.counts = {{"Two samples", 90, {{"10", 40}, {"01", 30}, {"11", 20}}}};
    summary.parameters = {{"N", 120, 123.456789, 12.3456789}, {"p1", 0.5, 0.48, 0.0612345678}, {"p2", 0.4, 0.3333333333, 0.05}};
    summary.profiles = {{"N", true, 1, 123.456789, 105.1234, 150.98765, 3}};
    summary.functions = {{"detection", 0, 0.6533333333, 0.0456789123}};
    return summary;
}

QStringList build(const EstimationSummary &summary, QTextDocument &document)
{
    SummaryReport(&document, ReportFormats()).write(summary, QDateTime(QDate(2010, 3, 5), QTime(15, 15, 42)));
    return document.toPlainText().split(u'\n');
}

} // namespace

class TestSummaryReport : public QObject
{
    Q_OBJECT

private slots:
    void writesEveryLineOfTheReport()
    {
        QTextDocument document;
        const QStringList expected{
            "Estimation Summary Report", "05 March 2010 03::15::42 pm", "AIC: 30.6914", "Log-likelihood:  -12.3457", "",
            "Dimension of the Minimum Sufficient Statistic:  3", "Number of parameters: 3", "",
            "Categories and Corresponding Counts by Likelihood", "\"Two samples\"", "Total observed counts: 90", "",
            "Category", "Counts", "Category", "Counts", "Category", "Counts", "10", "40", "01", "30", "11", "20", "",
            "Parameter Estimates", "Parameter", "Estimate", "s.e.",
            "N", "123.457", "12.3457", "p1", "0.48", "0.0612346", "p2", "0.333333", "0.05", "",
            "Profile Likelihood Confidence Intervals", "Symbol", "Estimate", "Alpha", "Lower Bound", "Upper Bound",
            "N", "123.457", "0.05", "105.123", "150.988", "",
            "Convenience Functions", "Name", "Estimate", "s.e.", "detection", "0.653333", "0.0456789", "", ""};
        QCOMPARE(build(twoSampleSummary(), document), expected);
        // Writing again replaces the report, also after a different one.
        EstimationSummary other = twoSampleSummary();
        other.functions.clear();
        build(other, document);
        QCOMPARE(build(twoSampleSummary(), document), expected);
    }

    // The lines that follow a given line once the summary is changed as the
    // row's name says.
    void partsFollowTheSummary_data()
    {
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("lines");
        const QString logLikelihood = "Log-likelihood:  -12.3457", dimension = "Dimension of the Minimum Sufficient Statistic:  ";
        const QString counts = "Categories and Corresponding Counts by Likelihood";
        const QString warning = "WARNING:  Parameters may not be estimable";
        QTest::newRow("several likelihoods") << logLikelihood << QStringList{"   Sample A:  -5", "   Sample B:  -7.34568", ""};
        QTest::newRow("dimension not available")
            << logLikelihood << QStringList{"", dimension + "Not available", "Number of parameters: 30", "", counts};
        QTest::newRow("fewer data than parameters")
            << logLikelihood << QStringList{"", dimension + "2", "Number of parameters: 3", warning, "", counts};
        QTest::newRow("no data") << logLikelihood << QStringList{"", dimension + "0", "Number of parameters: 1", warning};
        QTest::newRow("more data") << logLikelihood << QStringList{"", dimension + "5", "Number of parameters: 3", "", counts};
        // Three pairs a row; the last row is filled with empty cells.
        const QStringList header{"Total observed counts: 10", "", "Category", "Counts", "Category", "Counts", "Category", "Counts"};
        QTest::newRow("no categories") << "\"Many\"" << header + QStringList{"", "Parameter Estimates"};
        QTest::newRow("one category") << "\"Many\"" << header + QStringList{"c0", "10", "", "", "", "", ""};
        QTest::newRow("four categories")
            << "\"Many\"" << header + QStringList{"c0", "10", "c1", "11", "c2", "12", "c3", "13", "", "", "", "", ""};
        QTest::newRow("second likelihood") << "\"Second\""
            << QStringList{"Total observed counts: 7", "", "Category", "Counts", "Category", "Counts", "Category",
                           "Counts", "x", "3", "y", "4", "", ""};
        QTest::newRow("no standard errors")
            << "Parameter" << QStringList{"Estimate", "s.e.", "N", "123.457", "--na--", "p1", "0.48", "--na--"};
        QTest::newRow("values that do not exist") << "Estimation Summary Report"
            << QStringList{"05 March 2010 03::15::42 pm", "AIC: 1.79769e+308", "Log-likelihood:  -1.79769e+308"};
        QTest::newRow("no profiles and no functions") << "0.333333" << QStringList{"0.05", "", ""};
        // Limits with their decimals or "--na--", the estimate in the
        // general format, the levels as requested.
        QTest::newRow("profile limits") << "Upper Bound"
            << QStringList{"N", "123.457", "0.01", "0.12346", "0.87654", "N", "123.457", "0.10", "106", "1234567",
                           "p1", "123.457", "0.05", "2.5000", "--na--", "detection", "123.457", "0.05", "--na--", "--na--", ""};
    }

    void partsFollowTheSummary()
    {
        QFETCH(QString, after);
        QFETCH(QStringList, lines);
        const QString tag = QTest::currentDataTag();
        EstimationSummary s = twoSampleSummary();
        if (tag == "several likelihoods")
            s.likelihoods = {{"Sample A", -5.0}, {"Sample B", -7.3456789}};
        const QMap<QString, std::pair<int, int>> dimensions{
            {"fewer data than parameters", {2, 3}}, {"no data", {0, 1}}, {"more data", {5, 3}}};
        if (dimensions.contains(tag))
            std::tie(s.sufficientStatisticDimension, s.parameterCount) = dimensions[tag];
        if (tag == "dimension not available") {
            s.sufficientStatisticDimension.reset();
            s.parameterCount = 30;
        }
        const QMap<QString, int> categories{{"no categories", 0}, {"one category", 1}, {"four categories", 4}};
        if (categories.contains(tag)) {
            s.counts = {{"Many", 10, {}}};
            for (int i = 0; i < categories[tag]; ++i)
                s.counts[0].categories.append({QString("c%1").arg(i), 10 + i});
        }
        if (tag == "second likelihood")
            s.counts.append({"Second", 7, {{"x", 3}, {"y", 4}}});
        if (tag == "no standard errors") {
            s.parameters[0].standardError = std::sqrt(-1.0);
            s.parameters[1].standardError.reset();
        }
        if (tag == "values that do not exist") {
            s.logLikelihood = -std::numeric_limits<double>::max(); // a capped objective
            s.aic = std::numeric_limits<double>::max();
        }
        if (tag == "no profiles and no functions") {
            s.profiles.clear();
            s.functions.clear();
        }
        if (tag == "profile limits")
            s.profiles = {{"N", true, 0, 123.456789, 0.123456789, 0.87654321, 5},
                          {"N", true, 2, 123.456789, 105.6, 1234567.4, 0},
                          {"p1", true, 1, 123.456789, 2.5, std::nullopt, 4},
                          {"detection", false, 1, 123.456789, std::nullopt, std::nullopt, 3}};
        QTextDocument document;
        const QStringList all = build(s, document);
        const qsizetype at = all.indexOf(after);
        QVERIFY2(at >= 0, qPrintable(all.join(u'|')));
        QCOMPARE(all.mid(at + 1, lines.size()), lines);
    }
};

QTEST_MAIN(TestSummaryReport)
#include "tst_summaryreport.moc"
