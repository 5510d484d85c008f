// The main window: its state at start, the navigation tree, titles, the
// workspace and file actions with their messages, the unsaved-changes
// question, and the workspace lock.
#include "support/FakeHelpViewer.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/TempFiles.h"

#include "app/HelpLauncher.h"
#include "app/PelkWindow.h"
#include "io/FileWriter.h"
#include "model/MessageSink.h"
#include "model/ModelDefinition.h"
#include "model/ModelValidator.h"
#include "model/ProfileLikelihoods.h"
#include "optim/OptimizerFactory.h"
#include "pages/diagnostics/ObservedExpectedPlotPage.h"
#include "pages/diagnostics/ObservedExpectedTablePage.h"
#include "pages/diagnostics/ResidualsPlotPage.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/estimate/VerifyModelPage.h"
#include "pages/frame/PelkContentPage.h"
#include "pages/likelihood/LikelihoodPage.h"
#include "pages/options/OptimizerPage.h"
#include "pages/report/EstimationSummaryPage.h"
#include "pages/seeds/ParameterSeedsPage.h"
#include "pages/seeds/ProfileLikelihoodsPage.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/symbols/VariableDefinitionsPage.h"
#include "pages/tables/CorrelationMatrixPage.h"
#include "pages/tables/CovarianceMatrixPage.h"
#include "pages/tables/ParameterEstimatesPage.h"
#include "pages/tables/ProfileLikelihoodEstimatesPage.h"
#include "pages/tables/VariableEstimatesPage.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QBrush>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextStream>
#include <QToolBar>

namespace {

const char *const binomialWorkspace = "parameters\n"
                                      "theta;\n"
                                      "\n"
                                      "variables;\n"
                                      "\n"
                                      "likelihood \"Coin\"\n"
                                      "heads, theta,\n"
                                      "tails, 1-theta;\n"
                                      "\n"
                                      "optimizer\n"
                                      "powell, usePreviousEstimatesAsSeeds = yes,\n"
                                      "calculateCovariance = yes;\n"
                                      "\n"
                                      "parameterSeeds\n"
                                      "theta = 0.5;\n"
                                      "\n"
                                      "profileLikelihoodRequests;\n"
                                      "\n"
                                      "heads : 30\n"
                                      "tails : 70\n";

// The model, seeds, requests, counts and flags as the workspace file
// writes them: two workspaces are the same when this text is.
QString workspaceText(PelkWindow &window)
{
    QString text;
    QTextStream stream(&text);
    window.storeEditedOptimizer();
    pelk::FileWriter(&stream).writeWorkspace(window.workspace());
    stream.flush();
    return text;
}

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString statusText(PelkWindow &window)
{
    return window.currentPage()->statusBar()->currentMessage();
}

QStringList childTexts(const QAbstractItemModel *model, const QModelIndex &parent)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(parent); ++row)
        texts << model->index(row, 0, parent).data().toString();
    return texts;
}

QStringList actionTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (QAction *action : actions)
        texts << (action->isSeparator() ? QString("|") : action->text());
    return texts;
}

// Ends an estimation the way the Estimate page does, with known estimates.
void completeEstimation(PelkWindow &window, const std::vector<double> &estimates)
{
    pelk::PlainTextSink sink;
    QVERIFY(pelk::validate(window.workspace().model, sink));
    window.results().estimates = estimates;
    window.results().parametersEstimated = true;
    window.results().covarianceAvailable = false;
    window.onEstimationComplete();
}

} // namespace

