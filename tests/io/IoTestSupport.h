// What the file tests share: every kind of file PelkFileReader reads, read
// into its part of one workspace and written from it again by FileWriter,
// through temporary files; and the two files the tests start from.
#pragma once

#include "../support/TempFiles.h"

#include "expr/ParseError.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "model/Workspace.h"

#include <QFile>
#include <QTextStream>

namespace iotest {

// Parameters s and p, the function q = 1 - p, the likelihood "Likelihood 1"
// with the categories "seen twice", "seen once" and the unobserved one, and
// the normal likelihood "Mean size".
const QString modelDefinitionFile = QStringLiteral(PELK_EXAMPLES_DIR "/model-definition.txt");
// The same model without the normal likelihood, Fletch, both options on,
// seeds 0.5, a request for p at 0.05 and the counts 12 and 7.
const QString workspaceFile = QStringLiteral(PELK_TEST_DATA_DIR "/workspace.txt");

using support::fileBytes;

enum class Kind { Workspace, Model, Counts, Seeds, Requests, Optimizer };

// Reads the file into the part of the workspace that its kind holds.
inline void read(Kind kind, const QString &path, pelk::Workspace &ws)
{
    pelk::PelkFileReader reader;
    switch (kind) {
    case Kind::Workspace: return reader.readWorkspace(path, ws);
    case Kind::Model: return reader.readModelDefinition(path, ws.model, ws.categoryCounts);
    case Kind::Counts: return reader.readCategoryCounts(path, ws.categoryCounts);
    case Kind::Seeds: return reader.readParameterSeeds(path, ws.model, ws.seeds);
    case Kind::Requests:
        return reader.readProfileLikelihoodRequests(path, ws.model, ws.parameterRequests, ws.variableRequests);
    case Kind::Optimizer:
        return reader.readOptimizerSettings(path, ws.usePreviousEstimatesAsSeeds, ws.calculateCovariance,
                                            ws.optimizer);
    }
}

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

// Reads the text as a file of that kind; returns the error's description
// less the file name, or an empty string after a clean read.
inline QString readFailure(Kind kind, const QByteArray &text, pelk::Workspace &ws)
{
    support::TempFiles files;
    const QString path = files.write(QStringLiteral("input.txt"), text);
    try {
        read(kind, path, ws);
    } catch (const zav::ParseError &e) {
        return descriptionInFile(e, path);
    }
    return QString();
}

// The file of that kind FileWriter writes from the workspace, written as
// text as saving does.
inline QByteArray written(Kind kind, const pelk::Workspace &ws)
{
    support::TempFiles files;
    const QString path = files.path(QStringLiteral("output.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            qFatal("cannot write %s", qPrintable(path));
        QTextStream stream(&file);
        pelk::FileWriter writer(&stream);
        switch (kind) {
        case Kind::Workspace: writer.writeWorkspace(ws); break;
        case Kind::Model: writer.writeModelDefinition(ws.model); break;
        case Kind::Counts: writer.writeCategoryCounts(ws.categoryCounts); break;
        case Kind::Seeds: writer.writeParameterSeeds(ws.model, ws.seeds); break;
        case Kind::Requests:
            writer.writeProfileLikelihoodRequests(ws.model, ws.parameterRequests, ws.variableRequests);
            break;
        case Kind::Optimizer:
            writer.writeOptimizerSettings(ws.usePreviousEstimatesAsSeeds, ws.calculateCovariance, ws.optimizer);
            break;
        }
    }
    return fileBytes(path);
}

} // namespace iotest
