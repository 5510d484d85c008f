// Reads every kind of PELK file: the model definition, the category counts,
// the parameter seeds, the profile-likelihood requests, the optimizer
// settings and the whole workspace. One reader serves one load action. Each
// file is read whole first (InputFileText: a regular file of at most 64 MiB,
// line ends made "\n"), then parsed. Every failure is a zav::ParseError that
// names the file; the targets keep what was read before the error.
#pragma once

#include <QMap>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zav {
struct OptimizerSettings;
}

namespace pelk {

class ModelDefinition;
class ProfileLikelihoods;
class TokenStream;
struct Workspace;

class PelkFileReader : public QObject
{
    Q_OBJECT

public:
    explicit PelkFileReader(QObject *parent = nullptr);
    ~PelkFileReader() override;

    // The model definition into an empty model; the counts map is rebuilt
    // with every category label at 0.
    void readModelDefinition(const QString &fileName, ModelDefinition &model,
                             QMap<QString, int> &categoryCounts);
    void readCategoryCounts(const QString &fileName, QMap<QString, int> &categoryCounts);
    void readParameterSeeds(const QString &fileName, const ModelDefinition &model,
                            std::vector<double> &seeds);
    void readProfileLikelihoodRequests(const QString &fileName, const ModelDefinition &model,
                                       ProfileLikelihoods &parameterRequests,
                                       ProfileLikelihoods &variableRequests);
    void readOptimizerSettings(const QString &fileName, bool &usePreviousEstimatesAsSeeds,
                               bool &calculateCovariance, zav::OptimizerSettings &optimizer);
    // All sections of a workspace, in file order, into a fresh workspace.
    void readWorkspace(const QString &fileName, Workspace &workspace);

private:
    // Reads the file and runs `parse` on its tokens. A file without a token
    // fails with "The file is empty" (or "... holds only comments") instead
    // of the first section's complaint; every error gets the file's name.
    void read(const QString &fileName, const std::function<void()> &parse);

    QStringList m_delimiters;
    // Declared in this order so that the tokens are destroyed before the
    // text they read.
    QString m_text;
    std::unique_ptr<TokenStream> m_tokens;
};

} // namespace pelk
