#include "io/OptimizerSectionReader.h"

#include "expr/NumberText.h"
#include "expr/ParseError.h"
#include "io/AssignmentList.h"
#include "io/OptimizerKeyword.h"
#include "io/TokenStream.h"
#include "optim/FletchSettings.h"
#include "optim/SimplexSettings.h"

#include <QSet>

#include <algorithm>
#include <functional>

namespace pelk {

namespace {

const QString unrecognizedKeyword = QStringLiteral("Unrecognized keyword");
const QString illegalValue = QStringLiteral("illegal value");

// The first token of the value; an empty value yields the separator's
// token with empty converted text, so every check below refuses it.
const zav::Token &valueToken(const Assignment &entry)
{
    return entry.firstValueToken();
}

QString valueText(const Assignment &entry)
{
    return entry.value.isEmpty() ? QString() : entry.value.first().text;
}

// "<keyword> = yes|no"; the flag is true for "yes".
void readFlag(const Assignment &entry, const QString &keyword, bool &flag)
{
    if (entry.name.text != keyword)
        throw zav::ParseError(entry.name, unrecognizedKeyword);
    const QString text = valueText(entry);
    if (text != u"yes" && text != u"no")
        throw zav::ParseError(valueToken(entry), illegalValue);
    flag = text == u"yes";
}

double doubleValue(const Assignment &entry, const QString &reason)
{
    const std::optional<double> value = zav::toFiniteDouble(valueText(entry));
    if (!value)
        throw zav::ParseError(valueToken(entry), reason);
    return *value;
}

int intValue(const Assignment &entry, const QString &reason)
{
    const std::optional<int> value = zav::toInt(valueText(entry));
    if (!value)
        throw zav::ParseError(valueToken(entry), reason);
    return *value;
}

// One setting that may follow the two options: its keyword and how its
// value is checked and stored.
struct Setting
{
    QString keyword;
    std::function<void(const Assignment &)> store;
};

// The entries after the two options, in any order; a name outside the
// method's settings, or one met twice, is refused.
void readSettings(const QList<Assignment> &entries, const QList<Setting> &settings)
{
    QSet<QString> seen;
    for (qsizetype i = 2; i < entries.size(); ++i) {
        const Assignment &entry = entries.at(i);
        const auto setting = std::find_if(settings.begin(), settings.end(), [&entry](const Setting &s) {
            return s.keyword == entry.name.text;
        });
        if (setting == settings.end())
            throw zav::ParseError(entry.name, unrecognizedKeyword);
        if (seen.contains(entry.name.text))
            throw zav::ParseError(entry.name, QStringLiteral("Keyword specified twice"));
        seen.insert(entry.name.text);
        setting->store(entry);
    }
}

void readFletchSettings(const QList<Assignment> &entries, zav::FletchSettings &fletch)
{
    readSettings(entries,
                 {{QStringLiteral("maxIterations"),
                   [&fletch](const Assignment &e) {
                       fletch.maxIterations = intValue(e, QStringLiteral("Illegal max. iterations value"));
                   }},
                  {QStringLiteral("precision"),
                   [&fletch](const Assignment &e) {
                       fletch.precision = doubleValue(e, QStringLiteral("Illegal precision"));
                   }},
                  {QStringLiteral("stepSize"), [&fletch](const Assignment &e) {
                       fletch.stepSize = doubleValue(e, QStringLiteral("Illegal step size"));
                   }}});
}

void readSimplexSettings(const QList<Assignment> &entries, zav::SimplexSettings &simplex)
{
    readSettings(
        entries,
        {{QStringLiteral("fractionalTolerance"),
          [&simplex](const Assignment &e) { simplex.fractionalTolerance = doubleValue(e, illegalValue); }},
         {QStringLiteral("maxFuncEvaluations"),
          [&simplex](const Assignment &e) { simplex.maxFuncEvaluations = intValue(e, illegalValue); }},
         {QStringLiteral("stepSize"),
          [&simplex](const Assignment &e) { simplex.stepSize = doubleValue(e, illegalValue); }}});
}

} // namespace

void OptimizerSectionReader::read(TokenStream &tokens, bool &usePreviousEstimatesAsSeeds,
                                  bool &calculateCovariance, zav::OptimizerSettings &optimizer)
{
    using Factory = zav::OptimizerFactory;
    tokens.expect(QStringLiteral("optimizer"));
    const zav::Token method = tokens.next();
    const auto methodType = optimizerTypeForKeyword(method.text);
    if (!methodType)
        throw zav::ParseError(method, unrecognizedKeyword);
    const Factory::OptimizerType type = *methodType;
    tokens.expect(QStringLiteral(","));

    const QList<Assignment> entries = AssignmentList::read(tokens); // never empty
    readFlag(entries.at(0), QStringLiteral("usePreviousEstimatesAsSeeds"), usePreviousEstimatesAsSeeds);
    // The second option is missing: blame the ";" where its entry should start.
    if (entries.size() < 2)
        throw zav::ParseError(entries.at(0).separator, unrecognizedKeyword);
    readFlag(entries.at(1), QStringLiteral("calculateCovariance"), calculateCovariance);

    optimizer.type = type;
    if (type == Factory::Fletch)
        readFletchSettings(entries, optimizer.fletch);
    else if (type == Factory::Simplex)
        readSimplexSettings(entries, optimizer.simplex);
    // Powell has no settings: further entries are ignored.
}

} // namespace pelk
