// pelk-cli: PELK without a window.
//
//   pelk-cli print WORKSPACE   read a workspace file and write it to standard
//                              output exactly as PELK saves it
//
// Exit status: 0 done, 2 the file cannot be opened or read (the error's
// description on standard error), 64 wrong usage.
#include "expr/ParseError.h"
#include "io/FileWriter.h"
#include "io/Workspace.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr int exitUnreadable = 2;
constexpr int exitUsage = 64; // EX_USAGE

int usage()
{
    QTextStream(stderr) << "usage: pelk-cli print WORKSPACE\n";
    return exitUsage;
}

int printWorkspace(const QString &fileName)
{
    pelk::Workspace workspace;
    try {
        workspace.read(fileName);
    } catch (zav::ParseError &error) {
        error.setFileName(fileName);
        QTextStream(stderr) << error.description() << '\n';
        return exitUnreadable;
    }
    QTextStream out(stdout);
    pelk::FileWriter writer(&out);
    workspace.write(writer);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("ZAV"));
    QCoreApplication::setApplicationName(QStringLiteral("PELK"));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 2 && arguments.at(0) == QLatin1String("print"))
        return printWorkspace(arguments.at(1));
    return usage();
}
