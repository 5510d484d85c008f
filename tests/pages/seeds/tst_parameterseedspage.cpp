// The "Parameter Seeds" page in a real window: one seed per parameter that
// follows the model definition, typed edits and pasted columns, the lock,
// and the estimates that become seeds when they are cleared.
#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/estimate/EstimationForm.h"
#include "pages/seeds/ParameterSeedsForm.h"
#include "pages/seeds/ParameterSeedsModel.h"
#include "pages/seeds/ParameterSeedsPage.h"
#include "pages/seeds/SeedColumn.h"
#include "support/GuiTestSupport.h"
#include "support/CaptureRecaptureWorkspace.h"
#include "support/ModalAnswerer.h"
#include "support/TempFiles.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

#include <limits>

using Seeds = std::vector<double>;
Q_DECLARE_METATYPE(Seeds)

class TestParameterSeedsPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;
    support::TempFiles m_files;

    ParameterSeedsPage *page() const { return m_window->parameterSeedsPage(); }
    ParameterSeedsModel *seedsModel() const { return page()->seedsModel(); }
    QTableView *view() const { return page()->form()->tableView(); }
    pelk::ModelDefinition *model() const { return &m_window->workspace().model; }

    // A fresh workspace with the given parameters, inserted as the parameter
    // editor inserts them.
    void newWorkspaceWith(const QStringList &names)
    {
        m_window->setWorkspaceFileName(QString());
        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Discard);
        m_window->onNewWorkspace();
        for (const QString &name : names)
            model()->insertParameter(model()->parameterCount(), name);
    }

    // The seeds as the table shows them, checked against the window's vector.
    Seeds shownSeeds() const
    {
        Seeds shown;
        for (int row = 0; row < seedsModel()->rowCount(); ++row)
            shown.push_back(seedsModel()->index(row, 0).data().toDouble());
        if (shown != m_window->workspace().seeds)
            qWarning("the table and the window's seeds differ");
        return shown;
    }

    QStringList rowNames() const
    {
        QStringList names;
        for (int row = 0; row < seedsModel()->rowCount(); ++row)
            names << seedsModel()->headerData(row, Qt::Vertical).toString();
        return names;
    }

    void setSeeds(const Seeds &seeds)
    {
        for (int i = 0; i < int(seeds.size()); ++i)
            page()->setSeed(i, seeds[std::size_t(i)]);
    }

    QLineEdit *openEditor(int row)
    {
        m_window->showPage(page());
        const QModelIndex index = seedsModel()->index(row, 0);
        view()->setCurrentIndex(index);
        view()->edit(index);
        return qobject_cast<QLineEdit *>(view()->indexWidget(index));
    }

