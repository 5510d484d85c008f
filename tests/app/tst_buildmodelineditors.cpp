// Whole workspaces built from nothing in PELK's editors, key by key, as the
// analyst builds them: the window then holds exactly what the same workspace
// read from its file holds (the same text when written, the same estimates
// when estimated), and a workspace loaded, edited and saved loads back the
// same. Nothing here calls the model definition's editing operations; every
// change goes through a page's widgets.
#include "support/CellTyping.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/TempFiles.h"
#include "support/TwoSampleCapture.h"

#include "app/PelkWindow.h"
#include "estimation/EstimationSequence.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "optim/OptimizerFactory.h"
#include "pages/equation/EquationLineEdit.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/estimate/EstimationForm.h"
#include "pages/likelihood/LikelihoodDefinitionForm.h"
#include "pages/likelihood/LikelihoodDefinitionModel.h"
#include "pages/likelihood/LikelihoodDefinitionPage.h"
#include "pages/likelihood/LikelihoodDefinitionView.h"
#include "pages/likelihood/NormalLikelihoodPage.h"
#include "pages/options/OptimizerPage.h"
#include "pages/seeds/ParameterSeedsForm.h"
#include "pages/seeds/ParameterSeedsModel.h"
#include "pages/seeds/ParameterSeedsPage.h"
#include "pages/seeds/ProfileLikelihoodRequestsModel.h"
#include "pages/seeds/ProfileLikelihoodsPage.h"
#include "pages/symbols/ParameterDefinitionsModel.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/symbols/ParameterDefinitionsView.h"
#include "pages/symbols/VariableDefinitionsModel.h"
#include "pages/symbols/VariableDefinitionsPage.h"
#include "pages/symbols/VariableDefinitionsView.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextStream>
#include <QToolBar>
#include <QToolButton>

#include <cmath>
#include <memory>

using Factory = zav::OptimizerFactory;

