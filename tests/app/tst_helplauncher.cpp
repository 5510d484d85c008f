// PELK's resources and its help viewer: every icon the windows name is
// compiled in, the help collection is built with a page for every page of
// the program, and the launcher starts the viewer once, drives it with the
// exact remote-control bytes, reports a viewer that cannot start once per
// request, and ends the viewer when it is destroyed.
#include "app/HelpLauncher.h"
#include "support/FakeHelpViewer.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"

#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

#include <signal.h>

namespace {


QByteArray command(const char *text)
{
    QByteArray bytes(text);
    bytes.append('\0');
    bytes.append('\n');
    return bytes;
}

const QStringList iconNames = {
        "Pelk",           "whatsThisIcon",   "workspace-new", "workspace-open",
        "workspace-save-as", "model-open",   "model-save-as", "counts-open",
        "counts-save-as", "document-open",   "document-save-as", "go-previous",
        "go-next",        "applications-system", "leftParen", "rightParen",
        "one",            "plus",            "minus",         "multiply",
        "divide",         "power"};

// The help file of every page of the program, and the contents page.
const QStringList helpPages = {"index.html",
                               "defineParameters.html",
                               "defineConvenienceFunctions.html",
                               "defineLikelihoods.html",
                               "verifyModel.html",
                               "setParameterSeeds.html",
                               "setProfileLikelihoods.html",
                               "setOptimizer.html",
                               "estimate.html",
                               "viewEstimationSummary.html",
                               "resultsTables.html",
                               "viewObservedExpectedPlot.html",
                               "viewResidualsPlot.html",
                               "viewObservedExpectedTable.html"};

} // namespace

class tst_HelpLauncher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void iconIsCompiledIn_data();
    void iconIsCompiledIn();
    void splashImageIsCompiledIn();

    void collectionIsBuiltAndIsTheDefault();
    void helpProjectDeclaresNamespaceAndFolder();
    void everyPageIsInTheProjectAndTheDocumentation_data();
    void everyPageIsInTheProjectAndTheDocumentation();

    void defaultViewerIsTheAssistant();
    void viewerGetsCollectionAndRemoteControlArguments();
    void contentsSendsExpandAndIndexCommand();
    void pageSendsSetSourceCommand();
    void twoRequestsStartTheViewerOnce();
    void closedViewerIsStartedAgain();
    void destroyingTheLauncherEndsTheViewer();
    void missingViewerIsReportedOncePerRequest();

private:
    std::unique_ptr<IsolatedSettings> m_settings;
};

void tst_HelpLauncher::initTestCase()
{
    m_settings = std::make_unique<IsolatedSettings>();
}

void tst_HelpLauncher::iconIsCompiledIn_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : iconNames)
        QTest::newRow(qPrintable(name)) << name;
}

void tst_HelpLauncher::iconIsCompiledIn()
{
    QFETCH(QString, name);
    const QString path = QStringLiteral(":/icons/%1.png").arg(name);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QVERIFY(image.width() >= 32 && image.width() == image.height());
    const QIcon icon(path);
    QVERIFY(!icon.isNull());
    QVERIFY(!icon.availableSizes().isEmpty());
}

void tst_HelpLauncher::splashImageIsCompiledIn()
{
    const QImage splash(QStringLiteral(":/images/SplashScreen.png"));
    QVERIFY(!splash.isNull());
    QVERIFY(splash.width() > 32 && splash.height() > 32);
}

void tst_HelpLauncher::collectionIsBuiltAndIsTheDefault()
{
    const QFileInfo collection(QStringLiteral(PELK_HELP_COLLECTION));
    QVERIFY2(collection.exists(), PELK_HELP_COLLECTION);
    QVERIFY(collection.size() > 0);
    // The collection names its documentation by a path relative to itself.
    QVERIFY(QFileInfo::exists(collection.dir().filePath(QStringLiteral("pelk.qch"))));
    // No collection lies beside the test program, so the built one is used.
    QCOMPARE(HelpLauncher::defaultCollectionFile(), QStringLiteral(PELK_HELP_COLLECTION));
}

void tst_HelpLauncher::helpProjectDeclaresNamespaceAndFolder()
{
    QFile project(QStringLiteral(PELK_HELP_SOURCE_DIR "/pelk.qhp"));
    QVERIFY(project.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&project);
    QString helpNamespace, folder;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("namespace"))
            helpNamespace = xml.readElementText();
        else if (xml.name() == QLatin1String("virtualFolder"))
            folder = xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(helpNamespace, HelpLauncher::helpNamespace());
    QCOMPARE(folder, QStringLiteral("doc"));
}

void tst_HelpLauncher::everyPageIsInTheProjectAndTheDocumentation_data()
{
    QTest::addColumn<QString>("page");
    for (const QString &page : helpPages)
        QTest::newRow(qPrintable(page)) << page;
}

void tst_HelpLauncher::everyPageIsInTheProjectAndTheDocumentation()
{
    QFETCH(QString, page);
    QVERIFY(QFileInfo::exists(QStringLiteral(PELK_HELP_SOURCE_DIR "/") + page));

    QFile project(QStringLiteral(PELK_HELP_SOURCE_DIR "/pelk.qhp"));
    QVERIFY(project.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&project);
    bool listedAsFile = false, inContents = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("section")
            && xml.attributes().value(QLatin1String("ref")) == page)
            inContents = true;
        else if (xml.name() == QLatin1String("file") && xml.readElementText() == page)
            listedAsFile = true;
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(listedAsFile);
    QVERIFY(inContents);

    // The built documentation stores its file names as plain text.
    QFile documentation(QFileInfo(QStringLiteral(PELK_HELP_COLLECTION)).dir().filePath(
            QStringLiteral("pelk.qch")));
    QVERIFY(documentation.open(QIODevice::ReadOnly));
    QVERIFY(documentation.readAll().contains(page.toUtf8()));
}

