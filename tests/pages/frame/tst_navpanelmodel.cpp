// The navigation tree: links between pages across groups, the current
// page, availability as the panel shows it, click rules.
#include "pages/frame/ContentPage.h"
#include "pages/frame/NavPanelModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class tst_NavPanelModel : public QObject
{
    Q_OBJECT

    // Tree:  A [p1, p2, B [p3], E []]   p4   C [p5]
    struct Tree
    {
        QWidget parent;
        NavPanelModel model;
        QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
        ContentPage *p[6] = {};
        NavPanelModel::Item *a = nullptr, *b = nullptr, *e = nullptr, *c = nullptr;

        Tree()
        {
            for (int i = 1; i <= 5; ++i)
                p[i] = new ContentPage(&parent, QString("Page %1").arg(i));
            a = model.addGroup("A");
            model.addPage(p[1], a);
            model.addPage(p[2], a);
            b = model.addGroup("B", a);
            model.addPage(p[3], b);
            e = model.addGroup("E", a);
            model.addPage(p[4]);
            c = model.addGroup("C");
            model.addPage(p[5], c);
        }
    };

private slots:
    void linksFollowTheTreeAcrossGroups()
    {
        Tree t;
        QCOMPARE(t.p[1]->previousPage(), nullptr);
        QCOMPARE(t.p[1]->nextPage(), t.p[2]);
        QCOMPARE(t.p[2]->nextPage(), t.p[3]); // into group B
        QCOMPARE(t.p[3]->previousPage(), t.p[2]);
        QCOMPARE(t.p[3]->nextPage(), nullptr); // the empty group E cuts the chain
        QCOMPARE(t.p[4]->previousPage(), nullptr); // last child of A is the empty group
        QCOMPARE(t.p[4]->nextPage(), t.p[5]);
        QCOMPARE(t.p[5]->previousPage(), t.p[4]);
        QCOMPARE(t.p[5]->nextPage(), nullptr);
        QVERIFY(t.p[1]->nextButton()->isEnabled());
        QVERIFY(!t.p[1]->previousButton()->isEnabled());
        QVERIFY(!t.p[3]->nextButton()->isEnabled());

        // Adding and removing pages relinks their neighbours.
        auto *p6 = new ContentPage(&t.parent, "Page 6");
        t.model.addPage(p6, t.b);
        QCOMPARE(t.p[3]->nextPage(), p6);
        QCOMPARE(p6->previousPage(), t.p[3]);
        QVERIFY(t.p[3]->nextButton()->isEnabled());
        t.model.removePage(t.p[2]);
        QCOMPARE(t.p[1]->nextPage(), t.p[3]);
        QCOMPARE(t.p[3]->previousPage(), t.p[1]);
        QCOMPARE(t.model.rowCount(t.model.indexOfItem(t.a)), 3);
        QVERIFY(!t.model.indexOfPage(t.p[2]).isValid());
    }

    void nextAndPreviousMoveTheCurrentPage()
    {
        Tree t;
        QSignalSpy changed(&t.model, &NavPanelModel::currentPageChanged);
        t.model.setCurrentPage(t.p[2]);
        t.p[2]->nextButton()->click();
        QCOMPARE(t.model.currentPage(), t.p[3]);
        QVERIFY(t.p[3]->isCurrent());
        QVERIFY(!t.p[2]->isCurrent());
        t.p[3]->previousButton()->click();
        QCOMPARE(t.model.currentPage(), t.p[2]);
        QCOMPARE(changed.count(), 3);

        // Unavailable pages disable the buttons that lead to them.
        t.p[3]->setAvailable(false);
        QVERIFY(!t.p[2]->nextButton()->isEnabled());
        t.p[3]->setAvailable(true);
        QVERIFY(t.p[2]->nextButton()->isEnabled());
        t.p[4]->setAvailable(false);
        QVERIFY(!t.p[5]->previousButton()->isEnabled());
    }

    void clickShowsOnlyAvailablePages()
    {
        Tree t;
        t.model.setCurrentPage(t.p[1]);
        t.model.openPageAt(t.model.indexOfItem(t.a)); // a group
        QCOMPARE(t.model.currentPage(), t.p[1]);
        t.p[5]->setAvailable(false);
        t.model.openPageAt(t.model.indexOfPage(t.p[5]));
        QCOMPARE(t.model.currentPage(), t.p[1]);
        t.model.openPageAt(t.model.indexOfPage(t.p[4]));
        QCOMPARE(t.model.currentPage(), t.p[4]);
    }

    void panelShowsUnavailableInGray()
    {
        Tree t;
        // An available group has no colour of its own; an empty one is gray.
        QVERIFY(!t.model.data(t.model.indexOfItem(t.a), Qt::ForegroundRole).isValid());
        QCOMPARE(t.model.data(t.model.indexOfItem(t.e), Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::darkGray));

        // A group is gray exactly while none of its pages can be visited.
        QSignalSpy dataChanged(&t.model, &QAbstractItemModel::dataChanged);
        t.p[5]->setAvailable(false);
        QCOMPARE(t.model.data(t.model.indexOfItem(t.c), Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::darkGray));
        QCOMPARE(dataChanged.count(), 2); // the page and its group
        t.p[5]->setAvailable(true);
        QVERIFY(!t.model.data(t.model.indexOfItem(t.c), Qt::ForegroundRole).isValid());
    }
};

QTEST_MAIN(tst_NavPanelModel)
#include "tst_navpanelmodel.moc"
