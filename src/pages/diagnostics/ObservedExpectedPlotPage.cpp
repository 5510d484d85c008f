#include "ObservedExpectedPlotPage.h"

#include "ObservedExpectedModel.h"

#include <QFont>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPen>

#include <cmath>

namespace {

// The largest finite value of a column, or 1 when none is positive, so that
// dividing by it always gives finite positions.
template<typename Value>
double axisMaximum(const ObservedExpectedModel &model, Value value)
{
    double maximum = 0.0;
    for (int i = 0; i < model.rowCount(); ++i) {
        const double v = value(model.row(i));
        if (std::isfinite(v))
            maximum = std::max(maximum, v);
    }
    return maximum > 0.0 ? maximum : 1.0;
}

} // namespace

ObservedExpectedPlotPage::ObservedExpectedPlotPage(PelkWindow *mainWindow)
    : PlotPage(mainWindow, QStringLiteral("Observed vs Expected Plot"))
{
    QFont labelFont;
    labelFont.setPointSize(labelPointSize);
    m_observedLabel = scene()->addText(QStringLiteral("Observed"), labelFont);
    m_expectedLabel = scene()->addText(QStringLiteral("Expected"), labelFont);
    const QRectF observed = m_observedLabel->boundingRect();
    const QRectF expected = m_expectedLabel->boundingRect();
    m_observedLabel->setPos((side - observed.width()) / 2, side);
    // Turned to read upwards, centred along the left axis.
    m_expectedLabel->setPos(-expected.height(), (side + expected.width()) / 2);
    m_expectedLabel->setRotation(270);

    scene()->setSceneRect(-(margin + expected.height()), -margin, side + margin + expected.height(),
                          side + observed.height() + margin);
    const QPen axisPen(Qt::black, 3);
    scene()->addLine(0, side, side, side, axisPen);
    scene()->addLine(0, 0, 0, side, axisPen);
    scene()->addLine(0, side, side, 0, QPen(Qt::blue, 3));
}

void ObservedExpectedPlotPage::rebuild(const ObservedExpectedModel &model)
{
    removePoints();
    const double maxObserved
        = axisMaximum(model, [](const pelk::ObservedExpectedRow &r) { return r.observed; });
    const double maxExpected
        = axisMaximum(model, [](const pelk::ObservedExpectedRow &r) { return r.expected; });
    for (int i = 0; i < model.rowCount(); ++i) {
        const pelk::ObservedExpectedRow &row = model.row(i);
        if (!std::isfinite(row.observed) || !std::isfinite(row.expected))
            continue;
        addPoint(row.observed * side / maxObserved - pointDiameter / 2,
                 (1 - row.expected / maxExpected) * side - pointDiameter / 2, Qt::black,
                 model.pointToolTip(i));
    }
}
