#include "PlotPage.h"

#include "ChartImage.h"
#include "PlotChart.h"
#include "PlotForm.h"

#include "app/PelkWindow.h"
#include "pages/frame/FileDialogs.h"

#include <QAction>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {

const QString plotDirectoryKey = QStringLiteral("/plotDirectory");
const QString pngFilter = QStringLiteral("PNG image (*.png)");
const QString svgFilter = QStringLiteral("SVG drawing (*.svg)");
const QString saveBoxTitle = QStringLiteral("Save Plot");

} // namespace

PlotPage::PlotPage(PelkWindow *mainWindow, const QString &title) : PelkContentPage(mainWindow, title)
{
    m_plotForm = new PlotForm(contentFrame());
    contentLayout()->addWidget(m_plotForm);
    setAvailable(false);

    connect(mainWindow, &PelkWindow::lockWorkspace, this, &PlotPage::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, this, &PlotPage::onClearEstimates);
    connect(m_plotForm->saveAction(), &QAction::triggered, this, &PlotPage::onSavePlot);
}

PlotChart *PlotPage::chart() const
{
    return m_plotForm->chart();
}

void PlotPage::onLockWorkspace()
{
    setAvailable(true);
}

void PlotPage::onClearEstimates()
{
    setAvailable(false);
}

void PlotPage::onSavePlot()
{
    QString selectedFilter;
    QString fileName = mainWindow()->fileDialogs().getSaveFileName(
        this, saveBoxTitle, FileDialogs::rememberedDirectory(plotDirectoryKey),
        pngFilter + QStringLiteral(";;") + svgFilter, &selectedFilter);
    if (fileName.isEmpty())
        return;
    FileDialogs::rememberDirectory(fileName, plotDirectoryKey);
    const bool svg = fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)
        || (!fileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) && selectedFilter == svgFilter);
    fileName = FileDialogs::withSuffix(this, saveBoxTitle, fileName,
                                       svg ? QStringLiteral(".svg") : QStringLiteral(".png"));
    if (fileName.isEmpty())
        return;
    const bool written
        = svg ? ChartImage::writeSvg(*chart(), fileName, title()) : ChartImage::writePng(*chart(), fileName);
    if (!written)
        QMessageBox::critical(this, saveBoxTitle, QStringLiteral("Unable to write \"%1\".").arg(fileName));
}
