// The rules every Save dialog of PELK shares: the suffix a name gets and
// the question before it replaces a file the dialog did not ask about, and
// the directory each kind of file remembers for its next dialog.
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"

#include "pages/frame/FileDialogs.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestFileDialogs : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;

private slots:

    // The directory holds old.csv. Answers to the replace question: Yes, No,
    // or the keys Return and Escape, which both keep the file.
    void suffixIsAddedAndAnExistingFileNeedsAYes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("result"); // empty: nothing to write
        QTest::addColumn<bool>("asked");
        QTest::newRow("appended") << "table" << "" << "table.csv" << false;
        QTest::newRow("kept in any case") << "table.CsV" << "" << "table.CsV" << false;
        QTest::newRow("other extension") << "table.dat" << "" << "table.dat.csv" << false;
        QTest::newRow("named file: the dialog asked") << "old.csv" << "" << "old.csv" << false;
        QTest::newRow("suffixed file, yes") << "old" << "Yes" << "old.csv" << true;
        QTest::newRow("suffixed file, no") << "old" << "No" << "" << true;
        QTest::newRow("suffixed file, return") << "old" << "Return" << "" << true;
        QTest::newRow("suffixed file, escape") << "old" << "Escape" << "" << true;
    }

    void suffixIsAddedAndAnExistingFileNeedsAYes()
    {
        QFETCH(QString, name);
        QFETCH(QString, answer);
        QFETCH(QString, result);
        QFETCH(bool, asked);
        QTemporaryDir dir;
        QFile old(dir.filePath("old.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        ModalAnswerer answerer;
        if (answer == "Return" || answer == "Escape")
            answerer.press(answer == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        else if (!answer.isEmpty())
            answerer.answer(answer == "Yes" ? QMessageBox::Yes : QMessageBox::No);
        QWidget parent;
        QCOMPARE(FileDialogs::withSuffix(&parent, "Save", dir.filePath(name), ".csv"),
                 result.isEmpty() ? QString() : dir.filePath(result));
        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(answerer.texts(), asked ? QStringList{QString("\"%1/old.csv\" already exists.  Replace it?").arg(dir.path())}
                                         : QStringList());
        QCOMPARE(answerer.boxes().value(0).title, asked ? QString("Save") : QString());
    }

    // A name typed with backslashes has its directory before the last one.
    void directoryIsRememberedPerKindOfFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("remembered");
        QTest::newRow("slashes") << "/data/run 1/table" << "/data/run 1";
        QTest::newRow("backslashes win") << "results/a\\run 1\\table" << "results/a\\run 1";
        QTest::newRow("bare name") << "table" << "";
        QTest::newRow("cancelled dialog") << "" << ".";
    }

    void directoryIsRememberedPerKindOfFile()
    {
        QFETCH(QString, name);
        QSettings().clear();
        FileDialogs::rememberDirectory(name, "/tableDirectory");
        QTEST(FileDialogs::rememberedDirectory("/tableDirectory"), "remembered");
        QCOMPARE(FileDialogs::rememberedDirectory("/reportDirectory"), QString("."));
    }
};

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
