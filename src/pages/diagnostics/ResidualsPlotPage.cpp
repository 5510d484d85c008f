#include "ResidualsPlotPage.h"

#include "ObservedExpectedModel.h"

#include "pages/plot/PlotChart.h"

#include <QPen>

#include <cmath>

ResidualsPlotPage::ResidualsPlotPage(PelkWindow *mainWindow)
    : DiagnosticPlotPage(mainWindow, QStringLiteral("Residuals Plot"))
{
    chart()->setAxisTitles(QStringLiteral("Category (row of the Observed vs Expected Table)"),
                           QStringLiteral("Anscombe residual"));
    chart()->setWholeNumberXTicks(true);
}

void ResidualsPlotPage::rebuild(const ObservedExpectedModel &model)
{
    chart()->clear();
    QList<QPointF> points;
    QStringList toolTips;
    double scale = minimumScale;
    for (int i = 0; i < model.rowCount(); ++i) {
        const double residual = model.row(i).residual;
        if (!std::isfinite(residual))
            continue;
        points << QPointF(i + 1, residual);
        toolTips << model.pointToolTip(i);
        scale = std::max(scale, std::abs(residual));
    }
    // Row numbers run from 1 to n; a free row's width on either side keeps
    // the first and last points off the frame.
    chart()->setDataRange(0, model.rowCount() + 1, -scale, scale);

    chart()->addHorizontalLine(0.0, QPen(Qt::black, 1), QString());
    QPen referencePen(Qt::red, 2);
    referencePen.setStyle(Qt::DashLine);
    chart()->addHorizontalLine(referenceResidual, referencePen, QStringLiteral("+1.96"));
    chart()->addHorizontalLine(-referenceResidual, referencePen, QStringLiteral("\u22121.96"));
    chart()->addPoints(points, toolTips, Qt::blue);
}
