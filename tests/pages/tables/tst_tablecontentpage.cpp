// The page type of every result table: its buttons, the model it owns, and
// the three exports as the analyst reaches them (buttons, file dialog,
// context menu).
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"

#include "app/PelkWindow.h"
#include "pages/tables/CovarianceMatrixModel.h"
#include "pages/tables/ParameterEstimatesModel.h"
#include "pages/tables/PelkTableView.h"
#include "pages/tables/TableContentForm.h"
#include "pages/tables/TableContentPage.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class ShownTablePage : public TableContentPage
{
public:
    explicit ShownTablePage(PelkWindow *window)
        : TableContentPage(window, "Test Table")
    {
    }
    QString helpPageName() const override { return "resultsTables.html"; }
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
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestTableContentPage : public QObject
{
    Q_OBJECT

private:
    IsolatedSettings *m_settings = nullptr;
    PelkWindow *m_window = nullptr;
    ShownTablePage *m_page = nullptr;
    ScriptedFileDialogs *m_dialogs = nullptr;
    QTemporaryDir m_dir;

    QPushButton *saveButton() const { return m_page->form()->saveToFileButton(); }
    QPushButton *copyButton() const { return m_page->form()->copyToClipboardButton(); }
    QString dataDirectory() const { return QSettings().value("/dataDirectory").toString(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void buttonsStartDisabledAndExplainThemselves();
    void showingAModelEnablesTheExportsAndThePage();
    void aNewModelReplacesAndDeletesThePreviousOne();
    void noModelLeavesAnEmptyTableWithNothingToExport();
    void clearingEstimatesDeletesTheModelAndDisablesTheButtons();
    void copyToClipboardPutsTheWholeTableThereAndSaysSo();
    void saveWritesCommaSeparatedTextAndRemembersTheDirectory();
    void saveAppendsTheSuffixOfTheChosenFilter_data();
    void saveAppendsTheSuffixOfTheChosenFilter();
    void fileNamedByTheSuffixIsReplacedOnlyWhenConfirmed_data();
    void fileNamedByTheSuffixIsReplacedOnlyWhenConfirmed();
    void directoryOfAPathWithBackslashesIsSplitThere();
    void unwritableFileShowsACriticalBoxAndWritesNothing_data();
    void unwritableFileShowsACriticalBoxAndWritesNothing();
    void cancelledDialogWritesNothing();
    void contextMenuCopiesTheFirstSelectedRange();
    void contextMenuOpensOnlyOverARow();
};

void TestTableContentPage::initTestCase()
{
    m_settings = new IsolatedSettings;
}

void TestTableContentPage::init()
{
    QSettings().clear();
    m_window = new PelkWindow;
    auto dialogs = std::make_unique<ScriptedFileDialogs>();
    m_dialogs = dialogs.get();
    m_window->setFileDialogs(std::move(dialogs));
    m_page = new ShownTablePage(m_window);
}

void TestTableContentPage::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestTableContentPage::cleanupTestCase()
{
    delete m_settings;
}

void TestTableContentPage::buttonsStartDisabledAndExplainThemselves()
{
    QCOMPARE(saveButton()->text(), QString("Save to File..."));
    QCOMPARE(copyButton()->text(), QString("Copy to Clipboard"));
    QVERIFY(!saveButton()->isEnabled());
    QVERIFY(!copyButton()->isEnabled());
    QCOMPARE(saveButton()->whatsThis(), QString("Save table to comma delimited (CSV) file"));
    QCOMPARE(copyButton()->whatsThis(),
             QString("Copy table (including row and column headers) to clipboard in a format suitable for "
                     "pasting into a spreadsheet application"));
}

void TestTableContentPage::showingAModelEnablesTheExportsAndThePage()
{
    m_page->setAvailable(false);
    QAbstractItemModel *model = parameterModel();
    m_page->setModel(model);
    QVERIFY(m_page->isAvailable());
    QVERIFY(saveButton()->isEnabled());
    QVERIFY(copyButton()->isEnabled());
    QCOMPARE(m_page->form()->tableView()->model(), model);
    QCOMPARE(model->parent(), m_page);
}

void TestTableContentPage::aNewModelReplacesAndDeletesThePreviousOne()
{
    QPointer<QAbstractItemModel> first = parameterModel();
    m_page->setModel(first);
    QAbstractItemModel *second = parameterModel();
    m_page->setModel(second);
    QVERIFY(first.isNull());
    QCOMPARE(m_page->tableModel(), second);
    QCOMPARE(m_page->form()->tableView()->model(), second);
}

void TestTableContentPage::noModelLeavesAnEmptyTableWithNothingToExport()
{
    m_page->setModel(parameterModel());
    m_page->setAvailable(false);
    m_page->setModel(nullptr);
    QVERIFY(m_page->isAvailable());
    QVERIFY(!saveButton()->isEnabled());
    QVERIFY(!copyButton()->isEnabled());
    QVERIFY(!m_page->form()->tableView()->model());
}

void TestTableContentPage::clearingEstimatesDeletesTheModelAndDisablesTheButtons()
{
    QPointer<QAbstractItemModel> model = parameterModel();
    m_page->setModel(model);
    emit m_window->clearEstimates();
    QVERIFY(model.isNull());
    QVERIFY(!m_page->tableModel());
    QVERIFY(!m_page->isAvailable());
    QVERIFY(!saveButton()->isEnabled());
    QVERIFY(!copyButton()->isEnabled());
}

void TestTableContentPage::copyToClipboardPutsTheWholeTableThereAndSaysSo()
{
    zav::Matrix covariance(2, 2);
    covariance(0, 0) = 100.0 / 3.0;
    covariance(0, 1) = covariance(1, 0) = -0.125;
    covariance(1, 1) = 2.0e-7;
    m_page->setModel(new CovarianceMatrixModel({"N", "p"}, covariance, nullptr));
    QApplication::clipboard()->clear();
    copyButton()->click();
    QCOMPARE(QApplication::clipboard()->text(),
             QString("\tN\tp\nN\t33.3333333333333\t-0.125\np\t-0.125\t2e-07\n"));
    QCOMPARE(m_page->statusBar()->currentMessage(), QString("Table copied to clipboard"));
}

void TestTableContentPage::saveWritesCommaSeparatedTextAndRemembersTheDirectory()
{
    m_page->setModel(parameterModel());
    m_dialogs->names << m_dir.filePath("estimates.csv");
    m_dialogs->selectedFilters << "Comma delimited (*.csv)";
    ModalAnswerer answerer;
    saveButton()->click();

    QCOMPARE(answerer.boxes().size(), 0);
    QCOMPARE(m_dialogs->requests.size(), 1);
    QCOMPARE(m_dialogs->requests[0].caption, QString("Select Output File"));
    QCOMPARE(m_dialogs->requests[0].directory, QString("."));
    QCOMPARE(m_dialogs->requests[0].filter, QString("Text (*.txt);;Comma delimited (*.csv)"));
    QCOMPARE(readFile(m_dir.filePath("estimates.csv")), parameterFileText);
    QCOMPARE(dataDirectory(), m_dir.path());

    // The text filter writes the same comma-separated lines.
    m_dialogs->names << m_dir.filePath("estimates.txt");
    saveButton()->click();
    QCOMPARE(m_dialogs->requests[1].directory, m_dir.path());
    QCOMPARE(readFile(m_dir.filePath("estimates.txt")), parameterFileText);
}

void TestTableContentPage::saveAppendsTheSuffixOfTheChosenFilter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    const QString text = "Text (*.txt)";
    const QString csv = "Comma delimited (*.csv)";
    QTest::newRow("csv appended") << "table" << csv << "table.csv";
    QTest::newRow("csv in capitals kept") << "table.CSV" << csv << "table.CSV";
    QTest::newRow("txt appended") << "table" << text << "table.txt";
    QTest::newRow("txt in mixed case kept") << "table.TxT" << text << "table.TxT";
    QTest::newRow("other extension gets txt") << "table.csv" << text << "table.csv.txt";
    QTest::newRow("other extension gets csv") << "table.dat" << csv << "table.dat.csv";
}

void TestTableContentPage::saveAppendsTheSuffixOfTheChosenFilter()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QTemporaryDir dir;
    m_page->setModel(parameterModel());
    m_dialogs->names << dir.filePath(name);
    m_dialogs->selectedFilters << filter;
    saveButton()->click();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(readFile(dir.filePath(written)), parameterFileText);
}

// The dialog confirmed "table", not "table.csv": only Yes replaces it.
void TestTableContentPage::fileNamedByTheSuffixIsReplacedOnlyWhenConfirmed_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << int(QMessageBox::Yes) << 0 << true;
    QTest::newRow("no") << int(QMessageBox::No) << 0 << false;
    QTest::newRow("return") << 0 << int(Qt::Key_Return) << false;
    QTest::newRow("escape") << 0 << int(Qt::Key_Escape) << false;
}

