// PELK's help: the collection is built with the file of every page of the
// program, and the launcher starts the viewer with the collection, starts it
// again after it closed, reports a viewer that cannot start once per
// request, and ends the viewer when it is destroyed.
#include "app/HelpLauncher.h"
#include "pages/frame/PelkContentPage.h"
#include "support/FakeHelpViewer.h"
#include "support/WindowFixture.h"

#include <QFileInfo>
#include <QtTest>

#include <memory>

#include <signal.h>

class tst_HelpLauncher : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;

private slots:

    // The help file every page of the window names, and the contents page,
    // are in the help project's files and contents and in the built
    // documentation (which stores its file names as plain text).
    void collectionHoldsTheFileOfEveryPage()
    {
        const QFileInfo collection(QStringLiteral(PELK_HELP_COLLECTION));
        QVERIFY2(collection.size() > 0, PELK_HELP_COLLECTION);
        // No collection is installed for the test program, so the built one is used.
        QCOMPARE(HelpLauncher::defaultCollectionFile(), collection.filePath());
        QCOMPARE(QFileInfo(HelpLauncher::defaultProgram()).fileName(), QStringLiteral("assistant"));
        const QByteArray built = support::fileBytes(collection.dir().filePath(QStringLiteral("pelk.qch")));
        const QByteArray project = support::fileBytes(QStringLiteral(PELK_HELP_SOURCE_DIR "/pelk.qhp"));
        QVERIFY(project.contains("<namespace>" + HelpLauncher::helpNamespace().toUtf8() + "</namespace>"));
        QVERIFY(project.contains("<virtualFolder>doc</virtualFolder>"));

        WindowFixture f;
        QStringList pages{"index.html"};
        for (PelkContentPage *page : f.window.findChildren<PelkContentPage *>())
            pages << page->helpPageName();
        pages.removeDuplicates();
        QVERIFY(pages.size() > 10);
        for (const QString &page : std::as_const(pages)) {
            QVERIFY2(QFileInfo::exists(QStringLiteral(PELK_HELP_SOURCE_DIR "/") + page), qPrintable(page));
            QVERIFY2(project.contains("<file>" + page.toUtf8() + "</file>"), qPrintable(page));
            QVERIFY2(project.contains("ref=\"" + page.toUtf8() + '"'), qPrintable(page));
            QVERIFY2(built.contains(page.toUtf8()), qPrintable(page));
        }
    }

    // The viewer runs with the collection and remote control (the window's
    // test checks what it is sent); one the analyst closed is started again;
    // the launcher's end asks the viewer to end (not killed outright), then
    // waits for it.
    void closedViewerIsStartedAgainAndEndedWithTheLauncher()
    {
        support::FakeHelpViewer viewer;
        auto launcher = std::make_unique<HelpLauncher>(nullptr, viewer.program(), QStringLiteral("/some/where/x.qhc"));
        launcher->showPage(QStringLiteral("estimate.html"));
        QTRY_VERIFY(viewer.isAlive());
        QCOMPARE(viewer.arguments(), QByteArray("-collectionFile\n/some/where/x.qhc\n-enableRemoteControl\n"));
        const qint64 firstPid = viewer.pid();
        QCOMPARE(::kill(pid_t(firstPid), SIGTERM), 0);
        QTRY_VERIFY(!viewer.isAlive());
        QVERIFY(viewer.wasTerminated());
        QFile::remove(QFileInfo(viewer.program()).dir().filePath("ended"));
        launcher->showPage(QStringLiteral("verifyModel.html"));
        QTRY_COMPARE(viewer.starts(), 2);
        QTRY_VERIFY(viewer.pid() != firstPid && viewer.isAlive());
        QTRY_VERIFY(viewer.received().endsWith("SetSource qthelp://org.zav.pelk/doc/verifyModel.html" + QByteArray(1, '\0') + '\n'));
        launcher.reset();
        QVERIFY(viewer.wasTerminated());
        QVERIFY(!viewer.isAlive());
    }

    void missingViewerIsReportedOncePerRequest()
    {
        QTemporaryDir dir;
        HelpLauncher launcher(nullptr, dir.filePath(QStringLiteral("nowhere/assistant")), QStringLiteral("x.qhc"));
        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Ok);
        answerer.answer(QMessageBox::Ok);
        launcher.showContents();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes().at(0).icon, QMessageBox::Critical);
        // A later request tries again and reports its own failure, once.
        launcher.showPage(QStringLiteral("estimate.html"));
        QCOMPARE(answerer.texts(), QStringList(2, QStringLiteral("Unable to launch Help (assistant)")));
        QCOMPARE(answerer.unexpected(), 0);
    }
};

QTEST_MAIN(tst_HelpLauncher)
#include "tst_helplauncher.moc"
