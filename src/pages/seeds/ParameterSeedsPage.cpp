#include "ParameterSeedsPage.h"

ParameterSeedsPage::ParameterSeedsPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Parameter Seeds")
{}
void ParameterSeedsPage::setModelDefinition(pelk::ModelDefinition *, std::vector<double> *seeds)
{
    m_seeds = seeds;
}
void ParameterSeedsPage::setSeed(int i, double value)
{
    (*m_seeds)[std::size_t(i)] = value;
    emit parameterSeedsChanged();
}
