// The two-sample study built from nothing in PELK's editors, key by key, as
// the analyst builds it: cells typed into with Tab and Return, tool bar
// buttons, the rename dialog, the keyboard on the options page, Save As.
// The saved file is the example file, and the estimates are those of the
// example file, bit for bit. Nothing here calls the model definition's
// editing operations; every change goes through a page's widgets.
#include "support/CellTyping.h"
#include "support/TwoSampleCapture.h"
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
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace {

const QString example = PELK_EXAMPLES_DIR "/two-sample-capture.txt";

// Says why a step of the analyst could not be taken; the step returns false.
bool cannot(const QString &why)
{
    qWarning("%s", qPrintable(why));
    return false;
}

QString fileText(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

// The analyst at the keyboard of one shown window. Each step shows the page
// it works on, goes through that page's widgets and checks that the window
// took the change.
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
        for (const QString &name : names) {
            const int count = m_window.workspace().model.parameterCount();
            const QModelIndex entry = page->definitionsModel()->index(count / 5, count % 5);
            if (!support::typeInto(page->view(), entry, name) || m_window.workspace().model.parameterCount() != count + 1)
                return cannot(QString("parameter \"%1\" was not added").arg(name));
        }
        return true;
    }

    // The name, Tab (which opens the definition), the definition, Return.
    bool defineFunction(const QString &name, const QString &definition)
    {
        auto *page = show<VariableDefinitionsPage>();
        const int entry = page->definitionsModel()->entryRow();
        if (!support::typeInto(page->view(), page->definitionsModel()->index(entry, 0), name, Qt::Key_Tab)
            || !support::typeInto(page->view(), page->definitionsModel()->index(entry, 1), definition))
            return cannot("the functions table took no name and definition");
        return m_window.workspace().model.variableDefinition(entry) == definition
            || cannot(QString("function \"%1\" was not defined").arg(name));
    }

    bool renameLikelihood(LikelihoodPage *page, const QString &name)
    {
        m_window.showPage(page);
        m_answerer.handle([name](QWidget *dialog) {
            if (auto *field = dialog->findChild<QLineEdit *>("nameLineEdit"))
                QTest::keyClicks(field, name);
            // OK once the handler has returned, so that a box OK raises
            // meets the answerer's polling rather than a running handler.
            if (auto *ok = dialog->findChild<QPushButton *>("okButton"))
                QMetaObject::invokeMethod(ok, &QPushButton::click, Qt::QueuedConnection);
        });
        page->form()->renameLikelihoodButton()->click();
        if (!m_answerer.allAnswered() || m_answerer.unexpected() != 0)
            return cannot("the rename dialog was not answered as scripted");
        m_window.activateWindow();
        return (QTest::qWaitForWindowActive(&m_window) && page->title() == name) || cannot("not renamed");
    }

    // Into the entry row: the label, Tab, the probability, Return, and then
    // the count into the counts cell the view moved on to.
    bool typeCategory(LikelihoodDefinitionPage *page, const QString &label, const QString &probability,
                      const QString &count)
    {
        const int row = page->definitionModel()->rowCount() - 1;
        if (!openProbability(page, label)
            || !support::typeInto(page->view(), index(page, row, LikelihoodDefinitionModel::ProbabilityColumn),
                                  probability))
            return cannot("the probability editor did not take the formula");
        const pelk::ModelDefinition *model = &m_window.workspace().model;
        if (model->categoryCount(page->likelihoodId()) != row + 1
            || model->categoryProbability(page->likelihoodId(), row) != probability)
            return cannot(QString("category \"%1\" was not added").arg(label));
        if (!support::typeInto(page->view(), index(page, row, LikelihoodDefinitionModel::CountsColumn), count))
            return cannot("the counts cell offered no editor");
        return m_window.workspace().categoryCounts.value(label, -1) == count.toInt()
            || cannot(QString("the count of \"%1\" was not stored").arg(label));
    }

    // Types the label into the entry row and Tab; returns the probability
    // editor that Tab opened.
    EquationLineEdit *openProbability(LikelihoodDefinitionPage *page, const QString &label)
    {
        m_window.showPage(page);
        const int row = page->definitionModel()->rowCount() - 1;
        EquationLineEdit *editor = nullptr;
        if (support::typeInto(page->view(), index(page, row, LikelihoodDefinitionModel::LabelColumn), label,
                              Qt::Key_Tab))
            editor = qobject_cast<EquationLineEdit *>(
                page->view()->indexWidget(index(page, row, LikelihoodDefinitionModel::ProbabilityColumn)));
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
        for (QAction *action : toolBar->actions())
            if (auto *button = qobject_cast<QToolButton *>(toolBar->widgetForAction(action));
                button && action->text() == text) {
                if (control)
                    QTest::keyPress(editor, Qt::Key_Control);
                QTest::mouseClick(button, Qt::LeftButton);
                if (control)
                    QTest::keyRelease(editor, Qt::Key_Control);
                return true;
            }
        return cannot(QString("no button \"%1\" on the tool bar").arg(text));
    }

    bool setSeed(int row, const QString &text)
    {
        auto *page = show<ParameterSeedsPage>();
        QTableView *view = page->form()->tableView();
        const QModelIndex index = page->seedsModel()->index(row, 0);
        if (!support::typeInto(view, index, text))
            return cannot("the seed's cell offered no editor");
        // The edit is handed over from the event loop.
        return (QTest::qWaitFor([&] { return !view->indexWidget(index); }, 10000)
                && m_window.workspace().seeds.at(std::size_t(row)) == text.toDouble())
            || cannot(QString("seed %1 was not set").arg(row));
    }

    // Moves to the cell of the requests grid and presses the space bar.
    bool toggleRequest(int row, int alphaIndex)
    {
        auto *page = show<ProfileLikelihoodsPage>();
        const QModelIndex index = page->requestsModel()->index(row, alphaIndex);
        const QVariant before = index.data(Qt::CheckStateRole);
        page->tableView()->setFocus();
        page->tableView()->setCurrentIndex(index);
        QTest::keyClick(page->tableView(), Qt::Key_Space);
        return index.data(Qt::CheckStateRole) != before || cannot("the request did not change");
    }

    // Powell's method, first in the list, with Home; the box unticked with
    // the space bar. The options reach their records when the analyst
    // moves to another page.
    bool choosePowellWithoutPreviousEstimates()
    {
        auto *page = show<OptimizerPage>();
        auto *combo = page->findChild<QComboBox *>("optimizerComboBox");
        auto *box = page->findChild<QCheckBox *>("usePreviousEstimatesSeedsCheckBox");
        if (!combo || !box)
            return cannot("no method list or no \"Use previous estimates as new seeds\" box");
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        if (box->isChecked()) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space);
        }
        show<ParameterDefinitionsPage>();
        return (zav::OptimizerFactory::instance().optimizerType() == zav::OptimizerFactory::Powell
                && !m_window.workspace().usePreviousEstimatesAsSeeds)
            || cannot("the window's options did not follow");
    }

