// A stand-in for Qt Assistant in tests of PELK's help: a shell script that
// records how it was started and what it was sent.
#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <signal.h>

namespace support {

// A stand-in for the viewer: records its arguments and each start, appends
// everything sent to it to a file, and keeps running until it is told to
// end; a polite request to end (SIGTERM) is recorded before it exits.
class FakeHelpViewer
{
public:
    FakeHelpViewer()
    {
        const QString script = QStringLiteral("#!/bin/sh\n"
                                              "dir='%1'\n"
                                              "printf '%s\\n' \"$@\" > \"$dir/arguments\"\n"
                                              "trap 'echo terminated >> \"$dir/ended\"; "
                                              "kill $reader 2>/dev/null; exit 0' TERM\n"
                                              "exec 3<&0 4>>\"$dir/stdin\"\n"
                                              "cat <&3 >&4 &\n"
                                              "reader=$!\n"
                                              "echo started >> \"$dir/starts\"\n"
                                              "echo $$ > \"$dir/pid\"\n"
                                              "wait $reader\n")
                                       .arg(m_dir.path());
        QFile file(program());
        if (file.open(QIODevice::WriteOnly)) {
            file.write(script.toLocal8Bit());
            file.close();
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    QString program() const { return m_dir.filePath(QStringLiteral("assistant")); }
    QByteArray arguments() const { return read(QStringLiteral("arguments")); }
    QByteArray received() const { return read(QStringLiteral("stdin")); }
    int starts() const { return read(QStringLiteral("starts")).count("started"); }
    bool wasTerminated() const { return read(QStringLiteral("ended")).contains("terminated"); }
    qint64 pid() const { return read(QStringLiteral("pid")).trimmed().toLongLong(); }
    bool isAlive() const { return pid() > 0 && ::kill(pid_t(pid()), 0) == 0; }

private:
    QByteArray read(const QString &name) const
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

} // namespace support
