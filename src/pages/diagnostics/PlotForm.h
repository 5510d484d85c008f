// A graphics view under a zoom slider. The view's transformation after the
// last fit is the base; the slider, from 100 to 200, adds (value/100 - 1)
// to the base's horizontal and vertical scale factors. Whenever the form is
// resized the scene is fitted into the view again, the fitted
// transformation becomes the base and the slider returns to 100.
#pragma once

#include <QTransform>
#include <QWidget>

class QGraphicsView;
class QSlider;

class PlotForm : public QWidget
{
    Q_OBJECT

public:
    explicit PlotForm(QWidget *parent = nullptr);

    QSlider *zoomSlider() const { return m_zoomSlider; }
    QGraphicsView *graphicsView() const { return m_graphicsView; }
    QTransform baseTransform() const { return m_baseTransform; }

    // Fits the whole scene rectangle into the view, keeping the aspect
    // ratio, and makes the result the base at zoom 100.
    void fitSceneToView();

public slots:
    void onSliderValueChanged(int value);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QSlider *m_zoomSlider;
    QGraphicsView *m_graphicsView;
    QTransform m_baseTransform;
};
