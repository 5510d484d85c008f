// The result pages of a real window after a real estimation of the
// two-sample capture-recapture example, against an independent source:
// every cell of every result table agrees with what `pelk-cli estimate
// --json` computes for the same file in its own process; the pages can be
// visited exactly while estimates exist.
#include "support/WindowFixture.h"

#include "pages/diagnostics/ObservedExpectedPlotPage.h"
#include "pages/diagnostics/ResidualsPlotPage.h"
#include "pages/tables/TableContentForm.h"
#include "pages/tables/TableContentPage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <cmath>

namespace {

const QString exampleFile = QStringLiteral(PELK_EXAMPLES_DIR "/two-sample-capture.txt");

// A shown cell agrees with a JSON value: null is "--na--", a string is the
// same text, a number is near (a formatted limit within two units of its
// last decimal; the two runs differ by the optimizer's tolerance).
bool agrees(const QVariant &shown, const QJsonValue &expected)
{
    if (expected.isNull())
        return shown == QVariant(QString("--na--"));
    if (expected.isString())
        return shown.toString() == expected.toString();
    const double value = expected.toDouble();
    if (shown.typeId() == QMetaType::QString) {
        const QString text = shown.toString();
        const qsizetype point = text.indexOf(u'.');
        const double unit = std::pow(10.0, point < 0 ? 0 : -int(text.size() - point - 1));
        return std::abs(text.toDouble() - value) <= 2 * unit;
    }
    return shown.typeId() == QMetaType::Double && std::abs(shown.toDouble() - value) <= 1e-6 * std::max(1.0, std::abs(value));
}

// Rows of [header, cell...] picked from the objects of a JSON array.
QJsonArray rows(const QJsonValue &array, const QStringList &keys)
{
    QJsonArray result;
    for (const QJsonValue &object : array.toArray()) {
        QJsonArray row;
        for (const QString &key : keys)
            row.append(object[key]);
        result.append(row);
    }
    return result;
}

} // namespace

class TestResultPages : public QObject
{
    Q_OBJECT

    SharedSettings m_settings;
    std::unique_ptr<WindowFixture> m_f;
    QJsonObject m_cli;

    // The six tables and the two plots.
    bool everyResultPage(bool available) const
    {
        QList<ContentPage *> pages{m_f->window.findChild<ObservedExpectedPlotPage *>(),
                                   m_f->window.findChild<ResidualsPlotPage *>()};
        for (TableContentPage *p : m_f->window.findChildren<TableContentPage *>()) {
            if (p->form()->saveToFileButton()->isEnabled() != available || (p->tableModel() != nullptr) != available)
                return false;
            pages << p;
        }
        return pages.size() == 8
            && std::all_of(pages.cbegin(), pages.cend(), [=](ContentPage *p) { return p->isAvailable() == available; });
    }

private slots:
    void initTestCase()
    {
        m_settings = std::make_unique<IsolatedSettings>();
        m_f = std::make_unique<WindowFixture>();
        QProcess cli;
        cli.start(QStringLiteral(PELK_CLI), {"estimate", "--json", exampleFile});
        QVERIFY(cli.waitForFinished(120000));
        QCOMPARE(cli.exitCode(), 0);
        m_cli = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();

        QVERIFY(everyResultPage(false));
        QVERIFY(m_f->window.loadWorkspace(exampleFile));
        QVERIFY(m_f->estimateAndWait());
        QCOMPARE(m_f->answerer.unexpected(), 0);
        QVERIFY(everyResultPage(true));
    }
    void cleanupTestCase() { m_f.reset(); }

    void tableAgreesWithTheCommandLine_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QJsonArray>("expected");
        QTest::newRow("parameters") << "Parameter Estimates" << rows(m_cli["parameters"], {"name", "estimate", "se"});
        QTest::newRow("functions") << "Convenience Function Estimates" << rows(m_cli["functions"], {"name", "estimate", "se"});
        QTest::newRow("profiles") << "Profile Likelihood Estimates"
                                  << rows(m_cli["profiles"], {"symbol", "estimate", "alpha", "lower", "upper"});
        QTest::newRow("observed and expected")
            << "Observed vs Expected Table" << rows(m_cli["observedExpected"], {"", "category", "observed", "expected", "residual"});
        // Named as the parameters; correlations from the covariances.
        const QJsonArray names = rows(m_cli["parameters"], {"name"});
        const QJsonArray covariance = m_cli["covariance"].toArray();
        const auto at = [&](qsizetype i, qsizetype j) { return covariance.at(i).toArray().at(j); };
        QJsonArray covarianceRows, correlationRows;
        for (qsizetype i = 0; i < covariance.size(); ++i) {
            QJsonArray covarianceRow{names.at(i).toArray().at(0)}, correlationRow = covarianceRow;
            for (qsizetype j = 0; j < covariance.size(); ++j) {
                covarianceRow.append(at(i, j));
                correlationRow.append(at(i, j).toDouble() / std::sqrt(at(i, i).toDouble() * at(j, j).toDouble()));
            }
            covarianceRows.append(covarianceRow);
            correlationRows.append(correlationRow);
        }
        QTest::newRow("covariance") << "Covariance Matrix" << covarianceRows;
        QTest::newRow("correlation") << "Correlation Matrix" << correlationRows;
    }

    void tableAgreesWithTheCommandLine()
    {
        QFETCH(QString, title);
        QFETCH(QJsonArray, expected);
        const QAbstractItemModel *model = nullptr;
        for (TableContentPage *p : m_f->window.findChildren<TableContentPage *>())
            if (p->title() == title)
                model = p->tableModel();
        QVERIFY(model);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(model->rowCount(), expected.size());
        for (int row = 0; row < model->rowCount(); ++row) {
            const QJsonArray cells = expected.at(row).toArray();
            QCOMPARE(model->columnCount(), cells.size() - 1);
            QCOMPARE(model->headerData(row, Qt::Vertical).toString(), cells.at(0).toString());
            for (int column = 0; column < model->columnCount(); ++column)
                QVERIFY2(agrees(model->index(row, column).data(), cells.at(column + 1)),
                         qPrintable(QString("row %1, column %2: %3").arg(row).arg(column)
                                        .arg(model->index(row, column).data().toString())));
        }
    }

    void clearingTheEstimatesPutsEveryResultPageAway()
    {
        m_f->answerer.answer(QMessageBox::Ok);
        m_f->window.onClearCurrentEstimates();
        QCOMPARE(m_f->answerer.boxes().size(), 1);
        QVERIFY(everyResultPage(false));
    }
};

QTEST_MAIN(TestResultPages)
#include "tst_resultpages.moc"
