// The summary report document built from hand-made summaries: the exact
// text, line by line, and the structure and formats of its tables.
#include "estimation/EstimationSummary.h"
#include "pages/report/ReportFormats.h"
#include "pages/report/SummaryReport.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

#include <cmath>
#include <limits>

using pelk::EstimationSummary;

namespace {

const QDateTime reportDate(QDate(2010, 3, 5), QTime(15, 15, 42));

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
    summary.parameters = {{"N", 120, 123.456789, 12.3456789},
                          {"p1", 0.5, 0.48, 0.0612345678},
                          {"p2", 0.4, 0.3333333333, 0.05}};
    EstimationSummary::ProfileInterval interval;
    interval.symbol = "N";
    interval.alphaIndex = 1;
    interval.estimate = 123.456789;
    interval.lower = 105.1234;
    interval.upper = 150.98765;
    interval.displayDigits = 3;
    summary.profiles = {interval};
    summary.functions = {{"detection", 0, 0.6533333333, 0.0456789123}};
    return summary;
}

QList<QTextTable *> tables(const QTextDocument &document)
{
    QList<QTextTable *> result;
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            result.append(table);
    return result;
}

QString cellText(QTextTable *table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

QTextCharFormat cellFormat(QTextTable *table, int row, int column)
{
    QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
    cursor.movePosition(QTextCursor::NextCharacter);
    return cursor.charFormat();
}

QList<qreal> fixedWidths(QTextTable *table)
{
    QList<qreal> widths;
    for (const QTextLength &length : table->format().columnWidthConstraints()) {
        if (length.type() != QTextLength::FixedLength)
            return {};
        widths.append(length.rawValue());
    }
    return widths;
}

} // namespace

class TestSummaryReport : public QObject
{
    Q_OBJECT

private:
    ReportFormats m_formats;

    QStringList build(const EstimationSummary &summary, QTextDocument &document)
    {
        SummaryReport(&document, m_formats).write(summary, reportDate);
        return document.toPlainText().split(u'\n');
    }

private slots:
    void writesEveryLineOfTheReport()
    {
        QTextDocument document;
        const QStringList lines = build(twoSampleSummary(), document);
        // Each "\n" of the report ends a block, every table cell is a block
        // of its own, and an empty block follows every table.
        const QStringList expected {
                "Estimation Summary Report",
                "05 March 2010 03::15::42 pm",
                "AIC: 30.6914",
                "Log-likelihood:  -12.3457",
                "",
                "Dimension of the Minimum Sufficient Statistic:  3",
                "Number of parameters: 3",
                "",
                "Categories and Corresponding Counts by Likelihood",
                "\"Two samples\"",
                "Total observed counts: 90",
                "",
                "Category", "Counts", "Category", "Counts", "Category", "Counts",
                "10", "40", "01", "30", "11", "20",
                "",
                "Parameter Estimates",
                "Parameter", "Estimate", "s.e.",
                "N", "123.457", "12.3457",
                "p1", "0.48", "0.0612346",
                "p2", "0.333333", "0.05",
                "",
                "Profile Likelihood Confidence Intervals",
                "Symbol", "Estimate", "Alpha", "Lower Bound", "Upper Bound",
                "N", "123.457", "0.05", "105.123", "150.988",
                "",
                "Convenience Functions",
                "Name", "Estimate", "s.e.",
                "detection", "0.653333", "0.0456789",
                "",
                "",
        };
        QCOMPARE(lines, expected);
        QCOMPARE(tables(document).size(), 4);
    }

    void rebuildingReplacesThePreviousReport()
    {
        QTextDocument document;
        const QStringList first = build(twoSampleSummary(), document);
        EstimationSummary other = twoSampleSummary();
        other.functions.clear();
        build(other, document);
        const QStringList again = build(twoSampleSummary(), document);
        QCOMPARE(again, first);
        QCOMPARE(tables(document).size(), 4);
    }

    void listsEachLikelihoodOnlyWhenThereAreSeveral()
    {
        QTextDocument document;
        EstimationSummary summary = twoSampleSummary();
        summary.likelihoods = {{"Sample A", -5.0}, {"Sample B", -7.3456789}};
        const QStringList lines = build(summary, document);
        QCOMPARE(lines.mid(2, 5), QStringList({"AIC: 30.6914", "Log-likelihood:  -12.3457",
                                               "   Sample A:  -5", "   Sample B:  -7.34568", ""}));

        QTextDocument single;
        const QStringList singleLines = build(twoSampleSummary(), single);
        QCOMPARE(singleLines.at(4), QString());
        QVERIFY(!single.toPlainText().contains("   Two samples:"));
    }