namespace {

constexpr int Label = LikelihoodDefinitionModel::LabelColumn;
constexpr int Probability = LikelihoodDefinitionModel::ProbabilityColumn;
constexpr int Counts = LikelihoodDefinitionModel::CountsColumn;

// A run of the estimation sequence in an ASan build with profile limits
// takes seconds; this only bounds a hang.
constexpr int estimationTimeout = 300000;

// Says why a step of the analyst could not be taken; the step returns false.
bool cannot(const QString &why)
{
    qWarning("%s", qPrintable(why));
    return false;
}

// The workspace of the window as the Save Workspace action writes it.
QString workspaceText(PelkWindow &window)
{
    QString text;
    QTextStream stream(&text);
    window.storeEditedOptimizer();
    pelk::FileWriter(&stream).writeWorkspace(window.workspace());
    stream.flush();
    return text;
}

QString modelDefinitionText(const pelk::ModelDefinition &model)
{
    QString text;
    QTextStream stream(&text);
    pelk::FileWriter(&stream).writeModelDefinition(model);
    stream.flush();
    return text;
}

QString fileText(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString exactly(const std::vector<double> &values)
{
    QStringList texts;
    for (double value : values)
        texts << QString::number(value, 'g', 17);
    return texts.join(", ");
}

// The analyst at the keyboard of one window. Each step shows the page it
// works on and goes through that page's widgets: cell editors opened and
// typed into, Tab and Return, tool bar buttons, dialogs filled in and
// confirmed, the File menu's actions.
class Analyst
{
public:
    Analyst(PelkWindow &window, ModalAnswerer &answerer) : m_window(window), m_answerer(answerer) {}

    // Types each name into the entry cell of the parameters grid.
    bool addParameters(const QStringList &names)
    {
        ParameterDefinitionsPage *page = m_window.parameterDefinitionsPage();
        m_window.showPage(page);
        for (const QString &name : names) {
            const int count = m_window.workspace().model.parameterCount();
            const QModelIndex entry = page->definitionsModel()->index(count / 5, count % 5);
            if (!support::typeInto(page->view(), entry, name))
                return cannot("the parameters grid offered no entry cell");
            if (m_window.workspace().model.parameterCount() != count + 1)
                return cannot(QString("parameter \"%1\" was not added").arg(name));
        }
        return true;
    }

    bool renameParameter(int i, const QString &name)
    {
        ParameterDefinitionsPage *page = m_window.parameterDefinitionsPage();
        m_window.showPage(page);
        if (!support::typeInto(page->view(), page->definitionsModel()->index(i / 5, i % 5), name))
            return cannot("the parameter's cell offered no editor");
        return m_window.workspace().model.parameterName(i) == name || cannot("the parameter was not renamed");
    }

    // The name, Tab (which opens the definition), the definition, Return.
    bool defineFunction(const QString &name, const QString &definition)
    {
        VariableDefinitionsPage *page = m_window.variableDefinitionsPage();
        m_window.showPage(page);
        const int entry = page->definitionsModel()->entryRow();
        if (!support::typeInto(page->view(), page->definitionsModel()->index(entry, 0), name, Qt::Key_Tab))
            return cannot("the functions table offered no entry row");
        if (!support::typeInto(page->view(), page->definitionsModel()->index(entry, 1), definition))
            return cannot("Tab from the name did not open the definition");
        const pelk::ModelDefinition *model = &m_window.workspace().model;
        return (model->variableCount() == entry + 1 && model->variableDefinition(entry) == definition)
            || cannot(QString("function \"%1\" was not defined").arg(name));
    }

    bool renameLikelihood(LikelihoodPage *page, const QString &name)
    {
        m_window.showPage(page);
        m_answerer.handle([name](QWidget *dialog) {
            auto *field = dialog->findChild<QLineEdit *>("nameLineEdit");
            if (field)
                QTest::keyClicks(field, name);
            pressOkLater(dialog);
        });
        page->form()->renameLikelihoodButton()->click();
        return afterDialog() && (page->title() == name || cannot("the likelihood was not renamed"));
    }

    // New Likelihood..., a name, for a normal likelihood More and Normal,
    // OK; returns the page of the likelihood created.
    LikelihoodPage *createLikelihood(const QString &name, bool normal)
    {
        const int before = int(m_window.likelihoodPages().size());
        m_window.showPage(m_window.likelihoodPages().first());
        m_answerer.handle([name, normal](QWidget *dialog) {
            if (normal) {
                if (auto *more = dialog->findChild<QPushButton *>("moreButton"))
                    more->click();
                if (auto *radio = dialog->findChild<QRadioButton *>("normalRadio"))
                    radio->click();
            }
            if (auto *field = dialog->findChild<QLineEdit *>("newLikelihoodLineEdit"))
                QTest::keyClicks(field, name);
            pressOkLater(dialog);
        });
        m_window.likelihoodPages().first()->form()->newLikelihoodButton()->click();
        if (!afterDialog() || m_window.likelihoodPages().size() != before + 1) {
            cannot(QString("likelihood \"%1\" was not created").arg(name));
            return nullptr;
        }
        return m_window.likelihoodPages().last();
    }

    // Into the entry row: the label, Tab, the probability, Return, and then
    // the count into the counts cell the view moved on to.
    bool typeCategory(LikelihoodDefinitionPage *page, const QString &label, const QString &probability,
                      const QString &count = QString())
    {
        m_window.showPage(page);
        LikelihoodDefinitionModel *table = page->definitionModel();
        const int row = table->rowCount() - 1;
        if (!openProbability(page, label))
            return false;
        if (!support::typeInto(page->view(), table->index(row, Probability), probability))
            return cannot("the probability editor did not take the formula");
        const pelk::ModelDefinition *model = &m_window.workspace().model;
        const int id = page->likelihoodId();
        if (model->categoryCount(id) != row + 1 || model->categoryProbability(id, row) != probability)
            return cannot(QString("category \"%1\" was not added").arg(label));
        if (count.isEmpty()) {
            leaveOpenEditors(page);
            return true;
        }
        if (!support::typeInto(page->view(), table->index(row, Counts), count))
            return cannot("the counts cell offered no editor");
        return m_window.workspace().categoryCounts.value(label, -1) == count.toInt()
            || cannot(QString("the count of \"%1\" was not stored").arg(label));
    }

    // Types the label into the entry row and Tab; returns the probability
    // editor that Tab opened.
    EquationLineEdit *openProbability(LikelihoodDefinitionPage *page, const QString &label)
    {
        m_window.showPage(page);
        LikelihoodDefinitionModel *table = page->definitionModel();
        const int row = table->rowCount() - 1;
        if (!support::typeInto(page->view(), table->index(row, Label), label, Qt::Key_Tab)) {
            cannot("the entry row offered no label editor");
            return nullptr;
        }
        QWidget *opened = page->view()->indexWidget(table->index(row, Probability));
        auto *editor = qobject_cast<EquationLineEdit *>(opened);
        if (!editor)
            cannot("Tab from the label did not open the probability");
        else
            editor->setFocus();
        return editor;
    }

    // Clicks the button of a symbol tool bar, holding the control key on the
    // editor when asked (which makes a name "(1-name)").
    bool clickSymbol(QToolBar *toolBar, const QString &text, QWidget *editor, bool control = false)
    {
        QToolButton *button = nullptr;
        for (QAction *action : toolBar->actions())
            if (action->text() == text)
                button = qobject_cast<QToolButton *>(toolBar->widgetForAction(action));
        if (!button)
            return cannot(QString("no button \"%1\" on the %2 tool bar").arg(text, toolBar->windowTitle()));
        if (control)
            QTest::keyPress(editor, Qt::Key_Control);
        QTest::mouseClick(button, Qt::LeftButton);
        if (control)
            QTest::keyRelease(editor, Qt::Key_Control);
        return true;
    }

    // The view moves on after Return; the analyst leaves the next cell alone.
    void leaveOpenEditors(LikelihoodDefinitionPage *page)
    {
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (editor && page->view()->isAncestorOf(editor))
            QTest::keyClick(editor, Qt::Key_Escape);
    }

    // Types after what the field holds and presses Return.
    bool typeFormula(NormalLikelihoodPage *page, EquationLineEdit *field, const QString &formula)
    {
        m_window.showPage(page);
        field->setFocus();
        field->end(false);
        QTest::keyClicks(field, formula);
        QTest::keyClick(field, Qt::Key_Return);
        return field->text() == formula || cannot(QString("the field shows \"%1\"").arg(field->text()));
    }

    bool setSeed(int row, const QString &text)
    {
        ParameterSeedsPage *page = m_window.parameterSeedsPage();
        m_window.showPage(page);
        QTableView *view = page->form()->tableView();
        const QModelIndex index = page->seedsModel()->index(row, 0);
        if (!support::typeInto(view, index, text))
            return cannot("the seed's cell offered no editor");
        // The edit is handed over from the event loop.
        if (!QTest::qWaitFor([&] { return !view->indexWidget(index); }, 10000))
            return cannot("the seed's editor stayed open");
        return m_window.workspace().seeds.at(std::size_t(row)) == text.toDouble()
            || cannot(QString("seed %1 was not set").arg(row));
    }

    // Moves to the cell of the requests grid and presses the space bar.
    bool toggleRequest(int row, int alphaIndex)
    {
        ProfileLikelihoodsPage *page = m_window.profileLikelihoodsPage();
        m_window.showPage(page);
        QTableView *view = page->tableView();
        const QModelIndex index = page->requestsModel()->index(row, alphaIndex);
        const QVariant before = index.data(Qt::CheckStateRole);
        view->setFocus();
        view->setCurrentIndex(index);
        QTest::keyClick(view, Qt::Key_Space);
        return index.data(Qt::CheckStateRole) != before || cannot("the request did not change");
    }

    // Picks the method in the list with the keyboard: Home, then Down.
    bool chooseOptimizer(int position)
    {
        OptimizerPage *page = m_window.optimizerPage();
        m_window.showPage(page);
        auto *combo = page->findChild<QComboBox *>("optimizerComboBox");
        if (!combo)
            return cannot("no method list");
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < position; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        return combo->currentIndex() == position || cannot("the method list did not move");
    }

    bool setUsePreviousEstimatesAsSeeds(bool on)
    {
        OptimizerPage *page = m_window.optimizerPage();
        m_window.showPage(page);
        auto *box = page->findChild<QCheckBox *>("usePreviousEstimatesSeedsCheckBox");
        if (!box)
            return cannot("no \"Use previous estimates as new seeds\" box");
        if (box->isChecked() != on) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space);
        }
        return m_window.workspace().usePreviousEstimatesAsSeeds == on || cannot("the window's flag did not follow");
    }

