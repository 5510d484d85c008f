// Writes every section of PELK's files to a text stream: the model
// definition, the optimizer settings, the parameter seeds, the
// profile-likelihood requests, the category counts and the whole workspace.
// What it writes, the reader reads back.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

class QTextStream;

namespace zav {
struct OptimizerSettings;
}

namespace pelk {

class ModelDefinition;
class ProfileLikelihoods;
struct Workspace;

class FileWriter
{
public:
    // The stream is not owned; the caller flushes or closes it.
    explicit FileWriter(QTextStream *stream);

    void writeParameters(const ModelDefinition &model);
    void writeVariables(const ModelDefinition &model);
    void writeLikelihoods(const ModelDefinition &model);
    // One line "<name> = <value>" per pair, "," after all but the last,
    // which gets ";"; nothing for an empty list.
    void writeAssignments(const QStringList &names, const QStringList &values);
    void writeModelDefinition(const ModelDefinition &model);

    // Every entry of the map, in ascending order of label.
    void writeCategoryCounts(const QMap<QString, int> &categoryCounts);
    // Only the entries whose label is a regular category label of the model.
    void writeCategoryCounts(const QMap<QString, int> &categoryCounts, const ModelDefinition &model);
    void writeParameterSeeds(const ModelDefinition &model, const std::vector<double> &seeds);
    void writeProfileLikelihoodRequests(const ModelDefinition &model,
                                        const ProfileLikelihoods &parameterRequests,
                                        const ProfileLikelihoods &variableRequests);
    // The method of `optimizer` with its settings.
    void writeOptimizerSettings(bool usePreviousEstimatesAsSeeds, bool calculateCovariance,
                                const zav::OptimizerSettings &optimizer);

    void writeWorkspace(const Workspace &workspace);

private:
    void writeMultinomialLikelihood(const ModelDefinition &model, int id);
    void writeNormalLikelihood(const ModelDefinition &model, int id);
    void endLine();

    QTextStream *m_stream;
};

} // namespace pelk
