// The parameter grid and the convenience-function table: their name rules,
// entry cells, deletion and lock as item models, and then the wiring of
// their two pages in a window (messages, tool bars, context menus, the lock
// and a workspace loaded while an editor is open).
#include "support/CellTyping.h"
#include "support/WindowFixture.h"

#include "expr/Parser.h"
#include "expr/SymbolValidator.h"
#include "model/ModelDefinition.h"
#include "pages/frame/ContentPage.h"
#include "pages/equation/EquationDefinition.h"
#include "pages/equation/EquationLineEdit.h"
#include "pages/symbols/ParameterDefinitionsModel.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/symbols/ParameterDefinitionsView.h"
#include "pages/symbols/VariableDefinitionsModel.h"
#include "pages/symbols/VariableDefinitionsPage.h"
#include "pages/symbols/VariableDefinitionsView.h"

#include <QAbstractItemModelTester>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

namespace {

constexpr auto Tester = QAbstractItemModelTester::FailureReportingMode::QtTest;

EquationDefinition formula(const QString &text, zav::EquationPtr &keeper)
{
    keeper = zav::parse(text, pelk::SymbolValidator());
    return EquationDefinition(text, keeper.get());
}

QStringList texts(const QToolBar *toolBar)
{
    QStringList result;
    for (const QAction *action : toolBar->actions())
        result << action->text();
    return result;
}

QStringList shown(const QAbstractItemModel &grid)
{
    QStringList names;
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column = 0; column < grid.columnCount(); ++column)
            names << grid.index(row, column).data().toString();
    return names;
}

} // namespace

class tst_SymbolDefinitions : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;

