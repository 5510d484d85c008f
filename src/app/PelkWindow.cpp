#include "PelkWindow.h"

#include "AboutDialog.h"
#include "HelpLauncher.h"
#include "RecentWorkspaces.h"

#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "optim/NRError.h"
#include "pages/diagnostics/ObservedExpectedModel.h"
#include "pages/diagnostics/ObservedExpectedPlotPage.h"
#include "pages/diagnostics/ObservedExpectedTablePage.h"
#include "pages/diagnostics/ResidualsPlotPage.h"
#include "pages/plot/ProfilePlotPage.h"
#include "pages/bootstrap/BootstrapDialog.h"
#include "pages/bootstrap/BootstrapPage.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/estimate/VerifyModelPage.h"
#include "pages/frame/FileDialogs.h"
#include "pages/likelihood/LikelihoodDefinitionPage.h"
#include "pages/likelihood/NormalLikelihoodPage.h"
#include "pages/options/OptimizerPage.h"
#include "pages/report/EstimationSummaryPage.h"
#include "pages/seeds/ParameterSeedsPage.h"
#include "pages/seeds/ProfileLikelihoodsPage.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/symbols/VariableDefinitionsPage.h"
#include "pages/tables/ResultTablePage.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QWhatsThis>

namespace {

QFont toolBarFont()
{
    QFont font("Arial", 11);
    font.setBold(true);
    return font;
}

} // namespace

PelkWindow::PelkWindow(QWidget *parent) : QMainWindow(parent), m_fileDialogs(std::make_unique<FileDialogs>())
{
    m_helpLauncher = new HelpLauncher(this);
    createPages();
    createActions();
    createMenusAndToolBar();
    resize(610, 444);
    setWindowTitle(m_windowTitleBase);

    // The "optimizer" entry is kept as it is; the method at start is Powell's.
    QSettings settings;
    settings.setValue("optimizer", settings.value("optimizer", "fletch"));
    zav::OptimizerFactory::instance().setOptimizerType(zav::OptimizerFactory::Powell);

    connect(m_estimatePage, &pelk::EstimatePage::estimationComplete, this, &PelkWindow::onEstimationComplete);
    connect(m_estimatePage, &pelk::EstimatePage::profileCurvesComplete, this, [this] {
        if (!m_locked || !m_summary)
            return;
        m_summary->updateProfileCurves(*m_workspace);
        emit profileCurvesChanged();
    });
    connect(m_estimatePage, &pelk::EstimatePage::runningChanged, this,
            &PelkWindow::onEstimationRunningChanged);

    setCentralWidget(m_pageStack);
    createNavigation();

    connect(m_parameterSeedsPage, &ParameterSeedsPage::parameterSeedsChanged, this,
            &PelkWindow::workspaceChanged);
    connect(m_profileLikelihoodsPage, &ProfileLikelihoodsPage::profileLikelihoodRequestsChanged, this,
            &PelkWindow::workspaceChanged);
    connect(m_optimizerPage, &OptimizerPage::usePreviousEstimatesSeedsStateChanged, this,
            &PelkWindow::onUsePreviousEstimatesSeedsStateChanged);
    connect(m_optimizerPage, &OptimizerPage::calculateCovarianceStateChanged, this,
            &PelkWindow::onCalculateCovarianceStateChanged);
    connect(m_optimizerPage, &OptimizerPage::optimizerSetupChanged, this, &PelkWindow::workspaceChanged);

    resetWorkspace();
    newLikelihood("Likelihood 1");
    showPage(m_parameterDefinitionsPage);
    m_changed = false;
    setTitle(QString());
}

PelkWindow::~PelkWindow()
{
    // Hiding closes open cell editors, which commit into the workspace
    // members; they must do so before those members are destroyed.
    hide();
    // The worker writes into the results, which die with this object.
    m_estimatePage->stopRunAndWait();
}

