// Everything a workspace file holds, in one place: the model, the seeds,
// both profile-request containers, the category counts and the two
// estimation options. Headless tools read and write whole workspaces
// through it; the optimizer choice and settings live in their process-wide
// records, which reading sets.
#pragma once

#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"

#include <QMap>
#include <QString>

#include <vector>

namespace pelk {

class FileWriter;
class PelkFileReader;

struct Workspace
{
    ModelDefinition model;
    std::vector<double> seeds;
    ProfileLikelihoods parameterRequests;
    ProfileLikelihoods variableRequests;
    QMap<QString, int> categoryCounts;
    bool usePreviousEstimatesAsSeeds = false;
    bool calculateCovariance = false;

    // Reads a workspace file into this (fresh) workspace; throws
    // zav::ParseError naming the file, leaving what was read.
    void read(const QString &fileName);
    // The same with the caller's reader, so that it can listen to it.
    void read(const QString &fileName, PelkFileReader &reader);
    void write(FileWriter &writer) const;
};

} // namespace pelk
