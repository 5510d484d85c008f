// The result tables: their item models built from hand-made summary
// values, seen through the clipboard text (both headers, 15 digits), and
// the file and selection text made from them ("--na--" wherever a value
// does not exist, profile limits with their own decimals, correlations from
// the covariance); then the page type that owns and shows one model and
// offers the exports, with Save to File's suffix, replace and directory
// rules, as the analyst reaches them through buttons, dialog and menu.
#include "support/WindowFixture.h"

#include "pages/diagnostics/ObservedExpectedModel.h"
#include "pages/tables/CorrelationMatrixModel.h"
#include "pages/tables/CovarianceMatrixModel.h"
#include "pages/tables/ParameterEstimatesModel.h"
#include "pages/tables/PelkTableView.h"
#include "pages/tables/ProfileLikelihoodEstimatesModel.h"
#include "pages/tables/TableContentForm.h"
#include "pages/tables/TableContentPage.h"
#include "pages/tables/TableExport.h"
#include "pages/tables/VariableEstimatesModel.h"

#include <QApplication>
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QDir>
#include <QItemSelectionRange>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

#include <limits>

using Model = std::shared_ptr<QAbstractItemModel>;
Q_DECLARE_METATYPE(Model)

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

zav::Matrix matrix2(double a, double b, double c, double d)
{
    zav::Matrix m(2, 2);
    m(0, 0) = a;
    m(0, 1) = b;
    m(1, 0) = c;
    m(1, 1) = d;
    return m;
}


class ShownTablePage : public TableContentPage
{
public:
    explicit ShownTablePage(PelkWindow *window) : TableContentPage(window, "Test Table") {}
    QString helpPageName() const override { return QString(); }
    using TableContentPage::setModel;
};

QAbstractItemModel *parameterModel()
{
    return new ParameterEstimatesModel({{"N", 0, 150.0, 100.0 / 3.0}, {"p1", 0, 0.4, std::nullopt}}, nullptr);
}

const QString parameterFileText = "Estimate,s.e.\nN,150,33.3333333333\np1,0.4,--na--\n";

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString dataDirectory()
{
    return QSettings().value("/dataDirectory").toString();
}

} // namespace

class TestTableContentPage : public QObject
{
    Q_OBJECT

    SharedSettings m_settings;
    std::unique_ptr<WindowFixture> m_f;
    ShownTablePage *m_page = nullptr;

