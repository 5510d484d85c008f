#include "PlotChart.h"

#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>

namespace {

// Above every series the chart draws.
constexpr double labelZValue = 1000.0;
// Pixels between a line label and the plot area's right edge.
constexpr double labelInset = 4.0;

// The part of a whole range that is 1/zoom of it wide around centre, moved
// inside the whole range; returns the centre it ends up with.
double showPart(QValueAxis *axis, const NiceScale::Range &whole, double centre, double zoom,
                double minimumStep)
{
    const double half = (whole.max - whole.min) / (2.0 * zoom);
    centre = std::clamp(centre, whole.min + half, whole.max - half);
    const double step = std::min(whole.step, NiceScale::step(2.0 * half, minimumStep));
    // Unzoomed, the ends are the whole range's round numbers themselves,
    // not a centre plus and minus a half, which may miss them by a rounding.
    const double min = zoom > 1.0 ? centre - half : whole.min;
    const double max = zoom > 1.0 ? centre + half : whole.max;
    // The axis lays out its ticks at each change: a new range under the old
    // step (or the other way round) could ask for millions of them. A coarser
    // step therefore comes first, a finer one last.
    if (step > axis->tickInterval())
        axis->setTickInterval(step);
    axis->setRange(min, max);
    axis->setTickInterval(step);
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(NiceScale::decimals(step)));
    return centre;
}

} // namespace

PlotChart::PlotChart(QWidget *parent) : QChartView(new QChart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->hide();
    m_xAxis = new QValueAxis;
    m_yAxis = new QValueAxis;
    for (QValueAxis *axis : {m_xAxis, m_yAxis}) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0.0);
        axis->setLinePen(QPen(Qt::black, 1));
    }
    chart()->addAxis(m_xAxis, Qt::AlignBottom);
    chart()->addAxis(m_yAxis, Qt::AlignLeft);
    connect(chart(), &QChart::plotAreaChanged, this, &PlotChart::placeLineLabels);
    showRanges();
}

void PlotChart::setAxisTitles(const QString &x, const QString &y)
{
    m_xAxis->setTitleText(x);
    m_yAxis->setTitleText(y);
}

void PlotChart::setCommonScale(bool common)
{
    m_commonScale = common;
    if (!common) {
        chart()->setPlotArea(QRectF());
        relayOut();
    }
    setDataRange(m_xRange.min, m_xRange.max, m_yRange.min, m_yRange.max);
}

void PlotChart::setWholeNumberXTicks(bool whole)
{
    m_xMinimumStep = whole ? 1.0 : 0.0;
    setDataRange(m_xRange.min, m_xRange.max, m_yRange.min, m_yRange.max);
}

void PlotChart::setDataRange(double xMin, double xMax, double yMin, double yMax)
{
    if (m_commonScale) {
        xMin = yMin = std::min(xMin, yMin);
        xMax = yMax = std::max(xMax, yMax);
    }
    m_xRange = NiceScale::bracket(xMin, xMax, m_xMinimumStep);
    m_yRange = NiceScale::bracket(yMin, yMax);
    m_centre = QPointF((m_xRange.min + m_xRange.max) / 2, (m_yRange.min + m_yRange.max) / 2);
    showRanges();
}

void PlotChart::clear()
{
    chart()->removeAllSeries();
    for (const LineLabel &label : std::as_const(m_lineLabels))
        delete label.text;
    m_lineLabels.clear();
}

void PlotChart::attach(QAbstractSeries *series)
{
    chart()->addSeries(series);
    series->attachAxis(m_xAxis);
    series->attachAxis(m_yAxis);
}

QScatterSeries *PlotChart::addPoints(const QList<QPointF> &points, const QStringList &toolTips,
                                     const QColor &colour)
{
    auto *series = new QScatterSeries;
    series->append(points);
    series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    series->setMarkerSize(markerSize);
    series->setColor(colour);
    series->setBorderColor(colour);
    attach(series);
    connect(series, &QScatterSeries::hovered, this,
            [this, points, toolTips](const QPointF &point, bool entered) {
                if (!entered) {
                    QToolTip::hideText();
                    return;
                }
                QStringList lines;
                for (qsizetype i = 0; i < points.size(); ++i)
                    if (points[i] == point)
                        lines << toolTips.value(i);
                QToolTip::showText(QCursor::pos(), lines.join(u'\n'), this);
            });
    return series;
}