private slots:
    void initTestCase()
    {
        m_settings = std::make_unique<IsolatedSettings>();
        m_window = std::make_unique<PelkWindow>();
        m_window->show();
        m_window->showPage(page());
    }

    void cleanupTestCase() { m_window.reset(); }

    void pageShowsOneSeedColumn()
    {
        QCOMPARE(page()->title(), QString("Parameter Seeds"));
        QCOMPARE(page()->helpPageName(), QString("setParameterSeeds.html"));
        QPushButton *button = page()->findChild<QPushButton *>("copyFromClipboardButton");
        QVERIFY(button);
        QCOMPARE(button->text(), QString("Copy From Clipboard"));
        QCOMPARE(button->whatsThis(),
                 QString("To copy seeds from a spreadsheet, put them in one column in your spreadsheet, copy "
                         "them to the clipboard,  and press the \"Copy from Clipboard\" button."));
        QCOMPARE(page()->findChild<QTableView *>("tableView"), view());

        newWorkspaceWith({"alpha", "beta"});
        QCOMPARE(view()->model(), seedsModel());
        QCOMPARE(seedsModel()->columnCount(), 1);
        QCOMPARE(seedsModel()->headerData(0, Qt::Horizontal).toString(), QString("Seed"));
        QCOMPARE(rowNames(), QStringList({"alpha", "beta"}));
        QVERIFY(seedsModel()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(seedsModel()->headerData(1, Qt::Vertical, Qt::FontRole).value<QFont>().bold());
        QVERIFY(seedsModel()->flags(seedsModel()->index(0, 0)) & Qt::ItemIsEditable);
        QVERIFY(!seedsModel()->index(0, 0).data(Qt::EditRole).isValid());
    }

    void aNewParameterGetsTheSeedOneHalf()
    {
        newWorkspaceWith({"a", "c"});
        QAbstractItemModelTester tester(seedsModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        setSeeds({1.0, 3.0});
        model()->insertParameter(1, "b");
        QCOMPARE(shownSeeds(), Seeds({1.0, 0.5, 3.0}));
        QCOMPARE(rowNames(), QStringList({"a", "b", "c"}));
        model()->insertParameter(0, "first");
        QCOMPARE(shownSeeds(), Seeds({0.5, 1.0, 0.5, 3.0}));
    }

    void deletingAParameterKeepsTheOthersAligned()
    {
        newWorkspaceWith({"a", "b", "c", "d"});
        QAbstractItemModelTester tester(seedsModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        setSeeds({1.0, 2.0, 3.0, 4.0});
        model()->deleteParameter(1);
        QCOMPARE(shownSeeds(), Seeds({1.0, 3.0, 4.0}));
        QCOMPARE(rowNames(), QStringList({"a", "c", "d"}));
        model()->deleteParameter(2);
        model()->deleteParameter(0);
        QCOMPARE(shownSeeds(), Seeds({3.0}));
        QCOMPARE(rowNames(), QStringList({"c"}));
    }

    void renamingAParameterRenamesItsRow()
    {
        newWorkspaceWith({"a", "b"});
        QSignalSpy spy(seedsModel(), &QAbstractItemModel::headerDataChanged);
        model()->renameParameter(1, "beta");
        QCOMPARE(spy.count(), 1);
        QCOMPARE(rowNames(), QStringList({"a", "beta"}));
    }

    void pastedColumnsSetTheSeeds_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<Seeds>("seeds");
        QTest::newRow("four lines into three parameters")
                << "1.5\n2.5\n3.5\n4.5" << Seeds({1.5, 2.5, 3.5});
        QTest::newRow("two lines set the first two seeds only") << "7\n8" << Seeds({7.0, 8.0, 0.25});
        QTest::newRow("spreadsheet copy ends with a line feed") << "1\n2\n3\n" << Seeds({1.0, 2.0, 3.0});
        QTest::newRow("Windows line ends") << "1e-3\r\n-2\r\n3.25\r\n" << Seeds({0.001, -2.0, 3.25});
        QTest::newRow("a bad surplus line is never read") << "4\n5\n6\nnot a number" << Seeds({4.0, 5.0, 6.0});
    }

    void pastedColumnsSetTheSeeds()
    {
        QFETCH(QString, clipboard);
        QFETCH(Seeds, seeds);
        newWorkspaceWith({"a", "b", "c"});
        setSeeds({0.25, 0.25, 0.25});
        QSignalSpy changed(page(), &ParameterSeedsPage::parameterSeedsChanged);
        QGuiApplication::clipboard()->setText(clipboard);
        ModalAnswerer answerer;
        page()->form()->copyFromClipboardButton()->click();
        QCOMPARE(answerer.boxes().size(), 0);
        QCOMPARE(shownSeeds(), seeds);
        QVERIFY(changed.count() > 0);
        QVERIFY(m_window->isChanged());
    }

    void aBadPasteChangesNothing_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("a word among the numbers") << "1\nabc\n3";
        QTest::newRow("trailing line feed with fewer lines than parameters") << "1\n2\n";
        QTest::newRow("an empty line in between") << "1\n\n3";
        QTest::newRow("empty clipboard") << "";
        QTest::newRow("an infinite seed") << "1\ninf\n3";
    }

    void aBadPasteChangesNothing()
    {
        QFETCH(QString, clipboard);
        newWorkspaceWith({"a", "b", "c"});
        setSeeds({0.1, 0.2, 0.3});
        QSignalSpy changed(page(), &ParameterSeedsPage::parameterSeedsChanged);
        QGuiApplication::clipboard()->setText(clipboard);
        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Ok);
        page()->form()->copyFromClipboardButton()->click();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes().at(0).title, QString("Parameter Seeds"));
        QCOMPARE(answerer.boxes().at(0).text, QString("Clipboard data is not formatted correctly."));
        QCOMPARE(answerer.boxes().at(0).icon, QMessageBox::Critical);
        QCOMPARE(shownSeeds(), Seeds({0.1, 0.2, 0.3}));
        QCOMPARE(changed.count(), 0);
    }

    void readSeedColumnReadsOneNumberPerParameter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("parameters");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QList<double>>("values");
        QTest::newRow("no parameters read nothing") << "" << 0 << true << QList<double>();
        QTest::newRow("no parameters ignore anything") << "x" << 0 << true << QList<double>();
        QTest::newRow("one parameter, empty text") << "" << 1 << false << QList<double>();
        QTest::newRow("blanks around a number") << "  2.5 \t" << 1 << true << QList<double>({2.5});
        QTest::newRow("final line feed, as many lines as parameters") << "1\n2\n" << 2 << true
                                                                      << QList<double>({1, 2});
        QTest::newRow("final line feed, one parameter more") << "1\n2\n" << 3 << false << QList<double>();
        QTest::newRow("fewer lines") << "1\n2" << 5 << true << QList<double>({1, 2});
        QTest::newRow("nan") << "nan" << 1 << false << QList<double>();
        QTest::newRow("overflow") << "1e999" << 1 << false << QList<double>();
    }

    void readSeedColumnReadsOneNumberPerParameter()
    {
        QFETCH(QString, text);
        QFETCH(int, parameters);
        QFETCH(bool, read);
        QFETCH(QList<double>, values);
        const std::optional<QList<double>> result = readSeedColumn(text, parameters);
        QCOMPARE(result.has_value(), read);
        if (read)
            QCOMPARE(*result, values);
    }

    void aTypedSeedIsStored_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("seed");
        QTest::newRow("decimal") << "2.75" << 2.75;
        QTest::newRow("negative") << "-0.125" << -0.125;
        QTest::newRow("exponent") << "1.5e3" << 1500.0;
        QTest::newRow("letters are not accepted") << "1x2" << 12.0;
    }

    void aTypedSeedIsStored()
    {
        QFETCH(QString, typed);
        QFETCH(double, seed);
        newWorkspaceWith({"a", "b"});
        QLineEdit *editor = openEditor(1);
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("0.5"));
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits a confirmed edit from the event loop.
        QTRY_VERIFY(!view()->indexWidget(seedsModel()->index(1, 0)));
        QCOMPARE(shownSeeds(), Seeds({0.5, seed}));
        QVERIFY(m_window->isChanged());
    }

    void anUntouchedEditorKeepsTheExactSeed()
    {
        newWorkspaceWith({"a"});
        const double seed = 0.123456789012;
        page()->setSeed(0, seed);
        QCOMPARE(view()->itemDelegate()->metaObject()->className(), "ParameterSeedDelegate");
        QSignalSpy changed(page(), &ParameterSeedsPage::parameterSeedsChanged);
        QLineEdit *editor = openEditor(0);
        QVERIFY(editor);
        QCOMPARE(editor->text().toDouble(), seed);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!view()->indexWidget(seedsModel()->index(0, 0)));
        QCOMPARE(shownSeeds(), Seeds({seed}));
        QCOMPARE(changed.count(), 0);
    }

    void aSeedThatIsNotANumberIsRefusedVisibly_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("text") << QVariant("abc");
        QTest::newRow("infinity") << QVariant(std::numeric_limits<double>::infinity());
        QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN());
    }

    void aSeedThatIsNotANumberIsRefusedVisibly()
    {
        QFETCH(QVariant, value);
        newWorkspaceWith({"a", "b"});
        QSignalSpy refused(seedsModel(), &ParameterSeedsModel::illegalSeedError);
        QVERIFY(!seedsModel()->setData(seedsModel()->index(1, 0), value));
        QCOMPARE(refused.count(), 1);
        QCOMPARE(refused.at(0).at(0).toInt(), 1);
        QCOMPARE(shownSeeds(), Seeds({0.5, 0.5}));
        QCOMPARE(page()->statusBar()->currentMessage(), QString("Illegal seed for parameter b"));
        QTRY_VERIFY(page()->statusBar()->currentMessage().isEmpty());
    }

    void loadedFilesKeepTableAndSeedsTogether()
    {
        const QString workspace = m_files.write(
                "workspace.txt", "parameters\ns, p;\n\nvariables\nq = 1 - p;\n\nlikelihood \"L\"\n"
                                 "seen twice, s*p*p,\nseen once, 2*s*p*q,\n, 1-s*p*p-2*s*p*q, s;\n\n"
                                 "optimizer\npowell, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = yes;\n\n"
                                 "parameterSeeds\ns = 0.3,\np = 0.7;\n\nprofileLikelihoodRequests;\n\n"
                                 "seen once : 12\nseen twice : 7\n");
        QVERIFY(m_window->loadWorkspace(workspace));
        QCOMPARE(rowNames(), QStringList({"s", "p"}));
        QCOMPARE(shownSeeds(), Seeds({0.3, 0.7}));
        // The model definition alone: every parameter starts at 0.5.
        QVERIFY(m_window->loadModelDefinition(QStringLiteral(PELK_EXAMPLES_DIR "/model-definition.txt")));
        QCOMPARE(seedsModel()->rowCount(), model()->parameterCount());
        QCOMPARE(shownSeeds(), Seeds(std::size_t(model()->parameterCount()), 0.5));
        // A seeds file through the page: the table shows what was read.
        QVERIFY(m_window->loadWorkspace(workspace));
        const QString seeds = m_files.write("seeds.txt", "parameterSeeds\np = 0.9;\n");
        QVERIFY(m_window->loadParameterSeeds(seeds));
        QCOMPARE(shownSeeds(), Seeds({0.3, 0.9}));
        m_window->setWorkspaceFileName(QString());
    }

    void clearingEstimatesMakesThemTheSeeds()
    {
        // Two capture occasions: N, a1 and a2, seeded at 600, -0.5 and -0.5.
        const QString file = m_files.write("captures.txt", support::captureRecaptureWorkspace(2));
        QVERIFY(m_window->loadWorkspace(file));
        m_window->onUsePreviousEstimatesSeedsStateChanged(true);
        const Seeds before = shownSeeds();
        QCOMPARE(before, Seeds({600.0, -0.5, -0.5}));
        {
            ModalAnswerer answerer;
            m_window->estimatePage()->form()->estimateButton()->click();
            QTRY_VERIFY_WITH_TIMEOUT(m_window->isLocked(), 240000);
            QCOMPARE(answerer.unexpected(), 0);
        }
        const Seeds estimates = m_window->results().estimates;
        QCOMPARE(estimates.size(), before.size());
        QVERIFY(estimates != before);

        // Locked: neither typing nor pasting changes a seed.
        QVERIFY(!(seedsModel()->flags(seedsModel()->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(!page()->form()->copyFromClipboardButton()->isEnabled());
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        view()->edit(seedsModel()->index(0, 0));
        QVERIFY(!view()->indexWidget(seedsModel()->index(0, 0)));
        QCOMPARE(shownSeeds(), before);

        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Ok);
        m_window->onClearCurrentEstimates();
        QCOMPARE(answerer.boxes().size(), 1);
        QVERIFY(!m_window->isLocked());
        QCOMPARE(shownSeeds(), estimates);
        QVERIFY(seedsModel()->flags(seedsModel()->index(0, 0)) & Qt::ItemIsEditable);
        QVERIFY(page()->form()->copyFromClipboardButton()->isEnabled());
        m_window->setWorkspaceFileName(QString());
    }

    void aNewWorkspaceHasNoSeeds()
    {
        newWorkspaceWith({"a", "b"});
        // The table goes empty as soon as its model definition is deleted,
        // before the window empties the seeds.
        new QAbstractItemModelTester(seedsModel(), QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     seedsModel());
        QSignalSpy reset(seedsModel(), &QAbstractItemModel::modelReset);
        QPointer<ParameterSeedsModel> previous = seedsModel();
        newWorkspaceWith({});
        QCOMPARE(reset.count(), 1);
        QVERIFY(!previous);
        QCOMPARE(seedsModel()->rowCount(), 0);
        QVERIFY(m_window->workspace().seeds.empty());
    }
};

QTEST_MAIN(TestParameterSeedsPage)
#include "tst_parameterseedspage.moc"
