#include "io/PelkFileReader.h"

#include "expr/ParseError.h"
#include "io/ModelDefinitionReader.h"
#include "io/OptimizerSectionReader.h"
#include "io/SideSectionReader.h"
#include "io/TokenStream.h"

#include <QFile>
#include <QTextStream>

namespace pelk {

PelkFileReader::PelkFileReader(QObject *parent)
    : QObject(parent), m_delimiters(TokenStream::defaultDelimiters())
{}

PelkFileReader::~PelkFileReader() = default;

void PelkFileReader::open(const QString &fileName)
{
    m_tokens.reset();
    m_stream.reset();
    m_file.reset();
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Text))
        throw zav::ParseError(zav::Token::empty(),
                              QStringLiteral("Error opening input file \"%1\"").arg(fileName));
    m_file = std::move(file);
    m_stream = std::make_unique<QTextStream>(m_file.get());
    m_tokens = std::make_unique<TokenStream>(m_stream.get(), 0, TokenStream::defaultWhitespace(),
                                             m_delimiters, QStringLiteral("#"));
}

void PelkFileReader::readModelDefinition(const QString &fileName, ModelDefinition &model,
                                         QMap<QString, int> &categoryCounts)
{
    open(fileName);
    ModelDefinitionReader(*m_tokens, model).read(categoryCounts);
}

void PelkFileReader::readCategoryCounts(const QString &fileName, QMap<QString, int> &categoryCounts)
{
    open(fileName);
    SideSectionReader::readCategoryCounts(*m_tokens, categoryCounts, true);
}

void PelkFileReader::readParameterSeeds(const QString &fileName, const ModelDefinition &model,
                                        std::vector<double> &seeds)
{
    open(fileName);
    SideSectionReader::readParameterSeeds(*m_tokens, model, seeds);
}

void PelkFileReader::readProfileLikelihoodRequests(const QString &fileName, const ModelDefinition &model,
                                                   ProfileLikelihoods &parameterRequests,
                                                   ProfileLikelihoods &variableRequests)
{
    open(fileName);
    SideSectionReader::readProfileLikelihoodRequests(*m_tokens, model, parameterRequests, variableRequests);
}

void PelkFileReader::readOptimizerSettings(const QString &fileName, bool &usePreviousEstimatesAsSeeds,
                                           bool &calculateCovariance)
{
    open(fileName);
    readOptimizerSection(usePreviousEstimatesAsSeeds, calculateCovariance);
}

void PelkFileReader::readOptimizerSection(bool &usePreviousEstimatesAsSeeds, bool &calculateCovariance)
{
    OptimizerSectionReader::read(
        *m_tokens, usePreviousEstimatesAsSeeds, calculateCovariance,
        [this](zav::OptimizerFactory::OptimizerType type) { emit optimizerChanged(type); });
}

void PelkFileReader::readWorkspace(const QString &fileName, ModelDefinition &model,
                                   std::vector<double> &seeds, ProfileLikelihoods &parameterRequests,
                                   ProfileLikelihoods &variableRequests, QMap<QString, int> &categoryCounts,
                                   bool &usePreviousEstimatesAsSeeds, bool &calculateCovariance)
{
    open(fileName);
    // A workspace may hold no likelihood: its model had them all deleted.
    ModelDefinitionReader(*m_tokens, model).read(categoryCounts, true);
    readOptimizerSection(usePreviousEstimatesAsSeeds, calculateCovariance);
    SideSectionReader::readParameterSeeds(*m_tokens, model, seeds);
    SideSectionReader::readProfileLikelihoodRequests(*m_tokens, model, parameterRequests, variableRequests);
    // The counts section has no keyword and may be absent; it runs to the end.
    if (!m_tokens->peek().text.isEmpty())
        SideSectionReader::readCategoryCounts(*m_tokens, categoryCounts, false);
}

} // namespace pelk