void PelkWindow::createPages()
{
    m_pageStack = new QStackedWidget(this);
    m_navModel = new NavPanelModel(this);
    m_navView = new QTreeView(this);

    m_parameterDefinitionsPage = new ParameterDefinitionsPage(this);
    m_variableDefinitionsPage = new VariableDefinitionsPage(this);
    m_verifyModelPage = new VerifyModelPage(this);
    m_parameterSeedsPage = new ParameterSeedsPage(this);
    m_profileLikelihoodsPage = new ProfileLikelihoodsPage(this);
    m_optimizerPage = new OptimizerPage(this);
    m_estimatePage = new pelk::EstimatePage(this);
    m_estimationSummaryPage = new EstimationSummaryPage(this);
    for (const ResultTablePage::Kind &kind : ResultTablePage::kinds())
        m_resultTablePages.append(new ResultTablePage(this, kind));
    m_observedExpectedPlotPage = new ObservedExpectedPlotPage(this);
    m_residualsPlotPage = new ResidualsPlotPage(this);
    m_profilePlotPage = new ProfilePlotPage(this);
    m_bootstrapPage = new BootstrapPage(this);
    m_observedExpectedTablePage = new ObservedExpectedTablePage(this);

    QList<QWidget *> pages = {m_parameterDefinitionsPage, m_variableDefinitionsPage, m_verifyModelPage,
                              m_parameterSeedsPage, m_profileLikelihoodsPage, m_optimizerPage,
                              m_estimatePage, m_estimationSummaryPage};
    for (ResultTablePage *page : std::as_const(m_resultTablePages))
        pages.append(page);
    pages << m_profilePlotPage << m_bootstrapPage << m_observedExpectedPlotPage << m_residualsPlotPage << m_observedExpectedTablePage;
    for (QWidget *page : std::as_const(pages))
        m_pageStack->addWidget(page);
}

void PelkWindow::createActions()
{
    struct ActionEntry
    {
        QAction **action;
        const char *objectName;
        const char *text;
        const char *icon;
        void (PelkWindow::*slot)();
    };
    const ActionEntry entries[] = {
        {&actionNewWorkspace, "actionNewWorkspace", "&New Workspace", ":/icons/workspace-new.png",
         &PelkWindow::onNewWorkspace},
        {&actionLoadWorkspace, "actionLoadWorkspace", "&Load Workspace...", ":/icons/workspace-open.png",
         &PelkWindow::onLoadWorkspace},
        {&actionSaveWorkspace, "actionSaveWorkspace", "&Save Workspace...", ":/icons/workspace-new.png",
         &PelkWindow::onSaveWorkspace},
        {&actionSaveWorkspaceAs, "actionSaveWorkspaceAs", "Save Workspace &As...",
         ":/icons/workspace-save-as.png", &PelkWindow::onSaveWorkspaceAs},
        {&actionLoadModelDefinition, "actionLoadModelDefinition", "&Load Model Definition...",
         ":/icons/model-open.png", &PelkWindow::onLoadModelDefinition},
        {&actionSaveModelDefinition, "actionSaveModelDefinition", "&Save Model Definition...",
         ":/icons/model-save-as.png", &PelkWindow::onSaveModelDefinition},
        {&actionLoadCategoryCounts, "actionLoadCategoryCounts", "Load Category Counts...",
         ":/icons/counts-open.png", &PelkWindow::onLoadCategoryCounts},
        {&actionSaveCategoryCounts, "actionSaveCategoryCounts", "Save Category Counts...",
         ":/icons/counts-save-as.png", &PelkWindow::onSaveCategoryCounts},
        {&actionLoadParameterSeeds, "actionLoadParameterSeeds", "Load Parameter &Seeds",
         ":/icons/document-open.png", &PelkWindow::onLoadParameterSeeds},
        {&actionSaveParameterSeeds, "actionSaveParameterSeeds", "Save Parameter Seeds",
         ":/icons/document-save-as.png", &PelkWindow::onSaveParameterSeeds},
        {&actionLoadProfileLikelihoodRequests, "actionLoadProfileLikelihoodRequests",
         "Load Profile Likelihood Requests", ":/icons/document-open.png",
         &PelkWindow::onLoadProfileLikelihoodRequests},
        {&actionSaveProfileLikelihoodRequests, "actionSaveProfileLikelihoodRequests",
         "Save Profile Likelihood Requests", ":/icons/document-save-as.png",
         &PelkWindow::onSaveProfileLikelihoodRequests},
        {&actionLoadOptimizerSettings, "actionLoadOptimizerSettings", "Load Optimizer Settings...",
         ":/icons/document-open.png", &PelkWindow::onLoadOptimizerSettings},
        {&actionSaveOptimizerSettings, "actionSaveOptimizerSettings", "Save OptimizerSettings...",
         ":/icons/document-save-as.png", &PelkWindow::onSaveOptimizerSettings},
        {&actionClearCurrentEstimates, "actionClearCurrentEstimates", "Clear Current Estimates", nullptr,
         &PelkWindow::onClearCurrentEstimates},
        {&actionCompareModels, "actionCompareModels", "&Compare Models...", nullptr, &PelkWindow::onCompareModels},
        {&actionBootstrap, "actionBootstrap", "Bootstrap Goodness of Fit...", nullptr, &PelkWindow::onBootstrap},
        {&actionExit, "actionExit", "E&xit", nullptr, &PelkWindow::onExit},
        {&actionWhatsThis, "actionWhatsThis", "", ":/icons/whatsThisIcon.png", &PelkWindow::onWhatsThis},
        {&actionContentsHelp, "actionContentsHelp", "&Contents", nullptr, &PelkWindow::onContentsHelp},
        {&actionAbout, "actionAbout", "About...", nullptr, &PelkWindow::onAbout},
    };
    for (const ActionEntry &entry : entries) {
        auto *action = new QAction(this);
        action->setObjectName(entry.objectName);
        action->setText(entry.text);
        if (entry.icon)
            action->setIcon(QIcon(entry.icon));
        connect(action, &QAction::triggered, this, entry.slot);
        *entry.action = action;
    }
    // The platform's own keys (Ctrl+O, Ctrl+S, F1, ...) for the actions every
    // desktop program has.
    const std::pair<QAction *, QKeySequence::StandardKey> shortcuts[] = {
        {actionNewWorkspace, QKeySequence::New},   {actionLoadWorkspace, QKeySequence::Open},
        {actionSaveWorkspace, QKeySequence::Save}, {actionSaveWorkspaceAs, QKeySequence::SaveAs},
        {actionExit, QKeySequence::Quit},          {actionContentsHelp, QKeySequence::HelpContents},
    };
    for (const auto &[action, key] : shortcuts)
        action->setShortcuts(key);
    actionLoadWorkspace->setIconText("Load Workspace");
    actionLoadWorkspace->setToolTip("Load Workspace");
    actionClearCurrentEstimates->setEnabled(false);
    actionBootstrap->setEnabled(false);
    actionWhatsThis->setToolTip("Get help on specific items");
}

