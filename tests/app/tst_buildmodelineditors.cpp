// The two-sample study built from nothing in PELK's editors, key by key, as
// the analyst builds it: cells typed into with Tab and Return, tool bar
// buttons, the rename dialog, the keyboard on the options page, Save As.
// The saved file is the example file, and the estimates are those of the
// example file, bit for bit. Nothing here calls the model definition's
// editing operations; every change goes through a page's widgets.
#include "support/CellTyping.h"
#include "support/WindowFixture.h"

#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "optim/OptimizerFactory.h"
#include "pages/equation/EquationLineEdit.h"
#include "pages/likelihood/LikelihoodDefinitionForm.h"
#include "pages/likelihood/LikelihoodDefinitionModel.h"
#include "pages/likelihood/LikelihoodDefinitionPage.h"
#include "pages/likelihood/LikelihoodDefinitionView.h"
#include "pages/options/OptimizerPage.h"
#include "pages/seeds/ParameterSeedsForm.h"
#include "pages/seeds/ParameterSeedsModel.h"
#include "pages/seeds/ParameterSeedsPage.h"
#include "pages/seeds/ProfileLikelihoodsPage.h"
#include "pages/symbols/ParameterDefinitionsModel.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/symbols/ParameterDefinitionsView.h"
#include "pages/symbols/VariableDefinitionsModel.h"
#include "pages/symbols/VariableDefinitionsPage.h"
#include "pages/symbols/VariableDefinitionsView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTableView>
#include <QTest>
#include <QToolBar>


namespace {

const QString example = PELK_EXAMPLES_DIR "/two-sample-capture.txt";

// The analyst at the keyboard of one shown window. Each step shows the page
// it works on, goes through that page's widgets and returns whether the
// window took the change.
class Analyst
{
public:
    explicit Analyst(WindowFixture &desk) : m_window(desk.window), m_answerer(desk.answerer) {}

    template <class Page>
    Page *show()
    {
        auto *page = m_window.findChild<Page *>();
        m_window.showPage(page);
        return page;
    }

    // Types each name into the entry cell of the parameters grid.
    bool addParameters(const QStringList &names)
    {
        auto *page = show<ParameterDefinitionsPage>();
        for (int i = 0; i < names.size(); ++i)
            if (!support::typeInto(page->view(), page->definitionsModel()->index(i / 5, i % 5), names[i])
                || m_window.workspace().model.parameterNames() != names.mid(0, i + 1))
                return false;
        return true;
    }

    // The name, Tab (which opens the definition), the definition, Return.
    bool defineFunction(const QString &name, const QString &definition)
    {
        auto *page = show<VariableDefinitionsPage>();
        const int entry = page->definitionsModel()->entryRow();
        support::typeInto(page->view(), page->definitionsModel()->index(entry, 0), name, Qt::Key_Tab);
        support::typeInto(page->view(), page->definitionsModel()->index(entry, 1), definition);
        return m_window.workspace().model.variableCount() == entry + 1
            && m_window.workspace().model.variableDefinition(entry) == definition;
    }

    // The dialog's name field filled in and OK pressed once the handler has
    // returned, so that a box OK raises meets the answerer's polling.
    bool renameLikelihood(LikelihoodPage *page, const QString &name)
    {
        m_window.showPage(page);
        m_answerer.handle([name](QWidget *dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit *>("nameLineEdit"), name);
            QMetaObject::invokeMethod(dialog->findChild<QPushButton *>("okButton"), &QPushButton::click,
                                      Qt::QueuedConnection);
        });
        page->form()->renameLikelihoodButton()->click();
        m_window.activateWindow();
        return m_answerer.allAnswered() && QTest::qWaitForWindowActive(&m_window) && page->title() == name;
    }

