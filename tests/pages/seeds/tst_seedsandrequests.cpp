// The seeds table and the requests grid keep a row per symbol (with its seed
// or requests) as the model definition changes; the seed and request rules,
// the pasted column, and the wiring of the two pages in a window.
#include "support/CellTyping.h"
#include "support/WindowFixture.h"

#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "pages/seeds/ParameterSeedsForm.h"
#include "pages/seeds/ParameterSeedsModel.h"
#include "pages/seeds/ParameterSeedsPage.h"
#include "pages/seeds/ProfileLikelihoodRequestsModel.h"
#include "pages/seeds/ProfileLikelihoodsPage.h"
#include "pages/seeds/SeedColumn.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>

#include <limits>

using Seeds = std::vector<double>;
using Keys = QList<pelk::ProfileLikelihoods::Key>;

namespace {

constexpr auto Tester = QAbstractItemModelTester::FailureReportingMode::QtTest;

QStringList rowNames(const QAbstractItemModel &table)
{
    QStringList names;
    for (int row = 0; row < table.rowCount(); ++row)
        names << table.headerData(row, Qt::Vertical).toString();
    return names;
}

Keys keys(const pelk::ProfileLikelihoods &requests)
{
    Keys result;
    for (const auto &entry : requests)
        result << entry.first;
    return result;
}

// A model definition of parameters and functions with the request grid on it.
struct Requests
{
    std::unique_ptr<pelk::ModelDefinition> model = std::make_unique<pelk::ModelDefinition>();
    pelk::ProfileLikelihoods parameters;
    pelk::ProfileLikelihoods functions;
    std::unique_ptr<ProfileLikelihoodRequestsModel> grid;
    std::unique_ptr<QAbstractItemModelTester> tester;

    Requests(const QStringList &parameterNames, const QStringList &functionNames)
    {
        for (const QString &name : parameterNames)
            model->insertParameter(model->parameterCount(), name);
        for (const QString &name : functionNames)
            model->insertVariable(model->variableCount(), name, "1", nullptr);
        grid = std::make_unique<ProfileLikelihoodRequestsModel>(model.get(), &parameters, &functions);
        tester = std::make_unique<QAbstractItemModelTester>(grid.get(), Tester);
    }
    bool checked(int row, int column) const { return grid->index(row, column).data(Qt::CheckStateRole) == Qt::Checked; }
    bool checkable(int row) const { return grid->index(row, 0).flags() & Qt::ItemIsUserCheckable; }
    bool toggle(int row, int column) { return grid->setData(grid->index(row, column), !checked(row, column) * 2, Qt::CheckStateRole); }
};

} // namespace

class tst_SeedsAndRequests : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;

