// File > Compare Models... as the analyst uses it: workspaces added through
// the file dialog, estimated in the background, the table filled in rank
// order, a model opened by double-click; and Cancel ending a run at once.
#include "support/BinomialWorkspace.h"
#include "support/WindowFixture.h"

#include "app/CompareModelsDialog.h"

#include <QAction>
#include <QLabel>
#include <QTableWidget>

class TestCompareModelsDialog : public QObject
{
    Q_OBJECT

private:
    // 30 successes in 100, as p, or as its logit b (the same maximum).
    static QString binomial(bool logit)
    {
        support::Binomial b;
        if (logit) {
            b.parameters = "b";
            b.variables = "p = 1/(1+exp(-b))";
            b.seeds = "b = 0";
        }
        return b.text();
    }

    static CompareModelsDialog *openDialog(WindowFixture &f)
    {
        f.window.findChild<QAction *>("actionCompareModels")->trigger();
        return f.window.findChild<CompareModelsDialog *>("compareModelsDialog");
    }

    static QPushButton *button(CompareModelsDialog *dialog, const char *name)
    {
        return dialog->findChild<QPushButton *>(name);
    }

private slots:
    void estimatesTheSetAndOpensAModel()
    {
        WindowFixture f;
        CompareModelsDialog *dialog = openDialog(f);
        const QString p = f.file(binomial(false), "p.txt"), logit = f.file(binomial(true), "logit.txt");
        f.dialogs->names = QStringList {p, logit};
        button(dialog, "addButton")->click();
        button(dialog, "addButton")->click();
        QCOMPARE(dialog->files(), QStringList({p, logit}));
        QSignalSpy finished(dialog, &CompareModelsDialog::comparisonFinished);
        button(dialog, "estimateButton")->click();
        QVERIFY(button(dialog, "cancelButton")->isEnabled());
        QVERIFY(finished.wait(120000));

        // Equal maxima and k: equal weights, ties kept in the order added.
        auto *table = dialog->findChild<QTableWidget *>("table");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 0)->text(), QString("p"));
        QCOMPARE(table->item(1, 0)->text(), QString("logit"));
        const int weightColumn = 6;
        QCOMPARE(table->item(0, weightColumn)->text(), QString("0.5"));
        QCOMPARE(table->item(1, weightColumn)->text(), QString("0.5"));
        QVERIFY(button(dialog, "exportButton")->isEnabled());

        emit table->cellDoubleClicked(1, 0);
        QCOMPARE(f.window.workspaceFileName(), logit);
    }

    void cancelEndsTheRunsAtOnce()
    {
        WindowFixture f;
        CompareModelsDialog *dialog = openDialog(f);
        for (int i = 0; i < 3; ++i)
            dialog->addFiles({f.file(binomial(i % 2 == 1))});
        QSignalSpy finished(dialog, &CompareModelsDialog::comparisonFinished);
        button(dialog, "estimateButton")->click();
        button(dialog, "cancelButton")->click();
        QVERIFY(finished.count() == 1 || finished.wait(120000));
        QCOMPARE(dialog->findChild<QLabel *>("messages")->text(), QString("Canceled."));
        QCOMPARE(dialog->findChild<QTableWidget *>("table")->rowCount(), 0);
        QVERIFY(button(dialog, "estimateButton")->isEnabled());
        QVERIFY(!button(dialog, "cancelButton")->isEnabled());
        QVERIFY(!button(dialog, "exportButton")->isEnabled());
    }
};

QTEST_MAIN(TestCompareModelsDialog)
#include "tst_comparemodelsdialog.moc"
