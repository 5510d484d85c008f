// The desktop program: the main window on the workspace named on the command
// line, if any.
#include "app/ApplicationIdentity.h"
#include "app/PelkWindow.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    pelk::setApplicationIdentity();

    PelkWindow window;
    window.setWindowIcon(QIcon(":/icons/Pelk.png"));
    window.show();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString workspace = arguments.at(1);
        // Loaded once the window is up, so that a read error shows over it.
        QTimer::singleShot(0, &window, [&window, workspace] { window.loadWorkspace(workspace); });
    }
    return application.exec();
}
