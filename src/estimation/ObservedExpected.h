// Observed against expected counts of every category of every multinomial
// likelihood at the estimates, with Anscombe residuals
//   r = 1.5 (O^(2/3) - E^(2/3)) / E^(1/6).
// A likelihood with an unobserved category adds a row "<name> unobserved"
// whose observed value is the abundance minus the observed total. The
// diagnostics table and plots, the report and the command line all read
// these rows.
#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <vector>

namespace pelk {

class ModelDefinition;

struct ObservedExpectedRow
{
    QString category;
    double observed = 0.0;
    double expected = 0.0;
    // Not finite when the expected count is 0 or below, or the observed
    // count is negative (an abundance below the observed total).
    double residual = 0.0;
};

// The model must be validated. Points every parameter at `estimates`, which
// must stay alive while the trees are evaluated afterwards.
QList<ObservedExpectedRow> observedExpectedRows(const ModelDefinition &model,
                                                const std::vector<double> &estimates,
                                                const QMap<QString, int> &categoryCounts);

double anscombeResidual(double observed, double expected);

} // namespace pelk