    // Settings typed on the options page reach their records when the
    // analyst moves to another page.
    void leaveForTheParametersPage() { m_window.showPage(m_window.parameterDefinitionsPage()); }

    bool trigger(const char *actionName)
    {
        auto *action = m_window.findChild<QAction *>(actionName);
        if (!action)
            return cannot(QString("no action %1").arg(actionName));
        action->trigger();
        return true;
    }

    // Presses Estimate and waits until the run is over; true when it ended
    // with the estimates in the window.
    bool estimate()
    {
        pelk::EstimatePage *page = m_window.estimatePage();
        m_window.showPage(page);
        auto *button = page->form()->findChild<QPushButton *>("estimateButton");
        if (!button)
            return cannot("no Estimate button");
        QSignalSpy finished(page->sequence(), &pelk::EstimationSequence::finished);
        QSignalSpy completed(&m_window, &PelkWindow::estimationComplete);
        QTest::mouseClick(button, Qt::LeftButton);
        if (finished.isEmpty() && !finished.wait(estimationTimeout))
            return cannot("the estimation did not end");
        return (completed.count() == 1 && m_window.summary()) || cannot("the estimation did not complete");
    }

private:
    // Presses OK once the answerer's handler has returned, so that a box OK
    // raises meets the answerer's polling rather than a running handler.
    static void pressOkLater(QWidget *dialog)
    {
        if (auto *ok = dialog->findChild<QPushButton *>("okButton"))
            QMetaObject::invokeMethod(ok, &QPushButton::click, Qt::QueuedConnection);
    }

