#include "ObservedExpectedPlotPage.h"

#include "ObservedExpectedModel.h"

#include "pages/plot/PlotChart.h"

#include <QPen>

#include <cmath>

ObservedExpectedPlotPage::ObservedExpectedPlotPage(PelkWindow *mainWindow)
    : DiagnosticPlotPage(mainWindow, QStringLiteral("Observed vs Expected Plot"))
{
    chart()->setAxisTitles(QStringLiteral("Observed count"), QStringLiteral("Expected count"));
    chart()->setCommonScale(true);
}

void ObservedExpectedPlotPage::rebuild(const ObservedExpectedModel &model)
{
    chart()->clear();
    QList<QPointF> points;
    QStringList toolTips;
    double low = 0.0;
    double high = 0.0;
    for (int i = 0; i < model.rowCount(); ++i) {
        const pelk::ObservedExpectedRow &row = model.row(i);
        if (!std::isfinite(row.observed) || !std::isfinite(row.expected))
            continue;
        points << QPointF(row.observed, row.expected);
        toolTips << model.pointToolTip(i);
        low = std::min({low, row.observed, row.expected});
        high = std::max({high, row.observed, row.expected});
    }
    chart()->setDataRange(low, high, low, high);
    const NiceScale::Range &range = chart()->xRange();
    chart()->addLine({{range.min, range.min}, {range.max, range.max}}, QPen(Qt::blue, 2));
    chart()->addPoints(points, toolTips, Qt::black);
}