private:
    static QModelIndex index(LikelihoodDefinitionPage *page, int row, int column)
    {
        return page->definitionModel()->index(row, column);
    }

    PelkWindow &m_window;
    ModalAnswerer &m_answerer;
};

} // namespace

class tst_BuildModelInEditors : public QObject
{
    Q_OBJECT

    SharedSettings m_settings;

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

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
        // The view moves on after Return; the analyst leaves that cell alone.
        if (auto *next = qobject_cast<QLineEdit *>(QApplication::focusWidget()); next && page->isAncestorOf(next))
            QTest::keyClick(next, Qt::Key_Escape);
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
        QCOMPARE(fileText(saved).split('\n'), loaded.workspaceText().split('\n'));

        // Same model, same seeds, same method as the example file: the same
        // numbers, bit for bit, and N at the profile's maximum.
        QVERIFY(built.estimateAndWait(300000));
        QVERIFY(loaded.estimateAndWait(300000));
        QVERIFY(window.summary() && loaded.window.summary());
        const pelk::EstimationResults &a = window.results();
        const pelk::EstimationResults &b = loaded.window.results();
        QVERIFY(a.estimates == b.estimates);
        QVERIFY(a.covarianceAvailable && a.covariance == b.covariance);
        QVERIFY(window.workspace().parameterRequests == loaded.window.workspace().parameterRequests);
        QVERIFY(window.workspace().variableRequests == loaded.window.workspace().variableRequests);
        const double abundance = support::twoSample::abundance();
        QVERIFY2(std::abs(a.estimates.at(0) - abundance) <= 1e-5 * abundance,
                 qPrintable(QString("N = %1, expected %2").arg(a.estimates.at(0)).arg(abundance)));
        QCOMPARE(built.answerer.unexpected(), 0);
        QCOMPARE(built.answerer.texts() + loaded.answerer.texts(), QStringList());
    }
};

QTEST_MAIN(tst_BuildModelInEditors)
#include "tst_buildmodelineditors.moc"
