// A plot with real axes: two value axes with titles whose ticks fall on
// round numbers (NiceScale) and bracket the data, scatter points with a
// tool tip each, lines, and horizontal reference lines labelled at their
// right end inside the plot area. With a common scale both axes show the
// same range in a square plot area, so that one unit is as long across as
// up and the line y = x runs at 45 degrees.
//
// Zoom: at factor f each axis shows 1/f of its whole range around the
// centre of the part shown, as far as the whole range reaches; dragging
// with the mouse moves the part shown. Ticks follow: the step is the round
// step for the part shown, never coarser than at f = 1.
#pragma once

#include "NiceScale.h"

#include <QChartView>
#include <QList>
#include <QStringList>

class QGraphicsSimpleTextItem;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class PlotChart : public QChartView
{
    Q_OBJECT

public:
    static constexpr double markerSize = 10.0; // pixels across a point

    explicit PlotChart(QWidget *parent = nullptr);

    QValueAxis *xAxis() const { return m_xAxis; }
    QValueAxis *yAxis() const { return m_yAxis; }
    void setAxisTitles(const QString &x, const QString &y);
    void setCommonScale(bool common);
    // Horizontal ticks at whole numbers only (the axis counts rows).
    void setWholeNumberXTicks(bool whole);

    // The whole ranges the axes can show: the data ranges given, widened to
    // round ticks (with a common scale, their union on both axes). The zoom
    // factor stays; the part shown moves to the centre.
    void setDataRange(double xMin, double xMax, double yMin, double yMax);
    const NiceScale::Range &xRange() const { return m_xRange; }
    const NiceScale::Range &yRange() const { return m_yRange; }

    // Removes every series and line label; axes, titles and ranges stay.
    void clear();
    // toolTips[i] is the tool tip of points[i]; points that coincide show
    // all their tool tips, one per line.
    QScatterSeries *addPoints(const QList<QPointF> &points, const QStringList &toolTips,
                              const QColor &colour);
    QLineSeries *addLine(const QList<QPointF> &points, const QPen &pen);
    // A line at height y across the whole horizontal range (set the data
    // range first); a label that is not empty is written in the line's
    // colour just above its right end, and hidden while the line is not in
    // the part shown.
    QLineSeries *addHorizontalLine(double y, const QPen &pen, const QString &label);
    QList<QGraphicsSimpleTextItem *> lineLabels() const;

    double zoom() const { return m_zoom; }
    void setZoom(double factor);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    struct LineLabel
    {
        double y;
        QGraphicsSimpleTextItem *text;
    };

    void attach(QAbstractSeries *series);
    // Puts the part of the whole ranges that the zoom and centre select on
    // the axes, with its ticks.
    void showRanges();
    void squarePlotArea();
    void relayOut();
    void placeLineLabels();

    QValueAxis *m_xAxis;
    QValueAxis *m_yAxis;
    bool m_commonScale = false;
    double m_xMinimumStep = 0.0;
    NiceScale::Range m_xRange {0.0, 1.0, 0.2};
    NiceScale::Range m_yRange {0.0, 1.0, 0.2};
    double m_zoom = 1.0;
    QPointF m_centre {0.5, 0.5};
    QList<LineLabel> m_lineLabels;
    bool m_dragging = false;
    QPointF m_dragFrom;
};