    // Into the entry row: the label and Tab, which opens the probability's
    // editor; with a probability, it and Return, then the count in the
    // counts cell the view moved on to. Returns the probability's editor.
    EquationLineEdit *typeCategory(LikelihoodDefinitionPage *page, const QString &label,
                                   const QString &probability = QString(), const QString &count = QString())
    {
        m_window.showPage(page);
        const auto cell = [page](int column) {
            return page->definitionModel()->index(page->definitionModel()->rowCount() - 1, column);
        };
        support::typeInto(page->view(), cell(LikelihoodDefinitionModel::LabelColumn), label, Qt::Key_Tab);
        auto *editor = qobject_cast<EquationLineEdit *>(
            page->view()->indexWidget(cell(LikelihoodDefinitionModel::ProbabilityColumn)));
        if (!editor)
            return nullptr;
        editor->setFocus();
        if (probability.isEmpty())
            return editor;
        const int categories = m_window.workspace().model.categoryCount(page->likelihoodId());
        support::typeInto(page->view(), cell(LikelihoodDefinitionModel::ProbabilityColumn), probability);
        // The count goes into the row just added, above the new entry row.
        const QModelIndex counts = page->definitionModel()->index(categories, LikelihoodDefinitionModel::CountsColumn);
        if (!support::typeInto(page->view(), counts, count) || m_window.workspace().categoryCounts.value(label) != count.toInt()
            || m_window.workspace().model.categoryProbability(page->likelihoodId(), categories) != probability)
            return nullptr;
        return editor;
    }

    // Clicks the button of a symbol tool bar, holding the control key on the
    // editor when asked (which makes a name "(1-name)").
    void clickSymbol(QToolBar *toolBar, const QString &text, QWidget *editor, bool control = false)
    {
        for (QAction *action : toolBar->actions())
            if (action->text() == text) {
                if (control)
                    QTest::keyPress(editor, Qt::Key_Control);
                QTest::mouseClick(toolBar->widgetForAction(action), Qt::LeftButton);
                if (control)
                    QTest::keyRelease(editor, Qt::Key_Control);
            }
    }

    // The edit is handed over from the event loop.
    bool setSeed(int row, const QString &text)
    {
        auto *page = show<ParameterSeedsPage>();
        QTableView *view = page->form()->tableView();
        const QModelIndex index = page->seedsModel()->index(row, 0);
        return support::typeInto(view, index, text) && QTest::qWaitFor([&] { return !view->indexWidget(index); })
            && m_window.workspace().seeds.at(std::size_t(row)) == text.toDouble();
    }

    // Moves to the cell of the requests grid and presses the space bar.
    bool toggleRequest(int row, int alphaIndex)
    {
        QTableView *view = show<ProfileLikelihoodsPage>()->tableView();
        const QModelIndex index = view->model()->index(row, alphaIndex);
        const QVariant before = index.data(Qt::CheckStateRole);
        view->setFocus();
        view->setCurrentIndex(index);
        QTest::keyClick(view, Qt::Key_Space);
        return index.data(Qt::CheckStateRole) != before;
    }

    // Powell's method, first in the list, with Home; the box unticked with
    // the space bar. The options reach their records when the analyst
    // moves to another page.
    bool choosePowellWithoutPreviousEstimates()
    {
        auto *page = show<OptimizerPage>();
        auto *combo = page->findChild<QComboBox *>("optimizerComboBox");
        auto *box = page->findChild<QCheckBox *>("usePreviousEstimatesSeedsCheckBox");
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        box->setFocus();
        if (box->isChecked())
            QTest::keyClick(box, Qt::Key_Space);
        show<ParameterDefinitionsPage>();
        return zav::OptimizerFactory::instance().optimizerType() == zav::OptimizerFactory::Powell
            && !m_window.workspace().usePreviousEstimatesAsSeeds;
    }

private:
    PelkWindow &m_window;
    ModalAnswerer &m_answerer;
};

} // namespace

class tst_BuildModelInEditors : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;

