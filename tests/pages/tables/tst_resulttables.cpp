// The result tables: each kind of table made from hand-made summary values,
// seen through the clipboard text (both headers, 15 digits; "--na--"
// wherever a value does not exist, profile limits with their own decimals,
// correlations from the covariance) and its alignment (numbers right); the
// page that owns and shows one table and offers the exports, as the analyst
// reaches them through buttons, dialog and menu; and the result pages of a
// real window after a real estimation, against `pelk-cli estimate --json`
// in its own process.
#include "support/WindowFixture.h"

#include "io/SummaryJsonWriter.h"
#include "pages/diagnostics/ObservedExpectedModel.h"
#include "pages/diagnostics/ObservedExpectedPlotPage.h"
#include "pages/diagnostics/ResidualsPlotPage.h"
#include "pages/tables/PelkTableView.h"
#include "pages/tables/ResultTableModel.h"
#include "pages/tables/ResultTablePage.h"
#include "pages/tables/TableContentForm.h"
#include "pages/tables/TableExport.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <limits>

using Model = std::shared_ptr<QAbstractItemModel>;
Q_DECLARE_METATYPE(Model)

namespace {

const auto found = pelk::ProfileLimit::found;

using Summary = pelk::EstimationSummary;
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// The table of the page with this title.
Model table(const QString &title, const Summary &summary)
{
    for (const ResultTablePage::Kind &kind : ResultTablePage::kinds())
        if (kind.title == title)
            return Model(kind.table(summary));
    qFatal("no result table page is titled %s", qPrintable(title));
}

Summary summary(const QList<Summary::Estimate> &parameters, const QList<Summary::Estimate> &functions = {},
                const QList<Summary::ProfileInterval> &profiles = {})
{
    Summary summary;
    summary.parameters = parameters;
    summary.functions = functions;
    summary.profiles = profiles;
    return summary;
}

// Parameters of the given names and a 2 x 2 covariance matrix of the rows
// (a, b), (c, d); none without cells.
Summary covariance(const QStringList &names, const QList<double> &cells = {})
{
    Summary s;
    for (const QString &name : names)
        s.parameters.append({name, 0, 1, std::nullopt});
    if (!cells.isEmpty())
        s.covariance = zav::Matrix(2, 2);
    for (int k = 0; k < cells.size(); ++k)
        (*s.covariance)(k / 2, k % 2) = cells.at(k);
    return s;
}

class ShownTablePage : public TableContentPage
{
public:
    explicit ShownTablePage(PelkWindow *window) : TableContentPage(window, "Test Table") {}
    QString helpPageName() const override { return QString(); }
    using TableContentPage::setModel;
};

ResultTableModel *parameterModel()
{
    return new ResultTableModel({"Estimate", "s.e."}, {"N", "p1"}, {{150.0, 100.0 / 3.0}, {0.4, "--na--"}});
}

const QByteArray parameterFileText = "Estimate,s.e.\nN,150,33.3333333333\np1,0.4,--na--\n";

} // namespace

class TestResultTables : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;
    std::unique_ptr<WindowFixture> m_f;
    ShownTablePage *m_page = nullptr;

    // Save (1) and Copy (2) as offered.
    int exports() const
    {
        return m_page->form()->saveToFileButton()->isEnabled() + 2 * m_page->form()->copyToClipboardButton()->isEnabled();
    }

    // The six tables and the two plots of the window: all can be visited,
    // have a table and can be saved, or none.
    bool everyResultPage(bool available) const
    {
        QList<ContentPage *> pages{m_f->window.findChild<ObservedExpectedPlotPage *>(),
                                   m_f->window.findChild<ResidualsPlotPage *>()};
        for (TableContentPage *p : m_f->window.findChildren<TableContentPage *>()) {
            if (p == m_page)
                continue;
            if (p->form()->saveToFileButton()->isEnabled() != available || (p->tableModel() != nullptr) != available)
                return false;
            pages << p;
        }
        return pages.size() == 9
            && std::all_of(pages.cbegin(), pages.cend(), [=](ContentPage *p) { return p->isAvailable() == available; });
    }