    void countsTableHoldsThreePairsPerRow_data()
    {
        QTest::addColumn<int>("categories");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("emptyCells");
        QTest::newRow("none") << 0 << 1 << 0;
        QTest::newRow("one") << 1 << 2 << 4;
        QTest::newRow("three fill a row") << 3 << 2 << 0;
        QTest::newRow("four: one pair and four empty cells") << 4 << 3 << 4;
        QTest::newRow("five") << 5 << 3 << 2;
        QTest::newRow("seven") << 7 << 4 << 4;
    }

    void countsTableHoldsThreePairsPerRow()
    {
        QFETCH(int, categories);
        QFETCH(int, rows);
        QFETCH(int, emptyCells);
        EstimationSummary summary = twoSampleSummary();
        EstimationSummary::LikelihoodCounts counts {"Many", 0, {}};
        for (int i = 0; i < categories; ++i) {
            counts.categories.append({QString("c%1").arg(i), 10 + i});
            counts.total += 10 + i;
        }
        summary.counts = {counts};
        QTextDocument document;
        build(summary, document);

        QTextTable *table = tables(document).first();
        QCOMPARE(table->rows(), rows);
        QCOMPARE(table->columns(), 6);
        QCOMPARE(fixedWidths(table), QList<qreal>({100, 50, 100, 50, 100, 50}));
        for (int i = 0; i < categories; ++i) {
            QCOMPARE(cellText(table, 1 + i / 3, 2 * (i % 3)), QString("c%1").arg(i));
            QCOMPARE(cellText(table, 1 + i / 3, 2 * (i % 3) + 1), QString::number(10 + i));
        }
        int empty = 0;
        for (int column = 0; column < 6; ++column)
            if (cellText(table, rows - 1, column).isEmpty())
                ++empty;
        QCOMPARE(empty, emptyCells);
        QVERIFY(document.toPlainText().contains(
                QString("\"Many\"\nTotal observed counts: %1\n").arg(counts.total)));
    }

    void writesOneCountsTablePerMultinomialLikelihood()
    {
        EstimationSummary summary = twoSampleSummary();
        summary.counts.append({"Second", 7, {{"x", 3}, {"y", 4}}});
        QTextDocument document;
        const QString text = build(summary, document).join(u'\n');
        QCOMPARE(tables(document).size(), 5);
        QVERIFY(text.indexOf("\"Two samples\"") < text.indexOf("\"Second\"\nTotal observed counts: 7"));
        QTextTable *second = tables(document).at(1);
        QCOMPARE(second->rows(), 2);
        QCOMPARE(cellText(second, 1, 2), QString("y"));
        QCOMPARE(cellText(second, 1, 3), QString("4"));
    }

    void withoutCovarianceEveryStandardErrorIsNotAvailable()
    {
        EstimationSummary summary = twoSampleSummary();
        for (auto &parameter : summary.parameters)
            parameter.standardError.reset();
        for (auto &function : summary.functions)
            function.standardError.reset();
        QTextDocument document;
        build(summary, document);
        const QList<QTextTable *> all = tables(document);
        QTextTable *parameters = all.at(1);
        QTextTable *functions = all.at(3);
        for (int row = 1; row < parameters->rows(); ++row)
            QCOMPARE(cellText(parameters, row, 2), QString("--na--"));
        QCOMPARE(cellText(functions, 1, 2), QString("--na--"));
        QCOMPARE(cellText(parameters, 1, 1), QString("123.457"));
    }

    void sectionsWithoutContentAreLeftOut()
    {
        EstimationSummary summary = twoSampleSummary();
        summary.profiles.clear();
        summary.functions.clear();
        QTextDocument document;
        const QStringList lines = build(summary, document);
        QVERIFY(!lines.contains("Profile Likelihood Confidence Intervals"));
        QVERIFY(!lines.contains("Convenience Functions"));
        QCOMPARE(tables(document).size(), 2);
        // The parameter table is the last thing before the closing line break.
        QCOMPARE(lines.mid(lines.size() - 5),
                 QStringList({"p2", "0.333333", "0.05", "", ""}));
    }

    void dimensionNotAvailableNeverWarns()
    {
        EstimationSummary summary = twoSampleSummary();
        summary.sufficientStatisticDimension.reset();
        summary.parameterCount = 30;
        QTextDocument document;
        const QStringList lines = build(summary, document);
        QCOMPARE(lines.mid(5, 4), QStringList({"Dimension of the Minimum Sufficient Statistic:  Not available",
                                               "Number of parameters: 30", "",
                                               "Categories and Corresponding Counts by Likelihood"}));
        QVERIFY(!document.toPlainText().contains("WARNING"));
    }