void PelkWindow::createMenusAndToolBar()
{
    QMenu *menuFile = menuBar()->addMenu("&File");
    menuFile->setObjectName("menuFile");
    menuFile->addActions(
        {actionNewWorkspace, actionLoadWorkspace, actionSaveWorkspace, actionSaveWorkspaceAs});
    m_recentWorkspaces = new RecentWorkspaces(m_windowTitleBase, this);
    menuFile->addMenu(m_recentWorkspaces->menu());
    connect(m_recentWorkspaces, &RecentWorkspaces::openRequested, this, &PelkWindow::onOpenRecentWorkspace);
    menuFile->addSeparator();
    menuFile->addActions({actionLoadModelDefinition, actionSaveModelDefinition});
    menuFile->addSeparator();
    menuFile->addActions({actionLoadCategoryCounts, actionSaveCategoryCounts});
    menuFile->addSeparator();
    menuFile->addActions({actionLoadParameterSeeds, actionSaveParameterSeeds});
    menuFile->addSeparator();
    menuFile->addActions({actionLoadProfileLikelihoodRequests, actionSaveProfileLikelihoodRequests,
                          actionLoadOptimizerSettings, actionSaveOptimizerSettings});
    menuFile->addSeparator();
    menuFile->addAction(actionCompareModels);
    menuFile->addSeparator();
    menuFile->addAction(actionExit);

    QMenu *menuAction = menuBar()->addMenu("&Actions");
    menuAction->setObjectName("menuAction");
    menuAction->addSeparator();
    menuAction->addAction(actionClearCurrentEstimates);
    menuAction->addAction(actionBootstrap);

    QMenu *menuView = menuBar()->addMenu("&View");
    menuView->setObjectName("menuView");

    QMenu *menuHelp = menuBar()->addMenu("&Help");
    menuHelp->setObjectName("menu_Help");
    menuHelp->addActions({actionContentsHelp, actionAbout});

    QToolBar *toolBar = new QToolBar("Tool Bar", this);
    toolBar->setObjectName("toolBar");
    addToolBar(Qt::TopToolBarArea, toolBar);
    toolBar->addActions(
        {actionNewWorkspace, actionLoadWorkspace, actionSaveWorkspace, actionSaveWorkspaceAs});
    toolBar->addSeparator();
    toolBar->addActions({actionLoadModelDefinition, actionSaveModelDefinition});
    toolBar->addSeparator();
    toolBar->addActions({actionLoadCategoryCounts, actionSaveCategoryCounts});
    toolBar->addSeparator();
    toolBar->addAction(actionWhatsThis);
    menuView->addAction(toolBar->toggleViewAction());
}

