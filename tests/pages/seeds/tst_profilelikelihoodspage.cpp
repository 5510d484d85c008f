// The "Profile Likelihood Confidence Intervals" page in a real window: the
// grid of requests follows the parameters and convenience functions of the
// model definition, moves every request (and any limits found) with its
// symbol, never lets a single parameter keep a request, and freezes while
// the workspace is locked.
#include "app/PelkWindow.h"
#include "expr/Parser.h"
#include "expr/SymbolValidator.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "pages/seeds/ProfileLikelihoodRequestsModel.h"
#include "pages/seeds/ProfileLikelihoodsPage.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using Key = pelk::ProfileLikelihoods::Key;
using Keys = QList<Key>;

class TestProfileLikelihoodsPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;

    ProfileLikelihoodsPage *page() const { return m_window->profileLikelihoodsPage(); }
    ProfileLikelihoodRequestsModel *grid() const { return page()->requestsModel(); }
    pelk::ModelDefinition *model() const { return &m_window->workspace().model; }

    void newWorkspaceWith(const QStringList &parameters, const QStringList &functions = {})
    {
        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Discard);
        m_window->onNewWorkspace();
        for (const QString &name : parameters)
            insertParameter(model()->parameterCount(), name);
        for (const QString &name : functions)
            insertFunction(model()->variableCount(), name);
    }
    void insertParameter(int i, const QString &name) { model()->insertParameter(i, name); }
    void insertFunction(int i, const QString &name)
    {
        const QString definition = model()->parameterName(0) + " * 2";
        model()->insertVariable(i, name, definition, zav::parse(definition, pelk::SymbolValidator()));
    }

    static Keys keys(const pelk::ProfileLikelihoods *requests)
    {
        Keys result;
        for (const auto &entry : *requests)
            result.append(entry.first);
        return result;
    }

    bool isChecked(int row, int column) const
    {
        return grid()->index(row, column).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    bool isCheckable(int row) const { return grid()->flags(grid()->index(row, 0)) & Qt::ItemIsUserCheckable; }
    bool click(int row, int column)
    {
        const QModelIndex index = grid()->index(row, column);
        const Qt::CheckState next = isChecked(row, column) ? Qt::Unchecked : Qt::Checked;
        return grid()->setData(index, next, Qt::CheckStateRole);
    }

private slots:
    void initTestCase()
    {
        m_settings = std::make_unique<IsolatedSettings>();
        m_window = std::make_unique<PelkWindow>();
    }

    void cleanupTestCase() { m_window.reset(); }

    void gridHasARowPerSymbolAndAColumnPerAlpha()
    {
        QCOMPARE(page()->title(), QString("Profile Likelihood Confidence Intervals"));
        QCOMPARE(page()->helpPageName(), QString("setProfileLikelihoods.html"));
        newWorkspaceWith({"N", "p"}, {"q"});
        QCOMPARE(page()->tableView()->model(), grid());
        QCOMPARE(grid()->rowCount(), 3);
        QCOMPARE(grid()->columnCount(), 3);
        QStringList columns;
        for (int c = 0; c < grid()->columnCount(); ++c)
            columns << grid()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(columns, QStringList({"0.01", "0.05", "0.10"}));
        QStringList rows;
        for (int r = 0; r < grid()->rowCount(); ++r)
            rows << grid()->headerData(r, Qt::Vertical).toString();
        QCOMPARE(rows, QStringList({"N", "p", "q"}));
        QVERIFY(grid()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(grid()->headerData(2, Qt::Vertical, Qt::FontRole).value<QFont>().bold());
        // Cells carry a check box and no text.
        QVERIFY(!grid()->index(0, 0).data(Qt::DisplayRole).isValid());
        QCOMPARE(grid()->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    }

    void functionRowsAreLightGray_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("gray");
        QTest::newRow("parameter") << 1 << false;
        QTest::newRow("convenience function") << 2 << true;
    }

    void functionRowsAreLightGray()
    {
        QFETCH(int, row);
        QFETCH(bool, gray);
        newWorkspaceWith({"N", "p"}, {"q"});
        const QVariant cell = grid()->index(row, 1).data(Qt::BackgroundRole);
        const QVariant header = grid()->headerData(row, Qt::Vertical, Qt::BackgroundRole);
        QCOMPARE(cell.isValid(), gray);
        QCOMPARE(header.isValid(), gray);
        if (gray) {
            QCOMPARE(cell.value<QBrush>().color(), QColor(Qt::lightGray));
            QCOMPARE(cell.value<QBrush>().style(), Qt::SolidPattern);
            QCOMPARE(header.value<QBrush>().color(), QColor(Qt::lightGray));
        }
    }

    void togglingARequestMarksTheWorkspaceChanged()
    {
        newWorkspaceWith({"N", "p"}, {"q"});
        const QString file = QDir(m_settings->path()).filePath("requests-workspace.txt");
        m_window->setWorkspaceFileName(file);
        QVERIFY(m_window->writeWorkspace());
        QVERIFY(!m_window->isChanged());
        QSignalSpy changed(page(), &ProfileLikelihoodsPage::profileLikelihoodRequestsChanged);

        QVERIFY(click(1, 2));
        QVERIFY(isChecked(1, 2));
        QCOMPARE(keys(&m_window->workspace().parameterRequests), Keys({{1, 2}}));
        QCOMPARE(changed.count(), 1);
        QVERIFY(m_window->isChanged());

        QVERIFY(click(2, 0));
        QCOMPARE(keys(&m_window->workspace().variableRequests), Keys({{0, 0}}));
        QVERIFY(click(1, 2));
        QVERIFY(!isChecked(1, 2));
        QVERIFY(m_window->workspace().parameterRequests.isEmpty());
        m_window->setWorkspaceFileName(QString());
    }

    void theViewTogglesACellWithTheSpaceKey()
    {
        newWorkspaceWith({"N", "p"});
        m_window->show();
        m_window->showPage(page());
        QTableView *view = page()->tableView();
        view->setFocus();
        view->setCurrentIndex(grid()->index(0, 1));
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(isChecked(0, 1));
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(!isChecked(0, 1));
        m_window->hide();
    }

    void aSingleParameterCannotBeRequested()
    {
        newWorkspaceWith({"N"}, {"f"});
        QAbstractItemModelTester tester(grid(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(!isCheckable(0));
        QVERIFY(!click(0, 0));
        QVERIFY(m_window->workspace().parameterRequests.isEmpty());
        // Its convenience functions still can.
        QVERIFY(isCheckable(1));
        QVERIFY(click(1, 0));
        insertParameter(1, "p");
        QVERIFY(isCheckable(0));
    }

    void deletingTheSecondOfTwoParametersClearsTheFirstsRequests()
    {
        newWorkspaceWith({"a", "b"}, {"f"});
        QAbstractItemModelTester tester(grid(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(click(0, 0));
        QVERIFY(click(0, 2));
        QVERIFY(click(1, 1));
        QVERIFY(click(2, 1));
        QSignalSpy changed(grid(), &QAbstractItemModel::dataChanged);
        model()->deleteParameter(1);
        QCOMPARE(grid()->rowCount(), 2);
        QVERIFY(m_window->workspace().parameterRequests.isEmpty());
        QVERIFY(!isChecked(0, 0));
        QVERIFY(!isCheckable(0));
        QCOMPARE(changed.count(), 1);
        // The function keeps its request, now on row 1.
        QCOMPARE(keys(&m_window->workspace().variableRequests), Keys({{0, 1}}));
        QVERIFY(isChecked(1, 1));
    }

    void deletingAParameterMovesTheLaterRequests()
    {
        newWorkspaceWith({"a", "b", "c"});
        QAbstractItemModelTester tester(grid(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(click(0, 0));
        QVERIFY(click(1, 1));
        QVERIFY(click(2, 2));
        model()->deleteParameter(1);
        QCOMPARE(keys(&m_window->workspace().parameterRequests), Keys({{0, 0}, {1, 2}}));
        QVERIFY(isChecked(1, 2));
        QVERIFY(isCheckable(0));
    }

    void insertingAParameterBeforeARequestedOneMovesTheRequestAndItsResult()
    {
        newWorkspaceWith({"a", "b"}, {"f"});
        QAbstractItemModelTester tester(grid(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(click(1, 1));
        m_window->workspace().parameterRequests.setResult(1, 1, true, false, 0.25, 0.0, 3.0);
        insertParameter(0, "first");
        QCOMPARE(keys(&m_window->workspace().parameterRequests), Keys({{2, 1}}));
        const pelk::ProfileResult moved = m_window->workspace().parameterRequests.result(2, 1);
        QVERIFY(moved.lowerFound);
        QCOMPARE(moved.lower, 0.25);
        QCOMPARE(moved.displayDigits, 3.0);
        QVERIFY(isChecked(2, 1));
        QVERIFY(!isChecked(1, 1));
        QCOMPARE(grid()->headerData(2, Qt::Vertical).toString(), QString("b"));
        // The function row moved down with the parameters.
        QCOMPARE(grid()->headerData(3, Qt::Vertical).toString(), QString("f"));
        QVERIFY(grid()->index(3, 0).data(Qt::BackgroundRole).isValid());
    }

    void functionsInsertedAndDeletedMoveTheirRequests()
    {
        newWorkspaceWith({"a", "b"}, {"f", "g"});
        QAbstractItemModelTester tester(grid(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(click(3, 0)); // g
        insertFunction(0, "e");
        QCOMPARE(grid()->rowCount(), 5);
        QCOMPARE(keys(&m_window->workspace().variableRequests), Keys({{2, 0}}));
        QVERIFY(isChecked(4, 0));
        model()->deleteVariable(2);
        QVERIFY(m_window->workspace().variableRequests.isEmpty());
        QCOMPARE(grid()->rowCount(), 4);
        model()->renameVariable(1, "ff");
        QCOMPARE(grid()->headerData(3, Qt::Vertical).toString(), QString("ff"));
    }

    void theLockFreezesTheGrid()
    {
        newWorkspaceWith({"a", "b"}, {"f"});
        QVERIFY(click(0, 0));
        emit m_window->lockWorkspace();
        for (int row = 0; row < grid()->rowCount(); ++row)
            QVERIFY(!isCheckable(row));
        QVERIFY(!click(0, 0));
        QVERIFY(!click(2, 0));
        QCOMPARE(keys(&m_window->workspace().parameterRequests), Keys({{0, 0}}));
        emit m_window->clearEstimates();
        QVERIFY(isCheckable(0));
        QVERIFY(click(0, 0));
        QVERIFY(m_window->workspace().parameterRequests.isEmpty());
    }

    // The grid is painted while the read error is shown, so the containers
    // it reads must still exist then.
    void aFailedRequestsLoadKeepsTheGridUsable()
    {
        newWorkspaceWith({"a", "b"}, {"f"});
        QVERIFY(click(0, 0));
        m_window->show();
        m_window->showPage(page());
        QTest::qWait(50);
        const QString file = QDir(m_settings->path()).filePath("requests.txt");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("profileLikelihoodRequests\nb = 0.05,\nzz = 0.01;\n");
        out.close();
        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Ok);
        QVERIFY(!m_window->loadProfileLikelihoodRequests(file));
        QCOMPARE(answerer.boxes().size(), 1);
        QVERIFY(isChecked(1, 1));
        m_window->hide();
    }

    void aLoadedWorkspaceShowsItsRequests()
    {
        QVERIFY(m_window->loadWorkspace(QStringLiteral(PELK_TEST_DATA_DIR "/workspace.txt")));
        QCOMPARE(grid()->rowCount(), 3);
        QVERIFY(isChecked(1, 1)); // p = 0.05
        QCOMPARE(keys(&m_window->workspace().parameterRequests), Keys({{1, 1}}));
        // A new workspace starts with no requests; the old grid goes empty as
        // soon as its model definition is deleted.
        new QAbstractItemModelTester(grid(), QAbstractItemModelTester::FailureReportingMode::QtTest, grid());
        QSignalSpy reset(grid(), &QAbstractItemModel::modelReset);
        newWorkspaceWith({});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(grid()->rowCount(), 0);
        QVERIFY(m_window->workspace().parameterRequests.isEmpty());
    }
};

QTEST_MAIN(TestProfileLikelihoodsPage)
#include "tst_profilelikelihoodspage.moc"
