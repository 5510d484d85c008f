#include "OptimizerPage.h"

OptimizerPage::OptimizerPage(PelkWindow *mainWindow) : PelkContentPage(mainWindow, "Optimizer") {}
void OptimizerPage::showOptimizerType(zav::OptimizerFactory::OptimizerType) {}