void TestTableContentPage::fileNamedByTheSuffixIsReplacedOnlyWhenConfirmed()
{
    QFETCH(int, button);
    QFETCH(int, key);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    QFile old(dir.filePath("table.csv"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old table") == 9);
    old.close();
    m_page->setModel(parameterModel());
    m_dialogs->names << dir.filePath("table");
    m_dialogs->selectedFilters << "Comma delimited (*.csv)";
    ModalAnswerer answerer;
    if (key)
        answerer.press(Qt::Key(key));
    else
        answerer.answer(QMessageBox::StandardButton(button));
    saveButton()->click();
    QCOMPARE(answerer.unexpected(), 0);
    QCOMPARE(answerer.texts(), QStringList{"\"" + dir.filePath("table.csv") + "\" already exists.  Replace it?"});
    QCOMPARE(readFile(dir.filePath("table.csv")), replaced ? parameterFileText : QString("old table"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"table.csv"});
}

void TestTableContentPage::directoryOfAPathWithBackslashesIsSplitThere()
{
    // A name typed with backslashes keeps everything before the last one as
    // its directory. (On this platform the whole name is one file.)
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    m_page->setModel(parameterModel());
    m_dialogs->names << "results\\run 1\\table";
    saveButton()->click();
    QDir::setCurrent(previous);
    QCOMPARE(dataDirectory(), QString("results\\run 1"));
    QCOMPARE(readFile(m_dir.filePath("results\\run 1\\table.txt")), parameterFileText);
}

void TestTableContentPage::unwritableFileShowsACriticalBoxAndWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::newRow("missing directory") << "missing/table" << "missing/table.txt";
    QTest::newRow("name of a directory") << "folder.txt" << "folder.txt";
}

void TestTableContentPage::unwritableFileShowsACriticalBoxAndWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder.txt"));
    m_page->setModel(parameterModel());
    m_dialogs->names << dir.filePath(name);
    ModalAnswerer answerer;
    answerer.answer(QMessageBox::Ok);
    saveButton()->click();

    QCOMPARE(answerer.boxes().size(), 1);
    QCOMPARE(answerer.boxes()[0].title, QString("Save to File"));
    QCOMPARE(answerer.boxes()[0].text, QString("Unable to open file \"%1\" for writing.").arg(dir.filePath(written)));
    QCOMPARE(answerer.boxes()[0].icon, QMessageBox::Critical);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(QFileInfo(dir.filePath("folder.txt")).isDir());
    // The directory was remembered before the file was tried.
    QCOMPARE(dataDirectory(), QFileInfo(dir.filePath(name)).path());
}

