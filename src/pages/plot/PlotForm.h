// A plot under its controls: a labelled zoom slider from 100 to 200 that
// shows each axis at 100% to 200% magnification (the value over 100 is the
// chart's zoom factor), and a button, also in the plot's context menu, that
// asks to save the plot as an image.
#pragma once

#include <QWidget>

class PlotChart;
class QAction;
class QLabel;
class QSlider;

class PlotForm : public QWidget
{
    Q_OBJECT

public:
    explicit PlotForm(QWidget *parent = nullptr);

    PlotChart *chart() const { return m_chart; }
    QSlider *zoomSlider() const { return m_zoomSlider; }
    QAction *saveAction() const { return m_saveAction; }

public slots:
    void onSliderValueChanged(int value);

private:
    PlotChart *m_chart;
    QSlider *m_zoomSlider;
    QLabel *m_zoomValue;
    QAction *m_saveAction;
};
