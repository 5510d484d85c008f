// A likelihood's page in a real window, driven as the analyst drives it:
// typing categories into the table, the unobserved category, refused labels
// and counts with their status-bar messages, parse errors, symbols from the
// tool bars, deleting rows from the context menu, the New / Rename / Delete
// likelihood buttons with their dialogs, and the workspace lock.
#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/equation/EquationDelegate.h"
#include "pages/equation/EquationLineEdit.h"
#include "pages/likelihood/CategoryCountsDelegate.h"
#include "pages/likelihood/CategoryLabelDelegate.h"
#include "pages/likelihood/LikelihoodDefinitionForm.h"
#include "pages/likelihood/LikelihoodDefinitionModel.h"
#include "pages/likelihood/LikelihoodDefinitionPage.h"
#include "pages/likelihood/LikelihoodDefinitionView.h"
#include "pages/likelihood/NewLikelihoodDialog.h"
#include "pages/likelihood/RenameLikelihoodDialog.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/TempFiles.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {

constexpr int Label = LikelihoodDefinitionModel::LabelColumn;
constexpr int Probability = LikelihoodDefinitionModel::ProbabilityColumn;
constexpr int Counts = LikelihoodDefinitionModel::CountsColumn;

QAction *actionNamed(QToolBar *toolBar, const QString &text)
{
    for (QAction *action : toolBar->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// Types the name into a likelihood dialog and presses OK once the handler
// has returned, so that a message box OK raises meets the answerer's own
// polling rather than a handler still running.
void typeNameAndPressOk(QWidget *dialog, const char *lineEditName, const QString &name)
{
    dialog->findChild<QLineEdit *>(lineEditName)->setText(name);
    QMetaObject::invokeMethod(dialog->findChild<QPushButton *>("okButton"), &QPushButton::click,
                              Qt::QueuedConnection);
}

// What a scripted dialog saw.
struct DialogRun
{
    QString title;
    QStringList widgetTexts;
    bool extensionHiddenAtStart = false;
    bool extensionShownByMore = false;
    bool multinomialAtStart = false;
    QList<bool> openAfterOk;
};

} // namespace

class TestLikelihoodDefinitionPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    pelk::ModelDefinition *model() const { return &m_window->workspace().model; }
    LikelihoodDefinitionPage *page(int position = 0) const
    {
        return qobject_cast<LikelihoodDefinitionPage *>(m_window->likelihoodPages().value(position));
    }
    LikelihoodDefinitionView *view() const { return page()->view(); }
    LikelihoodDefinitionModel *table() const { return page()->definitionModel(); }
    QModelIndex cell(int row, int column) const { return table()->index(row, column); }
    int id() const { return page()->likelihoodId(); }
    QString status() const { return page()->statusBar()->currentMessage(); }
    bool editorOpen(int row, int column) const { return view()->indexWidget(cell(row, column)) != nullptr; }

    // Opens the cell's editor as a double-click would and types into it,
    // after the text it shows or, with replace, over it.
    QLineEdit *edit(int row, int column, const QString &typed, bool replace = false)
    {
        const QModelIndex index = cell(row, column);
        view()->setCurrentIndex(index);
        view()->edit(index);
        auto *editor = qobject_cast<QLineEdit *>(view()->indexWidget(index));
        if (editor) {
            editor->setFocus();
            // The view opens the editor with its text selected.
            if (!replace)
                QTest::keyClick(editor, Qt::Key_End);
            QTest::keyClicks(editor, typed);
        }
        return editor;
    }
    // Return in a plain text cell hands the text over once the event loop
    // runs again.
    static void pressReturn(QLineEdit *editor)
    {
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // The editor that has the keyboard, after the view moved on by itself.
    static QLineEdit *focusedEditor() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }

    void typeCategory(const QString &label, const QString &probability)
    {
        const int row = table()->rowCount() - 1;
        QLineEdit *labelEditor = edit(row, Label, label);
        QVERIFY(labelEditor);
        QTest::keyClick(labelEditor, Qt::Key_Tab);
        QLineEdit *probabilityEditor = focusedEditor();
        QVERIFY(qobject_cast<EquationLineEdit *>(probabilityEditor));
        QTest::keyClicks(probabilityEditor, probability);
        QTest::keyClick(probabilityEditor, Qt::Key_Return);
        // The view moves on into the next cell; leave it.
        if (QLineEdit *next = focusedEditor())
            QTest::keyClick(next, Qt::Key_Escape);
    }

    // Right-clicks the row and, when a menu opens, chooses its first action.
    // Returns the texts of the menu's actions (none when no menu opened).
    QStringList chooseFromContextMenu(int row)
    {
        QStringList texts;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, [&texts] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu || !texts.isEmpty())
                return;
            for (QAction *action : menu->actions())
                texts.append(action->text());
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        poll.start();
        const QPoint point = view()->visualRect(cell(row, Label)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, point, view()->viewport()->mapToGlobal(point));
        QApplication::sendEvent(view()->viewport(), &event);
        poll.stop();
        // The popup took the window's activation with it.
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("the window did not become active again");
        return texts;
    }

    void markSaved()
    {
        m_window->setWorkspaceFileName(m_files.path("saved.txt"));
        QVERIFY(m_window->writeWorkspace());
        QVERIFY(!m_window->isChanged());
    }

    support::TempFiles m_files;

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

    void init()
    {
        m_window = std::make_unique<PelkWindow>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        model()->insertParameter(0, "N");
        model()->insertParameter(1, "p");
        m_window->showPage(page());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            table(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    void cleanup()
    {
        m_tester.reset();
        // Editors still open commit when the window goes away; let them do
        // so while the workspace still exists.
        m_window->hide();
        m_window.reset();
    }

    void pageIsBuiltAroundTheTable()
    {
        QCOMPARE(page()->title(), QString("Likelihood 1"));
        QCOMPARE(page()->helpPageName(), QString("defineLikelihoods.html"));
        LikelihoodDefinitionForm *form = page()->form();
        QCOMPARE(form->newLikelihoodButton()->objectName(), QString("newLikelihoodButton"));
        QCOMPARE(form->newLikelihoodButton()->text(), QString("New Likelihood..."));
        QCOMPARE(form->renameLikelihoodButton()->objectName(), QString("renameLikelihoodButton"));
        QCOMPARE(form->renameLikelihoodButton()->text(), QString("Rename Current Likelihood..."));
        QCOMPARE(form->deleteLikelihoodButton()->objectName(), QString("deleteLikelihoodButton"));
        QCOMPARE(form->deleteLikelihoodButton()->text(), QString("Delete Current Likelihood..."));
        QCOMPARE(form->contentFrame()->objectName(), QString("contentFrame"));
        QVERIFY(form->contentFrame()->isAncestorOf(view()));

        QStringList toolBars;
        for (QToolBar *toolBar : page()->findChildren<QToolBar *>())
            toolBars.append(toolBar->windowTitle());
        QCOMPARE(toolBars, QStringList({"Math Symbols", "Parameters", "Functions of Parameters"}));

        QCOMPARE(view()->minimumWidth(), 500);
        QCOMPARE(view()->contextMenuPolicy(), Qt::CustomContextMenu);
        QVERIFY(qobject_cast<CategoryLabelDelegate *>(view()->itemDelegateForColumn(Label)));
        QVERIFY(qobject_cast<EquationDelegate *>(view()->itemDelegateForColumn(Probability)));
        QVERIFY(qobject_cast<CategoryCountsDelegate *>(view()->itemDelegateForColumn(Counts)));
        QCOMPARE(table()->rowCount(), 1);
    }

    void columnsShareTheWidth()
    {
        // On its own, so that no layout decides its width. A scroll area
        // learns of its size through its viewport.
        LikelihoodDefinitionView view(table());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (int width : {601, 700, 803}) {
            view.resize(width, 300);
            QTRY_VERIFY(view.viewport()->width() > 0);
            const int w = view.viewport()->width();
            QCOMPARE(view.columnWidth(Label), w / 3);
            QCOMPARE(view.columnWidth(Counts), w / 4);
            QCOMPARE(view.columnWidth(Probability), w - w / 4 - w / 3);
        }
    }

    void typingLabelTabProbabilityReturnAddsACategory()
    {
        QLineEdit *labelEditor = edit(0, Label, "seen twice");
        QVERIFY(labelEditor);
        QTest::keyClick(labelEditor, Qt::Key_Tab);
        QVERIFY(editorOpen(0, Probability));
        auto *probabilityEditor = qobject_cast<EquationLineEdit *>(focusedEditor());
        QVERIFY(probabilityEditor);
        QTest::keyClicks(probabilityEditor, "p*p");
        QTest::keyClick(probabilityEditor, Qt::Key_Return);

        QCOMPARE(model()->categoryCount(id()), 1);
        QCOMPARE(model()->categoryLabel(id(), 0), QString("seen twice"));
        QCOMPARE(model()->categoryProbability(id(), 0), QString("p*p"));
        QCOMPARE(m_window->workspace().categoryCounts.value("seen twice", -1), 0);
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(cell(0, Counts).data().toInt(), 0);
        QCOMPARE(cell(1, Label).data().toString(), QString());
        QVERIFY(m_window->isChanged());
    }

    void typedUnobservedCategoryIsItalicUntilItsProbabilityMakesIt()
    {
        QLineEdit *labelEditor = edit(0, Label, "(N)");
        QTest::keyClick(labelEditor, Qt::Key_Tab);
        QVERIFY(cell(0, Label).data(Qt::FontRole).value<QFont>().italic());
        QCOMPARE(cell(0, Counts).data().toString(), QString("N - ..."));
        QVERIFY(!model()->hasUnobservedCategory(id()));

        QLineEdit *probabilityEditor = focusedEditor();
        QVERIFY(qobject_cast<EquationLineEdit *>(probabilityEditor));
        QTest::keyClicks(probabilityEditor, "1-p");
        QTest::keyClick(probabilityEditor, Qt::Key_Return);

        QVERIFY(model()->hasUnobservedCategory(id()));
        QCOMPARE(model()->abundanceSymbolName(id()), QString("N"));
        QCOMPARE(model()->categoryProbability(id(), 0), QString("1-p"));
        QCOMPARE(table()->rowCount(), 1);
        QVERIFY(cell(0, Probability).data(Qt::FontRole).value<QFont>().italic());
        QVERIFY(!(cell(0, Label).flags() & Qt::ItemIsEditable));
        view()->edit(cell(0, Label));
        QVERIFY(!editorOpen(0, Label));
    }

    void labelUsedInAnotherLikelihoodIsRefusedWithAMessage()
    {
        QVERIFY(m_window->newLikelihood("Second"));
        auto *second = page(1);
        QVERIFY(second);
        model()->insertCategory(second->likelihoodId(), "elsewhere", "p", nullptr);
        m_window->showPage(page());

        pressReturn(edit(0, Label, "elsewhere"));
        QCOMPARE(status(), QString("Duplicate category label \"elsewhere\" used."));
        QCOMPARE(table()->pendingLabel(), QString());
        QCOMPARE(model()->categoryCount(id()), 0);
    }

    void labelTheFileCannotReadBackIsRefusedWithAMessage()
    {
        typeCategory("seen", "p");
        QLineEdit *labelEditor = edit(0, Label, ",b");
        pressReturn(labelEditor);
        QCOMPARE(status(), QString("Illegal category label \"seen,b\"."));
        QCOMPARE(model()->categoryLabel(id(), 0), QString("seen"));
    }

    void parseErrorKeepsTheEditorOpenAtTheError_data()
    {
        QTest::addColumn<QString>("probability");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("cursor");
        QTest::newRow("power written **") << "p**2" << int(Qt::Key_Return)
                                          << "\"*\" - Invalid symbol name" << 3;
        QTest::newRow("two names") << "p q" << int(Qt::Key_Tab) << "\"q\" - illegal syntax" << 3;
        QTest::newRow("open parenthesis") << "(p" << int(Qt::Key_Backtab) << "\"p\" - unbalanced Parentheses"
                                          << 2;
    }
    void parseErrorKeepsTheEditorOpenAtTheError()
    {
        QFETCH(QString, probability);
        QFETCH(int, key);
        QFETCH(QString, message);
        QFETCH(int, cursor);
        QTest::keyClick(edit(0, Label, "seen"), Qt::Key_Tab);
        auto *editor = qobject_cast<EquationLineEdit *>(focusedEditor());
        QVERIFY(editor);
        QTest::keyClicks(editor, probability);
        QTest::keyClick(editor, Qt::Key(key));

        QCOMPARE(view()->indexWidget(cell(0, Probability)), editor);
        QCOMPARE(editor->text(), probability);
        QCOMPARE(editor->cursorPosition(), cursor);
        QCOMPARE(status(), message);
        QCOMPARE(model()->categoryCount(id()), 0);

        // Corrected, it goes in and the message goes away.
        editor->setText("p");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(model()->categoryCount(id()), 1);
        QCOMPARE(status(), QString());
    }

    void leavingAnEditorThatDoesNotParseDiscardsTheEdit()
    {
        typeCategory("seen", "p");
        auto *editor = qobject_cast<EquationLineEdit *>(edit(0, Probability, "+"));
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("p+"));
        page()->form()->newLikelihoodButton()->setFocus();
        QTRY_VERIFY(!editorOpen(0, Probability));
        QCOMPARE(model()->categoryProbability(id(), 0), QString("p"));
        QCOMPARE(status(), QString("\"+\" - illegal syntax"));
    }

    void toolBarsInsertIntoTheOpenEditorAndControlMakesOneMinus()
    {
        typeCategory("seen", "p");
        m_window->showPage(m_window->parameterDefinitionsPage());
        m_window->showPage(page()); // activation fills the tool bars
        QAction *pAction = actionNamed(page()->parametersToolBar(), "p");
        QAction *plusAction = actionNamed(page()->mathSymbolsToolBar(), "+");
        QVERIFY(pAction);
        QVERIFY(plusAction);

        // No editor open: nothing happens.
        pAction->trigger();
        QCOMPARE(model()->categoryProbability(id(), 0), QString("p"));

        auto *editor = qobject_cast<EquationLineEdit *>(edit(0, Probability, "*"));
        QVERIFY(editor);
        QTest::keyPress(editor, Qt::Key_Control);
        pAction->trigger();
        QCOMPARE(editor->text(), QString("p*(1-p)"));
        plusAction->trigger();
        QCOMPARE(editor->text(), QString("p*(1-p)+"));
        QTest::keyRelease(editor, Qt::Key_Control);
        pAction->trigger();
        QCOMPARE(editor->text(), QString("p*(1-p)+p"));
        // Inserted at the cursor.
        editor->setCursorPosition(1);
        plusAction->trigger();
        QCOMPARE(editor->text(), QString("p+*(1-p)+p"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(model()->categoryProbability(id(), 0), QString("p"));
    }

    void contextMenuDeletesRows()
    {
        typeCategory("first", "p");
        typeCategory("second", "p");
        m_window->workspace().categoryCounts["first"] = 4;
        QCOMPARE(chooseFromContextMenu(0), QStringList({"Delete"}));
        QCOMPARE(model()->categoryCount(id()), 1);
        QCOMPARE(model()->categoryLabel(id(), 0), QString("second"));
        QCOMPARE(m_window->workspace().categoryCounts.value("first"), 4);

        // The entry row without an unobserved category: nothing to delete.
        QCOMPARE(chooseFromContextMenu(1), QStringList({"Delete"}));
        QCOMPARE(model()->categoryCount(id()), 1);
        QCOMPARE(table()->rowCount(), 2);

        typeCategory("(N)", "1-p");
        QVERIFY(model()->hasUnobservedCategory(id()));
        markSaved();
        QSignalSpy changed(page(), &LikelihoodPage::definitionChanged);
        QCOMPARE(chooseFromContextMenu(1), QStringList({"Delete"}));
        QVERIFY(!model()->hasUnobservedCategory(id()));
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(changed.count(), 1);
    }

    void countsTypedIntoTheTable()
    {
        typeCategory("seen", "p");
        markSaved();
        pressReturn(edit(0, Counts, "abc", true));
        QCOMPARE(status(), QString("Illegal counts \"abc\"."));
        QCOMPARE(m_window->workspace().categoryCounts.value("seen"), 0);
        QVERIFY(!m_window->isChanged());

        pressReturn(edit(0, Counts, "-3", true));
        QCOMPARE(status(), QString("Illegal counts \"-3\"."));

        QLineEdit *editor = edit(0, Counts, "");
        editor->setText(" 12 ");
        pressReturn(editor);
        QCOMPARE(m_window->workspace().categoryCounts.value("seen"), 12);
        QCOMPARE(cell(0, Counts).data().toInt(), 12);
        QVERIFY(m_window->isChanged());
    }

    void loadedCountsAppearInTheTable()
    {
        typeCategory("seen once", "p");
        typeCategory("seen twice", "1-p");
        const QString file = m_files.write("counts.txt", "\nseen once : 12\nseen twice : 7\n");
        QVERIFY(m_window->loadCategoryCounts(file));
        QCOMPARE(cell(0, Counts).data().toInt(), 12);
        QCOMPARE(cell(1, Counts).data().toInt(), 7);
    }

    void loadedWorkspaceShowsItsCategories()
    {
        QVERIFY(m_window->loadWorkspace(PELK_TEST_DATA_DIR "/workspace.txt"));
        m_tester = std::make_unique<QAbstractItemModelTester>(
            table(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(table()->rowCount(), 3);
        QCOMPARE(cell(0, Label).data().toString(), QString("seen twice"));
        QCOMPARE(cell(0, Probability).data().toString(), QString("s*p*p"));
        QCOMPARE(cell(0, Counts).data().toInt(), 7);
        QCOMPARE(cell(1, Label).data().toString(), QString("seen once"));
        QCOMPARE(cell(1, Counts).data().toInt(), 12);
        QCOMPARE(cell(2, Label).data().toString(), QString("(s)"));
        QCOMPARE(cell(2, Probability).data().toString(), QString("1-s*p*p-2*s*p*q"));
        QCOMPARE(cell(2, Counts).data().toString(), QString("s - ..."));
        QVERIFY(cell(2, Label).data(Qt::FontRole).value<QFont>().italic());
        QVERIFY(!(cell(2, Label).flags() & Qt::ItemIsEditable));
    }

    void lockMakesThePageReadOnlyAndClearingUndoesIt()
    {
        typeCategory("seen", "p");
        QVERIFY(m_window->newLikelihood("Second"));
        m_window->showPage(page());
        LikelihoodDefinitionForm *form = page()->form();
        QVERIFY(form->deleteLikelihoodButton()->isEnabled());

        emit m_window->lockWorkspace();
        QVERIFY(!form->newLikelihoodButton()->isEnabled());
        QVERIFY(!form->renameLikelihoodButton()->isEnabled());
        QVERIFY(!form->deleteLikelihoodButton()->isEnabled());
        for (int row = 0; row < table()->rowCount(); ++row)
            for (int column = 0; column < 3; ++column)
                QVERIFY(!(cell(row, column).flags() & Qt::ItemIsEditable));
        view()->edit(cell(0, Label));
        QVERIFY(!editorOpen(0, Label));
        QCOMPARE(chooseFromContextMenu(0), QStringList());
        QCOMPARE(model()->categoryCount(id()), 1);
        // Visiting the page again does not open the way to Delete.
        m_window->showPage(page(1));
        m_window->showPage(page());
        QVERIFY(!form->deleteLikelihoodButton()->isEnabled());

        emit m_window->clearEstimates();
        QVERIFY(form->newLikelihoodButton()->isEnabled());
        QVERIFY(form->renameLikelihoodButton()->isEnabled());
        QVERIFY(form->deleteLikelihoodButton()->isEnabled());
        QVERIFY(cell(0, Label).flags() & Qt::ItemIsEditable);
        QCOMPARE(chooseFromContextMenu(0), QStringList({"Delete"}));
        QCOMPARE(model()->categoryCount(id()), 0);
    }

    void clearingEstimatesEnablesDeleteOnlyWithAnotherLikelihood()
    {
        LikelihoodDefinitionForm *form = page()->form();
        emit m_window->lockWorkspace();
        emit m_window->clearEstimates();
        QVERIFY(form->newLikelihoodButton()->isEnabled());
        QVERIFY(!form->deleteLikelihoodButton()->isEnabled());
    }

    void deleteNeedsAnotherLikelihoodPage()
    {
        QVERIFY(!page()->form()->deleteLikelihoodButton()->isEnabled());
        QVERIFY(m_window->newLikelihood("Second"));
        QPointer<LikelihoodDefinitionPage> second = page(1);
        QCOMPARE(m_window->currentPage(), second.data());
        QVERIFY(second->form()->deleteLikelihoodButton()->isEnabled());

        second->form()->deleteLikelihoodButton()->click();
        QCOMPARE(model()->likelihoodCount(), 1);
        QCOMPARE(model()->likelihoodName(model()->likelihoodId(0)), QString("Likelihood 1"));
        QCOMPARE(m_window->likelihoodPages().size(), 1);
        QTRY_VERIFY(second.isNull());
        m_window->showPage(page());
        QVERIFY(!page()->form()->deleteLikelihoodButton()->isEnabled());
    }

    void newLikelihoodDialogRefusesBadNamesAndCreatesTheLikelihood()
    {
        ModalAnswerer answerer;
        DialogRun run;
        answerer.handle([&run](QWidget *dialog) {
            run.title = dialog->windowTitle();
            for (QLabel *label : dialog->findChildren<QLabel *>())
                run.widgetTexts.append(label->text());
            for (const char *name : {"okButton", "cancelButton", "moreButton"})
                run.widgetTexts.append(dialog->findChild<QPushButton *>(name)->text());
            auto *extension = dialog->findChild<QWidget *>("extensionWidget");
            auto *more = dialog->findChild<QPushButton *>("moreButton");
            run.extensionHiddenAtStart = extension->isHidden();
            more->click();
            run.extensionShownByMore = !extension->isHidden();
            more->click();
            run.multinomialAtStart = dialog->findChild<QRadioButton *>("multinomialRadio")->isChecked();
            typeNameAndPressOk(dialog, "newLikelihoodLineEdit", "");
        });
        for (const QString &name : {QString("say \"hi\""), QString("Likelihood 1"), QString("  Second   one ")}) {
            answerer.answer(QMessageBox::Ok);
            answerer.handle([&run, name](QWidget *dialog) {
                run.openAfterOk.append(dialog->isVisible());
                typeNameAndPressOk(dialog, "newLikelihoodLineEdit", name);
            });
        }
        page()->form()->newLikelihoodButton()->click();
        QVERIFY(answerer.allAnswered());
        QCOMPARE(answerer.unexpected(), 0);

        QCOMPARE(run.title, QString("Create New Likelihood"));
        QCOMPARE(run.widgetTexts, QStringList({"Enter name for new likelihood", "OK", "Cancel", "More"}));
        QVERIFY(run.extensionHiddenAtStart);
        QVERIFY(run.extensionShownByMore);
        QVERIFY(run.multinomialAtStart);
        QCOMPARE(run.openAfterOk, QList<bool>({true, true, true}));
        QCOMPARE(answerer.boxes().size(), 3);
        for (const ModalAnswerer::Box &box : answerer.boxes()) {
            QCOMPARE(box.title, QString("New Likelihood"));
            QCOMPARE(box.icon, QMessageBox::Critical);
        }
        QCOMPARE(answerer.texts(), QStringList({"Please enter a valid name", "Please enter a valid name",
                                                "Name already in use.  Please enter a unique name."}));

        QCOMPARE(model()->likelihoodCount(), 2);
        const int newId = model()->likelihoodId(1);
        QCOMPARE(model()->likelihoodName(newId), QString("Second one"));
        QVERIFY(model()->isMultinomial(newId));
        QCOMPARE(m_window->currentPage(), page(1));
        QCOMPARE(page(1)->title(), QString("Second one"));
    }

    void newLikelihoodDialogCreatesANormalLikelihood()
    {
        ModalAnswerer answerer;
        answerer.handle([](QWidget *dialog) {
            dialog->findChild<QPushButton *>("moreButton")->click();
            dialog->findChild<QRadioButton *>("normalRadio")->click();
            typeNameAndPressOk(dialog, "newLikelihoodLineEdit", "Mean size");
        });
        page()->form()->newLikelihoodButton()->click();
        QVERIFY(answerer.allAnswered());
        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(model()->likelihoodCount(), 2);
        const int newId = model()->likelihoodId(1);
        QCOMPARE(model()->likelihoodName(newId), QString("Mean size"));
        QVERIFY(!model()->isMultinomial(newId));
    }

    void cancelledNewLikelihoodDialogChangesNothing()
    {
        ModalAnswerer answerer;
        answerer.handle([](QWidget *widget) {
            widget->findChild<QLineEdit *>("newLikelihoodLineEdit")->setText("Unwanted");
            widget->findChild<QPushButton *>("cancelButton")->click();
        });
        page()->form()->newLikelihoodButton()->click();
        QVERIFY(answerer.allAnswered());
        QCOMPARE(model()->likelihoodCount(), 1);
    }

    void renameDialogRefusesBadNamesAndRenames()
    {
        ModalAnswerer answerer;
        DialogRun run;
        answerer.handle([&run](QWidget *dialog) {
            run.title = dialog->windowTitle();
            for (QLabel *label : dialog->findChildren<QLabel *>())
                run.widgetTexts.append(label->text());
            run.widgetTexts.append(dialog->findChild<QLineEdit *>("nameLineEdit")->text());
            run.widgetTexts.append(dialog->findChild<QPushButton *>("okButton")->text());
            run.widgetTexts.append(dialog->findChild<QPushButton *>("cancelButton")->text());
            typeNameAndPressOk(dialog, "nameLineEdit", " ");
        });
        for (const QString &name : {QString("L #1"), QString("Likelihood 1"), QString("Capture history")}) {
            answerer.answer(QMessageBox::Ok);
            answerer.handle([&run, name](QWidget *dialog) {
                run.openAfterOk.append(dialog->isVisible());
                typeNameAndPressOk(dialog, "nameLineEdit", name);
            });
        }
        page()->form()->renameLikelihoodButton()->click();
        QVERIFY(answerer.allAnswered());
        QCOMPARE(answerer.unexpected(), 0);

        QCOMPARE(run.title, QString("Rename Current Likelihood"));
        QCOMPARE(run.widgetTexts, QStringList({"Enter name:", "", "OK", "cancel"}));
        QCOMPARE(run.openAfterOk, QList<bool>({true, true, true}));
        QCOMPARE(answerer.boxes().size(), 3);
        for (const ModalAnswerer::Box &box : answerer.boxes()) {
            QCOMPARE(box.title, QString("Rename Likelihood"));
            QCOMPARE(box.icon, QMessageBox::Critical);
        }
        QCOMPARE(answerer.texts(),
                 QStringList({"Please enter a valid name.", "Please enter a valid name.", "Name already in use"}));
        QCOMPARE(model()->likelihoodName(id()), QString("Capture history"));
        QCOMPARE(page()->title(), QString("Capture history"));
        QCOMPARE(m_window->navModel()->indexOfPage(page()).data().toString(), QString("Capture history"));
    }
};

QTEST_MAIN(TestLikelihoodDefinitionPage)
#include "tst_likelihooddefinitionpage.moc"
