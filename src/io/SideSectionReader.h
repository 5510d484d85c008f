// Reads the sections that accompany a model: the category counts, the
// parameter seeds and the profile-likelihood requests. Each changes its
// target as it goes, so an error leaves what was stored before it.
#pragma once

#include <QMap>
#include <QString>

#include <vector>

namespace pelk {

class ModelDefinition;
class ProfileLikelihoods;
class TokenStream;

class SideSectionReader
{
public:
    // Count lines "<label> [: <count>]" up to the end of input; every label
    // must already be a key of the map. Existing counts are first set to 0.
    // The lines of one label add up; a count, or a label's sum, that does
    // not fit in an int is refused.
    // A standalone file must hold at least one line; the counts section of a
    // workspace may be absent.
    static void readCategoryCounts(TokenStream &tokens, QMap<QString, int> &categoryCounts,
                                   bool requireOneLine);

    // "parameterSeeds" then ";" or "<name> = <value>" entries. The seeds are
    // resized to the parameter count first; parameters not named keep theirs.
    static void readParameterSeeds(TokenStream &tokens, const ModelDefinition &model,
                                   std::vector<double> &seeds);

    // "profileLikelihoodRequests" then ";" or "<symbol> = <alpha level>"
    // entries, each toggling one request.
    static void readProfileLikelihoodRequests(TokenStream &tokens, const ModelDefinition &model,
                                              ProfileLikelihoods &parameterRequests,
                                              ProfileLikelihoods &variableRequests);

private:
    static void readCountLine(TokenStream &tokens, QMap<QString, int> &categoryCounts);
};

} // namespace pelk
