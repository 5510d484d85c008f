// The Profile Likelihood Plot after estimating the bundled two-sample study
// (profiles of N and of the function detection): the curve drawn crosses
// each target where the report puts the limit, within the search's
// precision; the page is available only with points to show; and Clear
// Current Estimates cancels the background curve points before they land.
#include "support/WindowFixture.h"
#include "support/CaptureRecaptureWorkspace.h"

#include "pages/plot/PlotChart.h"
#include "pages/plot/ProfilePlotPage.h"

#include <QComboBox>
#include <QFile>
#include <QLineSeries>
#include <QTest>

namespace {

QString exampleText()
{
    QFile file(QStringLiteral(PELK_EXAMPLES_DIR "/two-sample-capture.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The profile drawn: the series in the curve's blue.
QList<QPointF> profileLine(PlotChart &plot)
{
    for (QAbstractSeries *series : plot.chart()->series())
        if (auto *line = qobject_cast<QLineSeries *>(series); line && line->pen().color() == QColor(Qt::blue))
            return line->points();
    return {};
}

// Where the polyline crosses height y between x = from and x = to.
std::optional<double> crossing(const QList<QPointF> &line, double y, double from, double to)
{
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QPointF a = line.at(i - 1), b = line.at(i);
        if (a.x() < std::min(from, to) || b.x() > std::max(from, to) || (a.y() - y) * (b.y() - y) > 0)
            continue;
        return a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
    }
    return std::nullopt;
}

} // namespace

class TestProfilePlot : public QObject
{
    Q_OBJECT

private slots:
    void curveCrossesEachTargetAtItsLimit()
    {
        WindowFixture f;
        auto *page = f.window.findChild<ProfilePlotPage *>();
        QVERIFY(!page->isAvailable());
        QVERIFY(f.load(exampleText()));
        auto *estimate = f.window.findChild<pelk::EstimatePage *>();
        QSignalSpy curves(estimate, &pelk::EstimatePage::profileCurvesComplete);
        QVERIFY(f.estimateAndWait());
        QVERIFY(curves.count() == 1 || curves.wait(60000));
        QVERIFY(page->isAvailable());
        QCOMPARE(page->quantityList()->count(), 2);
        for (int i = 0; i < 2; ++i) {
            page->quantityList()->setCurrentIndex(i);
            const auto &interval = f.window.summary()->profiles.at(i);
            QCOMPARE(page->quantityList()->currentText(), interval.symbol);
            const QList<QPointF> line = profileLine(*page->chart());
            QVERIFY(line.size() > 24);
            const double precision = std::pow(10.0, -interval.displayDigits);
            const double target = 3.841458820694129;
            for (const auto &[limit, far] : {std::pair{interval.lower.value, line.first().x()},
                                             std::pair{interval.upper.value, line.last().x()}}) {
                const auto q = crossing(line, target, interval.estimate, far);
                QVERIFY2(q && std::abs(*q - limit) <= precision,
                         qPrintable(QStringLiteral("%1: %2 vs %3").arg(interval.symbol).arg(q.value_or(0)).arg(limit)));
            }
        }
    }

    // Profiles of the eight capture probabilities (functions, minimised by
    // Powell's method point by point) keep the curve run busy long enough.
    void clearingCancelsTheCurvePoints()
    {
        QStringList requests;
        for (int j = 1; j <= 8; ++j)
            requests << QStringLiteral("p%1 = 0.01").arg(j);
        WindowFixture f;
        QVERIFY(f.load(support::captureRecaptureWorkspace(8, QStringLiteral("powell"), u'\n' + requests.join(u",\n") + u';')));
        auto *estimate = f.window.findChild<pelk::EstimatePage *>();
        QVERIFY(f.estimateAndWait());
        if (!estimate->sequence()->isComputingProfileCurves())
            QSKIP("the curve points were done before they could be cancelled");
        const std::size_t searched = f.window.workspace().variableRequests.result(0, 0).points.size();
        f.answerer.answer(QMessageBox::Ok);
        f.window.onClearCurrentEstimates();
        QVERIFY(!estimate->sequence()->isComputingProfileCurves());
        QVERIFY(!f.window.findChild<ProfilePlotPage *>()->isAvailable());
        QTest::qWait(50); // a late report of the cancelled run must add nothing
        QCOMPARE(f.window.workspace().variableRequests.result(0, 0).points.size(), searched);
    }
};

QTEST_MAIN(TestProfilePlot)
#include "tst_profileplot.moc"
