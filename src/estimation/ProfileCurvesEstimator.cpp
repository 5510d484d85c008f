#include "estimation/ProfileCurvesEstimator.h"

#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"

#include <algorithm>
#include <cmath>

namespace pelk {

namespace {

// How far a side of the curve goes, from the limit of that side of the
// widest interval; none for a side without a limit to draw towards.
std::optional<double> sideEnd(const ProfileLimit &limit, const ProfileLimit &other, double estimate)
{
    switch (limit.status) {
    case ProfileLimitStatus::Found: {
        const double width = other.status == ProfileLimitStatus::Found ? std::abs(limit.value - other.value)
                                                                       : 2.0 * std::abs(limit.value - estimate);
        return limit.value + (limit.value < estimate ? -0.25 : 0.25) * width;
    }
    case ProfileLimitStatus::AtBound:
    case ProfileLimitStatus::Open:
        return limit.value;
    case ProfileLimitStatus::NotFound:
    case ProfileLimitStatus::BetterOptimum:
        break;
    }
    return std::nullopt;
}

} // namespace

void ProfileCurvesEstimator::prepare(const ModelDefinition &model, const ProfileLikelihoods &parameterRequests,
                                     const ProfileLikelihoods &variableRequests,
                                     const std::vector<double> &estimates, const zav::Matrix *covariance,
                                     const PelkLikelihoodFunc &objective, const zav::OptimizerSettings &settings)
{
    m_curves.clear();
    m_estimates = estimates;
    m_covariance.reset();
    if (covariance)
        m_covariance = *covariance;
    m_objective = objective;
    m_settings = settings;
    const double minimum = (*m_objective)(m_estimates);
    for (const bool isParameter : {true, false}) {
        const ProfileLikelihoods &requests = isParameter ? parameterRequests : variableRequests;
        const int count = isParameter ? model.parameterCount() : model.variableCount();
        for (const auto &[key, result] : requests) {
            const auto [index, alphaIndex] = key;
            // Keys are in order of index, then level: the first of an index
            // is its lowest level, the widest interval.
            if (index >= count || (!m_curves.empty() && m_curves.back().quantity->isParameter() == isParameter
                                   && m_curves.back().quantity->index() == index))
                continue;
            Curve curve;
            curve.quantity = std::make_unique<ProfiledQuantity>(model, isParameter, index, m_estimates, minimum,
                                                                covariance, nullptr);
            curve.alphaIndex = alphaIndex;
            const double estimate = curve.quantity->quantity().estimate;
            for (const auto &end : {sideEnd(result.lower, result.upper, estimate),
                                    sideEnd(result.upper, result.lower, estimate)})
                if (end && std::isfinite(*end))
                    curve.ends.push_back(*end);
            if (!curve.ends.empty())
                m_curves.push_back(std::move(curve));
        }
    }
}

void ProfileCurvesEstimator::run()
{
    if (!m_objective)
        return;
    int sides = 0;
    for (const Curve &curve : m_curves)
        sides += int(curve.ends.size());
    beginProgress(sides);
    int done = 0;
    const zav::Matrix *covariance = m_covariance ? &*m_covariance : nullptr;
    for (Curve &curve : m_curves) {
        const auto fit = curve.quantity->makeFit(*m_objective, covariance, m_settings);
        zav::ProfileLimitSearch search(*fit, m_estimates, curve.quantity->quantity(), curve.quantity->precision(),
                                       [](double, double) {});
        const double estimate = curve.quantity->quantity().estimate;
        for (const double end : curve.ends) {
            for (int k = 1; k <= pointsPerSide; ++k) {
                const double q = estimate + (end - estimate) * k / pointsPerSide;
                const double chi = search.statisticAt(q, cancelFlag());
                if (isCanceled())
                    return;
                if (std::isnan(chi))
                    break;
                curve.points.emplace_back(q, chi);
            }
            postProgress(++done);
        }
        curve.finished = true;
    }
}

void ProfileCurvesEstimator::store(ProfileLikelihoods &parameterRequests, ProfileLikelihoods &variableRequests) const
{
    for (const Curve &curve : m_curves) {
        const ProfiledQuantity &quantity = *curve.quantity;
        ProfileLikelihoods &requests = quantity.isParameter() ? parameterRequests : variableRequests;
        if (!curve.finished || !requests.isRequested(quantity.index(), curve.alphaIndex))
            continue;
        ProfileResult result = requests.result(quantity.index(), curve.alphaIndex);
        result.points.insert(result.points.end(), curve.points.begin(), curve.points.end());
        std::sort(result.points.begin(), result.points.end());
        requests.setResult(quantity.index(), curve.alphaIndex, result);
    }
}

} // namespace pelk