void PelkWindow::createNavigation()
{
    m_defineModelGroup = m_navModel->addGroup("Define the Model");
    m_navModel->addPage(m_parameterDefinitionsPage, m_defineModelGroup);
    m_navModel->addPage(m_variableDefinitionsPage, m_defineModelGroup);
    m_likelihoodFunctionsGroup = m_navModel->addGroup("Likelihood Functions", m_defineModelGroup);
    m_navModel->addPage(m_verifyModelPage);
    m_estimationOptionsGroup = m_navModel->addGroup("Set Estimation Options");
    m_navModel->addPage(m_parameterSeedsPage, m_estimationOptionsGroup);
    m_navModel->addPage(m_profileLikelihoodsPage, m_estimationOptionsGroup);
    m_navModel->addPage(m_optimizerPage, m_estimationOptionsGroup);
    m_navModel->addPage(m_estimatePage);
    m_estimatesGroup = m_navModel->addGroup("View the Estimates");
    m_navModel->addPage(m_estimationSummaryPage, m_estimatesGroup);
    for (ContentPage *page : std::as_const(m_resultTablePages))
        m_navModel->addPage(page, m_estimatesGroup);
    m_navModel->addPage(m_profilePlotPage, m_estimatesGroup);
    m_navModel->addPage(m_bootstrapPage, m_estimatesGroup);
    m_diagnosticsGroup = m_navModel->addGroup("View the Model Diagnostics");
    for (ContentPage *page : std::initializer_list<ContentPage *> {
             m_observedExpectedPlotPage, m_residualsPlotPage, m_observedExpectedTablePage})
        m_navModel->addPage(page, m_diagnosticsGroup);

    auto *dock = new QDockWidget("Navigation Panel", this);
    dock->setObjectName("navigationDock");
    m_navView->setMinimumWidth(400);
    m_navView->setModel(m_navModel);
    m_navView->setSelectionMode(QAbstractItemView::NoSelection);
    m_navView->header()->hide();
    m_navView->setWhatsThis("Use this navigation panel to navigate directly to any page by clicking "
                            "on its name.  The current page is indicated by bold text.  Pages not currently "
                            "available are grayed out.");
    dock->setWidget(m_navView);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    // One click opens a page; a double click, the habit of older versions,
    // still does.
    connect(m_navView, &QTreeView::clicked, m_navModel, &NavPanelModel::openPageAt);
    connect(m_navView, &QTreeView::doubleClicked, m_navModel, &NavPanelModel::openPageAt);
    m_navView->expandAll();
    // Likelihood pages added later must show too.
    connect(m_navModel, &QAbstractItemModel::rowsInserted, m_navView, &QTreeView::expandAll);
    menuBar()->findChild<QMenu *>("menuView")->addAction(dock->toggleViewAction());
    connect(m_navModel, &NavPanelModel::currentPageChanged, this, &PelkWindow::onCurrentPageChanged);
}

ContentPage *PelkWindow::currentPage() const
{
    return m_navModel->currentPage();
}

void PelkWindow::showPage(ContentPage *page)
{
    if (page)
        m_navModel->setCurrentPage(page);
}

// --- Workspace -----------------------------------------------------------------

