// The desktop program: the main window on the workspace named on the command
// line, if any. `pelk --self-check` shows the window, prints the help
// collection it would open and quits, with status 0 when that file exists
// and 1 when it does not: the check that an installed PELK is whole.
#include "app/ApplicationIdentity.h"
#include "app/HelpLauncher.h"
#include "app/PelkWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    pelk::setApplicationIdentity();
    // The name of the installed desktop entry: desktops show the window
    // with that entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zav.pelk"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Maximum-likelihood estimation of models written as formulas."));
    parser.addHelpOption();
    const QCommandLineOption selfCheck(
        QStringLiteral("self-check"),
        QStringLiteral("Show the window, print the help collection found, and quit; "
                       "the exit status is 1 when the collection is missing."));
    parser.addOption(selfCheck);
    parser.addPositionalArgument(QStringLiteral("workspace"), QStringLiteral("The workspace file to open."),
                                 QStringLiteral("[WORKSPACE]"));
    parser.process(application);

    PelkWindow window;
    window.setWindowIcon(QIcon(":/icons/Pelk.png"));
    window.show();

    if (parser.isSet(selfCheck)) {
        // Once the window is up.
        QTimer::singleShot(0, &window, [] {
            const QString collection = HelpLauncher::defaultCollectionFile();
            const bool found = QFileInfo(collection).isFile();
            QTextStream(stdout) << "Help collection: " << QDir::toNativeSeparators(collection)
                                << (found ? "" : " (missing)") << Qt::endl;
            QCoreApplication::exit(found ? 0 : 1);
        });
    } else if (!parser.positionalArguments().isEmpty()) {
        const QString workspace = parser.positionalArguments().constFirst();
        // Loaded once the window is up, so that a read error shows over it.
        QTimer::singleShot(0, &window, [&window, workspace] { window.loadWorkspace(workspace); });
    }
    return application.exec();
}
