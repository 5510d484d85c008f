#include "io/SideSectionReader.h"

#include "expr/NumberText.h"
#include "expr/ParseError.h"
#include "io/AssignmentList.h"
#include "io/TokenStream.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"

#include <QHash>
#include <QStringList>

#include <limits>

namespace pelk {

namespace {

// Decimal digits after an optional sign: a whole number of any size.
bool isWholeNumberText(const QString &text)
{
    const qsizetype start = text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0;
    if (start == text.size())
        return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text.at(i) < u'0' || text.at(i) > u'9')
            return false;
    return true;
}

// Position of each name in the list, the first one where a name repeats
// (as QStringList::indexOf gives it): looking every entry of a section up
// in the list itself would make reading quadratic in the number of names.
QHash<QString, int> positions(const QStringList &names)
{
    QHash<QString, int> result;
    result.reserve(names.size());
    for (int i = int(names.size()) - 1; i >= 0; --i)
        result.insert(names.at(i), i);
    return result;
}

} // namespace

void SideSectionReader::readCategoryCounts(TokenStream &tokens, QMap<QString, int> &categoryCounts,
                                           bool requireOneLine)
{
    for (auto it = categoryCounts.begin(); it != categoryCounts.end(); ++it)
        it.value() = 0;
    if (requireOneLine)
        readCountLine(tokens, categoryCounts);
    while (!tokens.peek().text.isEmpty())
        readCountLine(tokens, categoryCounts);
}

// "<label> : <count>", or "<label>" alone for a count of 1. The label runs
// to a ":" or to the end of its line, whichever comes first.
void SideSectionReader::readCountLine(TokenStream &tokens, QMap<QString, int> &categoryCounts)
{
    const zav::Token first = tokens.next();
    // A file with no count line at all must not make the reader wait for one.
    TokenStream::throwIfEnd(first);
    QString label = first.text; // the words joined by single blanks
    bool lastOnLine = first.lastOnLine;
    while (!lastOnLine) {
        const zav::Token token = tokens.peek();
        // The last token of the input is always last on its line, so the
        // loop ends there; the test only guards against a stream that lies.
        if (token.text.isEmpty() || token.text == u":")
            break;
        tokens.next();
        label += u' ';
        label += token.text;
        lastOnLine = token.lastOnLine;
    }
    // One lookup for the check and the update: the counts section names
    // every category of the model.
    const auto entry = categoryCounts.find(label);
    if (entry == categoryCounts.end())
        throw zav::ParseError(
            zav::Token::empty(),
            QStringLiteral("Unknown category \"%1\" at line %2").arg(label).arg(first.line));
    int count = 1;
    // Where a sum out of range is shown: the count, or the label of a line
    // that counts 1.
    zav::Token countToken(label, first.line, first.column);
    if (!lastOnLine && tokens.peek().text == u":") {
        tokens.next();
        countToken = tokens.next();
        const std::optional<int> value = zav::toInt(countToken.text);
        if (!value)
            throw zav::ParseError(countToken, isWholeNumberText(countToken.text)
                                                  ? QStringLiteral("Count out of range")
                                                  : QStringLiteral("Illegal counts"));
        count = *value;
    }
    // Counts are ints everywhere; lines that add up past one are refused
    // rather than wrapped round.
    const qint64 sum = qint64(entry.value()) + count;
    if (sum > std::numeric_limits<int>::max() || sum < std::numeric_limits<int>::min())
        throw zav::ParseError(countToken,
                              QStringLiteral("Counts of category \"%1\" add up out of range").arg(label));
    entry.value() = int(sum);
}

void SideSectionReader::readParameterSeeds(TokenStream &tokens, const ModelDefinition &model,
                                           std::vector<double> &seeds)
{
    tokens.expect(QStringLiteral("parameterSeeds"));
    // Resized before anything is stored: existing values stay, new ones are
    // 0, and every index below is a valid parameter position.
    seeds.resize(std::size_t(model.parameterCount()), 0.0);
    // A model without parameters has an empty section, "parameterSeeds;".
    if (tokens.peek().text == u";") {
        tokens.next();
        return;
    }
    const QList<Assignment> entries = AssignmentList::read(tokens);
    const QHash<QString, int> parameters = positions(model.parameterNames());
    for (const Assignment &entry : entries) {
        const int index = parameters.value(entry.name.text, -1);
        if (index < 0)
            throw zav::ParseError(entry.name, QStringLiteral("Unrecognized parameter name"));
        const zav::Token &valueToken = entry.firstValueToken();
        const std::optional<double> value
            = entry.value.isEmpty() ? std::nullopt : zav::toFiniteDouble(valueToken.text);
        if (!value)
            throw zav::ParseError(valueToken, QStringLiteral("Illegal parameter seed"));
        seeds[std::size_t(index)] = *value;
    }
}

void SideSectionReader::readProfileLikelihoodRequests(TokenStream &tokens, const ModelDefinition &model,
                                                      ProfileLikelihoods &parameterRequests,
                                                      ProfileLikelihoods &variableRequests)
{
    tokens.expect(QStringLiteral("profileLikelihoodRequests"));
    if (tokens.peek().text == u";") {
        tokens.next();
        return;
    }
    const QStringList &levels = ProfileLikelihoods::alphaLevels();
    const QList<Assignment> entries = AssignmentList::read(tokens);
    const QHash<QString, int> parameters = positions(model.parameterNames());
    const QHash<QString, int> variables = positions(model.variableNames());
    for (const Assignment &entry : entries) {
        ProfileLikelihoods *requests = &parameterRequests;
        int index = parameters.value(entry.name.text, -1);
        if (index < 0) {
            requests = &variableRequests;
            index = variables.value(entry.name.text, -1);
        }
        if (index < 0)
            throw zav::ParseError(entry.name, QStringLiteral("Unrecognized symbol"));
        const zav::Token &valueToken = entry.firstValueToken();
        // Levels are matched as text: "0.1" is not "0.10".
        const qsizetype level = entry.value.isEmpty() ? -1 : levels.indexOf(valueToken.text);
        if (level < 0)
            throw zav::ParseError(valueToken, QStringLiteral("Unrecognized alpha level"));
        requests->toggleRequest(index, int(level));
    }
}

} // namespace pelk
