// Test input written to files in one temporary directory, which lives as
// long as the TempFiles object, and files read back whole.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

namespace support {

// The file's bytes; empty when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TempFiles
{
public:
    // Writes the bytes (UTF-8 text, exactly as given) and returns the path.
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write test file %s", qPrintable(path));
        file.write(bytes);
        return path;
    }
    QString write(const QString &name, const QString &text) { return write(name, text.toUtf8()); }
    QString write(const QString &name, const char *text) { return write(name, QByteArray(text)); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace support
