// Which parameters or convenience functions want profile-likelihood limits,
// at which alpha levels, and the limits the profile run found. The presence
// of a key is the request. Indexes are symbol positions: the window keeps
// one container for parameters and one for convenience functions.
#pragma once

#include <QStringList>

#include <map>
#include <utility>
#include <vector>

namespace pelk {

// How the search of one side of an interval ended.
enum class ProfileLimitStatus {
    NotFound, // the search failed (or has not run): no limit
    Found, // the value is the limit
    // The objective became unusable before the statistic reached its target
    // (a probability running to 0 or 1): the limit lies beyond the value,
    // the last one at which the model could be evaluated.
    AtBound,
    // The profile levelled off below the target as far out as the search
    // went (the value): the data do not bound the quantity on that side.
    Open,
    // A profile point beat the estimates: no limit can be computed against
    // a maximum that is not one.
    BetterOptimum,
};

struct ProfileLimit
{
    ProfileLimitStatus status = ProfileLimitStatus::NotFound;
    double value = 0.0;

    static ProfileLimit found(double value) { return {ProfileLimitStatus::Found, value}; }

    bool operator==(const ProfileLimit &o) const { return status == o.status && value == o.value; }
};

struct ProfileResult
{
    ProfileLimit lower;
    ProfileLimit upper;
    double displayDigits = 0.0; // decimals with which the limits are shown
    // Points (q, 2 (f(profile at q) - f at the estimates)) of the profile
    // that the searches, and any later curve points, evaluated, by q.
    std::vector<std::pair<double, double>> points;

    bool operator==(const ProfileResult &o) const
    {
        return lower == o.lower && upper == o.upper && displayDigits == o.displayDigits && points == o.points;
    }
};

class ProfileLikelihoods
{
public:
    // (symbol index, alpha index), ordered by index, then by alpha index.
    using Key = std::pair<int, int>;
    using Map = std::map<Key, ProfileResult>;

    // The alpha levels in index order 0, 1, 2.
    static const QStringList &alphaLevels();
    static int alphaLevelCount() { return 3; }

    bool isRequested(int index, int alphaIndex) const { return m_results.count({index, alphaIndex}) != 0; }
    // Removes the request when present, otherwise adds it with an empty result.
    void toggleRequest(int index, int alphaIndex);

    // Overwrites the result of a requested key; a key that is not requested
    // is left alone.
    void setResult(int index, int alphaIndex, const ProfileResult &result);
    const ProfileResult &result(int index, int alphaIndex) const { return m_results.at({index, alphaIndex}); }

    int count() const { return int(m_results.size()); }
    bool isEmpty() const { return m_results.empty(); }
    Map::const_iterator begin() const { return m_results.begin(); }
    Map::const_iterator end() const { return m_results.end(); }

    // A symbol was inserted at position i: keys at i and above move up by one.
    void insertIndex(int i);
    // The symbol at position i was deleted: its keys go, keys above move down.
    void removeIndex(int i);

    bool operator==(const ProfileLikelihoods &o) const { return m_results == o.m_results; }

private:
    Map m_results;
};

} // namespace pelk
