// Helpers shared by the file tests: temporary input files, writing through
// a FileWriter into a file, the bundled examples, and resetting the
// process-wide optimizer state between tests.
#pragma once

#include "io/FileWriter.h"
#include "optim/FletchSettings.h"
#include "optim/OptimizerFactory.h"
#include "optim/SimplexSettings.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest/QtTest>

#include <functional>

namespace iotest {

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline QString examplePath(const QString &name)
{
    return QStringLiteral(PELK_EXAMPLES_DIR "/") + name;
}

inline QByteArray exampleBytes(const QString &name)
{
    return fileBytes(examplePath(name));
}

// Files in one temporary directory that lives as long as this object.
class TempFiles
{
public:
    // Writes the text (UTF-8, exactly as given) and returns the path.
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

    // Opens a file for writing as text, as saving does, lets the writer fill
    // it, and returns its bytes.
    QByteArray writeWith(const QString &name, const std::function<void(pelk::FileWriter &)> &write)
    {
        const QString path = m_dir.filePath(name);
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
                qFatal("cannot write test file %s", qPrintable(path));
            QTextStream stream(&file);
            pelk::FileWriter writer(&stream);
            write(writer);
        }
        return fileBytes(path);
    }

private:
    QTemporaryDir m_dir;
};

inline void resetOptimizerState()
{
    zav::OptimizerFactory::instance().setOptimizerType(zav::OptimizerFactory::NoOptimizer);
    zav::FletchSettings::instance() = zav::FletchSettings();
    zav::SimplexSettings::instance() = zav::SimplexSettings();
}

} // namespace iotest
