// The main window as a whole: titles, the workspace and side-file actions
// with the messages they leave, the unsaved-changes question, untitled
// workspaces, recent workspaces, navigation by click, likelihood pages, the
// workspace lock, help and About.
#include "support/BinomialWorkspace.h"
#include "support/FakeHelpViewer.h"
#include "support/WindowFixture.h"

#include "app/HelpLauncher.h"
#include "app/RecentWorkspaces.h"
#include "model/MessageSink.h"
#include "model/ModelDefinition.h"
#include "model/ModelValidator.h"
#include "model/ProfileLikelihoods.h"
#include "optim/OptimizerFactory.h"
#include "pages/estimate/VerifyModelPage.h"
#include "pages/frame/PelkContentPage.h"
#include "pages/likelihood/LikelihoodPage.h"
#include "pages/options/OptimizerPage.h"
#include "pages/report/EstimationSummaryPage.h"
#include "pages/seeds/ParameterSeedsPage.h"
#include "pages/seeds/ProfileLikelihoodsPage.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/symbols/VariableDefinitionsPage.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

namespace {

const QByteArray binomialWorkspace = support::Binomial().text().toUtf8();
const QString twoSample = PELK_EXAMPLES_DIR "/two-sample-capture.txt";
const QString modelDefinition = PELK_EXAMPLES_DIR "/model-definition.txt";

QString statusText(PelkWindow &window)
{
    return window.currentPage()->statusBar()->currentMessage();
}

void trigger(PelkWindow &window, const QString &action)
{
    window.findChild<QAction *>(action)->trigger();
}

bool isEnabled(PelkWindow &window, const char *action)
{
    return window.findChild<QAction *>(action)->isEnabled();
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

    IsolatedSettings m_settings;

private slots:
    void init() { QSettings().clear(); }

    void titleFollowsFileAndChanges()
    {
        WindowFixture f;
        PelkWindow &w = f.window;
        QCOMPARE(w.windowTitle(), QString("PELK 4.7"));
        QVERIFY(!w.isChanged() && !w.isLocked());
        // The optimizer entry is written back as read (default "fletch").
        QCOMPARE(QSettings().value("optimizer").toString(), QString("fletch"));
        w.workspace().model.insertParameter(0, "theta");
        QCOMPARE(w.windowTitle(), QString("PELK 4.7 ** Untitled"));
        const QString file = f.files.path("title.txt");
        w.setWorkspaceFileName(file);
        QVERIFY(w.writeWorkspace());
        QCOMPARE(w.windowTitle(), "PELK 4.7 -- " + file);
        QVERIFY(!w.isChanged() && !isEnabled(w, "actionSaveWorkspace"));
        w.workspace().model.insertParameter(1, "phi");
        QCOMPARE(w.windowTitle(), "PELK 4.7 ** " + file);
        QVERIFY(isEnabled(w, "actionSaveWorkspace"));

        f.answerer.answer(QMessageBox::Discard);
        f.dialogs->names << twoSample;
        trigger(w, "actionLoadWorkspace");
        QCOMPARE(QSettings().value("workspaceDirectory").toString(), QString(PELK_EXAMPLES_DIR));
        QCOMPARE(w.windowTitle(), "PELK 4.7 -- " + twoSample);
        QVERIFY(!w.isChanged());
        QCOMPARE(statusText(w), "Workspace loaded from \"" + twoSample + "\"");
        QCOMPARE(f.answerer.boxes().size(), 1);
    }

    // Saving says so in a box; loading sets every count to zero.
    void modelDefinitionSavedAndLoaded()
    {
        WindowFixture f;
        QVERIFY(f.window.loadWorkspace(twoSample));
        const QString file = f.files.path("definition.txt");
        f.answerer.answer(QMessageBox::Ok);
        QVERIFY(f.window.saveModelDefinition(file));
        QCOMPARE(f.answerer.boxes().size(), 1);
        QCOMPARE(f.answerer.boxes()[0].icon, QMessageBox::Information);
        QCOMPARE(f.answerer.boxes()[0].text, "Model definition saved to \"" + file + "\"");
        f.window.workspace().categoryCounts.insert("old", 4);
        QVERIFY(f.window.loadModelDefinition(file));
        QCOMPARE(statusText(f.window), "Model definition loaded from \"" + file + "\"");
        QCOMPARE(f.window.workspace().categoryCounts.keys(), QStringList({"01", "10", "11"}));
        for (int count : f.window.workspace().categoryCounts)
            QCOMPARE(count, 0);
    }

    // A side file saved, the workspace changed, the file loaded back: the
    // workspace is as it was, and both steps say where the file went.
    void sideFilesSaveAndLoadBack_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("CategoryCounts") << "categoryCountsDirectory" << "Category counts written to \"%1\""
                                        << "Category counts loaded from \"%1\"";
        QTest::newRow("ParameterSeeds") << "parameterSeedsDirectory" << "Parameter seeds saved to \"%1\""
                                        << "Parameter seeds loaded from \"%1\"";
        QTest::newRow("ProfileLikelihoodRequests") << "profileLikelihoodsDirectory"
                                                   << "Profile likelihood requests saved to \"%1\""
                                                   << "Profile likelihood requests loaded from \"%1\"";
        QTest::newRow("OptimizerSettings") << "optimizerSettingsDirectory" << "Optimizer settings saved to \"%1\""
                                           << "Optimizer settings read from \"%1\"";
    }
    void sideFilesSaveAndLoadBack()
    {
        QFETCH(QString, key);
        QFETCH(QString, saved);
        QFETCH(QString, loaded);
        const QString what = QTest::currentDataTag();
        WindowFixture f;
        QVERIFY(f.window.loadWorkspace(twoSample));
        const QString before = f.workspaceText();
        const QString file = f.files.path(what + ".txt");
        f.dialogs->names << file;
        trigger(f.window, "actionSave" + what);
        QCOMPARE(statusText(f.window), saved.arg(file));
        QCOMPARE(QSettings().value(key).toString(), QFileInfo(file).path());

        for (int &count : f.window.workspace().categoryCounts)
            count = 99;
        f.window.workspace().seeds = {1, 1, 1};
        f.window.workspace().parameterRequests.toggleRequest(0, 1);
        f.window.workspace().variableRequests.toggleRequest(0, 1);
        zav::OptimizerFactory::instance().setOptimizerType(zav::OptimizerFactory::Simplex);
        f.window.onUsePreviousEstimatesSeedsStateChanged(true);
        QSignalSpy countsLoaded(&f.window, &PelkWindow::categoryCountsLoaded);
        f.dialogs->names << file;
        trigger(f.window, "actionLoad" + what);
        QCOMPARE(statusText(f.window), loaded.arg(file));
        QCOMPARE(countsLoaded.count(), what == "CategoryCounts" ? 1 : 0);
        // Only the part the file holds comes back.
        const QRegularExpression blankLines("\n\n+");
        const QStringList sections = f.workspaceText().split(blankLines);
        const QStringList expected = before.split(blankLines);
        const int section = QStringList{"OptimizerSettings", "ParameterSeeds", "ProfileLikelihoodRequests",
                                        "CategoryCounts"}.indexOf(what) + 3;
        QCOMPARE(sections.size(), expected.size());
        QCOMPARE(sections.at(section), expected.at(section));
        QVERIFY(sections != expected);
        QVERIFY(f.answerer.boxes().isEmpty());
    }