void TestTableContentPage::cancelledDialogWritesNothing()
{
    m_page->setModel(parameterModel());
    ModalAnswerer answerer;
    saveButton()->click(); // no name scripted: the dialog is cancelled
    QCOMPARE(m_dialogs->requests.size(), 1);
    QCOMPARE(answerer.boxes().size(), 0);
    QVERIFY(!QSettings().contains("/dataDirectory"));
}

void TestTableContentPage::contextMenuCopiesTheFirstSelectedRange()
{
    m_page->setWindowFlags(Qt::Window);
    m_page->show();
    zav::Matrix covariance(3, 3, 0.5);
    covariance(1, 1) = 1.0 / 3.0;
    covariance(2, 1) = 2.0e-7;
    m_page->setModel(new CovarianceMatrixModel({"a", "b", "c"}, covariance, nullptr));
    PelkTableView *view = m_page->form()->tableView();
    QItemSelectionModel *selection = view->selectionModel();
    selection->select(QItemSelection(view->model()->index(1, 1), view->model()->index(2, 2)),
                      QItemSelectionModel::Select);
    selection->select(QItemSelection(view->model()->index(0, 0), view->model()->index(0, 0)),
                      QItemSelectionModel::Select);

    QApplication::clipboard()->clear();
    QStringList actions;
    QTimer::singleShot(0, [&actions] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions())
            actions << action->text();
        menu->actions().first()->trigger();
        menu->close();
    });
    view->showContextMenu(view->visualRect(view->model()->index(0, 0)).center());
    QCOMPARE(actions, QStringList{"copy"});
    QCOMPARE(QApplication::clipboard()->text(), QString("0.333333333333\t0.5\n2e-07\t0.5\n"));
}

void TestTableContentPage::contextMenuOpensOnlyOverARow()
{
    m_page->setWindowFlags(Qt::Window);
    m_page->resize(600, 500);
    m_page->show();
    m_page->setModel(parameterModel());
    PelkTableView *view = m_page->form()->tableView();
    view->selectAll();
    bool menuShown = false;
    QTimer::singleShot(0, [&menuShown] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    const int belowRows = view->rowViewportPosition(1) + view->rowHeight(1) + 5;
    QVERIFY(belowRows < view->viewport()->height());
    view->showContextMenu(QPoint(5, belowRows));
    QCoreApplication::processEvents();
    QVERIFY(!menuShown);
}

QTEST_MAIN(TestTableContentPage)
#include "tst_tablecontentpage.moc"
