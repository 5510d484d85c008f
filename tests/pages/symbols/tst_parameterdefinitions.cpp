// The "Parameters" page in a real main window: the five-column grid of
// names, its entry cell, the name rules and their messages, deletion from
// the context menu, the workspace lock and renaming as the other pages see
// it.
#include "support/CellTyping.h"
#include "support/GuiTestSupport.h"

#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"
#include "pages/symbols/ParameterDefinitionsModel.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "pages/symbols/ParameterDefinitionsView.h"
#include "pages/symbols/VariableDefinitionsPage.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>

class tst_ParameterDefinitions : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    ParameterDefinitionsPage *page() const { return m_window->parameterDefinitionsPage(); }
    ParameterDefinitionsView *view() const { return page()->view(); }
    ParameterDefinitionsModel *grid() const { return page()->definitionsModel(); }
    pelk::ModelDefinition *model() const { return &m_window->workspace().model; }
    QModelIndex cell(int row, int column) const { return grid()->index(row, column); }
    QString message() const { return page()->statusBar()->currentMessage(); }

    // Types the names one after the other into the entry cell.
    void enter(const QStringList &names)
    {
        for (const QString &name : names) {
            const int count = model()->parameterCount();
            QVERIFY(support::typeInto(view(), cell(count / 5, count % 5), name));
        }
    }
    QStringList gridNames() const
    {
        QStringList names;
        for (int row = 0; row < grid()->rowCount(); ++row)
            for (int column = 0; column < 5; ++column)
                names << cell(row, column).data().toString();
        return names;
    }
    QPoint centreOf(const QModelIndex &index) const { return view()->visualRect(index).center(); }
    void watchGrid()
    {
        m_tester = std::make_unique<QAbstractItemModelTester>(grid(),
                                                             QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

    void init()
    {
        m_window = std::make_unique<PelkWindow>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        watchGrid();
    }

    void cleanup()
    {
        m_tester.reset();
        m_window.reset();
    }

    void pageShowsAnEmptyGridWithItsEntryCell()
    {
        QCOMPARE(page()->title(), QString("Parameters"));
        QCOMPARE(page()->helpPageName(), QString("defineParameters.html"));
        QCOMPARE(grid()->columnCount(), 5);
        QCOMPARE(grid()->rowCount(), 1);
        QVERIFY(cell(0, 0).flags() & Qt::ItemIsEditable);
        QVERIFY(!(cell(0, 1).flags() & Qt::ItemIsEditable));
        QCOMPARE(view()->minimumWidth(), 400);
    }

    void namesFillTheGridRowByRow()
    {
        enter({"a", "b", "c", "d"});
        QCOMPARE(grid()->rowCount(), 1);
        QCOMPARE(model()->parameterNames(), QStringList({"a", "b", "c", "d"}));
        QVERIFY(cell(0, 4).flags() & Qt::ItemIsEditable); // the entry cell

        // The fifth fills the row; the entry cell moves to a new row.
        QSignalSpy inserted(grid(), &QAbstractItemModel::rowsInserted);
        enter({"e"});
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(grid()->rowCount(), 2);
        QVERIFY(cell(1, 0).flags() & Qt::ItemIsEditable);
        QVERIFY(!(cell(1, 1).flags() & Qt::ItemIsEditable));
        QCOMPARE(gridNames(), QStringList({"a", "b", "c", "d", "e", "", "", "", "", ""}));

        enter({"f"});
        QCOMPARE(grid()->rowCount(), 2);
        QCOMPARE(cell(1, 0).data().toString(), QString("f"));
    }

    void headerNumbersTheFirstParameterOfEachRow()
    {
        enter({"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9", "p10", "p11"});
        QCOMPARE(grid()->rowCount(), 3);
        QCOMPARE(grid()->headerData(0, Qt::Vertical).toInt(), 1);
        QCOMPARE(grid()->headerData(1, Qt::Vertical).toInt(), 6);
        QCOMPARE(grid()->headerData(2, Qt::Vertical).toInt(), 11);
        QVERIFY(!grid()->headerData(0, Qt::Horizontal).isValid());
        QVERIFY(grid()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(grid()->headerData(2, Qt::Vertical, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!cell(0, 0).data(Qt::EditRole).isValid()); // display role only
    }

    void deletingTheFifthRemovesTheLastRowAndShiftsNamesBack()
    {
        enter({"a", "b", "c", "d", "e"});
        QCOMPARE(grid()->rowCount(), 2);

        QSignalSpy removed(grid(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(grid(), &QAbstractItemModel::dataChanged);
        std::unique_ptr<QMenu> menu(view()->createContextMenu(centreOf(cell(0, 1))));
        QVERIFY(menu);
        menu->actions().first()->trigger();

        QCOMPARE(model()->parameterNames(), QStringList({"a", "c", "d", "e"}));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 1);
        QCOMPARE(grid()->rowCount(), 1);
        QCOMPARE(gridNames(), QStringList({"a", "c", "d", "e", ""}));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), cell(0, 0));
        QCOMPARE(changed.at(0).at(1).toModelIndex(), cell(0, 4));
        QVERIFY(cell(0, 4).flags() & Qt::ItemIsEditable);
    }

    void deletingInAnEarlierRowShiftsEveryLaterName()
    {
        enter({"a", "b", "c", "d", "e", "f", "g"});
        std::unique_ptr<QMenu> menu(view()->createContextMenu(centreOf(cell(0, 0))));
        QVERIFY(menu);
        menu->actions().first()->trigger();
        QCOMPARE(grid()->rowCount(), 2);
        QCOMPARE(gridNames(), QStringList({"b", "c", "d", "e", "f", "g", "", "", "", ""}));
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");

        QTest::newRow("letter") << "N" << true << "";
        QTest::newRow("letters digits underscore") << "Beta_2" << true << "";
        QTest::newRow("between dollars") << "$weird.name$" << true << "";
        // The symbol rule allows it, but neither a file nor a formula could
        // read it back as one name.
        QTest::newRow("blank between dollars") << "$N 1$" << false << "Illegal symbol name \"$N 1$\" entered.";
        QTest::newRow("comma between dollars") << "$N,1$" << false << "Illegal symbol name \"$N,1$\" entered.";
        QTest::newRow("lone dollar") << "$" << true << "";
        QTest::newRow("leading digit") << "2beta" << false << "Illegal symbol name \"2beta\" entered.";
        QTest::newRow("minus") << "a-b" << false << "Illegal symbol name \"a-b\" entered.";
        QTest::newRow("leading dollar only") << "$abc" << false << "Illegal symbol name \"$abc\" entered.";
        QTest::newRow("trailing dollar only") << "abc$" << false << "Illegal symbol name \"abc$\" entered.";
        QTest::newRow("leading underscore") << "_x" << false << "Illegal symbol name \"_x\" entered.";
        QTest::newRow("inner blank") << "a b" << false << "Illegal symbol name \"a b\" entered.";
        QTest::newRow("leading blank") << " a" << false << "Illegal symbol name \" a\" entered.";
        QTest::newRow("duplicate") << "p" << false << "Duplicate symbol name \"p\" entered.";
        QTest::newRow("case differs") << "P" << true << "";
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QFETCH(QString, message);

        enter({"p"});
        QVERIFY(support::typeInto(view(), cell(0, 1), name));
        QCOMPARE(model()->parameterCount(), accepted ? 2 : 1);
        QCOMPARE(cell(0, 1).data().toString(), accepted ? name : QString());
        QCOMPARE(this->message(), message);
    }

    void renames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");

        QTest::newRow("new name") << "phi" << "phi" << "";
        QTest::newRow("unchanged") << "b" << "b" << "";
        QTest::newRow("duplicate") << "a" << "b" << "Duplicate symbol name \"a\" entered.";
        QTest::newRow("illegal") << "b+" << "b" << "Illegal symbol name \"b+\" entered.";
        QTest::newRow("empty") << "" << "b" << "";
    }

    void renames()
    {
        QFETCH(QString, name);
        QFETCH(QString, result);
        QFETCH(QString, message);

        enter({"a", "b"});
        QSignalSpy renamed(model(), &pelk::ModelDefinition::parameterRenamed);
        QVERIFY(support::typeInto(view(), cell(0, 1), name));
        QCOMPARE(model()->parameterNames(), QStringList({"a", result}));
        QCOMPARE(renamed.count(), result == "b" ? 0 : 1);
        QCOMPARE(this->message(), message);
    }

    void parameterNamesAreNotCheckedAgainstFunctions()
    {
        model()->insertVariable(0, "f", "1", nullptr);
        enter({"f"});
        QCOMPARE(model()->parameterNames(), QStringList({"f"}));
        QCOMPARE(message(), QString());
    }

    void contextMenuOnlyOverParametersWhileUnlocked()
    {
        enter({"a", "b"});
        std::unique_ptr<QMenu> menu(view()->createContextMenu(centreOf(cell(0, 0))));
        QVERIFY(menu);
        QCOMPARE(menu->title(), QString("Parameter Action"));
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QString("Delete"));

        QVERIFY(!view()->createContextMenu(centreOf(cell(0, 2)))); // entry cell
        QVERIFY(!view()->createContextMenu(centreOf(cell(0, 4)))); // inert cell

        emit m_window->lockWorkspace();
        QVERIFY(!view()->createContextMenu(centreOf(cell(0, 0))));
        emit m_window->clearEstimates();
        menu.reset(view()->createContextMenu(centreOf(cell(0, 0))));
        QVERIFY(menu);
    }

    void contextMenuDeletesTheParameterUnderTheClick()
    {
        enter({"a", "b", "c"});
        QTimer::singleShot(0, this, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->title(), QString("Parameter Action"));
            menu->actions().first()->trigger();
            menu->close();
        });
        emit view()->customContextMenuRequested(centreOf(cell(0, 1)));
        QCOMPARE(model()->parameterNames(), QStringList({"a", "c"}));
    }

    void abundanceMessageIsShownThoughNoNameRuleRaisesIt()
    {
        emit grid()->multipleAbundanceParametersError("N");
        QCOMPARE(message(), QString("Only one abundance parameter allowed."));
    }

    void lockedGridIsReadOnly()
    {
        enter({"a"});
        emit m_window->lockWorkspace();
        QVERIFY(!(cell(0, 0).flags() & Qt::ItemIsEditable));
        QVERIFY(!(cell(0, 1).flags() & Qt::ItemIsEditable));
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        QVERIFY(!support::typeInto(view(), cell(0, 1), "b"));
        QCOMPARE(model()->parameterCount(), 1);

        emit m_window->clearEstimates();
        QVERIFY(support::typeInto(view(), cell(0, 1), "b"));
        QCOMPARE(model()->parameterCount(), 2);
    }

    void columnsShareTheWidth()
    {
        for (int width : {503, 777}) {
            view()->resize(width, 200);
            QCoreApplication::processEvents();
            const int w = view()->viewport()->width(); // the cells' width once the layout settled
            for (int column = 0; column < 5; ++column)
                QCOMPARE(view()->columnWidth(column), w / 5);
        }
    }

    void renamingRefillsTheParametersToolBarOnActivation()
    {
        enter({"a", "b"});
        VariableDefinitionsPage *functions = m_window->variableDefinitionsPage();
        m_window->showPage(functions);
        QCOMPARE(functions->parametersToolBar()->actions().size(), 2);

        m_window->showPage(page());
        QVERIFY(support::typeInto(view(), cell(0, 0), "alpha"));
        enter({"c"});
        m_window->showPage(functions);
        QStringList texts;
        for (QAction *action : functions->parametersToolBar()->actions())
            texts << action->text();
        QCOMPARE(texts, QStringList({"alpha", "b", "c"}));
    }

    // The model definition renames the parameter only: formulas keep the
    // text they were typed with, so they now name a symbol that no longer
    // exists until the analyst edits them.
    void renamingLeavesFormulasAsTyped()
    {
        enter({"a"});
        model()->insertVariable(0, "f", "a*2", nullptr);
        QVERIFY(support::typeInto(view(), cell(0, 0), "b"));
        QCOMPARE(model()->parameterNames(), QStringList({"b"}));
        QCOMPARE(model()->variableDefinition(0), QString("a*2"));
    }

    void workspaceChangesWithEveryEdit()
    {
        QVERIFY(!m_window->isChanged());
        enter({"a"});
        QVERIFY(m_window->isChanged());
        QVERIFY(m_window->windowTitle().startsWith("PELK 4.7 ** "));
    }

    void openEditorDoesNotOutliveItsModelDefinition()
    {
        enter({"x"});
        view()->setCurrentIndex(cell(0, 1));
        view()->edit(cell(0, 1));
        auto *editor = qobject_cast<QLineEdit *>(view()->indexWidget(cell(0, 1)));
        QVERIFY(editor);
        QTest::keyClicks(editor, "y");
        QVERIFY(m_window->loadWorkspace(PELK_TEST_DATA_DIR "/workspace.txt"));
        watchGrid();
        QCoreApplication::processEvents();
        QCOMPARE(model()->parameterNames(), QStringList({"s", "p"}));
        QVERIFY(!view()->indexWidget(cell(0, 1)));
    }

    void loadedWorkspaceGetsAFreshGrid()
    {
        enter({"x", "y", "z"});
        QVERIFY(m_window->loadWorkspace(PELK_EXAMPLES_DIR "/two-sample-capture.txt"));
        watchGrid();
        QCOMPARE(grid()->rowCount(), 1);
        QCOMPARE(gridNames(), QStringList({"N", "p1", "p2", "", ""}));
        enter({"q"});
        QCOMPARE(model()->parameterNames(), QStringList({"N", "p1", "p2", "q"}));
    }
};

QTEST_MAIN(tst_ParameterDefinitions)
#include "tst_parameterdefinitions.moc"
