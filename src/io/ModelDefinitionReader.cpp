#include "io/ModelDefinitionReader.h"

#include "expr/ParseError.h"
#include "expr/Parser.h"
#include "io/AssignmentList.h"
#include "io/FileTextRules.h"
#include "io/TokenStream.h"
#include "model/ModelDefinition.h"

#include <QStringList>

namespace pelk {

namespace {

const QString likelihoodKeyword = QStringLiteral("likelihood");
const QString normalLikelihoodKeyword = QStringLiteral("normalLikelihood");

} // namespace

ModelDefinitionReader::ModelDefinitionReader(TokenStream &tokens, ModelDefinition &model)
    : m_tokens(tokens), m_model(model),
      m_parameterNames(model.parameterNames().cbegin(), model.parameterNames().cend())
{
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        for (int i = 0; i < model.categoryCount(id); ++i)
            m_categoryLabels.insert(model.categoryLabel(id, i));
    }
}

void ModelDefinitionReader::read(QMap<QString, int> &categoryCounts, bool allowNoLikelihood)
{
    try {
        readParameters();
        readVariables();
        readLikelihoods(allowNoLikelihood);
    } catch (...) {
        resetCounts(m_model, categoryCounts);
        throw;
    }
    resetCounts(m_model, categoryCounts);
}

void ModelDefinitionReader::resetCounts(const ModelDefinition &model, QMap<QString, int> &categoryCounts)
{
    categoryCounts.clear();
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        for (int i = 0; i < model.categoryCount(id); ++i)
            categoryCounts.insert(model.categoryLabel(id, i), 0);
    }
}

QString ModelDefinitionReader::concatenated(const zav::TokenList &tokens)
{
    QString text;
    for (const zav::Token &token : tokens)
        text += token.text;
    return text;
}

// parameterList: ";" | name { "," name } ";"
void ModelDefinitionReader::readParameters()
{
    m_tokens.expect(QStringLiteral("parameters"));
    if (m_tokens.peek().text != u";") {
        for (;;) {
            const zav::Token name = m_tokens.next();
            if (!m_validator.isValid(name.text))
                throw zav::ParseError(name, QStringLiteral("Illegal parameter name"));
            if (m_parameterNames.contains(name.text))
                throw zav::ParseError(name, QStringLiteral("Duplicate symbol name"));
            m_parameterNames.insert(name.text);
            m_model.insertParameter(m_model.parameterCount(), name.text);
            if (m_tokens.peek().text != u",")
                break;
            m_tokens.next();
        }
    }
    m_tokens.expect(QStringLiteral(";"));
}

// variableList: ";" | name "=" expression { "," name "=" expression } ";"
void ModelDefinitionReader::readVariables()
{
    m_tokens.expect(QStringLiteral("variables"));
    if (m_tokens.peek().text == u";") {
        m_tokens.next();
        return;
    }
    const QList<Assignment> entries = AssignmentList::read(m_tokens);
    for (const Assignment &entry : entries) {
        // An empty definition has no token of its own; the delimiter that
        // ended it is the place to show.
        if (entry.value.isEmpty())
            throw zav::ParseError(entry.separator, QStringLiteral("Syntax error"));
        zav::EquationPtr equation = zav::parse(entry.value, m_validator, &m_names);
        QStringList texts;
        for (const zav::Token &token : entry.value)
            texts.append(token.text);
        m_model.insertVariable(m_model.variableCount(), entry.name.text, texts.join(u' ').trimmed(),
                               std::move(equation));
    }
}

// The first likelihood section may be of either kind: a model whose
// multinomial likelihoods before a normal one were deleted must still load.
void ModelDefinitionReader::readLikelihoods(bool allowNoLikelihood)
{
    const QString first = m_tokens.peek().text;
    if (allowNoLikelihood && first == u"optimizer")
        return;
    if (first == normalLikelihoodKeyword)
        readNormalLikelihood();
    else
        readMultinomialLikelihood(); // anything else fails in its expect("likelihood")
    for (;;) {
        const QString kind = m_tokens.peek().text;
        if (kind == likelihoodKeyword)
            readMultinomialLikelihood();
        else if (kind == normalLikelihoodKeyword)
            readNormalLikelihood();
        else
            return;
    }
}

