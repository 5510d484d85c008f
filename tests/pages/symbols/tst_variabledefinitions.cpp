// The "Convenience Functions" page in a real main window: the entry row
// (name first, then the definition), the name rules against parameters and
// functions, definitions through the formula editor, the functions tool
// bar following every change, deletion and the workspace lock.
#include "support/CellTyping.h"
#include "support/GuiTestSupport.h"

#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationDelegate.h"
#include "pages/equation/EquationLineEdit.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/symbols/VariableDefinitionsModel.h"
#include "pages/symbols/VariableDefinitionsPage.h"
#include "pages/symbols/VariableDefinitionsView.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

class tst_VariableDefinitions : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    VariableDefinitionsPage *page() const { return m_window->variableDefinitionsPage(); }
    VariableDefinitionsView *view() const { return page()->view(); }
    VariableDefinitionsModel *table() const { return page()->definitionsModel(); }
    pelk::ModelDefinition *model() const { return &m_window->workspace().model; }
    QModelIndex cell(int row, int column) const { return table()->index(row, column); }
    QString message() const { return page()->statusBar()->currentMessage(); }
    static QStringList texts(QToolBar *toolBar)
    {
        QStringList result;
        for (QAction *action : toolBar->actions())
            result << action->text();
        return result;
    }
    QPoint centreOf(const QModelIndex &index) const { return view()->visualRect(index).center(); }
    void watchTable()
    {
        m_tester = std::make_unique<QAbstractItemModelTester>(table(),
                                                             QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    // Types a new function into the entry row: its name, Tab (which opens
    // the definition), the definition, Return.
    void define(const QString &name, const QString &definition)
    {
        const int entry = table()->entryRow();
        QVERIFY(support::typeInto(view(), cell(entry, 0), name, Qt::Key_Tab));
        auto *editor = qobject_cast<EquationLineEdit *>(view()->indexWidget(cell(entry, 1)));
        QVERIFY2(editor, "Tab from the name opens the definition");
        QTest::keyClicks(editor, definition);
        QTest::keyClick(editor, Qt::Key_Return);
    }

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

    void init()
    {
        m_window = std::make_unique<PelkWindow>();
        m_window->show();
        m_window->showPage(page());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        watchTable();
        model()->insertParameter(0, "a");
        model()->insertParameter(1, "b");
    }

    void cleanup()
    {
        m_tester.reset();
        m_window.reset();
    }

    void pageLayout()
    {
        QCOMPARE(page()->title(), QString("Convenience Functions"));
        QCOMPARE(page()->helpPageName(), QString("defineConvenienceFunctions.html"));
        QCOMPARE(page()->mathSymbolsToolBar()->windowTitle(), QString("Math Symbols"));
        QCOMPARE(page()->parametersToolBar()->windowTitle(), QString("Parameters"));
        QCOMPARE(page()->functionsToolBar()->windowTitle(), QString("Functions of Parameters"));
        QCOMPARE(table()->columnCount(), 2);
        QCOMPARE(table()->rowCount(), 1);
        QCOMPARE(table()->headerData(0, Qt::Horizontal).toString(), QString("Name"));
        QCOMPARE(table()->headerData(1, Qt::Horizontal).toString(), QString("Definition"));
        QCOMPARE(table()->headerData(0, Qt::Vertical).toInt(), 1);
        QVERIFY(table()->headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QCOMPARE(view()->minimumWidth(), 400);
    }

    void definitionWaitsForAName()
    {
        QVERIFY(cell(0, 0).flags() & Qt::ItemIsEditable);
        QVERIFY(!(cell(0, 1).flags() & Qt::ItemIsEditable));
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        view()->edit(cell(0, 1));
        QVERIFY(!view()->indexWidget(cell(0, 1)));

        QVERIFY(support::typeInto(view(), cell(0, 0), "f"));
        QCOMPARE(table()->pendingName(), QString("f"));
        QCOMPARE(cell(0, 0).data().toString(), QString("f"));
        QVERIFY(cell(0, 1).flags() & Qt::ItemIsEditable);
        QCOMPARE(model()->variableCount(), 0); // nothing reaches the model yet
    }

    void nameThenDefinitionAddsAFunctionAndAFreshEntryRow()
    {
        QSignalSpy inserted(table(), &VariableDefinitionsModel::insertVariable);
        define("q", "1-b");
        QCOMPARE(model()->variableNames(), QStringList({"q"}));
        QCOMPARE(model()->variableDefinition(0), QString("1-b"));
        QVERIFY(model()->variableEquation(0));
        QCOMPARE(model()->variableEquation(0)->toString(), QString("1-b"));
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(cell(0, 0).data().toString(), QString("q"));
        QCOMPARE(cell(0, 1).data().toString(), QString("1-b"));
        QCOMPARE(cell(1, 0).data().toString(), QString());
        QVERIFY(!cell(1, 1).data().isValid());
        QVERIFY(!(cell(1, 1).flags() & Qt::ItemIsEditable));
        QCOMPARE(table()->headerData(1, Qt::Vertical).toInt(), 2);
        QCOMPARE(texts(page()->functionsToolBar()), QStringList({"q"}));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(message(), QString());

        define("r", "q*a");
        QCOMPARE(model()->variableNames(), QStringList({"q", "r"}));
        QCOMPARE(texts(page()->functionsToolBar()), QStringList({"q", "r"}));
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");

        QTest::newRow("parameter's name") << "a" << "Duplicate Symbol Name \"a\"";
        QTest::newRow("function's name") << "f" << "Duplicate Symbol Name \"f\"";
        QTest::newRow("leading digit") << "2x" << "Illegal Symbol Name \"2x\"";
        QTest::newRow("minus") << "x-y" << "Illegal Symbol Name \"x-y\"";
        QTest::newRow("leading dollar only") << "$x" << "Illegal Symbol Name \"$x\"";
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);

        define("f", "a*b");
        // In the entry row...
        QVERIFY(support::typeInto(view(), cell(1, 0), name));
        QCOMPARE(this->message(), message);
        QCOMPARE(table()->pendingName(), QString());
        QVERIFY(!(cell(1, 1).flags() & Qt::ItemIsEditable));

        // ...and as a new name for an existing function.
        define("g", "a");
        page()->statusBar()->clearMessage();
        QVERIFY(support::typeInto(view(), cell(1, 0), name));
        QCOMPARE(model()->variableNames(), QStringList({"f", "g"}));
        QCOMPARE(this->message(), message);
    }

    void renamingUpdatesTheFunctionsToolBar()
    {
        define("f", "a");
        define("g", "b");
        QSignalSpy renamed(table(), &VariableDefinitionsModel::renameVariable);
        QVERIFY(support::typeInto(view(), cell(0, 0), "phi"));
        QCOMPARE(model()->variableNames(), QStringList({"phi", "g"}));
        QCOMPARE(texts(page()->functionsToolBar()), QStringList({"phi", "g"}));
        QCOMPARE(renamed.count(), 1);

        // The unchanged name is no rename.
        QVERIFY(support::typeInto(view(), cell(1, 0), "g"));
        QCOMPARE(renamed.count(), 1);
        QCOMPARE(message(), QString());
    }

    void redefiningReplacesTextAndTree()
    {
        define("f", "a");
        QSignalSpy redefined(model(), &pelk::ModelDefinition::variableRedefined);
        QVERIFY(support::typeInto(view(), cell(0, 1), "exp(a)/b", Qt::Key_Tab));
        QCOMPARE(redefined.count(), 1);
        QCOMPARE(model()->variableDefinition(0), QString("exp(a)/b"));
        QCOMPARE(model()->variableEquation(0)->toString(), QString("exp(a)/b"));
    }

    void parseErrorIsShownAndKeepsTheEditorOpen()
    {
        define("f", "a");
        QVERIFY(support::typeInto(view(), cell(0, 1), "a*(b", Qt::Key_Return));
        auto *editor = qobject_cast<EquationLineEdit *>(view()->indexWidget(cell(0, 1)));
        QVERIFY(editor);
        QCOMPARE(message(), QString("\"b\" - unbalanced Parentheses"));
        QCOMPARE(editor->cursorPosition(), 4);
        QCOMPARE(model()->variableDefinition(0), QString("a"));

        // The message stays until a formula parses.
        editor->setText("a*(b)");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(model()->variableDefinition(0), QString("a*(b)"));
        QCOMPARE(message(), QString());
    }

    void focusLeavingWithAParseErrorDiscards()
    {
        define("f", "a");
        view()->setCurrentIndex(cell(0, 1));
        view()->edit(cell(0, 1));
        auto *editor = qobject_cast<EquationLineEdit *>(view()->indexWidget(cell(0, 1)));
        QVERIFY(editor);
        editor->setFocus();
        editor->end(false);
        QTest::keyClicks(editor, "+");
        page()->nextButton()->setFocus();
        QCOMPARE(message(), QString("\"+\" - illegal syntax"));
        QVERIFY(!view()->indexWidget(cell(0, 1)));
        QCOMPARE(model()->variableDefinition(0), QString("a"));
    }

    void toolBarSymbolsGoIntoTheOpenDefinition()
    {
        define("f", "a");
        m_window->showPage(m_window->parameterDefinitionsPage());
        m_window->showPage(page()); // refills the tool bars
        QCOMPARE(texts(page()->parametersToolBar()), QStringList({"a", "b"}));
        QCOMPARE(texts(page()->functionsToolBar()), QStringList({"f"}));

        view()->setCurrentIndex(cell(0, 1));
        view()->edit(cell(0, 1));
        auto *editor = qobject_cast<EquationLineEdit *>(view()->indexWidget(cell(0, 1)));
        QVERIFY(editor);
        editor->setFocus();
        editor->end(false);
        QTest::keyClicks(editor, "*");

        auto click = [](QToolBar *toolBar, int i) {
            auto *button = qobject_cast<QToolButton *>(toolBar->widgetForAction(toolBar->actions().at(i)));
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
        };
        click(page()->parametersToolBar(), 1); // b
        click(page()->mathSymbolsToolBar(), 3); // +
        QTest::keyPress(editor, Qt::Key_Control);
        click(page()->parametersToolBar(), 0); // (1-a)
        click(page()->mathSymbolsToolBar(), 5); // * unchanged
        click(page()->functionsToolBar(), 0); // (1-f)
        QTest::keyRelease(editor, Qt::Key_Control);
        click(page()->mathSymbolsToolBar(), 2); // 1
        QCOMPARE(editor->text(), QString("a*b+(1-a)*(1-f)1"));
    }

    void deleteFromTheContextMenu()
    {
        define("f", "a");
        define("g", "b");
        define("h", "f+g");
        QVERIFY(!view()->createContextMenu(centreOf(cell(3, 0)))); // entry row

        QSignalSpy deleted(table(), &VariableDefinitionsModel::deleteVariable);
        std::unique_ptr<QMenu> menu(view()->createContextMenu(centreOf(cell(1, 1))));
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QString("Delete"));
        menu->actions().first()->trigger();

        QCOMPARE(model()->variableNames(), QStringList({"f", "h"}));
        QCOMPARE(table()->rowCount(), 3);
        QCOMPARE(cell(1, 0).data().toString(), QString("h"));
        QCOMPARE(texts(page()->functionsToolBar()), QStringList({"f", "h"}));
        QCOMPARE(deleted.count(), 1);
        QCOMPARE(deleted.at(0).at(0).toInt(), 1);
    }

    void lockedTableIsReadOnly()
    {
        define("f", "a");
        emit m_window->lockWorkspace();
        QVERIFY(!(cell(0, 0).flags() & Qt::ItemIsEditable));
        QVERIFY(!(cell(0, 1).flags() & Qt::ItemIsEditable));
        QVERIFY(!(cell(1, 0).flags() & Qt::ItemIsEditable));
        QVERIFY(!view()->createContextMenu(centreOf(cell(0, 0))));
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        QVERIFY(!support::typeInto(view(), cell(0, 0), "g"));
        QCOMPARE(model()->variableNames(), QStringList({"f"}));

        emit m_window->clearEstimates();
        QVERIFY(cell(0, 0).flags() & Qt::ItemIsEditable);
        std::unique_ptr<QMenu> menu(view()->createContextMenu(centreOf(cell(0, 0))));
        QVERIFY(menu);
    }

    void columnsSplitTheWidthOneToTwo()
    {
        for (int width : {401, 650}) {
            view()->resize(width, 200);
            QCoreApplication::processEvents();
            const int w = view()->viewport()->width(); // the cells' width once the layout settled
            QCOMPARE(view()->columnWidth(0), w / 3);
            QCOMPARE(view()->columnWidth(1), w - w / 3);
        }
    }

    void viewPassesTextOnOnlyInTheActiveWindow()
    {
        QSignalSpy relayed(view(), &VariableDefinitionsView::textAvailable);
        view()->insertText("a");
        QCOMPARE(relayed.count(), 1);
        QCOMPARE(relayed.at(0).at(0).toString(), QString("a"));

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        view()->insertText("b");
        QCOMPARE(relayed.count(), 1);
    }

    void pendingNameIsLostWithANewModelDefinition()
    {
        QVERIFY(support::typeInto(view(), cell(0, 0), "f"));
        QVERIFY(m_window->loadWorkspace(PELK_EXAMPLES_DIR "/two-sample-capture.txt"));
        watchTable();
        QCOMPARE(table()->pendingName(), QString());
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(cell(0, 0).data().toString(), QString("detection"));
        QCOMPARE(cell(0, 1).data().toString(), model()->variableDefinition(0));
    }

    void openEditorDoesNotOutliveItsModelDefinition()
    {
        define("f", "a");
        view()->setCurrentIndex(cell(0, 1));
        view()->edit(cell(0, 1));
        auto *editor = qobject_cast<EquationLineEdit *>(view()->indexWidget(cell(0, 1)));
        QVERIFY(editor);
        editor->setFocus();
        editor->end(false);
        QTest::keyClicks(editor, "*b");
        QVERIFY(m_window->loadWorkspace(PELK_TEST_DATA_DIR "/workspace.txt"));
        watchTable();
        QCoreApplication::processEvents();
        QCOMPARE(model()->variableNames(), QStringList({"q"}));
        QCOMPARE(model()->variableDefinition(0), QString("1 - p"));
        QCOMPARE(page()->equationDelegate()->currentEditor(), nullptr);
        QCOMPARE(texts(page()->functionsToolBar()), QStringList({"q"}));
    }

    void functionsToolBarFollowsTheLoadedModelOnce()
    {
        QVERIFY(m_window->loadWorkspace(PELK_EXAMPLES_DIR "/two-sample-capture.txt"));
        watchTable();
        QCOMPARE(texts(page()->functionsToolBar()), QStringList({"detection"}));
        define("miss", "1-detection");
        QCOMPARE(texts(page()->functionsToolBar()), QStringList({"detection", "miss"}));
    }

    void aNameTakenMeanwhileByAParameterIsRefused()
    {
        QVERIFY(support::typeInto(view(), cell(0, 0), "c"));
        model()->insertParameter(2, "c");
        QVERIFY(support::typeInto(view(), cell(0, 1), "a+b"));
        QCOMPARE(model()->variableCount(), 0);
        QCOMPARE(message(), QString("Duplicate Symbol Name \"c\""));
        QCOMPARE(table()->pendingName(), QString());
        QVERIFY(!(cell(0, 1).flags() & Qt::ItemIsEditable));
    }
};

QTEST_MAIN(tst_VariableDefinitions)
#include "tst_variabledefinitions.moc"
