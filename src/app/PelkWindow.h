// The main window owns the whole workspace: the model definition, the
// category counts, the seeds, both profile-request containers, the results
// of the last estimation and every page. It offers the menus, tool bars and
// navigation panel, the file actions, the workspace lock after an
// estimation, the help viewer and the About dialog, and builds the symbol
// tool bars that the formula-editing pages embed.
#pragma once

#include "estimation/BootstrapResult.h"
#include "estimation/EstimationResults.h"
#include "estimation/EstimationSummary.h"
#include "model/Workspace.h"
#include "pages/frame/NavPanelModel.h"

#include <QMainWindow>
#include <QMap>
#include <QModelIndex>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BootstrapPage;
class ContentPage;
class EstimationSummaryPage;
class FileDialogs;
class HelpLauncher;
class LikelihoodDefinitionPage;
class LikelihoodPage;
class ObservedExpectedModel;
class ObservedExpectedPlotPage;
class ObservedExpectedTablePage;
class OptimizerPage;
class ParameterDefinitionsPage;
class ParameterSeedsPage;
class ProfileLikelihoodsPage;
class QAction;
class RecentWorkspaces;
class QStackedWidget;
class QToolBar;
class QTreeView;
class ProfilePlotPage;
class ResidualsPlotPage;
class ResultTablePage;
class VariableDefinitionsPage;
class VerifyModelPage;

namespace pelk {
class EstimatePage;
class FileWriter;
} // namespace pelk

class PelkWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit PelkWindow(QWidget *parent = nullptr);
    ~PelkWindow() override;

    // --- The workspace ---------------------------------------------------
    // The open workspace. New and the loads replace it whole: fetch it again
    // after one rather than holding on to it or its parts.
    pelk::Workspace &workspace() { return *m_workspace; }
    // Copies the method and settings of the Optimizer page (kept in the
    // process-wide records) into the workspace; every save and every run
    // calls it first.
    void storeEditedOptimizer();
    // Estimates and covariance of the last run; the worker writes them while
    // a run is active.
    pelk::EstimationResults &results() { return m_results; }
    // Every number the result pages show, computed once when an estimation
    // completes; null while no estimates exist.
    const pelk::EstimationSummary *summary() const { return m_summary.get(); }
    // The last parametric bootstrap of the current estimates; null while
    // there is none (a new estimation or Clear Current Estimates drops it).
    const pelk::BootstrapResult *bootstrapResult() const { return m_bootstrap ? &*m_bootstrap : nullptr; }
    // Keeps the result, shows its page and appends it to the report.
    void setBootstrapResult(const pelk::BootstrapResult &result);
    // The precision of every profile limit, or none for the automatic one.
    std::optional<double> profilePrecision() const { return m_profilePrecision; }
    void setProfilePrecision(std::optional<double> precision) { m_profilePrecision = precision; }

    bool isLocked() const { return m_locked; }
    bool isChanged() const { return m_changed; }
    // Empty while the workspace has no file (at start, after New, a model
    // definition load or a failed workspace load): the next save asks for one.
    QString workspaceFileName() const { return m_workspaceFileName; }
    // The workspace file as titles and questions name it; "Untitled" when
    // there is none.
    QString workspaceDisplayName() const;
    QString windowTitleBase() const { return m_windowTitleBase; }

    // --- Pages -------------------------------------------------------------
    NavPanelModel *navModel() const { return m_navModel; }
    ContentPage *currentPage() const;
    const QList<LikelihoodPage *> &likelihoodPages() const { return m_likelihoodPages; }
    pelk::EstimatePage *estimatePage() const { return m_estimatePage; }
    // Makes the page current, as a click in the navigation panel would.
    void showPage(ContentPage *page);

    // --- Operations offered to the pages -------------------------------------
    // Adds a likelihood with its page and shows it; false when the name is
    // taken.
    bool newLikelihood(const QString &name, bool normal = false);
    bool renameLikelihood(LikelihoodPage *page, const QString &name);
    void deleteLikelihoodPage(LikelihoodPage *page);

    // The symbol tool bars; their window titles ("Operators", "Parameters",
    // "Functions") are the captions the pages show beside them.
    QToolBar *makeMathSymbolsToolBar(QWidget *parent);
    QToolBar *makeParametersToolBar(QWidget *parent);
    QToolBar *makeFunctionsToolBar(QWidget *parent);
    void fillParametersToolBar(QToolBar *toolBar);
    void fillFunctionsToolBar(QToolBar *toolBar);

    // Shows text for 4000 ms in the current page's status bar.
    void showStatusMessage(const QString &text);
    // Opens a page of the help collection in the help viewer.
    void showHelpPage(const QString &pageName);

    FileDialogs &fileDialogs() { return *m_fileDialogs; }
    void setFileDialogs(std::unique_ptr<FileDialogs> fileDialogs);
    // Replaces the help viewer's launcher (tests drive a stand-in viewer);
    // the window takes ownership.
    void setHelpLauncher(HelpLauncher *launcher);

    // --- File actions without their dialogs (the File menu runs these once a
    // file is chosen; `pelk WORKSPACE` runs loadWorkspace) ----------------
    bool confirmDiscard();
    bool loadWorkspace(const QString &fileName);
    void setWorkspaceFileName(const QString &fileName);
    bool writeWorkspace();
    bool loadModelDefinition(const QString &fileName);
    bool saveModelDefinition(const QString &fileName);
    bool loadCategoryCounts(const QString &fileName);
    bool saveCategoryCounts(const QString &fileName);
    bool loadOptimizerSettings(const QString &fileName);
    bool saveOptimizerSettings(const QString &fileName);
    bool loadParameterSeeds(const QString &fileName);
    bool saveParameterSeeds(const QString &fileName);
    bool loadProfileLikelihoodRequests(const QString &fileName);
    bool saveProfileLikelihoodRequests(const QString &fileName);

