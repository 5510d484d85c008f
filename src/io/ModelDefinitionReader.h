// Reads the model definition sections (parameters, convenience functions,
// likelihoods) from a token stream into a model, as a model definition file
// and the head of a workspace file hold them.
#pragma once

#include "expr/NameTable.h"
#include "expr/SymbolValidator.h"
#include "expr/Token.h"

#include <QMap>
#include <QSet>
#include <QString>

namespace pelk {

class ModelDefinition;
class TokenStream;

class ModelDefinitionReader
{
public:
    ModelDefinitionReader(TokenStream &tokens, ModelDefinition &model);

    // Reads "parameters", "variables" and the likelihood sections, then
    // gives every category label the count 0 in the cleared counts map.
    // The counts are rebuilt even when a section fails, so the map always
    // has an entry for each label that made it into the model. With
    // allowNoLikelihood, a stream whose next token after the variables is
    // "optimizer" may hold no likelihood at all (a workspace whose
    // likelihoods were all deleted).
    void read(QMap<QString, int> &categoryCounts, bool allowNoLikelihood = false);

    void readParameters();
    void readVariables();
    void readLikelihoods(bool allowNoLikelihood);
    void readMultinomialLikelihood();
    void readNormalLikelihood();

    // Every regular category label of the model with the count 0.
    static void resetCounts(const ModelDefinition &model, QMap<QString, int> &categoryCounts);

private:
    QString readLikelihoodName();
    void readCategory(int id);
    static QString concatenated(const zav::TokenList &tokens);

    TokenStream &m_tokens;
    ModelDefinition &m_model;
    SymbolValidator m_validator;
    zav::NameTable m_names;
    // The model's parameter names and category labels, for the duplicate
    // checks: the model's own lookups scan its lists, which would make
    // reading quadratic in the number of names.
    QSet<QString> m_parameterNames;
    QSet<QString> m_categoryLabels;
};

} // namespace pelk
