// Reads every kind of PELK file: the model definition, the category counts,
// the parameter seeds, the profile-likelihood requests, the optimizer
// settings and the whole workspace. One reader serves one load action; it
// owns the file it opened. Every failure is a zav::ParseError without a
// file name (the caller adds it where it wants one); the targets keep what
// was read before the error.
#pragma once

#include "optim/OptimizerFactory.h"

#include <QMap>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class QFile;
class QTextStream;

namespace pelk {

class ModelDefinition;
class ProfileLikelihoods;
class TokenStream;

class PelkFileReader : public QObject
{
    Q_OBJECT

public:
    explicit PelkFileReader(QObject *parent = nullptr);
    ~PelkFileReader() override;

    // Discards a file opened before and opens this one; throws
    // "Error opening input file \"<fileName>\"" when it cannot.
    void open(const QString &fileName);
    // The tokens of the open file (null before open).
    TokenStream *tokenStream() const { return m_tokens.get(); }

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
    // Sets the factory's type and settings records; emits optimizerChanged.
    void readOptimizerSettings(const QString &fileName, bool &usePreviousEstimatesAsSeeds,
                               bool &calculateCovariance);
    // All sections of a workspace, in file order, into fresh targets.
    void readWorkspace(const QString &fileName, ModelDefinition &model, std::vector<double> &seeds,
                       ProfileLikelihoods &parameterRequests, ProfileLikelihoods &variableRequests,
                       QMap<QString, int> &categoryCounts, bool &usePreviousEstimatesAsSeeds,
                       bool &calculateCovariance);

signals:
    void optimizerChanged(zav::OptimizerFactory::OptimizerType optimizerType);

private:
    void readOptimizerSection(bool &usePreviousEstimatesAsSeeds, bool &calculateCovariance);

    QStringList m_delimiters;
    // Declared in this order so that each is destroyed before what it reads.
    std::unique_ptr<QFile> m_file;
    std::unique_ptr<QTextStream> m_stream;
    std::unique_ptr<TokenStream> m_tokens;
};

} // namespace pelk