signals:
    void lockWorkspace();
    void clearEstimates();
    void categoryCountsLoaded();
    void estimationComplete();
    // More points of the profile curves are in the summary.
    void profileCurvesChanged();
    // A bootstrap of the current estimates is in bootstrapResult().
    void bootstrapComplete();

public slots:
    void onEstimationComplete();
    void onExit();
    void onCurrentPageChanged(ContentPage *contentPage);
    void onNewWorkspace();
    void onSaveWorkspaceAs();
    void onSaveWorkspace();
    void onLoadWorkspace();
    // The File > Recent Workspaces entry chosen: the unsaved-changes
    // question, then the load.
    void onOpenRecentWorkspace(const QString &fileName);
    // File > Compare Models...: the dialog, without a model of its own; a
    // double-click in it opens a model the way a recent workspace opens.
    void onCompareModels();
    void onClearCurrentEstimates();
    // Actions > Bootstrap Goodness of Fit...
    void onBootstrap();
    void workspaceChanged();
    void onLoadCategoryCounts();
    void onSaveCategoryCounts();
    void onLoadModelDefinition();
    void onSaveModelDefinition();
    void onLoadOptimizerSettings();
    void onSaveOptimizerSettings();
    void onLoadParameterSeeds();
    void onSaveParameterSeeds();
    void onLoadProfileLikelihoodRequests();
    void onSaveProfileLikelihoodRequests();
    void onWhatsThis();
    void onContentsHelp();
    void onAbout();
    void onUsePreviousEstimatesSeedsStateChanged(bool state);
    void onCalculateCovarianceStateChanged(bool state);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // While the worker reads the model, the counts and the requests, the
    // editors and the side-file loads that would change them are disabled.
    void onEstimationRunningChanged(bool running);