private slots:
    void init()
    {
        QSettings().clear();
        m_f = std::make_unique<WindowFixture>();
        m_page = new ShownTablePage(&m_f->window);
    }
    void cleanup() { m_f.reset(); }

    // The window's summary is the one the command line computes for the same
    // file, each table page shows its kind of table made from it, and the
    // pages can be visited exactly while estimates exist.
    void resultPagesShowTheEstimationOfAFile()
    {
        const QString file = PELK_EXAMPLES_DIR "/two-sample-capture.txt";
        QProcess cli;
        cli.start(PELK_CLI, {"estimate", "--json", file});
        QVERIFY(cli.waitForFinished(120000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY(everyResultPage(false));
        QVERIFY(m_f->window.loadWorkspace(file));
        QVERIFY(m_f->estimateAndWait());
        QVERIFY(everyResultPage(true));

        QJsonObject expected = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        QJsonObject shown = pelk::SummaryJsonWriter::write({}, m_f->window.summary());
        for (const char *runOnly : {"name", "valid", "optimizer", "log", "errors", "exitStatus"}) {
            expected.remove(runOnly);
            shown.remove(runOnly);
        }
        QVERIFY(!expected["profiles"].toArray().isEmpty() && !expected["covariance"].toArray().isEmpty());
        // The same deterministic run on the same file: the same numbers.
        QCOMPARE(QJsonDocument(shown).toJson(), QJsonDocument(expected).toJson());

        const pelk::EstimationSummary &summary = *m_f->window.summary();
        const QList<TableContentPage *> pages = m_f->window.findChildren<TableContentPage *>();
        const auto shownTable = [&](const QString &title) {
            const auto page = std::find_if(pages.cbegin(), pages.cend(), [&](TableContentPage *p) { return p->title() == title; });
            return page == pages.cend() ? QString() : TableExport::tabSeparated(*(*page)->tableModel());
        };
        for (const ResultTablePage::Kind &kind : ResultTablePage::kinds())
            QCOMPARE(shownTable(kind.title), TableExport::tabSeparated(*std::unique_ptr<ResultTableModel>(kind.table(summary))));
        QCOMPARE(shownTable("Observed vs Expected Table"),
                 TableExport::tabSeparated(ObservedExpectedModel(summary.observedExpected, nullptr)));

        m_f->answerer.answer(QMessageBox::Ok);
        m_f->window.onClearCurrentEstimates();
        QCOMPARE(m_f->answerer.texts().size(), 1);
        QCOMPARE(m_f->answerer.unexpected(), 0);
        QVERIFY(everyResultPage(false));
    }

    // An empty text: the run computed nothing to show, the page shows an
    // empty table.
    void tableAsTheClipboardShowsIt_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<QString>("text");
        QTest::newRow("parameters") << table("Parameter Estimates", summary({{"N", 0, 100.0 / 3.0, 12.5}, {"b", 0, 2.5, notANumber}, {"c", 0, notANumber, 1.0}}))
                                    << "\tEstimate\ts.e.\nN\t33.3333333333333\t12.5\nb\t2.5\t--na--\nc\t--na--\t1\n";
        QTest::newRow("functions") << table("Convenience Function Estimates", summary({{"N", 0, 9, 1}}, {{"detection", 0, 0.6, 0.05}, {"odds", 0, 1.5, std::nullopt}}))
                                   << "\tEstimate\ts.e\ndetection\t0.6\t0.05\nodds\t1.5\t--na--\n";
        QTest::newRow("no functions") << table("Convenience Function Estimates", summary({{"N", 0, 9, 1}})) << "\tEstimate\ts.e\n";
        // Limits keep the summary's order and show displayDigits decimals
        // (rounded, zero-padded, none below 0); the estimate stays a number.
        QTest::newRow("profiles") << table("Profile Likelihood Estimates", summary({}, {}, {{"N", true, 0, 150.0, found(117.23456), found(220.26), 2},
                                                               {"N", true, 2, 150.0, found(0.123456), found(0.5), 4},
                                                               {"f", false, 1, 0.6, found(181.7), found(181.2), 0},
                                                               {"f", false, 1, 0.6, found(-1.26), {}, 1},
                                                               {"g", false, 1, 1.5, found(notANumber), found(2.7), -1}}))
                                  << "\tEstimate\tAlpha\tLower Bound\tUpper Bound\n"
                                     "N\t150\t0.01\t117.23\t220.26\nN\t150\t0.10\t0.1235\t0.5000\nf\t0.6\t0.05\t182\t181\n"
                                     "f\t0.6\t0.05\t-1.3\t--na--\ng\t1.5\t0.05\t--na--\t3\n";
        QTest::newRow("covariance") << table("Covariance Matrix", covariance({"N", "p"}, {100.0 / 3.0, -0.125, -0.125, 2e-7}))
                                    << "\tN\tp\nN\t33.3333333333333\t-0.125\np\t-0.125\t2e-07\n";
        QTest::newRow("covariance, a parameter too many") << table("Covariance Matrix", covariance({"N", "p", "q"}, {1, 2, 3, 4}))
                                                          << "\tN\tp\tq\nN\t1\t2\t--na--\np\t3\t4\t--na--\nq\t--na--\t--na--\t--na--\n";
        QTest::newRow("no covariance") << table("Covariance Matrix", covariance({"N"})) << "";
        // Standard deviations 2 and 3, covariance -3: correlation -3 / 6.
        QTest::newRow("correlation") << table("Correlation Matrix", covariance({"N", "p"}, {4, -3, -3, 9})) << "\tN\tp\nN\t1\t-0.5\np\t-0.5\t1\n";
        // A Hessian inverse may be asymmetric by rounding: each cell divides
        // by its own pair of standard deviations, 0.8 / 2 and 1.2 / 2.
        QTest::newRow("correlation, asymmetric") << table("Correlation Matrix", covariance({"a", "b"}, {1, 0.8, 1.2, 4})) << "\ta\tb\na\t1\t0.4\nb\t0.6\t1\n";
        QTest::newRow("correlation, no variance") << table("Correlation Matrix", covariance({"a", "b"}, {0, 0, 0, 4}))
                                                  << "\ta\tb\na\t--na--\t--na--\nb\t--na--\t1\n";
        QTest::newRow("correlation, negative variance") << table("Correlation Matrix", covariance({"a", "b"}, {-1, 0.5, 0.5, 4}))
                                                        << "\ta\tb\na\t--na--\t--na--\nb\t--na--\t1\n";
        QTest::newRow("no correlation") << table("Correlation Matrix", covariance({"N"})) << "";
        // No row headers: every line starts with an empty field.
        QTest::newRow("observed and expected") << Model(std::make_shared<ObservedExpectedModel>(
            QList<pelk::ObservedExpectedRow>{{"01", 30.0, 30.0, 0.0}, {"Two samples unobserved", 60.0, 48.0, notANumber}},
            nullptr)) << "\tCategory\tObserved\tExpected\tAnscombe Residual\n"
                         "\t01\t30\t30\t0\n\tTwo samples unobserved\t60\t48\t--na--\n";
    }

    void tableAsTheClipboardShowsIt()
    {
        QFETCH(Model, model);
        QFETCH(QString, text);
        QCOMPARE(model == nullptr, text.isEmpty());
        if (!model)
            return;
        QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(TableExport::tabSeparated(*model), text);
        // Numbers, and the texts that stand for them (limits, levels,
        // "--na--"), are right-aligned; category labels are not.
        const bool labelled = qobject_cast<ObservedExpectedModel *>(model.get());
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                QCOMPARE(bool(model->index(row, column).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight),
                         !(labelled && column == 0));
    }

    void cellTextIsTheGeneralFormatOrTheTextAsItStands_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("large, file") << QVariant(123456789012345.0) << 12 << "1.23456789012e+14";
        QTest::newRow("large, clipboard") << QVariant(123456789012345.0) << 15 << "123456789012345";
        QTest::newRow("numeric-looking label") << QVariant(QString("01")) << 12 << "01";
        QTest::newRow("nothing") << QVariant() << 12 << "";
    }

    void cellTextIsTheGeneralFormatOrTheTextAsItStands()
    {
        QFETCH(QVariant, value);
        QFETCH(int, digits);
        QTEST(TableExport::cellText(value, digits), "text");
    }

    void pageOwnsAndShowsOneModelUntilTheEstimatesAreCleared()
    {
        QCOMPARE(exports(), 0);
        m_page->setAvailable(false);
        QPointer<QAbstractItemModel> first = parameterModel();
        m_page->setModel(first);
        QVERIFY(m_page->isAvailable() && first->parent() == m_page);
        QCOMPARE(exports(), 3);
        QAbstractItemModel *second = parameterModel();
        m_page->setModel(second);
        QVERIFY(first.isNull());
        QCOMPARE(m_page->form()->tableView()->model(), second);
        // Numbers stay doubles, so that the view renders them as numbers.
        QCOMPARE(second->index(0, 1).data().typeId(), QMetaType::Double);

        // No model: an empty table, still visitable, nothing to export.
        m_page->setAvailable(false);
        m_page->setModel(nullptr);
        QVERIFY(m_page->isAvailable() && exports() == 0);

        QPointer<QAbstractItemModel> third = parameterModel();
        m_page->setModel(third);
        emit m_f->window.clearEstimates();
        QVERIFY(third.isNull() && !m_page->tableModel() && !m_page->isAvailable());
        QCOMPARE(exports(), 0);
    }

    void copyPutsTheWholeTableOnTheClipboardAndSaysSo()
    {
        m_page->setModel(parameterModel());
        QApplication::clipboard()->clear();
        m_page->form()->copyToClipboardButton()->click();
        QCOMPARE(QApplication::clipboard()->text(), QString("\tEstimate\ts.e.\nN\t150\t33.3333333333333\np1\t0.4\t--na--\n"));
        QCOMPARE(m_page->statusBar()->currentMessage(), QString("Table copied to clipboard"));
    }

    // The filter chosen gives the suffix; the file has the comma-separated
    // text; a cancelled dialog or a refused replace writes nothing, a failed
    // write says so. (The suffix and directory rules are the dialogs' own.)
    void saveToFileWritesWhereTheDialogSays()
    {
        QTemporaryDir dir;
        const QString csv = "Comma delimited (*.csv)", txt = "Text (*.txt)";
        m_page->setModel(parameterModel());
        m_f->dialogs->names << QString() << dir.filePath("table") << dir.filePath("table") << dir.filePath("table")
                            << dir.filePath("missing/table");
        m_f->dialogs->selectedFilters << txt << csv << csv << txt << txt;
        m_f->answerer.answer(QMessageBox::No);
        m_f->answerer.answer(QMessageBox::Ok);
        for (int k = 0; k < 5; ++k)
            m_page->form()->saveToFileButton()->click();
        QCOMPARE(m_f->dialogs->requests[0].filter, txt + ";;" + csv);
        QCOMPARE(support::fileBytes(dir.filePath("table.csv")), parameterFileText);
        QCOMPARE(support::fileBytes(dir.filePath("table.txt")), parameterFileText);
        QCOMPARE(m_f->answerer.unexpected(), 0);
        QCOMPARE(m_f->answerer.texts(), QStringList({QString("\"%1/table.csv\" already exists.  Replace it?").arg(dir.path()),
                                                     QString("Unable to open file \"%1/missing/table.txt\" for writing.").arg(dir.path())}));
        QCOMPARE(QSettings().value("/dataDirectory").toString(), dir.filePath("missing"));
    }

    // The menu opens only over a row and copies the first selected range.
    void contextMenuCopiesTheFirstSelectedRange()
    {
        m_page->setWindowFlags(Qt::Window);
        m_page->resize(600, 500);
        m_page->show();
        m_page->setModel(new ResultTableModel({"a", "b", "c"}, {"a", "b", "c"},
                                              {{0.5, 0.5, 0.5}, {0.5, 1.0 / 3.0, 0.5}, {0.5, 2.0e-7, 0.5}}));
        PelkTableView *view = m_page->form()->tableView();
        QAbstractItemModel *model = view->model();
        view->selectionModel()->select(QItemSelection(model->index(1, 1), model->index(2, 2)), QItemSelectionModel::Select);
        view->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(0, 0)), QItemSelectionModel::Select);

        QStringList actions;
        const auto openMenu = [&](QPoint at) {
            QTimer::singleShot(0, [&actions] {
                if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                    for (QAction *action : menu->actions())
                        actions << action->text();
                    menu->actions().first()->trigger();
                    menu->close();
                }
            });
            view->showContextMenu(at);
            QCoreApplication::processEvents();
        };
        QApplication::clipboard()->clear();
        const int belowRows = view->rowViewportPosition(2) + view->rowHeight(2) + 5;
        QVERIFY(belowRows < view->viewport()->height());
        openMenu(QPoint(5, belowRows));
        QVERIFY(actions.isEmpty());
        openMenu(view->visualRect(model->index(0, 0)).center());
        QCOMPARE(actions, QStringList{"copy"});
        QCOMPARE(QApplication::clipboard()->text(), QString("0.333333333333\t0.5\n2e-07\t0.5\n"));
    }
};

QTEST_MAIN(TestResultTables)
#include "tst_resulttables.moc"
