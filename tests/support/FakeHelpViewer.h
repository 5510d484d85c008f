// A stand-in for Qt Assistant in tests of PELK's help: a shell script that
// records its arguments and each start, appends everything sent to it to a
// file, and keeps running until it is told to end; a polite request to end
// (SIGTERM) is recorded before it exits.
#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <signal.h>

namespace support {

class FakeHelpViewer
{
public:
    FakeHelpViewer()
    {
        QFile file(program());
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the stand-in help viewer");
        file.write(QStringLiteral("#!/bin/sh\ndir='%1'\nprintf '%s\\n' \"$@\" > \"$dir/arguments\"\n"
                                  "trap 'echo terminated >> \"$dir/ended\"; kill $reader 2>/dev/null; exit 0' TERM\n"
                                  "exec 3<&0 4>>\"$dir/stdin\"\ncat <&3 >&4 &\nreader=$!\n"
                                  "echo started >> \"$dir/starts\"\necho $$ > \"$dir/pid\"\nwait $reader\n")
                       .arg(m_dir.path())
                       .toLocal8Bit());
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