private slots:

    void twoSampleStudyBuiltInTheEditorsIsTheExampleFile()
    {
        WindowFixture built;
        PelkWindow &window = built.window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Analyst analyst(built);

        QVERIFY(analyst.addParameters({"N", "p1", "p2"}));
        QVERIFY(analyst.defineFunction("detection", "1 - (1-p1)*(1-p2)"));
        auto *page = qobject_cast<LikelihoodDefinitionPage *>(window.findChild<LikelihoodPage *>());
        QVERIFY(page);
        QVERIFY(analyst.renameLikelihood(page, "Two samples"));
        QVERIFY(analyst.typeCategory(page, "10", "p1*(1-p2)", "40"));
        QVERIFY(analyst.typeCategory(page, "01", "(1-p1)*p2", "30"));
        QVERIFY(analyst.typeCategory(page, "11", "p1*p2", "20"));
        // The animals never caught: "(1-p1)" and "(1-p2)" come from the
        // parameters tool bar with the control key held.
        EquationLineEdit *unseen = analyst.typeCategory(page, "(N)");
        QVERIFY(unseen);
        analyst.clickSymbol(page->parametersToolBar(), "p1", unseen, true);
        analyst.clickSymbol(page->mathSymbolsToolBar(), "*", unseen);
        analyst.clickSymbol(page->parametersToolBar(), "p2", unseen, true);
        QCOMPARE(unseen->text(), QString("(1-p1)*(1-p2)"));
        QTest::keyClick(unseen, Qt::Key_Return);
        QCOMPARE(window.workspace().model.abundanceSymbolName(page->likelihoodId()), QString("N"));

        QVERIFY(analyst.setSeed(0, "120"));
        QVERIFY(analyst.setSeed(1, "0.5"));
        QVERIFY(analyst.setSeed(2, "0.4"));
        QVERIFY(analyst.toggleRequest(0, 1)); // N at 0.05
        QVERIFY(analyst.toggleRequest(3, 1)); // detection at 0.05
        QVERIFY(analyst.choosePowellWithoutPreviousEstimates());
        QVERIFY(window.isChanged());

        // Saved, the file is the example file as PELK writes it.
        const QString saved = built.files.path("built.txt");
        built.dialogs->names << saved;
        window.findChild<QAction *>("actionSaveWorkspaceAs")->trigger();
        QVERIFY(!window.isChanged());
        WindowFixture loaded;
        QVERIFY(loaded.window.loadWorkspace(example));
        QCOMPARE(QString::fromUtf8(support::fileBytes(saved)).split('\n'), loaded.workspaceText().split('\n'));

        // Same model, same seeds, same method as the example file: the same
        // numbers, bit for bit.
        QVERIFY(built.estimateAndWait(300000));
        QVERIFY(loaded.estimateAndWait(300000));
        // The profile curves' points join the requests after the run: both
        // windows must have them before the requests are compared.
        for (WindowFixture *f : {&built, &loaded})
            QTRY_VERIFY_WITH_TIMEOUT(
                !f->window.findChild<pelk::EstimatePage *>()->sequence()->isComputingProfileCurves(), 300000);
        QVERIFY(window.summary() && loaded.window.summary());
        const pelk::EstimationResults &a = window.results();
        const pelk::EstimationResults &b = loaded.window.results();
        QVERIFY(a.estimates == b.estimates);
        QVERIFY(a.covarianceAvailable && a.covariance == b.covariance);
        QVERIFY(window.workspace().parameterRequests == loaded.window.workspace().parameterRequests);
        QVERIFY(window.workspace().variableRequests == loaded.window.workspace().variableRequests);
        QCOMPARE(built.answerer.unexpected(), 0);
        QCOMPARE(built.answerer.texts() + loaded.answerer.texts(), QStringList());
    }
};

QTEST_MAIN(tst_BuildModelInEditors)
#include "tst_buildmodelineditors.moc"