void PelkWindow::resetWorkspace()
{
    m_estimatePage->stopRunAndWait();
    // Pages showing results let go of them before the results go.
    if (m_locked) {
        actionClearCurrentEstimates->setEnabled(false);
        actionBootstrap->setEnabled(false);
        m_locked = false;
        m_bootstrap.reset();
        emit clearEstimates();
    }

    showPage(m_parameterDefinitionsPage);
    for (LikelihoodPage *page : std::as_const(m_likelihoodPages)) {
        m_navModel->removePage(page);
        m_pageStack->removeWidget(page);
        delete page;
    }
    m_likelihoodPages.clear();
    m_results = pelk::EstimationResults();
    m_summary.reset();

    // A new workspace keeps the estimation options and the optimizer of the
    // one it replaces (at start: the stored options and Powell's method).
    auto workspace = std::make_unique<pelk::Workspace>();
    if (m_workspace) {
        workspace->usePreviousEstimatesAsSeeds = m_workspace->usePreviousEstimatesAsSeeds;
        workspace->calculateCovariance = m_workspace->calculateCovariance;
    } else {
        QSettings settings;
        workspace->usePreviousEstimatesAsSeeds = settings.value("usePreviousEstimatesSeeds", true).toBool();
        workspace->calculateCovariance = settings.value("calculateCovariance", true).toBool();
    }
    workspace->optimizer = zav::OptimizerSettings::current();
    m_workspace = std::move(workspace);
    connect(&m_workspace->model, &pelk::ModelDefinition::changed, this, &PelkWindow::workspaceChanged);

    m_parameterDefinitionsPage->setModelDefinition(&m_workspace->model);
    m_variableDefinitionsPage->setModelDefinition(&m_workspace->model);
    m_profileLikelihoodsPage->setModelDefinition(&m_workspace->model, &m_workspace->parameterRequests,
                                                 &m_workspace->variableRequests);
    m_parameterSeedsPage->setModelDefinition(&m_workspace->model, &m_workspace->seeds);
}

void PelkWindow::createLikelihoodPages()
{
    for (int position = 0; position < m_workspace->model.likelihoodCount(); ++position) {
        const int id = m_workspace->model.likelihoodId(position);
        addLikelihoodPage(id);
    }
    m_parameterDefinitionsPage->setModelDefinition(&m_workspace->model);
    m_variableDefinitionsPage->setModelDefinition(&m_workspace->model);
    showPage(m_parameterDefinitionsPage);
}

LikelihoodPage *PelkWindow::addLikelihoodPage(int id)
{
    LikelihoodPage *page = nullptr;
    if (m_workspace->model.isMultinomial(id)) {
        auto *multinomial
            = new LikelihoodDefinitionPage(this, id, &m_workspace->model, &m_workspace->categoryCounts);
        connect(multinomial, &LikelihoodDefinitionPage::categoryCountsChanged, this,
                &PelkWindow::workspaceChanged);
        page = multinomial;
    } else {
        page = new NormalLikelihoodPage(this, id, &m_workspace->model);
    }
    connect(page, &LikelihoodPage::definitionChanged, this, &PelkWindow::workspaceChanged);
    m_pageStack->addWidget(page);
    m_likelihoodPages.append(page);
    m_navModel->addPage(page, m_likelihoodFunctionsGroup);
    return page;
}

bool PelkWindow::newLikelihood(const QString &name, bool normal)
{
    if (m_workspace->model.hasLikelihood(name))
        return false;
    const int id = m_workspace->model.addLikelihood(name, normal);
    showPage(addLikelihoodPage(id));
    return true;
}

bool PelkWindow::renameLikelihood(LikelihoodPage *page, const QString &name)
{
    if (m_workspace->model.hasLikelihood(name))
        return false;
    page->setTitle(name);
    m_workspace->model.renameLikelihood(page->likelihoodId(), name);
    return true;
}

void PelkWindow::deleteLikelihoodPage(LikelihoodPage *page)
{
    m_workspace->model.deleteLikelihood(page->likelihoodId());
    ContentPage *next = page->nextPage() ? page->nextPage() : page->previousPage();
    showPage(next);
    m_likelihoodPages.removeOne(page);
    m_pageStack->removeWidget(page);
    m_navModel->removePage(page);
    page->deleteLater();
}

void PelkWindow::workspaceChanged()
{
    m_changed = true;
    setTitle("**");
    actionSaveWorkspace->setEnabled(true);
}

void PelkWindow::setTitle(const QString &separator)
{
    if (separator.isEmpty())
        setWindowTitle(m_windowTitleBase);
    else
        setWindowTitle(m_windowTitleBase + " " + separator + " " + workspaceDisplayName());
}

QString PelkWindow::workspaceDisplayName() const
{
    return m_workspaceFileName.isEmpty() ? QString("Untitled") : m_workspaceFileName;
}