private slots:

    void parameterGridFillsRowByRow()
    {
        pelk::ModelDefinition model;
        ParameterDefinitionsModel grid(&model);
        QAbstractItemModelTester tester(&grid, Tester);
        QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
        for (int n = 0; n < 11; ++n) {
            // The entry cell takes the name; the cells after it are inert.
            QVERIFY(!(grid.index(n / 5, n % 5 + 1).flags() & Qt::ItemIsEditable));
            QVERIFY(grid.setData(grid.index(n / 5, n % 5), QString("p%1").arg(n + 1)));
            QCOMPARE(grid.rowCount(), (n + 1) / 5 + 1);
        }
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(grid.index(1, 0).data().toString(), QString("p6"));
        QCOMPARE(grid.headerData(2, Qt::Vertical).toInt(), 11); // the number of the row's first parameter
    }

    // Parameters a, b and functions f, g; the grid renames b at (0, 1) and
    // takes a new name at (0, 2), the table renames g in row 1 and takes a
    // new name (pending until its definition) in row 2.
    void symbolNames_data()
    {
        QTest::addColumn<bool>("functions");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("symbols"); // parameters, functions, pending name
        QTest::addColumn<QString>("refusal");
        const QStringList unchanged {"a", "b", "f", "g"};
        QTest::newRow("between dollars") << false << 0 << 2 << "$w.x$" << QStringList {"a", "b", "$w.x$", "f", "g"} << "";
        QTest::newRow("blank between dollars") << false << 0 << 2 << "$N 1$" << unchanged << "illegal";
        QTest::newRow("leading blank, not trimmed") << false << 0 << 2 << " c" << unchanged << "illegal";
        QTest::newRow("duplicate") << false << 0 << 2 << "a" << unchanged << "duplicate";
        QTest::newRow("case differs") << false << 0 << 2 << "A" << QStringList {"a", "b", "A", "f", "g"} << "";
        QTest::newRow("a function's name") << false << 0 << 2 << "f" << QStringList {"a", "b", "f", "f", "g"} << "";
        QTest::newRow("empty") << false << 0 << 2 << "" << unchanged << "";
        QTest::newRow("rename") << false << 0 << 1 << "phi" << QStringList {"a", "phi", "f", "g"} << "";
        QTest::newRow("rename unchanged") << false << 0 << 1 << "b" << unchanged << "";
        QTest::newRow("rename to a duplicate") << false << 0 << 1 << "a" << unchanged << "duplicate";
        QTest::newRow("function, a parameter's name") << true << 2 << 0 << "a" << unchanged << "duplicate";
        QTest::newRow("function, a function's name") << true << 2 << 0 << "f" << unchanged << "duplicate";
        QTest::newRow("function, leading digit") << true << 2 << 0 << "2x" << unchanged << "illegal";
        QTest::newRow("function, new name") << true << 2 << 0 << "h" << QStringList {"a", "b", "f", "g", "h"} << "";
        QTest::newRow("function, rename to a duplicate") << true << 1 << 0 << "f" << unchanged << "duplicate";
        QTest::newRow("function, rename illegal") << true << 1 << 0 << "x-y" << unchanged << "illegal";
        QTest::newRow("function, rename") << true << 1 << 0 << "phi" << QStringList {"a", "b", "f", "phi"} << "";
        QTest::newRow("function, rename unchanged") << true << 1 << 0 << "g" << unchanged << "";
    }
    void symbolNames()
    {
        QFETCH(bool, functions);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, name);
        QFETCH(QStringList, symbols);
        QFETCH(QString, refusal);
        pelk::ModelDefinition model;
        model.insertParameter(0, "a");
        model.insertParameter(1, "b");
        model.insertVariable(0, "f", "a", nullptr);
        model.insertVariable(1, "g", "a", nullptr);
        ParameterDefinitionsModel grid(&model);
        VariableDefinitionsModel table(&model);
        QAbstractItemModel *edited = functions ? static_cast<QAbstractItemModel *>(&table) : &grid;
        QSignalSpy illegal(edited, SIGNAL(illegalSymbolNameError(QString)));
        QSignalSpy duplicate(edited, SIGNAL(duplicateSymbolNameError(QString)));
        QCOMPARE(edited->setData(edited->index(row, column), name), symbols != QStringList({"a", "b", "f", "g"}));
        const QStringList pending = table.pendingName().isEmpty() ? QStringList() : QStringList {table.pendingName()};
        QCOMPARE(model.parameterNames() + model.variableNames() + pending, symbols);
        QCOMPARE(illegal.count(), refusal == "illegal" ? 1 : 0);
        QCOMPARE(duplicate.count(), refusal == "duplicate" ? 1 : 0);
        if (!refusal.isEmpty())
            QCOMPARE((refusal == "illegal" ? illegal : duplicate).at(0).at(0).toString(), name);
    }

    void deletingAParameterMovesTheLaterNamesBack_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("second of five: the last row goes") << 5 << 1 << QStringList {"a", "c", "d", "e", ""};
        QTest::newRow("first of seven") << 7 << 0 << QStringList {"b", "c", "d", "e", "f", "g", "", "", "", ""};
    }
    void deletingAParameterMovesTheLaterNamesBack()
    {
        QFETCH(int, count);
        QFETCH(int, position);
        pelk::ModelDefinition model;
        for (int i = 0; i < count; ++i)
            model.insertParameter(i, QString(QChar('a' + i)));
        ParameterDefinitionsModel grid(&model);
        QAbstractItemModelTester tester(&grid, Tester);
        QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
        grid.deleteParameter(grid.index(0, position));
        QTEST(shown(grid), "cells");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(1).toModelIndex(), grid.index(grid.rowCount() - 1, 4));
        QVERIFY(grid.index((count - 1) / 5, (count - 1) % 5).flags() & Qt::ItemIsEditable); // the entry cell
    }

    void functionEntryRowTakesTheNameFirst()
    {
        pelk::ModelDefinition model;
        model.insertParameter(0, "a");
        VariableDefinitionsModel table(&model);
        QAbstractItemModelTester tester(&table, Tester);
        QSignalSpy inserted(&model, &pelk::ModelDefinition::variableInserted);
        zav::EquationPtr tree;
        QVERIFY(!(table.index(0, 1).flags() & Qt::ItemIsEditable));
        QVERIFY(!table.setData(table.index(0, 1), QVariant::fromValue(formula("a", tree))));
        QVERIFY(table.setData(table.index(0, 0), "q"));
        QVERIFY(table.index(0, 1).flags() & Qt::ItemIsEditable);
        QCOMPARE(model.variableCount(), 0);
        // Only a parsed formula completes it.
        QVERIFY(!table.setData(table.index(0, 1), QVariant::fromValue(EquationDefinition("1-", nullptr))));
        QVERIFY(table.setData(table.index(0, 1), QVariant::fromValue(formula("1-a", tree))));
        QCOMPARE(model.variableNames(), QStringList({"q"}));
        QCOMPARE(model.variableEquation(0)->toString(), QString("1-a"));
        QCOMPARE(inserted.count(), 1);
        QVERIFY(table.pendingName().isEmpty() && !(table.index(1, 1).flags() & Qt::ItemIsEditable));

        // A redefinition replaces text and tree.
        QVERIFY(table.setData(table.index(0, 1), QVariant::fromValue(formula("exp(a)/2", tree))));
        QCOMPARE(model.variableDefinition(0), QString("exp(a)/2"));
        QCOMPARE(model.variableEquation(0)->toString(), QString("exp(a)/2"));

        // A name a parameter took while it waited for its definition.
        QVERIFY(table.setData(table.index(1, 0), "c"));
        model.insertParameter(1, "c");
        QSignalSpy duplicate(&table, &VariableDefinitionsModel::duplicateSymbolNameError);
        QVERIFY(!table.setData(table.index(1, 1), QVariant::fromValue(formula("a", tree))));
        QCOMPARE(duplicate.count(), 1);
        QVERIFY(model.variableCount() == 1 && table.pendingName().isEmpty());
    }

    void deletingAFunctionAndLosingTheModelDefinition()
    {
        auto *model = new pelk::ModelDefinition;
        model->insertVariable(0, "f", "1", nullptr);
        VariableDefinitionsModel table(model);
        QAbstractItemModelTester tester(&table, Tester);
        table.deleteFunction(1); // the entry row
        QVERIFY(table.setData(table.index(1, 0), "k"));
        table.deleteFunction(0);
        QVERIFY(model->variableNames().isEmpty() && table.pendingName() == "k");
        // A new workspace deletes the model definition first: nothing is shown
        // and the pending name goes with it.
        delete model;
        QVERIFY(table.rowCount() == 0 && table.pendingName().isEmpty());
    }

    void functionsPageWiring()
    {
        WindowFixture f;
        f.window.show();
        pelk::ModelDefinition *model = &f.window.workspace().model;
        model->insertParameter(0, "a");
        auto *page = f.window.findChild<VariableDefinitionsPage *>();
        f.window.showPage(page);
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        // The functions tool bar follows every change; the parameters one is
        // filled when the page is shown.
        model->insertVariable(0, "g", "a", nullptr);
        model->insertVariable(0, "f", "a", nullptr);
        model->renameVariable(1, "h");
        QCOMPARE(texts(page->functionsToolBar()), QStringList({"f", "h"}));
        model->deleteVariable(0);
        QCOMPARE(texts(page->functionsToolBar()), QStringList({"h"}));
        model->insertParameter(1, "b");
        f.window.showPage(f.window.findChild<ParameterDefinitionsPage *>());
        f.window.showPage(page);
        QCOMPARE(texts(page->parametersToolBar()), QStringList({"a", "b"}));

        // A parse error stays on the status bar until a formula parses; tool
        // bar symbols go into the open definition.
        VariableDefinitionsModel *table = page->definitionsModel();
        QVERIFY(support::typeInto(page->view(), table->index(0, 1), "a*(b"));
        auto *editor = qobject_cast<EquationLineEdit *>(page->view()->indexWidget(table->index(0, 1)));
        QVERIFY(editor);
        QCOMPARE(page->statusBar()->currentMessage(), QString("\"b\" - unbalanced Parentheses"));
        editor->setText("a*");
        page->functionsToolBar()->actions().at(0)->trigger();
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(model->variableDefinition(0), QString("a*h"));
        QCOMPARE(page->statusBar()->currentMessage(), QString());
        // No name rule raises it, but the page shows it.
        auto *parameters = f.window.findChild<ParameterDefinitionsPage *>();
        emit parameters->definitionsModel()->multipleAbundanceParametersError("a");
        QCOMPARE(parameters->statusBar()->currentMessage(), QString("Only one abundance parameter allowed."));
    }

    // Each symbol page: refusals on the status bar, the context menu (none
    // over the entry cell or while locked), and a workspace loaded while an
    // editor is open on the old table, whose text must not reach the new one.
    void symbolPageWiring_data()
    {
        QTest::addColumn<bool>("functions");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("parameters") << false
                                    << QStringList {"Illegal symbol name \"2x\" entered.", "Duplicate symbol name \"a\" entered."}
                                    << QStringList {"a", "c", "f", "g"};
        QTest::newRow("functions") << true << QStringList {"Illegal Symbol Name \"2x\"", "Duplicate Symbol Name \"a\""}
                                   << QStringList {"a", "b", "c", "g"};
    }
    void symbolPageWiring()
    {
        QFETCH(bool, functions);
        WindowFixture f;
        f.window.show();
        pelk::ModelDefinition *model = &f.window.workspace().model;
        for (const char *name : {"a", "b", "c"})
            model->insertParameter(model->parameterCount(), name);
        model->insertVariable(0, "f", "a", nullptr);
        model->insertVariable(1, "g", "b", nullptr);
        auto *parameters = f.window.findChild<ParameterDefinitionsPage *>();
        auto *functionsPage = f.window.findChild<VariableDefinitionsPage *>();
        ContentPage *page = functions ? static_cast<ContentPage *>(functionsPage) : parameters;
        QTableView *view = functions ? static_cast<QTableView *>(functionsPage->view()) : parameters->view();
        f.window.showPage(page);
        QAbstractItemModel *table = view->model();
        const QModelIndex entry = functions ? table->index(2, 0) : table->index(0, 3);
        QStringList messages;
        for (const char *name : {"2x", "a"}) {
            QVERIFY(!table->setData(entry, name));
            messages << page->statusBar()->currentMessage();
        }
        QTEST(messages, "messages");
        auto menuAt = [&](const QModelIndex &index) {
            const QPoint point = view->visualRect(index).center();
            return std::unique_ptr<QMenu>(functions ? functionsPage->view()->createContextMenu(point)
                                                    : parameters->view()->createContextMenu(point));
        };
        QVERIFY(!menuAt(entry));
        emit f.window.lockWorkspace();
        QVERIFY(!menuAt(table->index(0, 1)) && !(table->index(0, 0).flags() & Qt::ItemIsEditable));
        emit f.window.clearEstimates();
        std::unique_ptr<QMenu> menu = menuAt(table->index(0, functions ? 0 : 1));
        QVERIFY(menu);
        menu->actions().first()->trigger();
        QTEST(model->parameterNames() + model->variableNames(), "left");

        const QModelIndex cell = table->index(0, 1);
        view->setCurrentIndex(cell);
        view->edit(cell);
        auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(cell));
        QVERIFY(editor);
        editor->setFocus();
        QTest::keyClicks(editor, "*y");
        QVERIFY(f.window.loadWorkspace(PELK_TEST_DATA_DIR "/workspace.txt"));
        QCoreApplication::processEvents();
        QCOMPARE(f.window.workspace().model.parameterNames(), QStringList({"s", "p"}));
        QCOMPARE(f.window.workspace().model.variableDefinition(0), QString("1 - p"));
        QVERIFY(!view->indexWidget(view->model()->index(0, 1)));
        QCOMPARE(texts(functionsPage->functionsToolBar()), QStringList({"q"}));
    }
};

QTEST_MAIN(tst_SymbolDefinitions)
#include "tst_symboldefinitions.moc"