private slots:

    void seedsFollowTheParameters()
    {
        auto *model = new pelk::ModelDefinition;
        model->insertParameter(0, "a");
        model->insertParameter(1, "c");
        Seeds seeds {1.0, 3.0};
        ParameterSeedsModel table(model, &seeds);
        QAbstractItemModelTester tester(&table, Tester);
        model->insertParameter(1, "b");
        QCOMPARE(seeds, Seeds({1.0, 0.5, 3.0}));
        model->deleteParameter(0);
        QCOMPARE(seeds, Seeds({0.5, 3.0}));
        QSignalSpy renamed(&table, &QAbstractItemModel::headerDataChanged);
        model->renameParameter(1, "gamma");
        QVERIFY(renamed.count() == 1 && rowNames(table) == QStringList({"b", "gamma"}));
        // A new workspace deletes the model definition before it empties the
        // seeds: the table shows nothing in between.
        delete model;
        QCOMPARE(table.rowCount(), 0);
    }

    void seedsMustBeFiniteNumbers_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<double>("stored"); // 0.5: refused
        QTest::newRow("number") << QVariant(2.25) << 2.25;
        QTest::newRow("word") << QVariant("abc") << 0.5;
        QTest::newRow("infinity") << QVariant(std::numeric_limits<double>::infinity()) << 0.5;
        QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN()) << 0.5;
    }
    void seedsMustBeFiniteNumbers()
    {
        QFETCH(QVariant, value);
        QFETCH(double, stored);
        pelk::ModelDefinition model;
        model.insertParameter(0, "a");
        model.insertParameter(1, "b");
        Seeds seeds {0.5, 0.5};
        ParameterSeedsModel table(&model, &seeds);
        QSignalSpy refused(&table, &ParameterSeedsModel::illegalSeedError);
        QCOMPARE(table.setData(table.index(1, 0), value), stored != 0.5);
        QCOMPARE(seeds, Seeds({0.5, stored}));
        QCOMPARE(static_cast<const QList<QVariantList> &>(refused), stored == 0.5 ? QList<QVariantList>({{1}}) : QList<QVariantList>());
    }

    void readSeedColumn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("parameters");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QList<double>>("values");
        QTest::newRow("no parameters ignore anything") << "x" << 0 << true << QList<double>();
        QTest::newRow("one parameter, empty text") << "" << 1 << false << QList<double>();
        QTest::newRow("more lines than parameters") << "1.5\n2.5\n3.5\n4.5" << 3 << true
                                                    << QList<double>({1.5, 2.5, 3.5});
        QTest::newRow("a bad surplus line is never read") << "4\n5\nx" << 2 << true << QList<double>({4, 5});
        QTest::newRow("final line feed, as many lines") << "1\n2\n" << 2 << true << QList<double>({1, 2});
        QTest::newRow("final line feed, one parameter more") << "1\n2\n" << 3 << false << QList<double>();
        QTest::newRow("Windows line ends") << "1e-3\r\n-2\r\n" << 2 << true << QList<double>({0.001, -2});
        QTest::newRow("a word among the numbers") << "1\nabc\n3" << 3 << false << QList<double>();
        QTest::newRow("an empty line in between") << "1\n\n3" << 3 << false << QList<double>();
        QTest::newRow("infinity") << "1\ninf" << 2 << false << QList<double>();
        QTest::newRow("overflow") << "1e999" << 1 << false << QList<double>();
    }
    void readSeedColumn()
    {
        QFETCH(QString, text);
        QFETCH(int, parameters);
        const std::optional<QList<double>> result = ::readSeedColumn(text, parameters);
        QTEST(result.has_value(), "read");
        QTEST(result.value_or(QList<double>()), "values");
    }

    void seedsPageWiring()
    {
        WindowFixture f;
        for (const char *name : {"a", "b", "c"})
            f.window.workspace().model.insertParameter(f.window.workspace().model.parameterCount(), name);
        auto *page = f.window.findChild<ParameterSeedsPage *>();
        QPushButton *paste = page->form()->copyFromClipboardButton();
        QGuiApplication::clipboard()->setText("1\n2");
        paste->click();
        QCOMPARE(f.window.workspace().seeds, Seeds({1.0, 2.0, 0.5}));
        QVERIFY(f.window.isChanged());

        f.answerer.answer(QMessageBox::Ok);
        QGuiApplication::clipboard()->setText("7\nx\n9");
        paste->click();
        QCOMPARE(f.answerer.texts(), QStringList({"Clipboard data is not formatted correctly."}));
        QCOMPARE(f.window.workspace().seeds, Seeds({1.0, 2.0, 0.5}));

        QAbstractItemModel *table = page->form()->tableView()->model();
        QVERIFY(!table->setData(table->index(1, 0), "abc"));
        QCOMPARE(page->statusBar()->currentMessage(), QString("Illegal seed for parameter b"));

        // The seed editor takes numbers only; one left as it opened keeps the
        // seed exactly (the cell shows six digits).
        f.window.show();
        f.window.showPage(page);
        page->setSeed(1, 0.123456789012);
        QTableView *view = page->form()->tableView();
        QVERIFY(support::typeInto(view, table->index(0, 0), "1x2"));
        QTRY_VERIFY(!view->indexWidget(table->index(0, 0)));
        view->edit(table->index(1, 0));
        QVERIFY(view->indexWidget(table->index(1, 0)));
        QTest::keyClick(view->indexWidget(table->index(1, 0)), Qt::Key_Return);
        QTRY_VERIFY(!view->indexWidget(table->index(1, 0)));
        QCOMPARE(f.window.workspace().seeds, Seeds({12.0, 0.123456789012, 0.5}));

        // Locked, neither typing nor pasting changes a seed.
        emit f.window.lockWorkspace();
        QVERIFY(!paste->isEnabled());
        QVERIFY(!(table->index(0, 0).flags() & Qt::ItemIsEditable));
        emit f.window.clearEstimates();
        QVERIFY(paste->isEnabled());
        QVERIFY(table->index(0, 0).flags() & Qt::ItemIsEditable);
        QCOMPARE(f.answerer.unexpected(), 0);
    }

    void requestsMoveWithTheirSymbols()
    {
        Requests r({"a", "b", "c"}, {"f", "g"});
        QCOMPARE(r.grid->columnCount(), 3);
        QVERIFY(r.toggle(0, 0) && r.toggle(1, 1) && r.toggle(2, 2) && r.toggle(4, 0));
        r.parameters.setResult(2, 2, {{pelk::ProfileLimitStatus::Found, 0.25}, {}, 3.0, {}});
        r.model->deleteParameter(1);
        QCOMPARE(keys(r.parameters), Keys({{0, 0}, {1, 2}}));
        r.model->insertParameter(0, "first");
        QCOMPARE(keys(r.parameters), Keys({{1, 0}, {2, 2}}));
        QCOMPARE(r.parameters.result(2, 2).lower.value, 0.25); // the limits found go with the request
        QVERIFY(r.checked(2, 2) && !r.checked(1, 2));
        QCOMPARE(rowNames(*r.grid), QStringList({"first", "a", "c", "f", "g"}));
        QVERIFY(!r.grid->index(2, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(r.grid->index(3, 0).data(Qt::BackgroundRole).isValid()); // function rows are shaded

        r.model->insertVariable(0, "e", "1", nullptr);
        QCOMPARE(keys(r.functions), Keys({{2, 0}}));
        QVERIFY(r.checked(5, 0));
        QSignalSpy renamed(r.grid.get(), &QAbstractItemModel::headerDataChanged);
        r.model->renameVariable(1, "ff");
        r.model->renameParameter(0, "zero");
        QCOMPARE(rowNames(*r.grid), QStringList({"zero", "a", "c", "e", "ff", "g"}));
        QCOMPARE(renamed.count(), 2);
        r.model->deleteVariable(2);
        QVERIFY(r.functions.isEmpty());
        // The window deletes the containers with the model definition; the
        // grid must not read them any more.
        r.model.reset();
        QCOMPARE(r.grid->rowCount(), 0);
    }

    // The profile of the only parameter has nothing to maximise over.
    void aSingleParameterTakesNoRequest()
    {
        Requests r({"a", "b"}, {"f"});
        QVERIFY(r.toggle(0, 0));
        QVERIFY(r.toggle(2, 1));
        r.model->deleteParameter(1);
        QVERIFY(r.parameters.isEmpty());
        QVERIFY(!r.checked(0, 0));
        QVERIFY(!r.checkable(0));
        QVERIFY(!r.toggle(0, 1));
        QCOMPARE(keys(r.functions), Keys({{0, 1}}));
        QVERIFY(r.checked(1, 1));
        r.model->insertParameter(1, "p");
        QVERIFY(r.checkable(0));

        r.grid->onLockWorkspace();
        QVERIFY(!r.checkable(0) && !r.checkable(2));
        QVERIFY(!r.toggle(2, 0));
        r.grid->onClearEstimates();
        QVERIFY(r.toggle(2, 0));
        QCOMPARE(keys(r.functions), Keys({{0, 0}, {0, 1}}));
        r.model->deleteParameter(1); // no request to remove
        QVERIFY(!r.checkable(0));
    }

    void requestsPageWiring()
    {
        WindowFixture f;
        f.window.show();
        f.window.workspace().model.insertParameter(0, "a");
        f.window.workspace().model.insertParameter(1, "b");
        auto *page = f.window.findChild<ProfileLikelihoodsPage *>();
        f.window.showPage(page);
        QAbstractItemModel *grid = page->tableView()->model();
        f.window.setWorkspaceFileName(f.files.path("requests.txt"));
        QVERIFY(f.window.writeWorkspace() && !f.window.isChanged());
        QVERIFY(grid->setData(grid->index(0, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(f.window.isChanged());
        emit f.window.lockWorkspace();
        QVERIFY(!grid->setData(grid->index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
        emit f.window.clearEstimates();

        // The grid is painted while the read error is shown, so the
        // containers it reads must still exist then; what was read stays.
        f.answerer.answer(QMessageBox::Ok);
        QVERIFY(!f.window.loadProfileLikelihoodRequests(f.file("profileLikelihoodRequests\nb = 0.05,\nzz = 0.01;\n")));
        QCOMPARE(f.answerer.boxes().size(), 1);
        QVERIFY(f.window.workspace().parameterRequests.isRequested(1, 1));
    }
};

QTEST_MAIN(tst_SeedsAndRequests)
#include "tst_seedsandrequests.moc"