// quotedName: "\"" { word } "\""
QString ModelDefinitionReader::readLikelihoodName()
{
    m_tokens.expect(QStringLiteral("\""));
    QStringList words;
    for (;;) {
        const zav::Token token = m_tokens.next();
        TokenStream::throwIfEnd(token); // an unbalanced quote
        if (token.text == u"\"")
            break;
        words.append(token.text);
    }
    const QString name = words.join(u' ').simplified();
    if (m_model.hasLikelihood(name))
        throw zav::ParseError(zav::Token::empty(),
                              QStringLiteral("Duplicate likelihood name \"%1\".").arg(name));
    return name;
}

// likelihood: "likelihood" quotedName ( ";" | category { "," category } ";" )
void ModelDefinitionReader::readMultinomialLikelihood()
{
    m_tokens.expect(likelihoodKeyword);
    const QString name = readLikelihoodName();
    // The likelihood exists from here on, even when a category fails.
    const int id = m_model.addLikelihood(name, false);
    if (m_tokens.peek().text == u";") {
        m_tokens.next();
        return;
    }
    for (;;) {
        readCategory(id);
        if (m_tokens.peek().text != u",")
            break;
        m_tokens.next();
    }
    m_tokens.expect(QStringLiteral(";"));
}

// category: label "," expression | "," expression "," symbolName
void ModelDefinitionReader::readCategory(int id)
{
    QString label;
    const zav::Token first = m_tokens.peek();
    for (;;) {
        const zav::Token token = m_tokens.peek();
        TokenStream::throwIfEnd(token);
        if (token.text == u",")
            break;
        label += m_tokens.next().text + u' ';
    }
    label = label.simplified();
    // What the editors refuse, the reader refuses too, or the workspace saved
    // from this model would not load: "x : y" ends at its ":" in the counts
    // section, and "; y", written first because the unobserved category is
    // written last, ends the likelihood.
    if (!label.isEmpty() && !FileTextRules::isWritableCategoryLabel(label))
        throw zav::ParseError(zav::Token(label, first.line, first.column),
                              QStringLiteral("Illegal category label"));
    if (!label.isEmpty() && m_categoryLabels.contains(label))
        throw zav::ParseError(zav::Token::empty(),
                              QStringLiteral("Duplicate category label \"%1\"").arg(label));
    m_tokens.next(); // the ","

    const zav::TokenList probability = m_tokens.gatherExpression();
    if (probability.isEmpty())
        throw zav::ParseError(m_tokens.peek(), QStringLiteral("Syntax error"));
    zav::EquationPtr equation = zav::parse(probability, m_validator, &m_names);
    const QString text = concatenated(probability);

    if (!label.isEmpty()) {
        m_categoryLabels.insert(label);
        m_model.insertCategory(id, label, text, std::move(equation));
        return;
    }
    // The unobserved category: its abundance symbol follows.
    m_tokens.expect(QStringLiteral(","));
    const zav::Token symbol = m_tokens.next();
    if (!m_model.hasParameter(symbol.text) && !m_model.hasVariable(symbol.text))
        throw zav::ParseError(symbol, QStringLiteral("Unrecognized symbol name"));
    m_model.setUnobservedCategory(id, symbol.text, text, std::move(equation));
}

// normalLikelihood: "normalLikelihood" quotedName "observed" "," expression ","
//                   "expected" "," expression "," "standardError" "," expression ";"
void ModelDefinitionReader::readNormalLikelihood()
{
    m_tokens.expect(normalLikelihoodKeyword);
    const QString name = readLikelihoodName();

    struct Formula
    {
        QString text;
        zav::EquationPtr equation;
    };
    // An empty formula is allowed here: it gives an empty text and no tree.
    auto readFormula = [this](const QString &keyword, const QString &end) {
        m_tokens.expect(keyword);
        m_tokens.expect(QStringLiteral(","));
        const zav::TokenList tokens = m_tokens.gatherExpression();
        Formula formula;
        if (!tokens.isEmpty()) {
            formula.equation = zav::parse(tokens, m_validator, &m_names);
            formula.text = concatenated(tokens);
        }
        m_tokens.expect(end);
        return formula;
    };
    Formula observed = readFormula(QStringLiteral("observed"), QStringLiteral(","));
    Formula expected = readFormula(QStringLiteral("expected"), QStringLiteral(","));
    Formula standardError = readFormula(QStringLiteral("standardError"), QStringLiteral(";"));

    // A normal likelihood enters the model only once it has been read whole.
    const int id = m_model.addLikelihood(name, true);
    m_model.setObserved(id, observed.text, std::move(observed.equation));
    m_model.setExpected(id, expected.text, std::move(expected.equation));
    m_model.setStandardError(id, standardError.text, std::move(standardError.equation));
}

} // namespace pelk