    // A cancelled dialog changes nothing; a file that cannot be written (a
    // directory) is named in an error box and changes nothing either.
    void fileDialogsCancelledOrUnwritable_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("error"); // empty: the dialog is cancelled
        for (const char *what : {"Workspace", "ModelDefinition", "CategoryCounts", "ParameterSeeds",
                                 "ProfileLikelihoodRequests", "OptimizerSettings"})
            for (const char *verb : {"actionLoad", "actionSave"}) {
                QString action = QString(verb) + what;
                action.replace("SaveWorkspace", "SaveWorkspaceAs");
                QTest::newRow(qPrintable(action)) << action << QString();
            }
        QTest::newRow("unwritable workspace") << "actionSaveWorkspaceAs" << "Error opening output file \"%1\"";
        QTest::newRow("unwritable definition") << "actionSaveModelDefinition" << "Unable to open file \"%1\"";
        QTest::newRow("unwritable counts") << "actionSaveCategoryCounts" << "Error opening output file \"%1\"";
        QTest::newRow("unwritable seeds") << "actionSaveParameterSeeds" << "Error opening output file \"%1\"";
    }
    void fileDialogsCancelledOrUnwritable()
    {
        QFETCH(QString, action);
        QFETCH(QString, error);
        WindowFixture f;
        QVERIFY(f.window.loadWorkspace(twoSample));
        QSettings().clear();
        const QString before = f.workspaceText();
        const QString title = f.window.windowTitle();
        const QString directory = QFileInfo(f.file("x")).path();
        f.dialogs->names << (error.isEmpty() ? QString() : directory);
        trigger(f.window, action);
        QCOMPARE(f.dialogs->requests.size(), 1);
        QCOMPARE(f.workspaceText(), before);
        QCOMPARE(f.answerer.texts(), error.isEmpty() ? QStringList() : QStringList(error.arg(directory)));
        if (error.isEmpty()) {
            QCOMPARE(f.window.windowTitle(), title);
            QVERIFY(QSettings().allKeys().isEmpty());
        } else {
            QCOMPARE(f.answerer.boxes()[0].title, QString("PELK 4.7"));
            QCOMPARE(f.answerer.boxes()[0].icon, QMessageBox::Critical);
        }
    }

    // Only Save writes: Cancel, Discard, Return and Escape leave the file on
    // disk as it was, and the keys answer Cancel.
    void unsavedChangesAreAskedAbout_data()
    {
        QTest::addColumn<QString>("action"); // "close": the window's close button
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("titled");
        for (const char *action : {"close", "actionExit", "actionNewWorkspace", "actionLoadWorkspace",
                                   "actionLoadModelDefinition"})
            for (const char *answer : {"cancel", "discard", "return", "escape"})
                for (const bool titled : {true, false})
                    QTest::addRow("%s %s %s", action, answer, titled ? "titled" : "untitled")
                        << QString(action) << QString(answer) << titled;
    }
    void unsavedChangesAreAskedAbout()
    {
        QFETCH(QString, action);
        QFETCH(QString, answer);
        QFETCH(bool, titled);
        WindowFixture f;
        const QString file = f.file(binomialWorkspace);
        f.window.show();
        if (titled)
            QVERIFY(f.window.loadWorkspace(file));
        f.window.workspace().model.insertParameter(0, "extra");
        const QString before = f.workspaceText();
        if (answer == "return" || answer == "escape")
            f.answerer.press(answer == "return" ? Qt::Key_Return : Qt::Key_Escape);
        else
            f.answerer.answer(answer == "cancel" ? QMessageBox::Cancel : QMessageBox::Discard);
        const bool loads = action.startsWith("actionLoad");
        if (loads)
            f.dialogs->names << (action == "actionLoadWorkspace" ? file : modelDefinition);
        if (action == "close")
            f.window.close();
        else
            trigger(f.window, action);
        QCOMPARE(f.answerer.unexpected(), 0);
        QCOMPARE(f.answerer.boxes().size(), 1);
        QCOMPARE(f.answerer.boxes()[0].title, QString("PELK 4.7"));
        QCOMPARE(f.answerer.boxes()[0].text, QString("There are unsaved changes to the workspace \"%1\".  Discard?")
                                                 .arg(titled ? file : QString("Untitled")));
        QCOMPARE(support::fileBytes(file), binomialWorkspace);
        QCOMPARE(f.dialogs->requests.size(), loads ? 1 : 0);
        const bool goesOn = answer == "discard";
        if (action == "close" || action == "actionExit")
            QCOMPARE(f.window.isVisible(), !goesOn);
        else
            QCOMPARE(f.workspaceText() == before, !goesOn);
    }

    void savingFromTheQuestion()
    {
        WindowFixture f;
        f.window.show();
        trigger(f.window, "actionExit"); // no changes: no question
        QVERIFY(!f.window.isVisible());
        f.window.show();
        f.window.workspace().model.insertParameter(0, "theta");
        // Save chosen, then the save dialog cancelled: PELK keeps running.
        f.answerer.answer(QMessageBox::Save);
        f.window.close();
        QVERIFY(f.window.isVisible());
        QCOMPARE(f.dialogs->requests.size(), 1);
        // Save chosen and a file given: written, then closed.
        const QString file = f.files.path("on-exit.txt");
        f.dialogs->names << file;
        f.answerer.answer(QMessageBox::Save);
        f.window.close();
        QVERIFY(!f.window.isVisible());
        QCOMPARE(QString::fromUtf8(support::fileBytes(file)), f.workspaceText());
        // Save chosen and the file cannot be written: the window stays.
        f.window.show();
        const QString directory = QFileInfo(file).path();
        f.window.setWorkspaceFileName(directory);
        f.window.workspaceChanged();
        f.answerer.answer(QMessageBox::Save);
        f.answerer.answer(QMessageBox::Ok);
        f.window.close();
        QCOMPARE(f.answerer.boxes().size(), 4);
        QCOMPARE(f.answerer.boxes()[3].text, "Error opening output file \"" + directory + "\"");
        QVERIFY(f.window.isVisible() && f.window.isChanged() && isEnabled(f.window, "actionSaveWorkspace"));
        QCOMPARE(f.window.windowTitle(), "PELK 4.7 ** " + directory);
    }

    // The open workspace replaced by New, by a model definition, or by what a
    // failed read got through (with a box that says why): untitled and
    // changed, every likelihood with its page. Save then asks where, as Save
    // As does, and the file that was open keeps its text.
    void replacedWorkspaceIsUntitled_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("text"); // of the file chosen; empty: the example model definition
        QTest::addColumn<QString>("message"); // the end of the error box, %1 the file; empty: no box
        QTest::addColumn<int>("parameters");
        QTest::addColumn<int>("likelihoods");
        QTest::newRow("new") << "actionNewWorkspace" << QByteArray() << "" << 0 << 1;
        QTest::newRow("model definition") << "actionLoadModelDefinition" << QByteArray() << "" << 2 << 2;
        // The likelihood name must be quoted: the error is on line 4.
        QTest::newRow("workspace, bad likelihood") << "actionLoadWorkspace" << QByteArray("parameters\na, b;\n\nlikelihood Coin\n")
                                                   << ", line 4, file \"%1\"" << 2 << 1;
        QTest::newRow("workspace, missing file") << "actionLoadWorkspace" << QByteArray("missing")
            << "\"\" - Error opening input file (No such file or directory), file \"%1\"" << 0 << 1;
        QTest::newRow("model definition, bad function") << "actionLoadModelDefinition"
            << QByteArray("parameters\na, b;\nvariables q = ;\n") << ", line 3, file \"%1\"" << 2 << 1;
    }
    void replacedWorkspaceIsUntitled()
    {
        QFETCH(QString, action);
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        WindowFixture f;
        const QString file = f.file(binomialWorkspace);
        QVERIFY(f.window.loadWorkspace(file));
        const QString chosen = text.isEmpty()   ? modelDefinition
                             : text == "missing" ? f.files.path("does-not-exist.txt")
                                                 : f.file(text);
        if (action != "actionNewWorkspace")
            f.dialogs->names << chosen;
        if (!message.isEmpty())
            f.answerer.answer(QMessageBox::Ok);
        trigger(f.window, action);
        QCOMPARE(f.answerer.unexpected(), 0);
        QVERIFY(f.answerer.allAnswered());
        QVERIFY(message.isEmpty() || (f.answerer.boxes()[0].icon == QMessageBox::Critical
                                      && f.answerer.boxes()[0].text.endsWith(message.arg(chosen))));
        const pelk::ModelDefinition *model = &f.window.workspace().model;
        QTEST(model->parameterCount(), "parameters");
        QCOMPARE(f.window.workspace().seeds.size(), std::size_t(model->parameterCount()));
        QTEST(int(f.window.likelihoodPages().size()), "likelihoods");
        QCOMPARE(f.window.likelihoodPages().first()->title(), model->likelihoodName(model->likelihoodId(0)));
        QCOMPARE(f.window.workspaceFileName(), QString());
        QCOMPARE(f.window.windowTitle(), QString("PELK 4.7 ** Untitled"));
        QVERIFY(f.window.isChanged());

        const QString copy = f.files.path("untitled-copy.txt");
        f.dialogs->names << copy;
        trigger(f.window, "actionSaveWorkspace");
        QCOMPARE(QString::fromUtf8(support::fileBytes(copy)), f.workspaceText());
        QCOMPARE(f.window.windowTitle(), "PELK 4.7 -- " + copy);
        QCOMPARE(support::fileBytes(file), binomialWorkspace);
    }

    // File > Recent Workspaces: the files opened and saved, newest first and
    // each once, at most eight, kept across a restart; choosing one opens
    // it, and one that is gone is dropped with a box that says so.
    void recentWorkspacesOutliveTheWindow()
    {
        support::TempFiles files;
        const QString opened = files.write("opened.txt", binomialWorkspace), saved = files.path("saved.txt");
        {
            WindowFixture f;
            QVERIFY(f.window.loadWorkspace(opened));
            f.window.setWorkspaceFileName(saved);
            QVERIFY(f.window.writeWorkspace() && f.window.loadWorkspace(opened));
        }
        WindowFixture f;
        auto *menu = f.window.findChild<QMenu *>("menuRecentWorkspaces");
        const auto entries = [menu] {
            QStringList texts;
            for (QAction *action : menu->actions())
                texts << action->text();
            return texts;
        };
        QCOMPARE(entries(), QStringList({"&1 " + opened, "&2 " + saved}));
        menu->actions().at(1)->trigger();
        QCOMPARE(f.window.workspaceFileName(), saved);
        QVERIFY(QFile::remove(opened));
        f.answerer.answer(QMessageBox::Ok);
        menu->actions().at(1)->trigger();
        QCOMPARE(f.answerer.texts(), QStringList("The workspace file \"" + opened + "\" no longer exists. It has "
                                                 "been removed from the list of recent workspaces."));
        QCOMPARE(entries(), QStringList("&1 " + saved));
        QCOMPARE(f.window.workspaceFileName(), saved);
        for (int i = 1; i <= 9; ++i)
            f.window.findChild<RecentWorkspaces *>()->add(files.path(QString("w%1.txt").arg(i)));
        QCOMPARE(entries().size(), 8);
        QCOMPARE(entries().first(), "&1 " + files.path("w9.txt"));
        QCOMPARE(entries().last(), "&8 " + files.path("w2.txt"));
    }

    // One click on a name in the navigation panel opens the page, unless
    // the page is gray (here: the estimates, before an estimation).
    void oneClickOpensAnAvailablePage()
    {
        WindowFixture f;
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        auto *panel = qobject_cast<QTreeView *>(f.window.findChild<QDockWidget *>("navigationDock")->widget());
        const auto click = [&](ContentPage *page) {
            const QModelIndex index = f.window.navModel()->indexOfPage(page);
            panel->scrollTo(index);
            QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, panel->visualRect(index).center());
        };
        ContentPage *verify = f.window.findChild<VerifyModelPage *>();
        click(verify);
        QCOMPARE(f.window.currentPage(), verify);
        ContentPage *estimates = f.window.findChild<EstimationSummaryPage *>();
        QVERIFY(!estimates->isAvailable());
        click(estimates);
        QCOMPARE(f.window.currentPage(), verify);
    }

    // A new likelihood's page joins the chain of pages under its group and
    // becomes current; a deleted one leaves it relinked. (The dialogs'
    // test checks the names the window refuses.)
    void likelihoodsGetPagesUnderTheirGroup()
    {
        WindowFixture f;
        PelkWindow &w = f.window;
        const QList<LikelihoodPage *> &pages = w.likelihoodPages();
        auto *functions = w.findChild<VariableDefinitionsPage *>();
        QVERIFY(w.newLikelihood("Second"));
        QCOMPARE(w.currentPage(), static_cast<ContentPage *>(pages.last()));
        QCOMPARE(pages.first()->nextPage(), static_cast<ContentPage *>(pages.last()));
        QCOMPARE(functions->nextPage(), static_cast<ContentPage *>(pages.first()));
        QCOMPARE(w.findChild<VerifyModelPage *>()->previousPage(), static_cast<ContentPage *>(pages.last()));
        w.showPage(pages.first());
        w.deleteLikelihoodPage(pages.first());
        QCOMPARE(pages.size(), 1);
        QCOMPARE(w.workspace().model.likelihoodCount(), 1);
        QCOMPARE(w.currentPage(), static_cast<ContentPage *>(pages.first()));
        QCOMPARE(functions->nextPage(), static_cast<ContentPage *>(pages.first()));
    }

    // Estimates lock every page; clearing them (or loading a workspace)
    // unlocks, and the estimates become the seeds when the analyst asked.
    void estimationLocksAndClearingUnlocks_data()
    {
        QTest::addColumn<bool>("copyEstimates");
        QTest::addColumn<bool>("byLoading");
        QTest::newRow("estimates become seeds") << true << false;
        QTest::newRow("seeds kept") << false << false;
        QTest::newRow("workspace loaded") << false << true;
    }
    void estimationLocksAndClearingUnlocks()
    {
        QFETCH(bool, copyEstimates);
        QFETCH(bool, byLoading);
        WindowFixture f;
        PelkWindow &w = f.window;
        const QString file = f.file(binomialWorkspace);
        QVERIFY(w.loadWorkspace(file));
        w.onUsePreviousEstimatesSeedsStateChanged(copyEstimates);
        QCOMPARE(QSettings().value("usePreviousEstimatesSeeds").toBool(), copyEstimates);
        auto *next = w.findChild<pelk::EstimatePage *>()->nextButton();
        QVERIFY(!next->isEnabled());

        QSignalSpy lock(&w, &PelkWindow::lockWorkspace);
        completeEstimation(w, {0.3});
        QCOMPARE(lock.count(), 1);
        QVERIFY(w.isLocked() && w.summary() && next->isEnabled());
        QCOMPARE(w.summary()->parameters.first().estimate, 0.3);
        QVERIFY(isEnabled(w, "actionClearCurrentEstimates"));
        for (PelkContentPage *page : w.findChildren<PelkContentPage *>())
            QVERIFY2(page->isLockLabelShown(), qPrintable(page->title()));

        QSignalSpy cleared(&w, &PelkWindow::clearEstimates);
        if (byLoading) {
            QVERIFY(w.loadWorkspace(file));
        } else {
            f.answerer.answer(QMessageBox::Cancel);
            trigger(w, "actionClearCurrentEstimates");
            QVERIFY(w.isLocked());
            QCOMPARE(f.answerer.boxes().last().title, QString("PELK"));
            QCOMPARE(f.answerer.boxes().last().text, QString("Clear the current estimates?  Estimates and Model "
                                                             "Diagnostics will no longer be available."));
            f.answerer.answer(QMessageBox::Ok);
            trigger(w, "actionClearCurrentEstimates");
            QCOMPARE(w.currentPage(), static_cast<ContentPage *>(w.findChild<ParameterDefinitionsPage *>()));
        }
        QCOMPARE(cleared.count(), 1);
        QVERIFY(!w.isLocked() && !w.summary() && !next->isEnabled());
        QVERIFY(!isEnabled(w, "actionClearCurrentEstimates"));
        QCOMPARE(w.workspace().seeds, std::vector<double>({copyEstimates ? 0.3 : 0.5}));
        for (PelkContentPage *page : w.findChildren<PelkContentPage *>())
            QVERIFY2(!page->isLockLabelShown(), qPrintable(page->title()));
    }

    void helpOpensTheContentsAndEachPagesFile()
    {
        support::FakeHelpViewer viewer; // outlives the window, which ends it
        WindowFixture f;
        f.window.setHelpLauncher(new HelpLauncher(nullptr, viewer.program(), "collection.qhc"));
        trigger(f.window, "actionContentsHelp");
        // A click in What's This mode on an empty part of a page reaches the page.
        QHelpEvent onOptimizer(QEvent::WhatsThis, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(f.window.findChild<OptimizerPage *>()->contentFrame(), &onOptimizer);
        QHelpEvent onEstimate(QEvent::WhatsThis, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(f.window.findChild<pelk::EstimatePage *>(), &onEstimate);
        const QByteArray expected = QByteArray("expandToc 2;SetSource qthelp://org.zav.pelk/doc/index.html")
                + '\0' + "\nSetSource qthelp://org.zav.pelk/doc/setOptimizer.html" + '\0'
                + "\nSetSource qthelp://org.zav.pelk/doc/estimate.html" + '\0' + '\n';
        QTRY_COMPARE_WITH_TIMEOUT(viewer.received(), expected, 10000);
        QCOMPARE(viewer.starts(), 1);
    }

    void editorsRestWhileTheWorkerReadsTheModel()
    {
        WindowFixture f;
        PelkWindow &w = f.window;
        QVERIFY(w.loadWorkspace(twoSample));
        auto *estimate = w.findChild<pelk::EstimatePage *>();
        QSignalSpy finished(estimate->sequence(), &pelk::EstimationSequence::finished);
        estimate->form()->estimateButton()->click();
        QVERIFY(estimate->isRunning());
        const QList<ContentPage *> editors{w.findChild<ParameterDefinitionsPage *>(),
                                           w.findChild<VariableDefinitionsPage *>(),
                                           w.likelihoodPages().first(),
                                           w.findChild<ParameterSeedsPage *>(),
                                           w.findChild<ProfileLikelihoodsPage *>(),
                                           w.findChild<OptimizerPage *>()};
        for (ContentPage *page : editors)
            QVERIFY2(!page->contentFrame()->isEnabled(), qPrintable(page->title()));
        QVERIFY(!isEnabled(w, "actionLoadCategoryCounts"));
        QVERIFY(finished.wait(120000));
        QTRY_VERIFY_WITH_TIMEOUT(!estimate->isRunning(), 10000);
        for (ContentPage *page : editors)
            QVERIFY2(page->contentFrame()->isEnabled(), qPrintable(page->title()));
        QVERIFY(isEnabled(w, "actionLoadCategoryCounts"));
    }
};

QTEST_MAIN(tst_PelkWindow)
#include "tst_pelkwindow.moc"