class tst_PelkWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedSettings> m_settings;
    support::TempFiles m_files;

    // A window whose dialogs answer from a script.
    struct Fixture
    {
        PelkWindow window;
        ScriptedFileDialogs *dialogs = new ScriptedFileDialogs;
        ModalAnswerer answerer;
        Fixture() { window.setFileDialogs(std::unique_ptr<FileDialogs>(dialogs)); }
    };

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }
    void init() { QSettings().clear(); }

    void startsWithAnEmptyModelAndOneLikelihood()
    {
        Fixture f;
        PelkWindow &w = f.window;
        QCOMPARE(w.windowTitle(), QString("PELK 4.7"));
        QVERIFY(!w.isChanged());
        QVERIFY(!w.isLocked());
        QCOMPARE(w.size(), QSize(610, 444));
        QCOMPARE(w.workspace().model.likelihoodCount(), 1);
        QCOMPARE(w.workspace().model.likelihoodName(w.workspace().model.likelihoodId(0)), QString("Likelihood 1"));
        QCOMPARE(w.likelihoodPages().size(), 1);
        QCOMPARE(w.currentPage(), static_cast<ContentPage *>(w.parameterDefinitionsPage()));
        QCOMPARE(zav::OptimizerFactory::instance().optimizerType(), zav::OptimizerFactory::Powell);
        QVERIFY(!w.findChild<QAction *>("actionClearCurrentEstimates")->isEnabled());
        QVERIFY(w.findChild<QAction *>("actionSaveWorkspace")->isEnabled());
        QVERIFY(w.workspace().usePreviousEstimatesAsSeeds);
        QVERIFY(w.workspace().calculateCovariance);
        // The optimizer entry is written back as read (default "fletch").
        QCOMPARE(QSettings().value("optimizer").toString(), QString("fletch"));
        QVERIFY(f.answerer.boxes().isEmpty());
    }

    void navigationTreeListsEveryPage()
    {
        Fixture f;
        const QAbstractItemModel *nav = f.window.navModel();
        QCOMPARE(childTexts(nav, QModelIndex()),
                 QStringList({"Define the Model", "Verify the Model", "Set Estimation Options",
                              "Estimate the Model Parameters", "View the Estimates",
                              "View the Model Diagnostics"}));
        const QModelIndex define = nav->index(0, 0);
        QCOMPARE(childTexts(nav, define),
                 QStringList({"Parameters", "Convenience Functions", "Likelihood Functions"}));
        QCOMPARE(childTexts(nav, nav->index(2, 0, define)), QStringList({"Likelihood 1"}));
        QCOMPARE(childTexts(nav, nav->index(2, 0)),
                 QStringList({"Parameter Seeds", "Profile Likelihood Confidence Intervals", "Optimizer"}));
        QCOMPARE(childTexts(nav, nav->index(4, 0)),
                 QStringList({"Estimation Summary", "Parameter Estimates", "Convenience Function Estimates",
                              "Profile Likelihood Estimates", "Covariance Matrix", "Correlation Matrix"}));
        QCOMPARE(childTexts(nav, nav->index(5, 0)),
                 QStringList({"Observed vs Expected Plot", "Residuals Plot", "Observed vs Expected Table"}));
        // No estimates yet: both result groups are gray, and Next on the
        // Estimate page leads nowhere.
        for (int group : {4, 5})
            QCOMPARE(nav->index(group, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::darkGray));
        QVERIFY(!f.window.estimatePage()->nextButton()->isEnabled());
        // The current page is bold.
        QVERIFY(nav->index(0, 0, define).data(Qt::FontRole).value<QFont>().bold());
    }

    void helpPagesAreNamedPerPage()
    {
        Fixture f;
        PelkWindow &w = f.window;
        const QList<std::pair<PelkContentPage *, QString>> pages = {
            {w.parameterDefinitionsPage(), "defineParameters.html"},
            {w.variableDefinitionsPage(), "defineConvenienceFunctions.html"},
            {w.likelihoodPages().first(), "defineLikelihoods.html"},
            {w.verifyModelPage(), "verifyModel.html"},
            {w.parameterSeedsPage(), "setParameterSeeds.html"},
            {w.profileLikelihoodsPage(), "setProfileLikelihoods.html"},
            {w.optimizerPage(), "setOptimizer.html"},
            {w.estimatePage(), "estimate.html"},
            {w.estimationSummaryPage(), "viewEstimationSummary.html"},
            {w.parameterEstimatesPage(), "resultsTables.html"},
            {w.variableEstimatesPage(), "resultsTables.html"},
            {w.profileLikelihoodEstimatesPage(), "resultsTables.html"},
            {w.covarianceMatrixPage(), "resultsTables.html"},
            {w.correlationMatrixPage(), "resultsTables.html"},
            {w.observedExpectedPlotPage(), "viewObservedExpectedPlot.html"},
            {w.residualsPlotPage(), "viewResidualsPlot.html"},
            {w.observedExpectedTablePage(), "viewObservedExpectedTable.html"}};
        for (const auto &[page, help] : pages)
            QCOMPARE(page->helpPageName(), help);
    }

    void menusAndToolBarHoldTheActions()
    {
        Fixture f;
        QMenuBar *bar = f.window.menuBar();
        QCOMPARE(actionTexts(bar->actions()), QStringList({"&File", "&Actions", "&View", "&Help"}));
        auto *file = f.window.findChild<QMenu *>("menuFile");
        QCOMPARE(actionTexts(file->actions()),
                 QStringList({"&New Workspace", "&Load Workspace...", "&Save Workspace...",
                              "Save Workspace &As...", "|", "&Load Model Definition...",
                              "&Save Model Definition...", "|", "Load Category Counts...",
                              "Save Category Counts...", "|", "Load Parameter &Seeds", "Save Parameter Seeds", "|",
                              "Load Profile Likelihood Requests", "Save Profile Likelihood Requests",
                              "Load Optimizer Settings...", "Save OptimizerSettings...", "|", "E&xit"}));
        QCOMPARE(actionTexts(f.window.findChild<QMenu *>("menu_Help")->actions()),
                 QStringList({"&Contents", "About..."}));
        QCOMPARE(f.window.findChild<QMenu *>("menuView")->actions().size(), 2);
        auto *toolBar = f.window.findChild<QToolBar *>("toolBar");
        QCOMPARE(toolBar->windowTitle(), QString("Tool Bar"));
        QCOMPARE(toolBar->actions().size(), 12);
        for (QAction *action : toolBar->actions())
            QVERIFY2(action->isSeparator() || !action->icon().isNull(), qPrintable(action->objectName()));
        QCOMPARE(f.window.findChild<QAction *>("actionWhatsThis")->toolTip(), QString("Get help on specific items"));
    }

    void symbolToolBarsCarryTheirSymbols()
    {
        Fixture f;
        QWidget host;
        QToolBar *math = f.window.makeMathSymbolsToolBar(&host);
        QCOMPARE(math->windowTitle(), QString("Math Symbols"));
        QCOMPARE(actionTexts(math->actions()), QStringList({"(", ")", "1", "+", "-", "*", "/", "^"}));
        QVERIFY(math->font().bold());
        QCOMPARE(math->font().family(), QString("Arial"));
        QCOMPARE(math->font().pointSize(), 11);
        QToolBar *parameters = f.window.makeParametersToolBar(&host);
        QCOMPARE(parameters->windowTitle(), QString("Parameters"));
        QVERIFY(parameters->actions().isEmpty());
        f.window.workspace().model.insertParameter(0, "N");
        f.window.workspace().model.insertParameter(1, "p");
        f.window.fillParametersToolBar(parameters);
        QCOMPARE(actionTexts(parameters->actions()), QStringList({"N", "p"}));
        f.window.fillParametersToolBar(parameters);
        QCOMPARE(parameters->actions().size(), 2);
        QCOMPARE(f.window.makeFunctionsToolBar(&host)->windowTitle(), QString("Functions of Parameters"));
    }

    void titleFollowsFileAndChanges()
    {
        Fixture f;
        PelkWindow &w = f.window;
        w.workspace().model.insertParameter(0, "theta");
        QCOMPARE(w.windowTitle(), QString("PELK 4.7 ** Untitled"));
        QVERIFY(w.isChanged());
        const QString file = m_files.path("title.txt");
        w.setWorkspaceFileName(file);
        QCOMPARE(w.windowTitle(), "PELK 4.7 -- " + file);
        QVERIFY(w.writeWorkspace());
        QCOMPARE(w.windowTitle(), "PELK 4.7 -- " + file);
        QVERIFY(!w.isChanged());
        QVERIFY(!w.findChild<QAction *>("actionSaveWorkspace")->isEnabled());
        w.workspace().model.insertParameter(1, "phi");
        QCOMPARE(w.windowTitle(), "PELK 4.7 ** " + file);
        QVERIFY(w.findChild<QAction *>("actionSaveWorkspace")->isEnabled());
    }

    void loadingAWorkspaceShowsItsModel()
    {
        Fixture f;
        const QString file = QString(PELK_EXAMPLES_DIR) + "/two-sample-capture.txt";
        f.dialogs->names << file;
        f.window.findChild<QAction *>("actionLoadWorkspace")->trigger();
        QCOMPARE(f.dialogs->requests.size(), 1);
        QCOMPARE(f.dialogs->requests[0].caption, QString("Load Workspace"));
        QCOMPARE(f.dialogs->requests[0].directory, QString("."));
        QCOMPARE(f.dialogs->requests[0].filter, QString("Text Files (*.txt);;All Files (*.*)"));
        QCOMPARE(QSettings().value("workspaceDirectory").toString(), QString(PELK_EXAMPLES_DIR));

        PelkWindow &w = f.window;
        QCOMPARE(w.windowTitle(), "PELK 4.7 -- " + file);
        QVERIFY(!w.isChanged());
        QCOMPARE(statusText(w), "Workspace loaded from \"" + file + "\"");
        QCOMPARE(w.workspace().model.parameterCount(), 3);
        QCOMPARE(w.likelihoodPages().size(), 1);
        QCOMPARE(w.likelihoodPages().first()->title(), QString("Two samples"));
        QCOMPARE(w.workspace().seeds, std::vector<double>({120, 0.5, 0.4}));
        QCOMPARE(w.workspace().categoryCounts.value("11"), 20);
        QVERIFY(!w.workspace().usePreviousEstimatesAsSeeds);
        QVERIFY(f.answerer.boxes().isEmpty());
    }

    void savedWorkspaceLoadsBackTheSame()
    {
        Fixture f;
        QVERIFY(f.window.loadWorkspace(QString(PELK_EXAMPLES_DIR) + "/two-sample-capture.txt"));
        const QString copy = m_files.path("copy.txt");
        f.dialogs->names << copy;
        f.window.findChild<QAction *>("actionSaveWorkspaceAs")->trigger();
        QCOMPARE(f.dialogs->requests.last().caption, QString("Save Workpace"));
        QCOMPARE(f.window.windowTitle(), "PELK 4.7 -- " + copy);

        Fixture g;
        QVERIFY(g.window.loadWorkspace(copy));
        QCOMPARE(workspaceText(g.window), workspaceText(f.window));
    }

    void failedWorkspaceReadKeepsWhatWasRead_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("parameters");
        // The likelihood name must be quoted: the error is on line 4.
        QTest::newRow("bad likelihood") << QByteArray("parameters\na, b;\n\nlikelihood Coin\n")
                                        << ", line 4, file \"%1\"" << 2;
        QTest::newRow("missing file") << QByteArray()
                                      << "\"\" - Error opening input file (No such file or directory), file \"%1\"" << 0;
    }
    void failedWorkspaceReadKeepsWhatWasRead()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        QFETCH(int, parameters);
        const QString file = text.isEmpty() ? m_files.path("does-not-exist.txt") : m_files.write("bad.txt", text);
        Fixture f;
        f.window.workspace().model.insertParameter(0, "x"); // changed, but the load does not ask here
        QVERIFY(!f.window.loadWorkspace(file));
        QCOMPARE(f.answerer.boxes().size(), 1);
        QCOMPARE(f.answerer.boxes()[0].title, QString("PELK 4.7"));
        QCOMPARE(f.answerer.boxes()[0].icon, QMessageBox::Critical);
        QVERIFY2(f.answerer.boxes()[0].text.endsWith(message.arg(file)), qPrintable(f.answerer.boxes()[0].text));
        QCOMPARE(f.window.workspace().model.parameterCount(), parameters);
        QCOMPARE(f.window.workspace().seeds.size(), std::size_t(parameters));
        // The window stays usable: a likelihood to edit. What was read is
        // not the file, so the workspace is untitled and changed.
        QCOMPARE(f.window.workspace().model.likelihoodCount(), 1);
        QCOMPARE(f.window.windowTitle(), QString("PELK 4.7 ** Untitled"));
        QVERIFY(f.window.isChanged());
        QVERIFY(statusText(f.window).isEmpty());
    }

    void failedModelDefinitionReadNamesLineAndFile()
    {
        const QString file = m_files.write("model.txt", "parameters\na, b;\nvariables q = ;\n");
        Fixture f;
        f.window.loadModelDefinition(file);
        QCOMPARE(f.answerer.boxes().size(), 1);
        const QString text = f.answerer.boxes()[0].text;
        QVERIFY2(text.contains(", line 3, file \"" + file + "\""), qPrintable(text));
        QCOMPARE(f.window.workspace().model.parameterCount(), 2);
        QCOMPARE(f.window.workspace().model.likelihoodCount(), 1);
        QCOMPARE(f.window.likelihoodPages().first()->title(), QString("Likelihood 1"));
        QVERIFY(f.window.isChanged());
    }

    void modelDefinitionLoadSetsEveryCountToZero()
    {
        Fixture f;
        f.window.workspace().categoryCounts.insert("old", 4);
        const QString file = QString(PELK_EXAMPLES_DIR) + "/model-definition.txt";
        QVERIFY(f.window.loadModelDefinition(file));
        QCOMPARE(statusText(f.window), "Model definition loaded from \"" + file + "\"");
        QVERIFY(!f.window.workspace().categoryCounts.contains("old"));
        QVERIFY(!f.window.workspace().categoryCounts.isEmpty());
        for (int count : f.window.workspace().categoryCounts)
            QCOMPARE(count, 0);
        QVERIFY(f.window.windowTitle().startsWith("PELK 4.7 ** "));
    }

    void sideFilesReportWhereTheyWent_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("message");
        QTest::newRow("counts") << "actionSaveCategoryCounts" << "Save Category Counts"
                                << "categoryCountsDirectory" << "Category counts written to \"%1\"";
        QTest::newRow("seeds") << "actionSaveParameterSeeds" << "Save Parameter Seeds" << "parameterSeedsDirectory"
                               << "Parameter seeds saved to \"%1\"";
        QTest::newRow("requests") << "actionSaveProfileLikelihoodRequests" << "Save Profile Likelihood Requests"
                                  << "profileLikelihoodsDirectory"
                                  << "Profile likelihood requests saved to \"%1\"";
        QTest::newRow("optimizer") << "actionSaveOptimizerSettings" << "Save Optimizer Settings"
                                   << "optimizerSettingsDirectory" << "Optimizer settings saved to \"%1\"";
    }
    void sideFilesReportWhereTheyWent()
    {
        QFETCH(QString, action);
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QFETCH(QString, message);
        Fixture f;
        QVERIFY(f.window.loadWorkspace(QString(PELK_EXAMPLES_DIR) + "/two-sample-capture.txt"));
        const QString file = m_files.path(action + ".txt");
        f.dialogs->names << file;
        f.window.findChild<QAction *>(action)->trigger();
        QCOMPARE(f.dialogs->requests.last().caption, caption);
        QCOMPARE(statusText(f.window), message.arg(file));
        QVERIFY(QFile::exists(file));
        QCOMPARE(QSettings().value(key).toString(), QFileInfo(file).path());
    }

    void sideFilesLoadBack()
    {
        Fixture f;
        QVERIFY(f.window.loadWorkspace(QString(PELK_EXAMPLES_DIR) + "/two-sample-capture.txt"));
        const QString counts = m_files.path("counts.txt");
        const QString seeds = m_files.path("seeds.txt");
        const QString requests = m_files.path("requests.txt");
        QVERIFY(f.window.saveCategoryCounts(counts));
        QVERIFY(f.window.saveParameterSeeds(seeds));
        QVERIFY(f.window.saveProfileLikelihoodRequests(requests));

        for (int &count : f.window.workspace().categoryCounts)
            count = 99;
        QSignalSpy countsLoaded(&f.window, &PelkWindow::categoryCountsLoaded);
        QVERIFY2(f.window.loadCategoryCounts(counts), qPrintable(f.answerer.texts().join('|')));
        QCOMPARE(countsLoaded.count(), 1);
        QCOMPARE(statusText(f.window), "Category counts loaded from \"" + counts + "\"");
        QCOMPARE(f.window.workspace().categoryCounts.value("10"), 40);

        f.window.workspace().seeds = {1, 1, 1};
        QVERIFY(f.window.loadParameterSeeds(seeds));
        QCOMPARE(statusText(f.window), "Parameter seeds loaded from \"" + seeds + "\"");
        QCOMPARE(f.window.workspace().seeds, std::vector<double>({120, 0.5, 0.4}));

        QVERIFY(f.window.loadProfileLikelihoodRequests(requests));
        QCOMPARE(statusText(f.window), "Profile likelihood requests loaded from \"" + requests + "\"");
        QVERIFY(f.window.workspace().parameterRequests.isRequested(0, 1));
        QVERIFY(f.window.workspace().variableRequests.isRequested(0, 1));
        QVERIFY(f.answerer.boxes().isEmpty());
    }

    void savingTheModelDefinitionConfirmsInABox()
    {
        Fixture f;
        QVERIFY(f.window.loadWorkspace(QString(PELK_EXAMPLES_DIR) + "/two-sample-capture.txt"));
        const QString file = m_files.path("definition.txt");
        f.answerer.answer(QMessageBox::Ok);
        QVERIFY(f.window.saveModelDefinition(file));
        QCOMPARE(f.answerer.boxes().size(), 1);
        QCOMPARE(f.answerer.boxes()[0].icon, QMessageBox::Information);
        QCOMPARE(f.answerer.boxes()[0].text, "Model definition saved to \"" + file + "\"");
    }

    void failedSavesSayWhyAndKeepTheChanges_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("message");
        QTest::newRow("workspace") << "workspace" << "Error opening output file \"%1\"";
        QTest::newRow("model") << "model" << "Unable to open file \"%1\"";
        QTest::newRow("counts") << "counts" << "Error opening output file \"%1\"";
        QTest::newRow("seeds") << "seeds" << "Error opening output file \"%1\"";
    }
    void failedSavesSayWhyAndKeepTheChanges()
    {
        QFETCH(QString, what);
        QFETCH(QString, message);
        Fixture f;
        f.window.workspace().model.insertParameter(0, "theta");
        // A directory cannot be written as a file.
        const QString target = QFileInfo(m_files.write("keep.txt", "x")).path();
        bool saved = true;
        if (what == "workspace") {
            f.window.setWorkspaceFileName(target);
            f.window.workspaceChanged();
            saved = f.window.writeWorkspace();
            QVERIFY(f.window.isChanged());
            QCOMPARE(f.window.windowTitle(), "PELK 4.7 ** " + target);
            QVERIFY(f.window.findChild<QAction *>("actionSaveWorkspace")->isEnabled());
        } else if (what == "model") {
            saved = f.window.saveModelDefinition(target);
        } else if (what == "counts") {
            saved = f.window.saveCategoryCounts(target);
        } else {
            saved = f.window.saveParameterSeeds(target);
        }
        QVERIFY(!saved);
        QCOMPARE(f.answerer.boxes().size(), 1);
        QCOMPARE(f.answerer.boxes()[0].title, QString("PELK 4.7"));
        QCOMPARE(f.answerer.boxes()[0].icon, QMessageBox::Critical);
        QCOMPARE(f.answerer.boxes()[0].text, message.arg(target));
    }

    void cancelledDialogsChangeNothing_data()
    {
        QTest::addColumn<QString>("action");
        for (const char *action : {"actionLoadWorkspace", "actionSaveWorkspaceAs", "actionLoadModelDefinition",
                                   "actionSaveModelDefinition", "actionLoadCategoryCounts",
                                   "actionSaveCategoryCounts", "actionLoadParameterSeeds",
                                   "actionSaveParameterSeeds", "actionLoadProfileLikelihoodRequests",
                                   "actionSaveProfileLikelihoodRequests", "actionLoadOptimizerSettings",
                                   "actionSaveOptimizerSettings"})
            QTest::newRow(action) << QString(action);
    }
    void cancelledDialogsChangeNothing()
    {
        QFETCH(QString, action);
        Fixture f;
        QVERIFY(f.window.loadWorkspace(QString(PELK_EXAMPLES_DIR) + "/two-sample-capture.txt"));
        QSettings().clear();
        const QString before = workspaceText(f.window);
        const QString title = f.window.windowTitle();
        f.window.findChild<QAction *>(action)->trigger();
        QCOMPARE(f.dialogs->requests.size(), 1);
        QCOMPARE(workspaceText(f.window), before);
        QCOMPARE(f.window.windowTitle(), title);
        QVERIFY(QSettings().allKeys().isEmpty());
        QVERIFY(f.answerer.boxes().isEmpty());
    }

    // Only Save writes: Cancel, Discard, Return and Escape leave the file on
    // disk as it was, and the keys answer Cancel.
    void unsavedChangesAreAskedAbout_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("titled");
        for (const char *how : {"exit", "close", "new", "load workspace", "load model"})
            for (const char *answer : {"cancel", "discard", "return", "escape"})
                for (const bool titled : {true, false})
                    QTest::addRow("%s %s %s", how, answer, titled ? "titled" : "untitled")
                        << QString(how) << QString(answer) << titled;
    }
    void unsavedChangesAreAskedAbout()
    {
        QFETCH(QString, how);
        QFETCH(QString, answer);
        QFETCH(bool, titled);
        const QString file = m_files.write("asked.txt", binomialWorkspace);
        Fixture f;
        f.window.show();
        if (titled)
            QVERIFY(f.window.loadWorkspace(file));
        f.window.workspace().model.insertParameter(0, "extra");
        const QString before = workspaceText(f.window);
        if (answer == "return")
            f.answerer.press(Qt::Key_Return);
        else if (answer == "escape")
            f.answerer.press(Qt::Key_Escape);
        else
            f.answerer.answer(answer == "cancel" ? QMessageBox::Cancel : QMessageBox::Discard);
        if (how == "exit") {
            f.window.findChild<QAction *>("actionExit")->trigger();
        } else if (how == "close") {
            f.window.close();
        } else if (how == "new") {
            f.window.findChild<QAction *>("actionNewWorkspace")->trigger();
        } else {
            f.dialogs->names << (how == "load workspace" ? file : QString(PELK_EXAMPLES_DIR) + "/model-definition.txt");
            f.window.findChild<QAction *>(how == "load workspace" ? "actionLoadWorkspace" : "actionLoadModelDefinition")
                ->trigger();
        }
        QCOMPARE(f.answerer.unexpected(), 0);
        QCOMPARE(f.answerer.boxes().size(), 1);
        QCOMPARE(f.answerer.boxes()[0].title, QString("PELK 4.7"));
        QCOMPARE(f.answerer.boxes()[0].text, QString("There are unsaved changes to the workspace \"%1\".  Discard?")
                                                 .arg(titled ? file : QString("Untitled")));
        QCOMPARE(readFile(file), QByteArray(binomialWorkspace));
        QCOMPARE(f.dialogs->requests.size(), how.startsWith("load") ? 1 : 0);
        const bool goesOn = answer == "discard";
        if (how == "exit" || how == "close")
            QCOMPARE(f.window.isVisible(), !goesOn);
        else
            QCOMPARE(workspaceText(f.window) == before, !goesOn);
    }

    void noQuestionWithoutChanges()
    {
        Fixture f;
        f.window.show();
        f.window.findChild<QAction *>("actionExit")->trigger();
        QVERIFY(!f.window.isVisible());
        QVERIFY(f.answerer.boxes().isEmpty());
    }

    void savingFromTheQuestionNeedsAFile()
    {
        Fixture f;
        f.window.show();
        f.window.workspace().model.insertParameter(0, "theta");
        // Save chosen, then the save dialog cancelled: PELK keeps running.
        f.answerer.answer(QMessageBox::Save);
        f.window.close();
        QVERIFY(f.window.isVisible());
        QCOMPARE(f.dialogs->requests.last().caption, QString("Save Workspace"));

        // Save chosen and a file given: written, then closed.
        const QString file = m_files.path("on-exit.txt");
        f.dialogs->names << file;
        f.answerer.answer(QMessageBox::Save);
        f.window.close();
        QVERIFY(!f.window.isVisible());
        QCOMPARE(QString::fromUtf8(readFile(file)), workspaceText(f.window));
    }

    void failedSaveFromTheQuestionKeepsTheWindow()
    {
        Fixture f;
        f.window.show();
        f.window.workspace().model.insertParameter(0, "theta");
        f.window.setWorkspaceFileName(QFileInfo(m_files.write("dir-marker.txt", "x")).path());
        f.window.workspaceChanged();
        f.answerer.answer(QMessageBox::Save);
        f.answerer.answer(QMessageBox::Ok);
        f.window.close();
        QCOMPARE(f.answerer.boxes().size(), 2);
        QVERIFY(f.answerer.boxes()[1].text.startsWith("Error opening output file"));
        QVERIFY(f.window.isVisible());
        QVERIFY(f.window.isChanged());
    }

    // New, a model definition load and a failed workspace load each leave a
    // workspace that no file holds: Save asks where, as Save As does, and the
    // file that was open keeps its text.
    void replacedWorkspaceIsUntitled_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("parameters");
        QTest::newRow("new") << "actionNewWorkspace" << QString() << 0;
        QTest::newRow("model definition")
            << "actionLoadModelDefinition" << QString(PELK_EXAMPLES_DIR) + "/model-definition.txt" << 2;
        QTest::newRow("failed load") << "actionLoadWorkspace" << "bad" << 2;
    }
    void replacedWorkspaceIsUntitled()
    {
        QFETCH(QString, action);
        QFETCH(QString, chosen);
        QFETCH(int, parameters);
        const QByteArray badText("parameters\na, b;\n\nlikelihood Coin\n");
        const QString file = m_files.write("open.txt", binomialWorkspace);
        const QString bad = m_files.write("bad.txt", badText);
        Fixture f;
        QVERIFY(f.window.loadWorkspace(file));
        if (chosen == "bad") {
            chosen = bad;
            f.answerer.answer(QMessageBox::Ok); // the read error
        }
        if (!chosen.isEmpty())
            f.dialogs->names << chosen;
        f.window.findChild<QAction *>(action)->trigger();
        QCOMPARE(f.answerer.unexpected(), 0);
        QVERIFY(f.answerer.allAnswered());
        QCOMPARE(f.window.workspace().model.parameterCount(), parameters);
        QCOMPARE(f.window.workspaceFileName(), QString());
        QCOMPARE(f.window.windowTitle(), QString("PELK 4.7 ** Untitled"));
        QVERIFY(f.window.isChanged());

        // Save asks for a file (the first time cancelled) and writes only there.
        const QString copy = m_files.path("untitled-copy.txt");
        f.dialogs->names << QString() << copy;
        for (int save = 0; save < 2; ++save)
            f.window.findChild<QAction *>("actionSaveWorkspace")->trigger();
        QCOMPARE(f.dialogs->requests.last().caption, QString("Save Workpace"));
        QCOMPARE(QString::fromUtf8(readFile(copy)), workspaceText(f.window));
        QCOMPARE(f.window.windowTitle(), "PELK 4.7 -- " + copy);
        QCOMPARE(readFile(file), QByteArray(binomialWorkspace));
        QCOMPARE(readFile(bad), badText);
    }

    void likelihoodsGetPagesUnderTheirGroup()
    {
        Fixture f;
        PelkWindow &w = f.window;
        QVERIFY(!w.newLikelihood("Likelihood 1"));
        QVERIFY(w.newLikelihood("Second"));
        QCOMPARE(w.likelihoodPages().size(), 2);
        QCOMPARE(w.currentPage(), static_cast<ContentPage *>(w.likelihoodPages().last()));
        QCOMPARE(w.likelihoodPages().first()->nextPage(), static_cast<ContentPage *>(w.likelihoodPages().last()));
        QCOMPARE(w.variableDefinitionsPage()->nextPage(), static_cast<ContentPage *>(w.likelihoodPages().first()));
        QCOMPARE(w.verifyModelPage()->previousPage(), static_cast<ContentPage *>(w.likelihoodPages().last()));

        QVERIFY(!w.renameLikelihood(w.likelihoodPages().last(), "Second"));
        QVERIFY(!w.renameLikelihood(w.likelihoodPages().last(), "Likelihood 1"));
        QVERIFY(w.renameLikelihood(w.likelihoodPages().last(), "Renamed"));
        QCOMPARE(w.likelihoodPages().last()->title(), QString("Renamed"));
        QCOMPARE(w.workspace().model.likelihoodName(w.likelihoodPages().last()->likelihoodId()), QString("Renamed"));

        LikelihoodPage *first = w.likelihoodPages().first();
        w.showPage(first);
        w.deleteLikelihoodPage(first);
        QCOMPARE(w.likelihoodPages().size(), 1);
        QCOMPARE(w.workspace().model.likelihoodCount(), 1);
        QCOMPARE(w.currentPage(), static_cast<ContentPage *>(w.likelihoodPages().first()));
        QCOMPARE(w.variableDefinitionsPage()->nextPage(), static_cast<ContentPage *>(w.likelihoodPages().first()));
    }

    void estimationLocksAndClearingUnlocks_data()
    {
        QTest::addColumn<bool>("copyEstimates");
        QTest::newRow("estimates become seeds") << true;
        QTest::newRow("seeds kept") << false;
    }
    void estimationLocksAndClearingUnlocks()
    {
        QFETCH(bool, copyEstimates);
        Fixture f;
        PelkWindow &w = f.window;
        const QString file = m_files.write("coin.txt", binomialWorkspace);
        QVERIFY(w.loadWorkspace(file));
        w.onUsePreviousEstimatesSeedsStateChanged(copyEstimates);
        QCOMPARE(QSettings().value("usePreviousEstimatesSeeds").toBool(), copyEstimates);

        QSignalSpy complete(&w, &PelkWindow::estimationComplete);
        QSignalSpy lock(&w, &PelkWindow::lockWorkspace);
        completeEstimation(w, {0.3});
        QCOMPARE(complete.count(), 1);
        QCOMPARE(lock.count(), 1);
        QVERIFY(w.isLocked());
        QVERIFY(w.summary());
        QCOMPARE(w.summary()->parameters.first().estimate, 0.3);
        QVERIFY(w.findChild<QAction *>("actionClearCurrentEstimates")->isEnabled());
        for (PelkContentPage *page : w.findChildren<PelkContentPage *>())
            QVERIFY2(page->isLockLabelShown(), qPrintable(page->title()));

        // Cancel keeps everything.
        f.answerer.answer(QMessageBox::Cancel);
        w.findChild<QAction *>("actionClearCurrentEstimates")->trigger();
        QVERIFY(w.isLocked());
        QCOMPARE(f.answerer.boxes().last().title, QString("PELK"));
        QCOMPARE(f.answerer.boxes().last().text,
                 QString("Clear the current estimates?  Estimates and Model Diagnostics will no longer be available."));

        QSignalSpy cleared(&w, &PelkWindow::clearEstimates);
        f.answerer.answer(QMessageBox::Ok);
        w.findChild<QAction *>("actionClearCurrentEstimates")->trigger();
        QCOMPARE(cleared.count(), 1);
        QVERIFY(!w.isLocked());
        QVERIFY(!w.summary());
        QVERIFY(!w.findChild<QAction *>("actionClearCurrentEstimates")->isEnabled());
        QCOMPARE(w.currentPage(), static_cast<ContentPage *>(w.parameterDefinitionsPage()));
        QCOMPARE(w.workspace().seeds, std::vector<double>({copyEstimates ? 0.3 : 0.5}));
        for (PelkContentPage *page : w.findChildren<PelkContentPage *>())
            QVERIFY2(!page->isLockLabelShown(), qPrintable(page->title()));
    }

    void loadingUnlocks()
    {
        Fixture f;
        const QString file = m_files.write("coin2.txt", binomialWorkspace);
        QVERIFY(f.window.loadWorkspace(file));
        completeEstimation(f.window, {0.3});
        QSignalSpy cleared(&f.window, &PelkWindow::clearEstimates);
        QVERIFY(f.window.loadWorkspace(file));
        QCOMPARE(cleared.count(), 1);
        QVERIFY(!f.window.isLocked());
        QVERIFY(!f.window.findChild<QAction *>("actionClearCurrentEstimates")->isEnabled());
    }

    void helpOpensTheContentsAndEachPagesFile()
    {
        Fixture f;
        support::FakeHelpViewer viewer;
        f.window.setHelpLauncher(new HelpLauncher(nullptr, viewer.program(), "collection.qhc"));
        f.window.findChild<QAction *>("actionContentsHelp")->trigger();
        // A click in What's This mode on an empty part of a page reaches the page.
        QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(f.window.optimizerPage()->contentFrame(), &whatsThis);
        QHelpEvent onEstimate(QEvent::WhatsThis, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(f.window.estimatePage(), &onEstimate);
        const QByteArray expected = QByteArray("expandToc 2;SetSource qthelp://org.zav.pelk/doc/index.html")
                + '\0' + "\nSetSource qthelp://org.zav.pelk/doc/setOptimizer.html" + '\0'
                + "\nSetSource qthelp://org.zav.pelk/doc/estimate.html" + '\0' + '\n';
        QTRY_COMPARE_WITH_TIMEOUT(viewer.received(), expected, 10000);
        QCOMPARE(viewer.starts(), 1);
    }

    void editorsRestWhileTheWorkerReadsTheModel()
    {
        Fixture f;
        QVERIFY(f.window.loadWorkspace(QString(PELK_EXAMPLES_DIR) + "/two-sample-capture.txt"));
        QSignalSpy complete(&f.window, &PelkWindow::estimationComplete);
        f.window.estimatePage()->findChild<QPushButton *>("estimateButton")->click();
        QVERIFY(f.window.estimatePage()->isRunning());
        for (ContentPage *page : std::initializer_list<ContentPage *>{
                     f.window.parameterDefinitionsPage(), f.window.variableDefinitionsPage(),
                     f.window.likelihoodPages().first(), f.window.parameterSeedsPage(),
                     f.window.profileLikelihoodsPage(), f.window.optimizerPage()})
            QVERIFY2(!page->contentFrame()->isEnabled(), qPrintable(page->title()));
        QVERIFY(!f.window.findChild<QAction *>("actionLoadCategoryCounts")->isEnabled());
        QVERIFY(complete.wait(60000));
        QTRY_VERIFY_WITH_TIMEOUT(!f.window.estimatePage()->isRunning(), 10000);
        QVERIFY(f.window.parameterDefinitionsPage()->contentFrame()->isEnabled());
        QVERIFY(f.window.findChild<QAction *>("actionLoadCategoryCounts")->isEnabled());
    }

    void aboutShowsTheVersion()
    {
        Fixture f;
        QString title;
        QStringList labels;
        f.answerer.handle([&](QWidget *dialog) {
            title = dialog->windowTitle();
            for (QLabel *label : dialog->findChildren<QLabel *>())
                labels << label->text();
            static_cast<QDialog *>(dialog)->accept();
        });
        f.window.findChild<QAction *>("actionAbout")->trigger();
        QCOMPARE(title, QString("Dialog"));
        QVERIFY(labels.contains("Version 4.7.0"));
    }
};

QTEST_MAIN(tst_PelkWindow)
#include "tst_pelkwindow.moc"
