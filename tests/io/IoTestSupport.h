// Helpers shared by the file tests: temporary input files, writing through
// a FileWriter into a file, the bundled examples, and resetting the
// process-wide optimizer state between tests.
#pragma once

#include "../support/TempFiles.h"

#include "expr/ParseError.h"
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

// Files kept for the tests alone (tests/data).
inline QString testDataPath(const QString &name)
{
    return QStringLiteral(PELK_TEST_DATA_DIR "/") + name;
}

inline QByteArray testDataBytes(const QString &name)
{
    return fileBytes(testDataPath(name));
}

// The test files of a test, and what a FileWriter writes into one.
class TempFiles : public support::TempFiles
{
public:
    // Opens a file for writing as text, as saving does, lets the writer fill
    // it, and returns its bytes.
    QByteArray writeWith(const QString &name, const std::function<void(pelk::FileWriter &)> &write)
    {
        const QString filePath = path(name);
        {
            QFile file(filePath);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
                qFatal("cannot write test file %s", qPrintable(filePath));
            QTextStream stream(&file);
            pelk::FileWriter writer(&stream);
            write(writer);
        }
        return fileBytes(filePath);
    }
};

// A reader's error description less its last part, the name of the file
// read, which every reader error ends with once. When the name is missing
// or repeated the text says so, and a comparison with the expected fails.
inline QString descriptionInFile(const zav::ParseError &error, const QString &path)
{
    QString text = error.description();
    const QString suffix = QStringLiteral(", file \"%1\"").arg(path);
    if (!text.endsWith(suffix) || text.count(path) != 1)
        return QStringLiteral("(file not named once) ") + text;
    text.chop(suffix.size());
    return text;
}

} // namespace iotest
