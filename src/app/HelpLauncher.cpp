#include "HelpLauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>

namespace {

// How long a request may block PELK while the viewer starts, and how long
// PELK waits for it to end when PELK itself ends.
constexpr int startTimeoutMs = 30000;
constexpr int terminateTimeoutMs = 3000;
// Commands are a few hundred bytes; the pipe takes them at once unless the
// viewer has hung, and then a request must not hang PELK with it.
constexpr int writeTimeoutMs = 1000;

const QString collectionFileName = QStringLiteral("pelk4_4_a.qhc");

} // namespace

HelpLauncher::HelpLauncher(QObject *parent, const QString &program, const QString &collectionFile)
    : QObject(parent), m_program(program), m_collectionFile(collectionFile)
{}

HelpLauncher::~HelpLauncher()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(terminateTimeoutMs)) {
        // A viewer that ignores the request to end is killed, so that it
        // does not outlive PELK holding the collection open.
        m_process->kill();
        m_process->waitForFinished(terminateTimeoutMs);
    }
}

QString HelpLauncher::defaultProgram()
{
    // The assistant of the Qt PELK was built with reads the collection that
    // the same Qt's qhelpgenerator wrote; another one on PATH may not.
    const QString besideQt = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/assistant");
    if (QFileInfo(besideQt).isExecutable())
        return besideQt;
    return QStringLiteral("assistant");
}

QString HelpLauncher::defaultCollectionFile()
{
    // An installed PELK finds its collection in its data directory, found
    // from the program's own (<prefix>/bin/pelk, <prefix>/share/pelk/), so
    // that the whole tree can be installed under any prefix; a PELK run from
    // its build directory uses the one the build made.
#ifdef PELK_INSTALLED_HELP_DIR
    const QString installed
        = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                          + QStringLiteral(PELK_INSTALLED_HELP_DIR) + QLatin1Char('/') + collectionFileName);
    if (QFileInfo::exists(installed))
        return installed;
#endif
#ifdef PELK_HELP_COLLECTION
    return QStringLiteral(PELK_HELP_COLLECTION);
#else
    return collectionFileName;
#endif
}

QString HelpLauncher::helpNamespace()
{
    return QStringLiteral("org.zav.pelk");
}

void HelpLauncher::showContents()
{
    if (!ensureRunning())
        return;
    send(QStringLiteral("expandToc 2;SetSource qthelp://%1/doc/index.html").arg(helpNamespace()));
}

void HelpLauncher::showPage(const QString &pageName)
{
    if (!ensureRunning())
        return;
    send(QStringLiteral("SetSource qthelp://%1/doc/%2").arg(helpNamespace(), pageName));
}

bool HelpLauncher::ensureRunning()
{
    if (!m_process) {
        m_process = new QProcess(this);
        // Nothing is read from the viewer: its output is dropped so that it
        // cannot pile up in PELK's memory over a long session, and its
        // warnings go to PELK's own error output where they can be seen.
        m_process->setStandardOutputFile(QProcess::nullDevice());
        m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    // A viewer the analyst has closed is started again on the next request.
    if (m_process->state() == QProcess::Running)
        return true;

    m_process->start(
        m_program,
        {QStringLiteral("-collectionFile"), m_collectionFile, QStringLiteral("-enableRemoteControl")},
        QIODevice::ReadWrite);
    if (m_process->waitForStarted(startTimeoutMs))
        return true;

    // Nothing is left running after a failed start, so the next request
    // tries again and reports its own failure once.
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(terminateTimeoutMs);
    }
    QMessageBox::critical(nullptr, QStringLiteral("PELK 4.4"),
                          QStringLiteral("Unable to launch Help (%1)").arg(QFileInfo(m_program).fileName()));
    return false;
}

void HelpLauncher::send(const QString &command)
{
    // The viewer ends a command at a NUL character; the line end keeps the
    // stream readable for a viewer that reads whole lines.
    QByteArray bytes = command.toLocal8Bit();
    bytes.append('\0');
    bytes.append('\n');
    m_process->write(bytes);
    m_process->waitForBytesWritten(writeTimeoutMs);
}
