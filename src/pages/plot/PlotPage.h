// What every plot page shares: a PlotForm filling the page, availability
// that follows the workspace lock (a plot shows results, which exist only
// while the workspace is locked), and saving the plot as a PNG or SVG image
// through the window's file dialogs. A page draws its plot into chart().
#pragma once

#include "pages/frame/PelkContentPage.h"

class PlotChart;
class PlotForm;

class PlotPage : public PelkContentPage
{
    Q_OBJECT

public:
    PlotForm *plotForm() const { return m_plotForm; }
    PlotChart *chart() const;

public slots:
    // These hide the base's slots of the same names, which stay connected
    // and still show and remove the lock indicator.
    void onLockWorkspace();
    void onClearEstimates();
    // Asks for a file name and writes the plot there: as SVG when the name
    // ends in ".svg", or has no image suffix and the SVG filter was chosen;
    // else as PNG. The suffix is added as FileDialogs::withSuffix does.
    void onSavePlot();

protected:
    PlotPage(PelkWindow *mainWindow, const QString &title);

private:
    PlotForm *m_plotForm;
};