    void warnsWhenParametersOutnumberTheDimension_data()
    {
        QTest::addColumn<int>("dimension");
        QTest::addColumn<int>("parameters");
        QTest::addColumn<bool>("warns");
        QTest::newRow("fewer data than parameters") << 2 << 3 << true;
        QTest::newRow("equal") << 3 << 3 << false;
        QTest::newRow("more data") << 5 << 3 << false;
        QTest::newRow("no data") << 0 << 1 << true;
    }

    void warnsWhenParametersOutnumberTheDimension()
    {
        QFETCH(int, dimension);
        QFETCH(int, parameters);
        QFETCH(bool, warns);
        EstimationSummary summary = twoSampleSummary();
        summary.sufficientStatisticDimension = dimension;
        summary.parameterCount = parameters;
        QTextDocument document;
        const QStringList lines = build(summary, document);
        QCOMPARE(lines.at(5), QString("Dimension of the Minimum Sufficient Statistic:  %1").arg(dimension));
        QCOMPARE(lines.at(6), QString("Number of parameters: %1").arg(parameters));
        if (warns)
            QCOMPARE(lines.mid(7, 3), QStringList({"WARNING:  Parameters may not be estimable", "",
                                                   "Categories and Corresponding Counts by Likelihood"}));
        else
            QCOMPARE(lines.mid(7, 2), QStringList({"", "Categories and Corresponding Counts by Likelihood"}));
    }

    void profileBoundsUseTheirDecimalsOrNotAvailable_data()
    {
        QTest::addColumn<double>("lower");
        QTest::addColumn<bool>("lowerFound");
        QTest::addColumn<double>("upper");
        QTest::addColumn<bool>("upperFound");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("lowerText");
        QTest::addColumn<QString>("upperText");
        QTest::newRow("five decimals") << 0.123456789 << true << 0.87654321 << true << 5 << "0.12346"
                                       << "0.87654";
        QTest::newRow("no decimals") << 105.6 << true << 1234567.4 << true << 0 << "106" << "1234567";
        QTest::newRow("zero padded") << 2.5 << true << 3.0 << true << 4 << "2.5000" << "3.0000";
        QTest::newRow("lower not found") << 0.0 << false << 7.25 << true << 2 << "--na--" << "7.25";
        QTest::newRow("upper not found") << -1.5 << true << 0.0 << false << 1 << "-1.5" << "--na--";
        QTest::newRow("neither found") << 0.0 << false << 0.0 << false << 3 << "--na--" << "--na--";
    }

    void profileBoundsUseTheirDecimalsOrNotAvailable()
    {
        QFETCH(double, lower);
        QFETCH(bool, lowerFound);
        QFETCH(double, upper);
        QFETCH(bool, upperFound);
        QFETCH(int, digits);
        QFETCH(QString, lowerText);
        QFETCH(QString, upperText);
        EstimationSummary summary = twoSampleSummary();
        EstimationSummary::ProfileInterval &interval = summary.profiles.first();
        interval.lower = lowerFound ? std::optional<double>(lower) : std::nullopt;
        interval.upper = upperFound ? std::optional<double>(upper) : std::nullopt;
        interval.displayDigits = digits;
        QTextDocument document;
        build(summary, document);
        QTextTable *profiles = tables(document).at(2);
        QCOMPARE(cellText(profiles, 1, 3), lowerText);
        QCOMPARE(cellText(profiles, 1, 4), upperText);
        // The estimate keeps the general format whatever the decimals.
        QCOMPARE(cellText(profiles, 1, 1), QString("123.457"));
    }

    void profileRowsFollowTheSummaryWithTheirLevels()
    {
        EstimationSummary summary = twoSampleSummary();
        const QStringList symbols {"N", "N", "p1", "detection"};
        const QList<int> levels {0, 2, 1, 0};
        summary.profiles.clear();
        for (int i = 0; i < symbols.size(); ++i) {
            EstimationSummary::ProfileInterval interval;
            interval.symbol = symbols.at(i);
            interval.isParameter = symbols.at(i) != "detection";
            interval.alphaIndex = levels.at(i);
            interval.estimate = 0.5 + i;
            interval.lower = 0.25 + i;
            interval.upper = 0.75 + i;
            interval.displayDigits = 2;
            summary.profiles.append(interval);
        }
        QTextDocument document;
        build(summary, document);
        QTextTable *profiles = tables(document).at(2);
        QCOMPARE(profiles->rows(), 5);
        QCOMPARE(profiles->columns(), 5);
        const QStringList levelTexts {"0.01", "0.10", "0.05", "0.01"};
        for (int i = 0; i < symbols.size(); ++i) {
            QCOMPARE(cellText(profiles, 1 + i, 0), symbols.at(i));
            QCOMPARE(cellText(profiles, 1 + i, 1), QString::number(0.5 + i));
            QCOMPARE(cellText(profiles, 1 + i, 2), levelTexts.at(i));
            QCOMPARE(cellText(profiles, 1 + i, 3), QString::number(0.25 + i, 'f', 2));
        }
    }

