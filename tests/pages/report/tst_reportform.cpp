// Saving the report as a PDF file and printing it: the dialog, the file
// name rule, the remembered directory and write failures.
#include "app/PelkWindow.h"
#include "estimation/EstimationSummary.h"
#include "pages/report/ReportForm.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

namespace {

pelk::EstimationSummary smallSummary()
{
    pelk::EstimationSummary summary;
    summary.parameterCount = 1;
    summary.logLikelihood = -2.5;
    summary.aic = 7;
    summary.likelihoods = {{"Likelihood 1", -2.5}};
    summary.sufficientStatisticDimension = 1;
    summary.counts = {{"Likelihood 1", 10, {{"a", 4}, {"b", 6}}}};
    summary.parameters = {{"p", 0.5, 0.4, 0.15}};
    return summary;
}

bool isPdf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 100;
}

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestReportForm : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;
    std::unique_ptr<ReportForm> m_form;
    ScriptedFileDialogs *m_dialogs = nullptr;

private slots:
    void initTestCase()
    {
        m_settings = std::make_unique<IsolatedSettings>();
        m_window = std::make_unique<PelkWindow>();
        m_form = std::make_unique<ReportForm>(m_window.get());
        m_form->showSummary(smallSummary(), QDateTime(QDate(2010, 3, 5), QTime(9, 1, 2)));
    }

    void init()
    {
        QSettings().remove("reportDirectory");
        auto dialogs = std::make_unique<ScriptedFileDialogs>();
        m_dialogs = dialogs.get();
        m_window->setFileDialogs(std::move(dialogs));
    }

    void cleanupTestCase()
    {
        m_form.reset();
        m_window.reset();
    }

    void formHasItsWidgets()
    {
        auto *text = m_form->findChild<QTextEdit *>("textEdit");
        QVERIFY(text);
        QVERIFY(text->isReadOnly());
        QVERIFY(text->toPlainText().startsWith("Estimation Summary Report\n05 March 2010 09::01::02 am\n"));
        auto *save = m_form->findChild<QPushButton *>("saveToFileButton");
        auto *print = m_form->findChild<QPushButton *>("printButton");
        QVERIFY(save && print);
        QCOMPARE(save->text(), QString("Save to File"));
        QCOMPARE(print->text(), QString("Print"));
    }

    void savesWithPdfSuffix_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << "report" << "report.pdf";
        QTest::newRow("lower case") << "report.pdf" << "report.pdf";
        QTest::newRow("upper case kept") << "report.PDF" << "report.PDF";
        QTest::newRow("mixed case kept") << "report.Pdf" << "report.Pdf";
        QTest::newRow("other suffix") << "report.txt" << "report.txt.pdf";
        QTest::newRow("pdf inside the name") << "pdf.report" << "pdf.report.pdf";
        QTest::newRow("suffix without dot") << "reportpdf" << "reportpdf.pdf";
    }

    void savesWithPdfSuffix()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QTemporaryDir dir;
        m_dialogs->names = {dir.filePath(answer)};
        ModalAnswerer answerer;
        m_form->findChild<QPushButton *>("saveToFileButton")->click();

        QCOMPARE(answerer.boxes().size(), 0);
        QVERIFY(isPdf(dir.filePath(written)));
        // Nothing else is left in the directory.
        QCOMPARE(entries(dir.path()), QStringList({written}));
        QCOMPARE(m_dialogs->requests.size(), 1);
        QCOMPARE(m_dialogs->requests.first().caption, QString("Output File Name"));
        QCOMPARE(m_dialogs->requests.first().filter, QString("PDF (*.pdf)"));
        QCOMPARE(m_dialogs->requests.first().directory, QString("."));
    }

    void rememberedDirectoryStartsTheNextDialog()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        const QString sub = dir.filePath("sub");
        m_dialogs->names = {sub + "/first", dir.filePath("second")};
        m_form->onSaveToFile();
        QCOMPARE(QSettings().value("/reportDirectory").toString(), sub);
        m_form->onSaveToFile();
        QCOMPARE(m_dialogs->requests.size(), 2);
        QCOMPARE(m_dialogs->requests.at(1).directory, sub);
        QCOMPARE(QSettings().value("/reportDirectory").toString(), dir.path());
        QVERIFY(isPdf(sub + "/first.pdf"));
        QVERIFY(isPdf(dir.filePath("second.pdf")));
    }

    void cancelledDialogWritesNothing()
    {
        QTemporaryDir dir;
        QSettings().setValue("/reportDirectory", dir.path());
        m_dialogs->names = {QString()};
        ModalAnswerer answerer;
        m_form->onSaveToFile();
        QCOMPARE(m_dialogs->requests.size(), 1);
        QCOMPARE(m_dialogs->requests.first().directory, dir.path());
        QCOMPARE(QSettings().value("/reportDirectory").toString(), dir.path());
        QCOMPARE(entries(dir.path()), QStringList());
        QCOMPARE(answerer.boxes().size(), 0);
    }

    void bareFileNameIsWrittenInTheCurrentDirectoryAndNotRemembered()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        m_dialogs->names = {"bare"};
        m_form->onSaveToFile();
        QDir::setCurrent(previous);
        QVERIFY(isPdf(dir.filePath("bare.pdf")));
        QVERIFY(!QSettings().contains("/reportDirectory"));
    }

    void replacesAnEarlierFile()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("old.pdf");
        {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("an older report");
        }
        m_dialogs->names = {target};
        m_form->onSaveToFile();
        QVERIFY(isPdf(target));
        QCOMPARE(entries(dir.path()), QStringList({"old.pdf"}));
    }

    void reportNamedByTheSuffixIsKeptUnlessReplaceIsConfirmed()
    {
        QTemporaryDir dir;
        QFile old(dir.filePath("report.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older report") == 15);
        old.close();
        m_dialogs->names = {dir.filePath("report")};
        ModalAnswerer answerer;
        answerer.press(Qt::Key_Return);
        m_form->onSaveToFile();
        QCOMPARE(answerer.texts(), QStringList{"\"" + dir.filePath("report.pdf") + "\" already exists.  Replace it?"});
        QCOMPARE(answerer.unexpected(), 0);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("an older report"));
        QCOMPARE(entries(dir.path()), QStringList({"report.pdf"}));
    }

    void unwritableTargetIsReported_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("reported");
        QTest::newRow("missing directory") << "missing/report" << "missing/report.pdf";
        QTest::newRow("a directory holds the name") << "taken.pdf" << "taken.pdf";
    }

    void unwritableTargetIsReported()
    {
        QFETCH(QString, answer);
        QFETCH(QString, reported);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken.pdf"));
        m_dialogs->names = {dir.filePath(answer)};
        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Ok);
        m_form->onSaveToFile();

        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes().first().title, QString("PELK 4.7"));
        QCOMPARE(answerer.boxes().first().text, QString("Unable to write \"%1\"").arg(dir.filePath(reported)));
        QCOMPARE(answerer.boxes().first().icon, QMessageBox::Critical);
        QCOMPARE(entries(dir.path()), QStringList({"taken.pdf"}));
        QVERIFY(QFileInfo(dir.filePath("taken.pdf")).isDir());
    }

    void printsWhenTheDialogIsAccepted()
    {
        QTemporaryDir dir;
        const QString output = dir.filePath("printed.pdf");
        ModalAnswerer answerer;
        bool handled = false;
        answerer.handle([&](QWidget *widget) {
            auto *dialog = qobject_cast<QPrintDialog *>(widget);
            QVERIFY(dialog);
            handled = true;
            // What choosing a PDF file printer in the dialog amounts to.
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(output);
            dialog->done(QDialog::Accepted);
        });
        m_form->findChild<QPushButton *>("printButton")->click();
        QVERIFY(handled);
        QVERIFY(isPdf(output));
    }

    void printsNothingWhenTheDialogIsCancelled()
    {
        QTemporaryDir dir;
        const QString output = dir.filePath("printed.pdf");
        ModalAnswerer answerer;
        bool handled = false;
        answerer.handle([&](QWidget *widget) {
            auto *dialog = qobject_cast<QPrintDialog *>(widget);
            QVERIFY(dialog);
            handled = true;
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(output);
            dialog->reject();
        });
        m_form->onPrint();
        QVERIFY(handled);
        QVERIFY(!QFile::exists(output));
    }
};

QTEST_MAIN(TestReportForm)
#include "tst_reportform.moc"
