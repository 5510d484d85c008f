// The page type of every result table: the model it owns and shows, the
// exports it offers, and Save to File with its suffix, replace and
// directory rules, as the analyst reaches them through the buttons, the
// file dialog and the context menu.
#include "support/WindowFixture.h"

#include "pages/tables/CovarianceMatrixModel.h"
#include "pages/tables/ParameterEstimatesModel.h"
#include "pages/tables/PelkTableView.h"
#include "pages/tables/TableContentForm.h"
#include "pages/tables/TableContentPage.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

namespace {

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

    bool exportsEnabled() const
    {
        return m_page->form()->saveToFileButton()->isEnabled() && m_page->form()->copyToClipboardButton()->isEnabled();
    }
    bool exportsDisabled() const
    {
        return !m_page->form()->saveToFileButton()->isEnabled() && !m_page->form()->copyToClipboardButton()->isEnabled();
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

    void pageOwnsAndShowsOneModelUntilTheEstimatesAreCleared()
    {
        QVERIFY(exportsDisabled());
        m_page->setAvailable(false);
        QPointer<QAbstractItemModel> first = parameterModel();
        m_page->setModel(first);
        QVERIFY(m_page->isAvailable());
        QVERIFY(exportsEnabled());
        QCOMPARE(first->parent(), m_page);
        QAbstractItemModel *second = parameterModel();
        m_page->setModel(second);
        QVERIFY(first.isNull());
        QCOMPARE(m_page->form()->tableView()->model(), second);

        // No model: an empty table, still visitable, nothing to export.
        m_page->setAvailable(false);
        m_page->setModel(nullptr);
        QVERIFY(m_page->isAvailable());
        QVERIFY(exportsDisabled());

        QPointer<QAbstractItemModel> third = parameterModel();
        m_page->setModel(third);
        emit m_f->window.clearEstimates();
        QVERIFY(third.isNull());
        QVERIFY(!m_page->tableModel());
        QVERIFY(!m_page->isAvailable());
        QVERIFY(exportsDisabled());
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
        QTest::newRow("csv in capitals kept") << "table.CSV" << csv << "" << "table.CSV" << "";
        QTest::newRow("txt appended") << "table" << txt << "" << "table.txt" << "";
        QTest::newRow("txt in mixed case kept") << "table.TxT" << txt << "" << "table.TxT" << "";
        QTest::newRow("other extension gets txt") << "table.csv" << txt << "" << "table.csv.txt" << "";
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
