// The unit of work that, after the limits, evaluates a dozen more points of
// each profiled quantity's profile per side, so that a plot can draw the
// curve smoothly: from the estimate out over the widest requested interval
// and a quarter of its width beyond each limit found, up to the last usable
// value of a side at a bound, or to the last point of an open side. A side
// stops at the first value where the model cannot be evaluated.
//
// prepare() reads the model, the results and the objective on the calling
// thread and keeps copies; run() reads only those, so the workspace may
// change while it runs (the window still cancels and waits for it first).
// The points are handed back on the calling thread by store().
#pragma once

#include "estimation/ProfiledQuantity.h"
#include "estimation/ThreadRunnable.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "optim/Matrix.h"
#include "optim/OptimizerSettings.h"

#include <memory>
#include <optional>
#include <vector>

namespace pelk {

class ModelDefinition;
class ProfileLikelihoods;

class ProfileCurvesEstimator : public zav::ThreadRunnable
{
    Q_OBJECT

public:
    using zav::ThreadRunnable::ThreadRunnable;

    static constexpr int pointsPerSide = 12;

    // The requests hold the limits of the run just made; `covariance` may be
    // null. Nothing is kept by reference.
    void prepare(const ModelDefinition &model, const ProfileLikelihoods &parameterRequests,
                 const ProfileLikelihoods &variableRequests, const std::vector<double> &estimates,
                 const zav::Matrix *covariance, const PelkLikelihoodFunc &objective,
                 const zav::OptimizerSettings &settings);
    bool isEmpty() const { return m_curves.empty(); }

    void run() override;

    // Adds each finished curve's points to the result of its quantity's
    // widest requested interval (kept in order of q). Call after the run,
    // on the thread that prepared it.
    void store(ProfileLikelihoods &parameterRequests, ProfileLikelihoods &variableRequests) const;

private:
    struct Curve
    {
        std::unique_ptr<ProfiledQuantity> quantity;
        int alphaIndex = 0; // the widest requested interval's level
        std::vector<double> ends; // the farthest q of each side drawn
        std::vector<std::pair<double, double>> points; // written by run()
        bool finished = false;
    };

    std::vector<Curve> m_curves;
    std::vector<double> m_estimates;
    std::optional<zav::Matrix> m_covariance;
    std::optional<PelkLikelihoodFunc> m_objective;
    zav::OptimizerSettings m_settings;
};

} // namespace pelk
