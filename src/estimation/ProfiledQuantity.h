// A quantity whose profile likelihood is searched: a parameter or a
// convenience function of a validated model, described at the estimates
// once (its value, the objective there, its standard error and the
// covariance's prediction of how the parameters follow it, the precision
// of its limits), with the function compiled, so that the searches made
// from it on other threads never read the formula trees.
#pragma once

#include "estimation/ProfileFit.h"
#include "estimation/ProfileLimitSearch.h"
#include "likelihood/CompiledFormula.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace zav {
class Matrix;
struct OptimizerSettings;
} // namespace zav

namespace pelk {

class ModelDefinition;
class PelkLikelihoodFunc;

class ProfiledQuantity
{
public:
    // `minimum` is the objective at the estimates; `covariance` may be null
    // (no covariance run, or a failed one); `precision` null for the
    // automatic one. Read on the calling thread only.
    ProfiledQuantity(const ModelDefinition &model, bool isParameter, int index, const std::vector<double> &estimates,
                     double minimum, const zav::Matrix *covariance, const double *precision);

    bool isParameter() const { return m_isParameter; }
    int index() const { return m_index; }
    const QString &name() const { return m_name; }
    const zav::ProfileLimitSearch::Quantity &quantity() const { return m_quantity; }
    double precision() const { return m_precision; }

    // A fit of this profile for one search, with copies of its own: a
    // parameter's by the quasi-Newton method on the exact gradient, a
    // function's by the workspace's optimizer over projected points. May
    // be called on any thread while nothing changes this object.
    std::unique_ptr<zav::ProfileFit> makeFit(const PelkLikelihoodFunc &objective, const zav::Matrix *covariance,
                                             const zav::OptimizerSettings &settings) const;

private:
    bool m_isParameter;
    int m_index;
    QString m_name;
    std::optional<CompiledFormula> m_function;
    zav::ProfileLimitSearch::Quantity m_quantity;
    double m_precision;
};

} // namespace pelk
