#include "ProfilePlotPage.h"

#include "PlotChart.h"

#include "app/PelkWindow.h"
#include "estimation/ProfileLimitSearch.h"
#include "model/ProfileLikelihoods.h"

#include <QComboBox>
#include <QPen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

ProfilePlotPage::ProfilePlotPage(PelkWindow *mainWindow)
    : PlotPage(mainWindow, QStringLiteral("Profile Likelihood Plot")),
      m_quantityList(new QComboBox(contentFrame()))
{
    contentLayout()->insertWidget(0, m_quantityList);
    connect(m_quantityList, &QComboBox::currentIndexChanged, this, &ProfilePlotPage::draw);
    // Connected after PlotPage's own handlers of the lock, which make every
    // plot available with the results: this page then says whether it has
    // curves to show.
    const auto showSummary = [this, mainWindow] { setSummary(mainWindow->summary()); };
    connect(mainWindow, &PelkWindow::lockWorkspace, this, showSummary);
    connect(mainWindow, &PelkWindow::profileCurvesChanged, this, showSummary);
    connect(mainWindow, &PelkWindow::clearEstimates, this, [this] { setSummary(nullptr); });
}

void ProfilePlotPage::setSummary(const pelk::EstimationSummary *summary)
{
    const QString shown = m_quantityList->currentText();
    m_curves = summary ? summary->profileCurves : QList<pelk::EstimationSummary::ProfileCurve>();
    m_intervals = summary ? summary->profiles : QList<pelk::EstimationSummary::ProfileInterval>();
    const QSignalBlocker blocker(m_quantityList);
    m_quantityList->clear();
    for (const auto &curve : std::as_const(m_curves))
        m_quantityList->addItem(curve.symbol);
    setAvailable(!m_curves.isEmpty());
    const int index = std::max(0, m_quantityList->findText(shown));
    m_quantityList->setCurrentIndex(index);
    draw(m_curves.isEmpty() ? -1 : index);
}

void ProfilePlotPage::draw(int curveIndex)
{
    PlotChart *plot = chart();
    plot->clear();
    if (curveIndex < 0 || curveIndex >= m_curves.size())
        return;
    const auto &curve = m_curves.at(curveIndex);
    plot->setAxisTitles(curve.symbol, QStringLiteral("Likelihood-ratio statistic"));

    QList<QPointF> line;
    QStringList toolTips;
    double qMin = curve.estimate, qMax = curve.estimate, top = 0.0;
    for (const auto &[q, statistic] : curve.points) {
        line << QPointF(q, statistic);
        qMin = std::min(qMin, q);
        qMax = std::max(qMax, q);
        top = std::max(top, statistic);
    }
    // The levels requested for this quantity, and their limits.
    QList<QPointF> limits;
    QStringList limitTips;
    QList<std::pair<double, QString>> targets;
    for (const auto &interval : std::as_const(m_intervals)) {
        if (interval.symbol != curve.symbol || interval.isParameter != curve.isParameter)
            continue;
        const double target = zav::ProfileLimitSearch::targetChiSquared[interval.alphaIndex];
        targets.append({target, QStringLiteral("alpha = ") + pelk::ProfileLikelihoods::alphaLevels().at(interval.alphaIndex)});
        top = std::max(top, target);
        for (const pelk::ProfileLimit &limit : {interval.lower, interval.upper})
            if (limit.status == pelk::ProfileLimitStatus::Found) {
                limits << QPointF(limit.value, target);
                limitTips << QStringLiteral("limit %1 at alpha = %2")
                                 .arg(limit.value, 0, 'g', 8)
                                 .arg(pelk::ProfileLikelihoods::alphaLevels().at(interval.alphaIndex));
            }
    }
    plot->setDataRange(qMin, qMax, 0.0, top);

    if (curve.standardError && *curve.standardError > 0.0) {
        // The quadratic a Wald interval assumes, drawn at a hundred points
        // across the profile's range.
        QList<QPointF> quadratic;
        for (int i = 0; i <= 100; ++i) {
            const double q = qMin + (qMax - qMin) * i / 100.0;
            const double z = (q - curve.estimate) / *curve.standardError;
            quadratic << QPointF(q, z * z);
        }
        QPen dashed(Qt::darkGray, 1);
        dashed.setStyle(Qt::DashLine);
        plot->addLine(quadratic, dashed);
    }
    for (const auto &[target, label] : std::as_const(targets)) {
        QPen pen(Qt::red, 1);
        pen.setStyle(Qt::DotLine);
        plot->addHorizontalLine(target, pen, label);
    }
    plot->addLine(line, QPen(Qt::blue, 2));
    plot->addPoints({QPointF(curve.estimate, 0.0)},
                    {QStringLiteral("estimate %1").arg(curve.estimate, 0, 'g', 8)}, Qt::black);
    if (!limits.isEmpty())
        plot->addPoints(limits, limitTips, Qt::red);
}
