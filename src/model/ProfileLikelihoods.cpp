#include "model/ProfileLikelihoods.h"

namespace pelk {

const QStringList &ProfileLikelihoods::alphaLevels()
{
    static const QStringList levels {QStringLiteral("0.01"), QStringLiteral("0.05"), QStringLiteral("0.10")};
    return levels;
}

void ProfileLikelihoods::toggleRequest(int index, int alphaIndex)
{
    const Key key {index, alphaIndex};
    if (m_results.erase(key) == 0)
        m_results.emplace(key, ProfileResult());
}

void ProfileLikelihoods::setResult(int index, int alphaIndex, const ProfileResult &result)
{
    const auto it = m_results.find({index, alphaIndex});
    if (it != m_results.end())
        it->second = result;
}

// Keys are rebuilt rather than edited in place: moving one key up could
// collide with the key above it before that one has moved.
void ProfileLikelihoods::insertIndex(int i)
{
    Map moved;
    for (const auto &[key, result] : m_results)
        moved.emplace(Key {key.first >= i ? key.first + 1 : key.first, key.second}, result);
    m_results.swap(moved);
}

void ProfileLikelihoods::removeIndex(int i)
{
    Map moved;
    for (const auto &[key, result] : m_results) {
        if (key.first == i)
            continue;
        moved.emplace(Key {key.first > i ? key.first - 1 : key.first, key.second}, result);
    }
    m_results.swap(moved);
}

} // namespace pelk