QLineSeries *PlotChart::addLine(const QList<QPointF> &points, const QPen &pen)
{
    auto *series = new QLineSeries;
    series->append(points);
    series->setPen(pen);
    attach(series);
    return series;
}

QLineSeries *PlotChart::addHorizontalLine(double y, const QPen &pen, const QString &label)
{
    QLineSeries *line = addLine({{m_xRange.min, y}, {m_xRange.max, y}}, pen);
    if (!label.isEmpty()) {
        auto *text = new QGraphicsSimpleTextItem(label, chart());
        text->setBrush(pen.color());
        text->setZValue(labelZValue);
        m_lineLabels.append({y, text});
        placeLineLabels();
    }
    return line;
}

QList<QGraphicsSimpleTextItem *> PlotChart::lineLabels() const
{
    QList<QGraphicsSimpleTextItem *> texts;
    for (const LineLabel &label : m_lineLabels)
        texts << label.text;
    return texts;
}

void PlotChart::setZoom(double factor)
{
    m_zoom = std::max(1.0, factor);
    if (m_zoom > 1.0)
        viewport()->setCursor(Qt::OpenHandCursor);
    else
        viewport()->unsetCursor();
    showRanges();
}

void PlotChart::showRanges()
{
    m_centre.setX(showPart(m_xAxis, m_xRange, m_centre.x(), m_zoom, m_xMinimumStep));
    m_centre.setY(showPart(m_yAxis, m_yRange, m_centre.y(), m_zoom, 0.0));
    squarePlotArea();
    placeLineLabels();
}

void PlotChart::squarePlotArea()
{
    if (!m_commonScale)
        return;
    // The chart's own layout finds the room the axes leave (it changes with
    // the width of the tick labels); the plot area is the largest square
    // centred in it. Setting or freeing the plot area moves the series at
    // once but not the axes, and does not invalidate the layout: each is
    // followed by a layout pass of its own.
    chart()->setPlotArea(QRectF());
    relayOut();
    const QRectF room = chart()->plotArea();
    const double side = std::min(room.width(), room.height());
    chart()->setPlotArea(QRectF(room.center() - QPointF(side, side) / 2, QSizeF(side, side)));
    relayOut();
}

void PlotChart::relayOut()
{
    chart()->layout()->invalidate();
    chart()->layout()->activate();
}

void PlotChart::placeLineLabels()
{
    const QRectF area = chart()->plotArea();
    for (const LineLabel &label : std::as_const(m_lineLabels)) {
        const double fraction = (label.y - m_yAxis->min()) / (m_yAxis->max() - m_yAxis->min());
        const QRectF box = label.text->boundingRect();
        label.text->setPos(area.right() - labelInset - box.width(),
                           area.bottom() - fraction * area.height() - box.height());
        label.text->setVisible(fraction >= 0.0 && fraction <= 1.0);
    }
}

void PlotChart::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    squarePlotArea();
}

void PlotChart::mousePressEvent(QMouseEvent *event)
{
    m_dragging = event->button() == Qt::LeftButton && m_zoom > 1.0;
    m_dragFrom = event->position();
    QChartView::mousePressEvent(event);
}

void PlotChart::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        // The part shown follows the mouse: a drag to the right shows what
        // lies further left. Screen y grows downwards, axis values upwards.
        const QPointF moved = event->position() - m_dragFrom;
        m_dragFrom = event->position();
        const QRectF area = chart()->plotArea();
        m_centre -= QPointF(moved.x() * (m_xAxis->max() - m_xAxis->min()) / area.width(),
                            -moved.y() * (m_yAxis->max() - m_yAxis->min()) / area.height());
        showRanges();
    }
    QChartView::mouseMoveEvent(event);
}

void PlotChart::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QChartView::mouseReleaseEvent(event);
}