    void valuesThatDoNotExistShowAsNotAvailable()
    {
        EstimationSummary summary = twoSampleSummary();
        // A capped objective: the largest finite double.
        summary.logLikelihood = -std::numeric_limits<double>::max();
        summary.aic = std::numeric_limits<double>::max();
        summary.parameters[0].standardError = std::sqrt(-1.0);
        summary.functions[0].estimate = std::nan("");
        QTextDocument document;
        const QStringList lines = build(summary, document);
        QCOMPARE(lines.at(2), QString("AIC: 1.79769e+308"));
        QCOMPARE(lines.at(3), QString("Log-likelihood:  -1.79769e+308"));
        QCOMPARE(cellText(tables(document).at(1), 1, 2), QString("--na--"));
        QCOMPARE(cellText(tables(document).at(3), 1, 1), QString("--na--"));
    }

    void tablesHaveFixedColumnsAndPadding()
    {
        QTextDocument document;
        build(twoSampleSummary(), document);
        const QList<QTextTable *> all = tables(document);
        QCOMPARE(all.size(), 4);
        const QList<QList<qreal>> widths {
                {100, 50, 100, 50, 100, 50}, {75, 75, 75}, {100, 100, 65, 100, 100}, {75, 75, 75}};
        const QList<int> rows {2, 4, 2, 2};
        for (int i = 0; i < all.size(); ++i) {
            QCOMPARE(fixedWidths(all.at(i)), widths.at(i));
            QCOMPARE(all.at(i)->columns(), int(widths.at(i).size()));
            QCOMPARE(all.at(i)->rows(), rows.at(i));
            QCOMPARE(all.at(i)->format().cellPadding(), 7.2);
            QCOMPARE(all.at(i)->format().margin(), 12.0);
        }
    }

    void headerCellsAreBoldAndBodyCellsAreNot()
    {
        QTextDocument document;
        build(twoSampleSummary(), document);
        for (QTextTable *table : tables(document)) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextCharFormat header = cellFormat(table, 0, column);
                QCOMPARE(header.fontWeight(), int(QFont::Bold));
                QCOMPARE(header.fontPointSize(), 8.0);
                QVERIFY(header.fontFamilies().toStringList().contains("Arial"));
                const QTextCharFormat body = cellFormat(table, 1, column);
                if (cellText(table, 1, column).isEmpty())
                    continue;
                QCOMPARE(body.fontWeight(), int(QFont::Normal));
                QCOMPARE(body.fontPointSize(), 8.0);
            }
        }
    }

    void titleAndHeadingsCarryTheirFormats()
    {
        QTextDocument document;
        build(twoSampleSummary(), document);
        const QTextBlock title = document.firstBlock();
        QCOMPARE(title.text(), QString("Estimation Summary Report"));
        QCOMPARE(title.blockFormat().bottomMargin(), 18.0);
        QVERIFY(title.blockFormat().alignment() & Qt::AlignLeft);
        QTextCursor cursor(title);
        cursor.movePosition(QTextCursor::NextCharacter);
        QVERIFY(cursor.charFormat().fontUnderline());
        QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(cursor.charFormat().fontPointSize(), 10.0);

        const QStringList headings {"Categories and Corresponding Counts by Likelihood", "Parameter Estimates",
                                    "Profile Likelihood Confidence Intervals", "Convenience Functions"};
        int found = 0;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            QTextCursor start(block);
            start.movePosition(QTextCursor::NextCharacter);
            if (headings.contains(block.text())) {
                ++found;
                QCOMPARE(block.blockFormat().topMargin(), 18.0);
                QCOMPARE(block.blockFormat().bottomMargin(), 12.0);
                QCOMPARE(start.charFormat().fontWeight(), int(QFont::Bold));
                QCOMPARE(start.charFormat().fontPointSize(), 10.0);
                QVERIFY(!start.charFormat().fontUnderline());
            } else if (block.text().startsWith("AIC: ") || block.text().startsWith("Number of parameters")) {
                QCOMPARE(start.charFormat().fontWeight(), int(QFont::Normal));
                QCOMPARE(start.charFormat().fontPointSize(), 8.0);
            }
        }
        QCOMPARE(found, headings.size());
    }
};

QTEST_MAIN(TestSummaryReport)
#include "tst_summaryreport.moc"