private:
    void createPages();
    void createActions();
    void createMenusAndToolBar();
    void createNavigation();
    void resetWorkspace();
    void createLikelihoodPages();
    void completeAfterRead();
    // After a read: the workspace's method and settings become the ones the
    // Optimizer page edits; a workspace that read none takes those in force.
    void useWorkspaceOptimizer();
    LikelihoodPage *addLikelihoodPage(int id);
    void setTitle(const QString &separator);
    QString chooseOpenFile(const QString &caption, const QString &settingsKey);
    QString chooseSaveFile(const QString &caption, const QString &settingsKey);
    // Asks for a file and, unless the dialog was cancelled, runs the action.
    void openFileThen(const QString &caption, const QString &settingsKey,
                      bool (PelkWindow::*action)(const QString &));
    void saveFileThen(const QString &caption, const QString &settingsKey,
                      bool (PelkWindow::*action)(const QString &));
    // Writes a side file whole or not at all, then reports where it went
    // (savedMessage has "%1" for the file) or that it could not be written.
    bool saveSideFile(const QString &fileName, const std::function<void(pelk::FileWriter &)> &write,
                      const QString &savedMessage);
    // A critical box titled with the window title base.
    void showError(const QString &message);

    const QString m_windowTitleBase = "PELK 4.7";

    QStackedWidget *m_pageStack = nullptr;
    NavPanelModel *m_navModel = nullptr;
    QTreeView *m_navView = nullptr;

    ParameterDefinitionsPage *m_parameterDefinitionsPage = nullptr;
    VariableDefinitionsPage *m_variableDefinitionsPage = nullptr;
    VerifyModelPage *m_verifyModelPage = nullptr;
    ParameterSeedsPage *m_parameterSeedsPage = nullptr;
    ProfileLikelihoodsPage *m_profileLikelihoodsPage = nullptr;
    OptimizerPage *m_optimizerPage = nullptr;
    pelk::EstimatePage *m_estimatePage = nullptr;
    EstimationSummaryPage *m_estimationSummaryPage = nullptr;
    // One per kind of result table, in the order of ResultTablePage::kinds().
    QList<ResultTablePage *> m_resultTablePages;
    ObservedExpectedPlotPage *m_observedExpectedPlotPage = nullptr;
    ResidualsPlotPage *m_residualsPlotPage = nullptr;
    ProfilePlotPage *m_profilePlotPage = nullptr;
    BootstrapPage *m_bootstrapPage = nullptr;
    ObservedExpectedTablePage *m_observedExpectedTablePage = nullptr;

    // Navigation groups; the likelihood pages go under "Likelihood Functions".
    NavPanelModel::Item *m_defineModelGroup = nullptr;
    NavPanelModel::Item *m_likelihoodFunctionsGroup = nullptr;
    NavPanelModel::Item *m_estimationOptionsGroup = nullptr;
    NavPanelModel::Item *m_estimatesGroup = nullptr;
    NavPanelModel::Item *m_diagnosticsGroup = nullptr;

    std::unique_ptr<pelk::Workspace> m_workspace;
    QList<LikelihoodPage *> m_likelihoodPages;
    pelk::EstimationResults m_results;
    std::unique_ptr<pelk::EstimationSummary> m_summary;
    std::optional<pelk::BootstrapResult> m_bootstrap;
    QString m_workspaceFileName;
    bool m_locked = false;
    bool m_changed = false;
    std::optional<double> m_profilePrecision;

    std::unique_ptr<FileDialogs> m_fileDialogs;
    HelpLauncher *m_helpLauncher = nullptr;
    RecentWorkspaces *m_recentWorkspaces = nullptr;

    // The actions carry their object names ("actionNewWorkspace", ...), by
    // which tests find them.
    QAction *actionNewWorkspace = nullptr;
    QAction *actionLoadWorkspace = nullptr;
    QAction *actionSaveWorkspace = nullptr;
    QAction *actionSaveWorkspaceAs = nullptr;
    QAction *actionLoadModelDefinition = nullptr;
    QAction *actionSaveModelDefinition = nullptr;
    QAction *actionLoadCategoryCounts = nullptr;
    QAction *actionSaveCategoryCounts = nullptr;
    QAction *actionLoadParameterSeeds = nullptr;
    QAction *actionSaveParameterSeeds = nullptr;
    QAction *actionLoadProfileLikelihoodRequests = nullptr;
    QAction *actionSaveProfileLikelihoodRequests = nullptr;
    QAction *actionLoadOptimizerSettings = nullptr;
    QAction *actionSaveOptimizerSettings = nullptr;
    QAction *actionClearCurrentEstimates = nullptr;
    QAction *actionCompareModels = nullptr;
    QAction *actionBootstrap = nullptr;
    QAction *actionExit = nullptr;
    QAction *actionWhatsThis = nullptr;
    QAction *actionContentsHelp = nullptr;
    QAction *actionAbout = nullptr;
};