    // Save (1) and Copy (2) as offered.
    int exports() const
    {
        return m_page->form()->saveToFileButton()->isEnabled() + 2 * m_page->form()->copyToClipboardButton()->isEnabled();
    }

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }
    void init()
    {
        QSettings().clear();
        m_f = std::make_unique<WindowFixture>();
        m_page = new ShownTablePage(&m_f->window);
    }
    void cleanup() { m_f.reset(); }

    void cellsAsTheClipboardShowsThem_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<QString>("text");
        QTest::newRow("parameters") << Model(std::make_shared<ParameterEstimatesModel>(
            QList<pelk::EstimationSummary::Estimate>{{"N", 0, 100.0 / 3.0, 12.5}, {"b", 0, 2.5, notANumber}, {"c", 0, notANumber, 1.0}},
            nullptr)) << "\tEstimate\ts.e.\nN\t33.3333333333333\t12.5\nb\t2.5\t--na--\nc\t--na--\t1\n";
        QTest::newRow("functions") << Model(std::make_shared<VariableEstimatesModel>(
            QList<pelk::EstimationSummary::Estimate>{{"detection", 0, 0.6, 0.05}, {"odds", 0, 1.5, std::nullopt}},
            nullptr)) << "\tEstimate\ts.e\ndetection\t0.6\t0.05\nodds\t1.5\t--na--\n";
        QTest::newRow("no functions") << Model(std::make_shared<VariableEstimatesModel>(
            QList<pelk::EstimationSummary::Estimate>{}, nullptr)) << "\tEstimate\ts.e\n";
        // Limits keep the summary's order and show displayDigits decimals
        // (rounded, zero-padded, none below 0); the estimate stays a number.
        QTest::newRow("profiles") << Model(std::make_shared<ProfileLikelihoodEstimatesModel>(
            QList<pelk::EstimationSummary::ProfileInterval>{{"N", true, 0, 150.0, 117.23456, 220.26, 2},
                                                            {"N", true, 2, 150.0, 0.123456, 0.5, 4},
                                                            {"f", false, 1, 0.6, 181.7, 181.2, 0},
                                                            {"f", false, 1, 0.6, -1.26, std::nullopt, 1},
                                                            {"g", false, 1, 1.5, notANumber, 2.7, -1}},
            nullptr)) << "\tEstimate\tAlpha\tLower Bound\tUpper Bound\n"
                         "N\t150\t0.01\t117.23\t220.26\nN\t150\t0.10\t0.1235\t0.5000\nf\t0.6\t0.05\t182\t181\n"
                         "f\t0.6\t0.05\t-1.3\t--na--\ng\t1.5\t0.05\t--na--\t3\n";
        QTest::newRow("covariance") << Model(std::make_shared<CovarianceMatrixModel>(
            QStringList{"N", "p"}, matrix2(100.0 / 3.0, -0.125, -0.125, 2e-7), nullptr))
                                    << "\tN\tp\nN\t33.3333333333333\t-0.125\np\t-0.125\t2e-07\n";
        // Standard deviations 2 and 3, covariance -3: correlation -3 / 6.
        QTest::newRow("correlation") << Model(std::make_shared<CorrelationMatrixModel>(
            QStringList{"N", "p"}, matrix2(4, -3, -3, 9), nullptr)) << "\tN\tp\nN\t1\t-0.5\np\t-0.5\t1\n";
        // A Hessian inverse may be asymmetric by rounding: each cell divides
        // by its own pair of standard deviations, 0.8 / 2 and 1.2 / 2.
        QTest::newRow("correlation, asymmetric") << Model(std::make_shared<CorrelationMatrixModel>(
            QStringList{"a", "b"}, matrix2(1, 0.8, 1.2, 4), nullptr)) << "\ta\tb\na\t1\t0.4\nb\t0.6\t1\n";
        QTest::newRow("correlation, no variance") << Model(std::make_shared<CorrelationMatrixModel>(
            QStringList{"a", "b"}, matrix2(0, 0, 0, 4), nullptr)) << "\ta\tb\na\t--na--\t--na--\nb\t--na--\t1\n";
        QTest::newRow("correlation, negative variance") << Model(std::make_shared<CorrelationMatrixModel>(
            QStringList{"a", "b"}, matrix2(-1, 0.5, 0.5, 4), nullptr)) << "\ta\tb\na\t--na--\t--na--\nb\t--na--\t1\n";
        // No row headers: every line starts with an empty field.
        QTest::newRow("observed and expected") << Model(std::make_shared<ObservedExpectedModel>(
            QList<pelk::ObservedExpectedRow>{{"01", 30.0, 30.0, 0.0}, {"Two samples unobserved", 60.0, 48.0, notANumber}},
            nullptr)) << "\tCategory\tObserved\tExpected\tAnscombe Residual\n"
                         "\t01\t30\t30\t0\n\tTwo samples unobserved\t60\t48\t--na--\n";
    }

    void cellsAsTheClipboardShowsThem()
    {
        QFETCH(Model, model);
        QFETCH(QString, text);
        QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(TableExport::tabSeparated(*model), text);
    }

    void cellTextIsTheGeneralFormatOrTheTextAsItStands_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("third, file") << QVariant(1.0 / 3.0) << 12 << "0.333333333333";
        QTest::newRow("large, file") << QVariant(123456789012345.0) << 12 << "1.23456789012e+14";
        QTest::newRow("large, clipboard") << QVariant(123456789012345.0) << 15 << "123456789012345";
        QTest::newRow("small") << QVariant(2.0e-7) << 12 << "2e-07";
        QTest::newRow("integer") << QVariant(7) << 12 << "7";
        QTest::newRow("numeric-looking label") << QVariant(QString("01")) << 12 << "01";
        QTest::newRow("nothing") << QVariant() << 12 << "";
    }

    void cellTextIsTheGeneralFormatOrTheTextAsItStands()
    {
        QFETCH(QVariant, value);
        QFETCH(int, digits);
        QFETCH(QString, text);
        QCOMPARE(TableExport::cellText(value, digits), text);
    }

    // Numbers stay doubles, so views render them as numbers; the file has
    // no corner field and 12 digits, a selection only its cells.
    void fileAndSelectionText()
    {
        const Model model(parameterModel());
        QCOMPARE(model->index(0, 1).data().typeId(), QMetaType::Double);
        QCOMPARE(TableExport::commaSeparated(*model), QString("Estimate,s.e.\nN,150,33.3333333333\np1,0.4,--na--\n"));
        QCOMPARE(TableExport::range(*model, QItemSelectionRange(model->index(0, 1), model->index(1, 1))),
                 QString("33.3333333333\n--na--\n"));
        QCOMPARE(TableExport::range(*model, QItemSelectionRange(model->index(0, 0), model->index(1, 1))),
                 QString("150\t33.3333333333\n0.4\t--na--\n"));
    }

    void pageOwnsAndShowsOneModelUntilTheEstimatesAreCleared()
    {
        QCOMPARE(exports(), 0);
        m_page->setAvailable(false);
        QPointer<QAbstractItemModel> first = parameterModel();
        m_page->setModel(first);
        QVERIFY(m_page->isAvailable());
        QCOMPARE(exports(), 3);
        QCOMPARE(first->parent(), m_page);
        QAbstractItemModel *second = parameterModel();
        m_page->setModel(second);
        QVERIFY(first.isNull());
        QCOMPARE(m_page->form()->tableView()->model(), second);

        // No model: an empty table, still visitable, nothing to export.
        m_page->setAvailable(false);
        m_page->setModel(nullptr);
        QVERIFY(m_page->isAvailable());
        QCOMPARE(exports(), 0);

        QPointer<QAbstractItemModel> third = parameterModel();
        m_page->setModel(third);
        emit m_f->window.clearEstimates();
        QVERIFY(third.isNull());
        QVERIFY(!m_page->tableModel());
        QVERIFY(!m_page->isAvailable());
        QCOMPARE(exports(), 0);
    }

    void copyPutsTheWholeTableOnTheClipboardAndSaysSo()
    {
        m_page->setModel(new CovarianceMatrixModel({"N", "p"}, zav::Matrix(2, 2, 0.125), nullptr));
        QApplication::clipboard()->clear();
        m_page->form()->copyToClipboardButton()->click();
        QCOMPARE(QApplication::clipboard()->text(), QString("\tN\tp\nN\t0.125\t0.125\np\t0.125\t0.125\n"));
        QCOMPARE(m_page->statusBar()->currentMessage(), QString("Table copied to clipboard"));
    }

    // The directory holds old.csv ("old table") and a directory folder.txt.
    // Answers: Yes, No, Return or Escape to the replace question.
    void saveWritesTheFileItsFilterNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written"); // empty: no table written
        QTest::addColumn<QString>("box"); // %1: the directory
        const QString txt = "Text (*.txt)", csv = "Comma delimited (*.csv)";
        const QString replace = "\"%1/old.csv\" already exists.  Replace it?";
        QTest::newRow("csv appended") << "table" << csv << "" << "table.csv" << "";
        QTest::newRow("txt in mixed case kept") << "table.TxT" << txt << "" << "table.TxT" << "";
        QTest::newRow("other extension gets csv") << "table.dat" << csv << "" << "table.dat.csv" << "";
        QTest::newRow("named file replaced") << "old.csv" << csv << "" << "old.csv" << "";
        QTest::newRow("suffixed file, yes") << "old" << csv << "Yes" << "old.csv" << replace;
        QTest::newRow("suffixed file, no") << "old" << csv << "No" << "" << replace;
        QTest::newRow("suffixed file, return") << "old" << csv << "Return" << "" << replace;
        QTest::newRow("suffixed file, escape") << "old" << csv << "Escape" << "" << replace;
        QTest::newRow("missing directory")
            << "missing/table" << txt << "Ok" << "" << "Unable to open file \"%1/missing/table.txt\" for writing.";
        QTest::newRow("name of a directory")
            << "folder.txt" << txt << "Ok" << "" << "Unable to open file \"%1/folder.txt\" for writing.";
    }

    void saveWritesTheFileItsFilterNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QFETCH(QString, box);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder.txt"));
        QFile old(dir.filePath("old.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old table") == 9);
        old.close();
        m_page->setModel(parameterModel());
        m_f->dialogs->names << dir.filePath(name);
        m_f->dialogs->selectedFilters << filter;
        if (answer == "Return" || answer == "Escape")
            m_f->answerer.press(answer == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        else if (!answer.isEmpty())
            m_f->answerer.answer(answer == "Yes" ? QMessageBox::Yes : answer == "No" ? QMessageBox::No : QMessageBox::Ok);
        m_page->form()->saveToFileButton()->click();

        QCOMPARE(m_f->answerer.unexpected(), 0);
        QCOMPARE(m_f->answerer.texts(), box.isEmpty() ? QStringList() : QStringList{box.arg(dir.path())});
        QStringList files{"old.csv"};
        if (!written.isEmpty() && written != "old.csv")
            files << written;
        files.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
        QCOMPARE(readFile(dir.filePath("old.csv")), written == "old.csv" ? parameterFileText : QString("old table"));
        if (!written.isEmpty())
            QCOMPARE(readFile(dir.filePath(written)), parameterFileText);
        // The directory is remembered before the file is tried.
        QCOMPARE(dataDirectory(), QFileInfo(dir.filePath(name)).path());
    }

    // The first dialog starts in the current directory, the next one where
    // the last file went; a name typed with backslashes has its directory
    // before the last one. A cancelled dialog remembers nothing.
    void dialogStartsInTheRememberedDirectory()
    {
        m_page->setModel(parameterModel());
        m_f->dialogs->names << QString();
        m_page->form()->saveToFileButton()->click();
        QVERIFY(!QSettings().contains("/dataDirectory"));

        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        m_f->dialogs->names << "results\\run 1\\table" << dir.filePath("next");
        m_page->form()->saveToFileButton()->click();
        QCOMPARE(dataDirectory(), QString("results\\run 1"));
        m_page->form()->saveToFileButton()->click();
        QDir::setCurrent(previous);
        QCOMPARE(readFile(dir.filePath("results\\run 1\\table.txt")), parameterFileText);

        QCOMPARE(m_f->dialogs->requests.size(), 3);
        QCOMPARE(m_f->dialogs->requests[0].filter, QString("Text (*.txt);;Comma delimited (*.csv)"));
        QCOMPARE(m_f->dialogs->requests[1].directory, QString("."));
        QCOMPARE(m_f->dialogs->requests[2].directory, QString("results\\run 1"));
        QCOMPARE(m_f->answerer.boxes().size(), 0);
    }

    // The menu opens only over a row and copies the first selected range.
    void contextMenuCopiesTheFirstSelectedRange()
    {
        m_page->setWindowFlags(Qt::Window);
        m_page->resize(600, 500);
        m_page->show();
        zav::Matrix covariance(3, 3, 0.5);
        covariance(1, 1) = 1.0 / 3.0;
        covariance(2, 1) = 2.0e-7;
        m_page->setModel(new CovarianceMatrixModel({"a", "b", "c"}, covariance, nullptr));
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

QTEST_MAIN(TestTableContentPage)
#include "tst_tablecontentpage.moc"