void tst_HelpLauncher::defaultViewerIsTheAssistant()
{
    QCOMPARE(QFileInfo(HelpLauncher::defaultProgram()).fileName(), QStringLiteral("assistant"));
}

void tst_HelpLauncher::viewerGetsCollectionAndRemoteControlArguments()
{
    support::FakeHelpViewer viewer;
    HelpLauncher launcher(nullptr, viewer.program(), QStringLiteral("/some/where/pelk4_4_a.qhc"));
    launcher.showContents();
    QTRY_COMPARE(viewer.arguments(),
                 QByteArray("-collectionFile\n/some/where/pelk4_4_a.qhc\n-enableRemoteControl\n"));
    // Let the viewer take the command before it is ended, so that it never
    // outlives its directory.
    QTRY_VERIFY(!viewer.received().isEmpty());
}

void tst_HelpLauncher::contentsSendsExpandAndIndexCommand()
{
    support::FakeHelpViewer viewer;
    HelpLauncher launcher(nullptr, viewer.program(), QStringLiteral("pelk4_4_a.qhc"));
    launcher.showContents();
    QTRY_COMPARE(viewer.received(),
                 command("expandToc 2;SetSource qthelp://org.zav.pelk/doc/index.html"));
}

void tst_HelpLauncher::pageSendsSetSourceCommand()
{
    support::FakeHelpViewer viewer;
    HelpLauncher launcher(nullptr, viewer.program(), QStringLiteral("pelk4_4_a.qhc"));
    launcher.showPage(QStringLiteral("setOptimizer.html"));
    QTRY_COMPARE(viewer.received(), command("SetSource qthelp://org.zav.pelk/doc/setOptimizer.html"));
}

void tst_HelpLauncher::twoRequestsStartTheViewerOnce()
{
    support::FakeHelpViewer viewer;
    HelpLauncher launcher(nullptr, viewer.program(), QStringLiteral("pelk4_4_a.qhc"));
    launcher.showContents();
    launcher.showPage(QStringLiteral("estimate.html"));
    const QByteArray expected = command("expandToc 2;SetSource qthelp://org.zav.pelk/doc/index.html")
            + command("SetSource qthelp://org.zav.pelk/doc/estimate.html");
    QTRY_COMPARE(viewer.received(), expected);
    QCOMPARE(viewer.starts(), 1);
}

void tst_HelpLauncher::closedViewerIsStartedAgain()
{
    support::FakeHelpViewer viewer;
    HelpLauncher launcher(nullptr, viewer.program(), QStringLiteral("pelk4_4_a.qhc"));
    launcher.showPage(QStringLiteral("estimate.html"));
    QTRY_VERIFY(viewer.isAlive());
    const qint64 firstPid = viewer.pid();

    // The analyst closes the viewer's window.
    QCOMPARE(::kill(pid_t(firstPid), SIGTERM), 0);
    QTRY_VERIFY(!viewer.isAlive());

    launcher.showPage(QStringLiteral("verifyModel.html"));
    QTRY_COMPARE(viewer.starts(), 2);
    QTRY_VERIFY(viewer.pid() != firstPid);
    QTRY_VERIFY(viewer.received().endsWith(
            command("SetSource qthelp://org.zav.pelk/doc/verifyModel.html")));
}

void tst_HelpLauncher::destroyingTheLauncherEndsTheViewer()
{
    support::FakeHelpViewer viewer;
    auto launcher = std::make_unique<HelpLauncher>(nullptr, viewer.program(),
                                                   QStringLiteral("pelk4_4_a.qhc"));
    launcher->showContents();
    QTRY_VERIFY(viewer.isAlive());
    launcher.reset();
    // The viewer was asked to end (not killed outright), and the destructor
    // waited for it and reaped it.
    QVERIFY(viewer.wasTerminated());
    QVERIFY(!viewer.isAlive());
}

void tst_HelpLauncher::missingViewerIsReportedOncePerRequest()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("nowhere/assistant"));
    HelpLauncher launcher(nullptr, missing, QStringLiteral("pelk4_4_a.qhc"));

    ModalAnswerer answerer;
    answerer.answer(QMessageBox::Ok);
    launcher.showContents();
    QCOMPARE(answerer.boxes().size(), 1);
    QCOMPARE(answerer.boxes().at(0).title, QStringLiteral("PELK 4.4"));
    QCOMPARE(answerer.boxes().at(0).text, QStringLiteral("Unable to launch Help (assistant)"));
    QCOMPARE(answerer.boxes().at(0).icon, QMessageBox::Critical);

    // A later request tries again and reports its own failure, once.
    answerer.answer(QMessageBox::Ok);
    launcher.showPage(QStringLiteral("estimate.html"));
    QCOMPARE(answerer.boxes().size(), 2);
    QCOMPARE(answerer.boxes().at(1).text, QStringLiteral("Unable to launch Help (assistant)"));
    QCOMPARE(answerer.unexpected(), 0);
}

QTEST_MAIN(tst_HelpLauncher)
#include "tst_helplauncher.moc"