void PelkWindow::setWorkspaceFileName(const QString &fileName)
{
    m_workspaceFileName = fileName;
    setTitle("--");
}

// --- Tool bars for the formula editors ------------------------------------------

// QToolBar::clear() keeps the actions alive; refilled on every page
// activation, they would pile up.
static void clearToolBar(QToolBar *toolBar)
{
    const QList<QAction *> actions = toolBar->actions();
    toolBar->clear();
    qDeleteAll(actions);
}

QToolBar *PelkWindow::makeMathSymbolsToolBar(QWidget *parent)
{
    auto *toolBar = new QToolBar("Operators", parent);
    toolBar->setFont(toolBarFont());
    const std::pair<const char *, const char *> symbols[]
        = {{"(", ":/icons/leftParen.png"}, {")", ":/icons/rightParen.png"}, {"1", ":/icons/one.png"},
           {"+", ":/icons/plus.png"},      {"-", ":/icons/minus.png"},      {"*", ":/icons/multiply.png"},
           {"/", ":/icons/divide.png"},    {"^", ":/icons/power.png"}};
    for (const auto &[text, icon] : symbols)
        toolBar->addAction(QIcon(icon), text);
    toolBar->setWhatsThis(
        "While editing a variable definition or a category probability definition, click on "
        "any symbol to insert it at the current cursor position.");
    return toolBar;
}

QToolBar *PelkWindow::makeParametersToolBar(QWidget *parent)
{
    auto *toolBar = new QToolBar("Parameters", parent);
    toolBar->setFont(toolBarFont());
    toolBar->setWhatsThis(
        "While editing a variable definition or a category probability definition, click on "
        "any parameter name on this tool bar to insert it at the current cursor position.  1 "
        "minus the parameter (in parentheses) can be inserted by holding the control key "
        "while clicking on the parameter name.");
    return toolBar;
}

QToolBar *PelkWindow::makeFunctionsToolBar(QWidget *parent)
{
    auto *toolBar = new QToolBar("Functions", parent);
    toolBar->setFont(toolBarFont());
    toolBar->setWhatsThis(
        "While editing a variable definition or a category probability definition, click on "
        "any symbol name on this tool bar to insert it at the current cursor position.  1 "
        "minus the symbol (in parentheses) can be inserted by holding the control key while "
        "clicking on the symbol name.");
    return toolBar;
}

void PelkWindow::fillParametersToolBar(QToolBar *toolBar)
{
    clearToolBar(toolBar);
    for (int i = 0; i < m_workspace->model.parameterCount(); ++i)
        toolBar->addAction(m_workspace->model.parameterName(i));
}

void PelkWindow::fillFunctionsToolBar(QToolBar *toolBar)
{
    clearToolBar(toolBar);
    for (int i = 0; i < m_workspace->model.variableCount(); ++i)
        toolBar->addAction(m_workspace->model.variableName(i));
}

void PelkWindow::showStatusMessage(const QString &text)
{
    if (ContentPage *page = currentPage())
        page->statusBar()->showMessage(text, 4000);
}

void PelkWindow::showHelpPage(const QString &pageName)
{
    m_helpLauncher->showPage(pageName);
}

void PelkWindow::setHelpLauncher(HelpLauncher *launcher)
{
    delete m_helpLauncher;
    m_helpLauncher = launcher;
    launcher->setParent(this);
}

void PelkWindow::setFileDialogs(std::unique_ptr<FileDialogs> fileDialogs)
{
    m_fileDialogs = std::move(fileDialogs);
}

// --- Estimation ------------------------------------------------------------------

void PelkWindow::onEstimationComplete()
{
    // Every number the result pages show, computed once from the finished run.
    try {
        m_summary = std::make_unique<pelk::EstimationSummary>(
            pelk::EstimationSummary::compute(*m_workspace, m_results));
    } catch (const NR3::NRError &error) {
        QMessageBox::critical(
            this, m_windowTitleBase,
            QString("The results could not be summarised: %1").arg(QString::fromUtf8(error.message)));
        return;
    }

    auto *observedExpected = new ObservedExpectedModel(m_summary->observedExpected, this);
    m_observedExpectedTablePage->setObservedExpectedModel(observedExpected);
    m_observedExpectedPlotPage->setObservedExpectedModel(observedExpected);
    m_residualsPlotPage->setObservedExpectedModel(observedExpected);

    actionClearCurrentEstimates->setEnabled(true);
    actionBootstrap->setEnabled(true);
    m_bootstrap.reset();
    m_locked = true;
    if (!m_workspaceFileName.isEmpty())
        actionSaveWorkspace->setEnabled(true);
    emit estimationComplete();
    emit lockWorkspace();
}

