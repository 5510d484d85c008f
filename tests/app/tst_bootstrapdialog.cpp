// Actions > Bootstrap Goodness of Fit... on the window's estimates: a short
// run hands its result to the window, whose Bootstrap page shows it; Cancel
// ends a long run without a result; new estimates drop the old result.
#include "support/BinomialWorkspace.h"
#include "support/WindowFixture.h"

#include "app/PelkWindow.h"
#include "pages/bootstrap/BootstrapDialog.h"
#include "pages/bootstrap/BootstrapPage.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

class TestBootstrapDialog : public QObject
{
    Q_OBJECT

private slots:
    void runsCancelsAndIsDropped()
    {
        WindowFixture f;
        QVERIFY(f.load(support::Binomial().text()));
        QVERIFY(f.estimateAndWait());
        auto *page = f.window.findChild<BootstrapPage *>();
        QVERIFY(!page->isAvailable());

        BootstrapDialog dialog(&f.window);
        connect(&dialog, &BootstrapDialog::bootstrapComplete, &f.window, &PelkWindow::setBootstrapResult);
        QSignalSpy complete(&dialog, &BootstrapDialog::bootstrapComplete);
        dialog.replicatesBox()->setValue(19);
        dialog.seedEdit()->setText("3");
        dialog.startButton()->click();
        QVERIFY(dialog.isRunning());
        QVERIFY(complete.wait(60000));
        const pelk::BootstrapResult *result = f.window.bootstrapResult();
        QVERIFY(result);
        QCOMPARE(result->replicates() + result->failed(), 19);
        QCOMPARE(result->seed, std::uint64_t(3));
        QVERIFY(page->isAvailable());
        QVERIFY(page->findChild<QPlainTextEdit *>()->toPlainText().contains("\n19\t"));

        dialog.replicatesBox()->setValue(1000000);
        dialog.startButton()->click();
        dialog.cancelButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isRunning(), 60000);
        QCOMPARE(complete.count(), 1);
        QCOMPARE(f.window.bootstrapResult()->seed, std::uint64_t(3));

        QVERIFY(f.estimateAndWait());
        QVERIFY(!f.window.bootstrapResult());
        QVERIFY(!page->isAvailable());
    }
};

QTEST_MAIN(TestBootstrapDialog)
#include "tst_bootstrapdialog.moc"
