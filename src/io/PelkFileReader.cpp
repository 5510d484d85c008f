#include "io/PelkFileReader.h"

#include "expr/ParseError.h"
#include "io/InputFileText.h"
#include "io/ModelDefinitionReader.h"
#include "io/OptimizerSectionReader.h"
#include "io/SideSectionReader.h"
#include "io/TokenStream.h"
#include "model/Workspace.h"

namespace pelk {

PelkFileReader::PelkFileReader(QObject *parent)
    : QObject(parent), m_delimiters(TokenStream::defaultDelimiters())
{}

PelkFileReader::~PelkFileReader() = default;

void PelkFileReader::read(const QString &fileName, const std::function<void()> &parse)
{
    m_tokens.reset();
    try {
        m_text = InputFileText::read(fileName);
        m_tokens = std::make_unique<TokenStream>(m_text, 0, TokenStream::defaultWhitespace(), m_delimiters,
                                                 QStringLiteral("#"));
        const bool noTokens = m_tokens->peek().text.isEmpty();
        try {
            parse();
        } catch (const zav::ParseError &) {
            // Every section needs a token, so an empty file always ends here;
            // the section readers have done what they do on failure.
            if (!noTokens)
                throw;
            throw zav::ParseError(zav::Token::empty(),
                                  m_text.trimmed().isEmpty()
                                      ? QStringLiteral("The file is empty")
                                      : QStringLiteral("The file holds only comments"));
        }
    } catch (zav::ParseError &error) {
        error.setFileName(fileName);
        throw;
    }
}

void PelkFileReader::readModelDefinition(const QString &fileName, ModelDefinition &model,
                                         QMap<QString, int> &categoryCounts)
{
    read(fileName, [&] { ModelDefinitionReader(*m_tokens, model).read(categoryCounts); });
}

void PelkFileReader::readCategoryCounts(const QString &fileName, QMap<QString, int> &categoryCounts)
{
    read(fileName, [&] { SideSectionReader::readCategoryCounts(*m_tokens, categoryCounts, true); });
}

void PelkFileReader::readParameterSeeds(const QString &fileName, const ModelDefinition &model,
                                        std::vector<double> &seeds)
{
    read(fileName, [&] { SideSectionReader::readParameterSeeds(*m_tokens, model, seeds); });
}

void PelkFileReader::readProfileLikelihoodRequests(const QString &fileName, const ModelDefinition &model,
                                                   ProfileLikelihoods &parameterRequests,
                                                   ProfileLikelihoods &variableRequests)
{
    read(fileName, [&] {
        SideSectionReader::readProfileLikelihoodRequests(*m_tokens, model, parameterRequests,
                                                         variableRequests);
    });
}

void PelkFileReader::readOptimizerSettings(const QString &fileName, bool &usePreviousEstimatesAsSeeds,
                                           bool &calculateCovariance, zav::OptimizerSettings &optimizer)
{
    read(fileName, [&] {
        OptimizerSectionReader::read(*m_tokens, usePreviousEstimatesAsSeeds, calculateCovariance, optimizer);
    });
}

void PelkFileReader::readWorkspace(const QString &fileName, Workspace &workspace)
{
    read(fileName, [&] {
        // A workspace may hold no likelihood: its model had them all deleted.
        ModelDefinitionReader(*m_tokens, workspace.model).read(workspace.categoryCounts, true);
        OptimizerSectionReader::read(*m_tokens, workspace.usePreviousEstimatesAsSeeds,
                                     workspace.calculateCovariance, workspace.optimizer);
        SideSectionReader::readParameterSeeds(*m_tokens, workspace.model, workspace.seeds);
        SideSectionReader::readProfileLikelihoodRequests(
            *m_tokens, workspace.model, workspace.parameterRequests, workspace.variableRequests);
        // The counts section has no keyword and may be absent; it runs to the end.
        if (!m_tokens->peek().text.isEmpty())
            SideSectionReader::readCategoryCounts(*m_tokens, workspace.categoryCounts, false);
    });
}

} // namespace pelk