void PelkWindow::onEstimationRunningChanged(bool running)
{
    QList<ContentPage *> editors = {m_parameterDefinitionsPage, m_variableDefinitionsPage,
                                    m_parameterSeedsPage, m_profileLikelihoodsPage, m_optimizerPage};
    for (LikelihoodPage *page : std::as_const(m_likelihoodPages))
        editors.append(page);
    for (ContentPage *page : std::as_const(editors))
        page->contentFrame()->setEnabled(!running);
    for (QAction *action : {actionLoadCategoryCounts, actionLoadParameterSeeds,
                            actionLoadProfileLikelihoodRequests, actionLoadOptimizerSettings})
        action->setEnabled(!running);
}

void PelkWindow::onClearCurrentEstimates()
{
    QMessageBox box(
        QMessageBox::Warning, "PELK",
        "Clear the current estimates?  Estimates and Model Diagnostics will no longer be available.",
        QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() == QMessageBox::Cancel)
        return;
    if (m_workspace->usePreviousEstimatesAsSeeds) {
        const int n = std::min(int(m_results.estimates.size()), int(m_workspace->seeds.size()));
        for (int i = 0; i < n; ++i)
            m_parameterSeedsPage->setSeed(i, m_results.estimates[std::size_t(i)]);
    }
    showPage(m_parameterDefinitionsPage);
    m_results.covarianceAvailable = false;
    actionClearCurrentEstimates->setEnabled(false);
    actionBootstrap->setEnabled(false);
    m_bootstrap.reset();
    emit clearEstimates();
    m_locked = false;
    m_summary.reset();
}

void PelkWindow::onBootstrap()
{
    if (!m_summary)
        return;
    BootstrapDialog dialog(this);
    connect(&dialog, &BootstrapDialog::bootstrapComplete, this, &PelkWindow::setBootstrapResult);
    dialog.exec();
}

void PelkWindow::setBootstrapResult(const pelk::BootstrapResult &result)
{
    m_bootstrap = result;
    emit bootstrapComplete();
    showPage(m_bootstrapPage);
}

void PelkWindow::onUsePreviousEstimatesSeedsStateChanged(bool state)
{
    m_workspace->usePreviousEstimatesAsSeeds = state;
    QSettings().setValue("usePreviousEstimatesSeeds", state);
}

void PelkWindow::onCalculateCovarianceStateChanged(bool state)
{
    m_workspace->calculateCovariance = state;
    QSettings().setValue("calculateCovariance", state);
}

void PelkWindow::storeEditedOptimizer()
{
    m_optimizerPage->storeCurrentSettings();
    m_workspace->optimizer = zav::OptimizerSettings::current();
}

void PelkWindow::useWorkspaceOptimizer()
{
    if (m_workspace->optimizer.type == zav::OptimizerFactory::NoOptimizer) {
        // Nothing was read: the method in force stays.
        m_workspace->optimizer = zav::OptimizerSettings::current();
        return;
    }
    m_workspace->optimizer.makeCurrent();
    m_optimizerPage->showOptimizerType(m_workspace->optimizer.type);
}

// --- Navigation, help, About ---------------------------------------------------------

void PelkWindow::onCurrentPageChanged(ContentPage *contentPage)
{
    m_pageStack->setCurrentWidget(contentPage);
}

void PelkWindow::onWhatsThis()
{
    QWhatsThis::enterWhatsThisMode();
}

void PelkWindow::onContentsHelp()
{
    m_helpLauncher->showContents();
}

void PelkWindow::onAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}

// --- Closing -----------------------------------------------------------------------------

void PelkWindow::onExit()
{
    // The close event asks about unsaved changes, for Exit and the window's
    // close button alike.
    close();
}

void PelkWindow::closeEvent(QCloseEvent *event)
{
    if (!confirmDiscard()) {
        event->ignore();
        return;
    }
    m_estimatePage->stopRunAndWait();
    event->accept();
}
