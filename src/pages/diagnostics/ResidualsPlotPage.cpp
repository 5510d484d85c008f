#include "ResidualsPlotPage.h"

#include "ObservedExpectedModel.h"

#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QPen>

#include <cmath>

ResidualsPlotPage::ResidualsPlotPage(PelkWindow *mainWindow)
    : PlotPage(mainWindow, QStringLiteral("Residuals Plot"))
{
    scene()->setSceneRect(-margin, -(halfHeight + margin), plotWidth + 2 * margin, 2 * (halfHeight + margin));
    const QPen axisPen(Qt::black, 5);
    scene()->addLine(0, 0, plotWidth, 0, axisPen);
    scene()->addLine(0, -halfHeight, 0, halfHeight, axisPen);
}

void ResidualsPlotPage::rebuild(const ObservedExpectedModel &model)
{
    removePoints();
    qDeleteAll(m_referenceLines);
    m_referenceLines.clear();

    const int n = model.rowCount();
    m_scale = minimumScale;
    for (int i = 0; i < n; ++i) {
        const double residual = model.row(i).residual;
        if (std::isfinite(residual))
            m_scale = std::max(m_scale, std::abs(residual));
    }

    QPen referencePen(Qt::red, 3);
    referencePen.setStyle(Qt::DashLine);
    const double referenceY = referenceResidual * halfHeight / m_scale;
    m_referenceLines << scene()->addLine(0, -referenceY, plotWidth, -referenceY, referencePen)
                     << scene()->addLine(0, referenceY, plotWidth, referenceY, referencePen);

    // Scene y grows downwards: positive residuals lie above the axis.
    for (int i = 0; i < n; ++i) {
        const double residual = model.row(i).residual;
        if (!std::isfinite(residual))
            continue;
        addPoint((i + 1) * plotWidth / n - pointDiameter / 2,
                 -residual * halfHeight / m_scale - pointDiameter / 2, Qt::blue, model.pointToolTip(i));
    }
}
