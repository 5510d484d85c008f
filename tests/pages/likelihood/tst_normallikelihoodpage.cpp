// The page of a normal likelihood in a real window: created through the New
// Likelihood dialog, its three formulas typed as the analyst types them,
// parse errors, symbols from the tool bars, the workspace lock, and a saved
// workspace read back into a second window.
#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationLineEdit.h"
#include "pages/frame/NavPanelModel.h"
#include "pages/likelihood/LikelihoodDefinitionForm.h"
#include "pages/likelihood/NormalLikelihoodPage.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/TempFiles.h"

#include <QAction>
#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {

QAction *actionNamed(QToolBar *toolBar, const QString &text)
{
    for (QAction *action : toolBar->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

} // namespace

class TestNormalLikelihoodPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;
    NormalLikelihoodPage *m_page = nullptr;
    support::TempFiles m_files;

    pelk::ModelDefinition *model() const { return &m_window->workspace().model; }
    int id() const { return m_page->likelihoodId(); }
    QString status() const { return m_page->statusBar()->currentMessage(); }

    // Gives the field the keyboard and types after what it holds.
    void type(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        QVERIFY(field->hasFocus());
        field->end(false);
        QTest::keyClicks(field, text);
    }
    void typeAndReturn(QLineEdit *field, const QString &text)
    {
        type(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // Somewhere else for the keyboard to go.
    void leave() { m_page->form()->newLikelihoodButton()->setFocus(); }

    // The analyst's way: New Likelihood..., More, Normal, a name, OK.
    NormalLikelihoodPage *createThroughTheDialog(PelkWindow &window, const QString &name)
    {
        ModalAnswerer answerer;
        answerer.handle([name](QWidget *dialog) {
            dialog->findChild<QPushButton *>("moreButton")->click();
            dialog->findChild<QRadioButton *>("normalRadio")->click();
            dialog->findChild<QLineEdit *>("newLikelihoodLineEdit")->setText(name);
            QMetaObject::invokeMethod(dialog->findChild<QPushButton *>("okButton"), &QPushButton::click,
                                      Qt::QueuedConnection);
        });
        window.likelihoodPages().first()->form()->newLikelihoodButton()->click();
        if (!answerer.allAnswered() || answerer.unexpected() != 0)
            return nullptr;
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return nullptr;
        return qobject_cast<NormalLikelihoodPage *>(window.likelihoodPages().last());
    }

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

    void init()
    {
        m_window = std::make_unique<PelkWindow>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        model()->insertParameter(0, "s");
        model()->insertParameter(1, "p");
        m_page = createThroughTheDialog(*m_window, "Mean size");
        QVERIFY(m_page);
    }

    void cleanup()
    {
        m_window->hide();
        m_window.reset();
    }

    void dialogCreatesTheLikelihoodAndItsPage()
    {
        QCOMPARE(model()->likelihoodCount(), 2);
        QVERIFY(!model()->isMultinomial(id()));
        QCOMPARE(model()->likelihoodName(id()), QString("Mean size"));
        QCOMPARE(m_page->title(), QString("Mean size"));
        QCOMPARE(m_page->helpPageName(), QString("defineLikelihoods.html"));
        QCOMPARE(m_window->currentPage(), m_page);
        QVERIFY(m_window->navModel()->indexOfPage(m_page).isValid());
        QCOMPARE(m_window->navModel()->indexOfPage(m_page).parent().data().toString(),
                 QString("Likelihood Functions"));

        auto *form = m_page->form()->contentFrame()->findChild<QFormLayout *>();
        QVERIFY(form);
        const QList<QLineEdit *> fields {m_page->observedLineEdit(), m_page->expectedLineEdit(),
                                         m_page->standardErrorLineEdit()};
        QStringList labels;
        for (QLineEdit *field : fields) {
            labels.append(qobject_cast<QLabel *>(form->labelForField(field))->text());
            QCOMPARE(field->text(), QString());
        }
        QCOMPARE(labels, QStringList({"Observed", "Expected", "Standard error"}));

        QStringList toolBars;
        for (QToolBar *toolBar : m_page->findChildren<QToolBar *>())
            toolBars.append(toolBar->windowTitle());
        QCOMPARE(toolBars, QStringList({"Math Symbols", "Parameters", "Functions of Parameters"}));
        QVERIFY(m_page->form()->deleteLikelihoodButton()->isEnabled());
    }

    void typedFormulasGoToTheModel()
    {
        QSignalSpy changed(m_page, &LikelihoodPage::definitionChanged);
        typeAndReturn(m_page->observedLineEdit(), "12.5");
        typeAndReturn(m_page->expectedLineEdit(), "10 * s");
        typeAndReturn(m_page->standardErrorLineEdit(), "0.8");

        QCOMPARE(model()->observed(id()), QString("12.5"));
        QCOMPARE(model()->expected(id()), QString("10 * s"));
        QCOMPARE(model()->standardError(id()), QString("0.8"));
        QVERIFY(model()->observedEquation(id()));
        QVERIFY(model()->expectedEquation(id()));
        QVERIFY(model()->standardErrorEquation(id()));
        QCOMPARE(changed.count(), 3);
        QCOMPARE(status(), QString());
        QVERIFY(m_window->isChanged());

        // Return again on the same formula is no change.
        QTest::keyClick(m_page->expectedLineEdit(), Qt::Key_Return);
        QCOMPARE(changed.count(), 3);
        // Leaving a field also commits it.
        type(m_page->expectedLineEdit(), "*p");
        leave();
        QCOMPARE(model()->expected(id()), QString("10 * s*p"));
        QCOMPARE(changed.count(), 4);
    }

    void parseErrorKeepsTheTextUntilTheFieldIsLeft_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("cursor");
        QTest::newRow("power written **") << "s**2" << "\"*\" - Invalid symbol name" << 3;
        QTest::newRow("two names") << "s p" << "\"p\" - illegal syntax" << 3;
        QTest::newRow("open parenthesis") << "2*(s" << "\"s\" - unbalanced Parentheses" << 4;
    }
    void parseErrorKeepsTheTextUntilTheFieldIsLeft()
    {
        QFETCH(QString, formula);
        QFETCH(QString, message);
        QFETCH(int, cursor);
        typeAndReturn(m_page->expectedLineEdit(), "s");
        QSignalSpy changed(m_page, &LikelihoodPage::definitionChanged);

        EquationLineEdit *field = m_page->expectedLineEdit();
        field->clear();
        typeAndReturn(field, formula);
        QCOMPARE(status(), message);
        QCOMPARE(field->text(), formula);
        QCOMPARE(field->cursorPosition(), cursor);
        QVERIFY(field->hasFocus());
        QCOMPARE(model()->expected(id()), QString("s"));

        leave();
        QCOMPARE(field->text(), QString("s"));
        QCOMPARE(status(), message);
        QCOMPARE(model()->expected(id()), QString("s"));
        QCOMPARE(changed.count(), 0);
    }

    void emptyFieldIsNeverCommitted()
    {
        typeAndReturn(m_page->observedLineEdit(), "1");
        QSignalSpy changed(m_page, &LikelihoodPage::definitionChanged);
        m_page->observedLineEdit()->clear();
        QTest::keyClick(m_page->observedLineEdit(), Qt::Key_Return);
        QCOMPARE(model()->observed(id()), QString("1"));
        QCOMPARE(status(), QString());
        leave();
        QCOMPARE(m_page->observedLineEdit()->text(), QString("1"));
        QCOMPARE(changed.count(), 0);
    }

    void toolBarsInsertIntoTheFocusedField()
    {
        m_window->showPage(m_window->likelihoodPages().first());
        m_window->showPage(m_page); // activation fills the tool bars
        QAction *sAction = actionNamed(m_page->parametersToolBar(), "s");
        QAction *minusAction = actionNamed(m_page->mathSymbolsToolBar(), "-");
        QVERIFY(sAction);
        QVERIFY(minusAction);

        // No field has the keyboard: nothing happens.
        leave();
        sAction->trigger();
        for (QLineEdit *field : {m_page->observedLineEdit(), m_page->expectedLineEdit(),
                                 m_page->standardErrorLineEdit()})
            QCOMPARE(field->text(), QString());

        EquationLineEdit *field = m_page->expectedLineEdit();
        type(field, "10*");
        QTest::keyPress(field, Qt::Key_Control);
        sAction->trigger();
        QCOMPARE(field->text(), QString("10*(1-s)"));
        minusAction->trigger();
        QCOMPARE(field->text(), QString("10*(1-s)-"));
        QTest::keyRelease(field, Qt::Key_Control);
        sAction->trigger();
        QCOMPARE(field->text(), QString("10*(1-s)-s"));
        QCOMPARE(m_page->observedLineEdit()->text(), QString());
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(model()->expected(id()), QString("10*(1-s)-s"));
    }

    void lockMakesTheFieldsReadOnly()
    {
        typeAndReturn(m_page->observedLineEdit(), "3");
        emit m_window->lockWorkspace();
        for (QLineEdit *field : {m_page->observedLineEdit(), m_page->expectedLineEdit(),
                                 m_page->standardErrorLineEdit()})
            QVERIFY(field->isReadOnly());
        LikelihoodDefinitionForm *form = m_page->form();
        QVERIFY(!form->newLikelihoodButton()->isEnabled());
        QVERIFY(!form->renameLikelihoodButton()->isEnabled());
        QVERIFY(!form->deleteLikelihoodButton()->isEnabled());

        m_window->showPage(m_window->likelihoodPages().first());
        m_window->showPage(m_page);
        QVERIFY(!form->deleteLikelihoodButton()->isEnabled());
        m_page->observedLineEdit()->setFocus();
        actionNamed(m_page->mathSymbolsToolBar(), "+")->trigger();
        QTest::keyClicks(m_page->observedLineEdit(), "1");
        QTest::keyClick(m_page->observedLineEdit(), Qt::Key_Return);
        QCOMPARE(m_page->observedLineEdit()->text(), QString("3"));
        QCOMPARE(model()->observed(id()), QString("3"));

        emit m_window->clearEstimates();
        QVERIFY(!m_page->observedLineEdit()->isReadOnly());
        QVERIFY(form->newLikelihoodButton()->isEnabled());
        QVERIFY(form->deleteLikelihoodButton()->isEnabled());
    }

    void renameAndDeleteWorkOnANormalLikelihood()
    {
        ModalAnswerer answerer;
        answerer.handle([](QWidget *dialog) {
            dialog->findChild<QLineEdit *>("nameLineEdit")->setText("Mean weight");
            dialog->findChild<QPushButton *>("okButton")->click();
        });
        m_page->form()->renameLikelihoodButton()->click();
        QVERIFY(answerer.allAnswered());
        QCOMPARE(model()->likelihoodName(id()), QString("Mean weight"));
        QCOMPARE(m_page->title(), QString("Mean weight"));

        // A formula typed but not yet committed goes nowhere.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        const int deletedId = id();
        type(m_page->observedLineEdit(), "5");
        QPointer<NormalLikelihoodPage> page = m_page;
        m_page->form()->deleteLikelihoodButton()->click();
        m_page = nullptr;
        QCOMPARE(model()->observed(deletedId), QString());
        QCOMPARE(model()->likelihoodCount(), 1);
        QVERIFY(model()->isMultinomial(model()->likelihoodId(0)));
        QCOMPARE(m_window->likelihoodPages().size(), 1);
        QTRY_VERIFY(page.isNull());
    }

    void savedWorkspaceReadsBackIntoASecondWindow()
    {
        typeAndReturn(m_page->observedLineEdit(), "12.5");
        typeAndReturn(m_page->expectedLineEdit(), "10*s");
        typeAndReturn(m_page->standardErrorLineEdit(), "0.8");
        const QString file = m_files.path("normal.txt");
        m_window->setWorkspaceFileName(file);
        QVERIFY(m_window->writeWorkspace());

        PelkWindow reread;
        QVERIFY(reread.loadWorkspace(file));
        pelk::ModelDefinition *copy = &reread.workspace().model;
        QCOMPARE(copy->likelihoodCount(), 2);
        const int first = copy->likelihoodId(0);
        const int second = copy->likelihoodId(1);
        QCOMPARE(copy->likelihoodName(first), QString("Likelihood 1"));
        QVERIFY(copy->isMultinomial(first));
        QCOMPARE(copy->likelihoodName(second), QString("Mean size"));
        QVERIFY(!copy->isMultinomial(second));
        QCOMPARE(copy->observed(second), QString("12.5"));
        QCOMPARE(copy->expected(second), QString("10*s"));
        QCOMPARE(copy->standardError(second), QString("0.8"));
        QVERIFY(copy->observedEquation(second));
        QVERIFY(copy->expectedEquation(second));
        QVERIFY(copy->standardErrorEquation(second));

        auto *page = qobject_cast<NormalLikelihoodPage *>(reread.likelihoodPages().value(1));
        QVERIFY(page);
        QCOMPARE(page->title(), QString("Mean size"));
        QCOMPARE(page->expectedLineEdit()->text(), QString("10*s"));
    }
};

QTEST_MAIN(TestNormalLikelihoodPage)
#include "tst_normallikelihoodpage.moc"