    // The dialog was answered as scripted; the window has the keyboard back.
    bool afterDialog()
    {
        if (!m_answerer.allAnswered() || m_answerer.unexpected() != 0)
            return cannot("a dialog was not answered as scripted");
        m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window) || cannot("the window did not become active again");
    }

    PelkWindow &m_window;
    ModalAnswerer &m_answerer;
};

// A shown, active window whose file dialogs answer from a script.
struct Desk
{
    std::unique_ptr<PelkWindow> window = std::make_unique<PelkWindow>();
    ScriptedFileDialogs *dialogs = nullptr;

    Desk()
    {
        auto scripted = std::make_unique<ScriptedFileDialogs>();
        dialogs = scripted.get();
        window->setFileDialogs(std::move(scripted));
        window->show();
        window->activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(window.get()); }
};

} // namespace

class tst_BuildModelInEditors : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedSettings> m_settings;
    support::TempFiles m_files;

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

    void twoSampleStudyBuiltInTheEditorsEstimatesAsItsFile()
    {
        ModalAnswerer answerer;
        Desk built;
        QVERIFY(built.ready());
        PelkWindow &window = *built.window;
        Analyst analyst(window, answerer);

        QVERIFY(analyst.addParameters({"N", "p1", "p2"}));
        QVERIFY(analyst.defineFunction("detection", "1 - (1-p1)*(1-p2)"));

        auto *page = qobject_cast<LikelihoodDefinitionPage *>(window.likelihoodPages().first());
        QVERIFY(page);
        QAbstractItemModelTester tester(page->definitionModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(analyst.renameLikelihood(page, "Two samples"));
        QVERIFY(analyst.typeCategory(page, "10", "p1*(1-p2)", "40"));
        QVERIFY(analyst.typeCategory(page, "01", "(1-p1)*p2", "30"));
        QVERIFY(analyst.typeCategory(page, "11", "p1*p2", "20"));
        // The animals never caught: "(1-p1)" and "(1-p2)" come from the
        // parameters tool bar with the control key held.
        EquationLineEdit *unseen = analyst.openProbability(page, "(N)");
        QVERIFY(unseen);
        QVERIFY(analyst.clickSymbol(page->parametersToolBar(), "p1", unseen, true));
        QVERIFY(analyst.clickSymbol(page->mathSymbolsToolBar(), "*", unseen));
        QVERIFY(analyst.clickSymbol(page->parametersToolBar(), "p2", unseen, true));
        QCOMPARE(unseen->text(), QString("(1-p1)*(1-p2)"));
        QTest::keyClick(unseen, Qt::Key_Return);
        analyst.leaveOpenEditors(page);
        QVERIFY(window.workspace().model.hasUnobservedCategory(page->likelihoodId()));
        QCOMPARE(window.workspace().model.abundanceSymbolName(page->likelihoodId()), QString("N"));

        QVERIFY(analyst.setSeed(0, "120"));
        QVERIFY(analyst.setSeed(1, "0.5"));
        QVERIFY(analyst.setSeed(2, "0.4"));
        QVERIFY(analyst.toggleRequest(0, 1)); // N at 0.05
        QVERIFY(analyst.toggleRequest(3, 1)); // detection at 0.05
        QVERIFY(analyst.chooseOptimizer(0));
        QCOMPARE(Factory::instance().optimizerType(), Factory::Powell);
        QVERIFY(analyst.setUsePreviousEstimatesAsSeeds(false));
        analyst.leaveForTheParametersPage();
        QVERIFY(window.isChanged());
        const QString builtText = workspaceText(window);

        // The same study read from its file. (A new window starts with
        // Powell's method, which the file names too.)
        Desk loaded;
        QVERIFY(loaded.window->loadWorkspace(PELK_EXAMPLES_DIR "/two-sample-capture.txt"));
        QCOMPARE(builtText.split('\n'), workspaceText(*loaded.window).split('\n'));

        QVERIFY(analyst.estimate());
        Analyst other(*loaded.window, answerer);
        QVERIFY(other.estimate());
        // Same model, same seeds, same method: the same numbers, bit for bit.
        const pelk::EstimationResults &a = window.results();
        const pelk::EstimationResults &b = loaded.window->results();
        QVERIFY2(a.estimates == b.estimates, qPrintable(exactly(a.estimates) + " / " + exactly(b.estimates)));
        QVERIFY(a.covarianceAvailable && b.covarianceAvailable);
        QVERIFY(a.covariance == b.covariance);
        QVERIFY(window.workspace().parameterRequests == loaded.window->workspace().parameterRequests);
        QVERIFY(window.workspace().variableRequests == loaded.window->workspace().variableRequests);
        QVERIFY(window.workspace().parameterRequests.isRequested(0, 1));
        QVERIFY(window.workspace().variableRequests.isRequested(0, 1));
        const double abundance = support::twoSample::abundance();
        const double N = a.estimates.at(0);
        const QString found = QString("N = %1, expected %2").arg(N, 0, 'g', 12).arg(abundance, 0, 'g', 12);
        QVERIFY2(std::abs(N - abundance) <= 1e-5 * abundance, qPrintable(found));

        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(answerer.texts(), QStringList());
    }

    void exampleModelDefinitionBuiltInTheEditors()
    {
        ModalAnswerer answerer;
        Desk built;
        QVERIFY(built.ready());
        PelkWindow &window = *built.window;
        Analyst analyst(window, answerer);

        QVERIFY(analyst.addParameters({"s", "p"}));
        QVERIFY(analyst.defineFunction("q", "1 - p"));
        auto *page = qobject_cast<LikelihoodDefinitionPage *>(window.likelihoodPages().first());
        QVERIFY(page);
        QAbstractItemModelTester tester(page->definitionModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(analyst.typeCategory(page, "seen twice", "s*p*p"));
        QVERIFY(analyst.typeCategory(page, "seen once", "2*s*p*q"));
        EquationLineEdit *unseen = analyst.openProbability(page, "(s)");
        QVERIFY(unseen);
        QTest::keyClicks(unseen, "1-s*p*p-2*s*p*q");
        QTest::keyClick(unseen, Qt::Key_Return);
        analyst.leaveOpenEditors(page);
        QCOMPARE(window.workspace().model.abundanceSymbolName(page->likelihoodId()), QString("s"));

        auto *normal = qobject_cast<NormalLikelihoodPage *>(analyst.createLikelihood("Mean size", true));
        QVERIFY(normal);
        QVERIFY(analyst.typeFormula(normal, normal->observedLineEdit(), "12.5"));
        QVERIFY(analyst.typeFormula(normal, normal->expectedLineEdit(), "10*s"));
        QVERIFY(analyst.typeFormula(normal, normal->standardErrorLineEdit(), "0.8"));
        analyst.leaveForTheParametersPage();

        pelk::ModelDefinition fromFile;
        QMap<QString, int> counts;
        pelk::PelkFileReader reader;
        reader.readModelDefinition(PELK_EXAMPLES_DIR "/model-definition.txt", fromFile, counts);
        QCOMPARE(modelDefinitionText(window.workspace().model).split('\n'), modelDefinitionText(fromFile).split('\n'));

        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(answerer.texts(), QStringList());
    }

    void editingALoadedWorkspaceAndSavingItLoadsBackTheSame()
    {
        ModalAnswerer answerer;
        Desk edited;
        QVERIFY(edited.ready());
        PelkWindow &window = *edited.window;
        Analyst analyst(window, answerer);

        const QString example = PELK_EXAMPLES_DIR "/two-sample-capture.txt";
        edited.dialogs->names << example;
        QVERIFY(analyst.trigger("actionLoadWorkspace"));
        QCOMPARE(window.workspaceFileName(), example);
        const QString original = workspaceText(window);

        // Formulas keep the text they were typed with, so they still name p2;
        // the file holds them as they stand.
        QVERIFY(analyst.renameParameter(2, "q2"));
        // A likelihood with an unobserved category shows it in its entry row,
        // so a further category goes into a new likelihood.
        LikelihoodPage *created = analyst.createLikelihood("Resightings", false);
        auto *resightings = qobject_cast<LikelihoodDefinitionPage *>(created);
        QVERIFY(resightings);
        QAbstractItemModelTester tester(resightings->definitionModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(analyst.typeCategory(resightings, "resighted", "p1*q2", "7"));
        QVERIFY(analyst.setSeed(0, "150"));
        QVERIFY(analyst.toggleRequest(1, 2)); // p1 at 0.10
        QVERIFY(analyst.chooseOptimizer(2));
        QCOMPARE(Factory::instance().optimizerType(), Factory::Simplex);
        analyst.leaveForTheParametersPage();
        QVERIFY(window.isChanged());

        const QString saved = m_files.path("edited-workspace.txt");
        edited.dialogs->names << saved;
        QVERIFY(analyst.trigger("actionSaveWorkspaceAs"));
        QVERIFY(!window.isChanged());
        QCOMPARE(window.workspaceFileName(), saved);
        const QString editedText = workspaceText(window);
        QVERIFY(editedText != original);
        QCOMPARE(fileText(saved).split('\n'), editedText.split('\n'));

        // A new window starts with Powell's method; the file brings the simplex.
        Desk reloaded;
        QCOMPARE(Factory::instance().optimizerType(), Factory::Powell);
        QVERIFY(reloaded.window->loadWorkspace(saved));
        QCOMPARE(Factory::instance().optimizerType(), Factory::Simplex);
        auto *methods = reloaded.window->optimizerPage()->findChild<QComboBox *>("optimizerComboBox");
        QVERIFY(methods);
        QCOMPARE(methods->currentIndex(), 2);
        QCOMPARE(workspaceText(*reloaded.window).split('\n'), editedText.split('\n'));

        // Every edit is in what was read back.
        const pelk::ModelDefinition *model = &reloaded.window->workspace().model;
        QCOMPARE(model->parameterNames(), QStringList({"N", "p1", "q2"}));
        QCOMPARE(model->likelihoodCount(), 2);
        QCOMPARE(model->likelihoodName(model->likelihoodId(1)), QString("Resightings"));
        QCOMPARE(model->categoryLabel(model->likelihoodId(1), 0), QString("resighted"));
        QCOMPARE(reloaded.window->workspace().categoryCounts.value("resighted"), 7);
        QCOMPARE(reloaded.window->workspace().seeds, std::vector<double>({150.0, 0.5, 0.4}));
        QVERIFY(reloaded.window->workspace().parameterRequests.isRequested(0, 1));
        QVERIFY(reloaded.window->workspace().parameterRequests.isRequested(1, 2));
        QCOMPARE(reloaded.window->workspace().parameterRequests.count(), 2);
        QVERIFY(reloaded.window->workspace().variableRequests.isRequested(0, 1));

        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(answerer.texts(), QStringList());
    }
};

QTEST_MAIN(tst_BuildModelInEditors)
#include "tst_buildmodelineditors.moc"
