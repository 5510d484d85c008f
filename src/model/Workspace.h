// Everything a workspace file holds, in one place: the model, the seeds,
// both profile-request containers, the category counts, the two estimation
// options and the optimizer with its settings. The desktop program owns one
// for the open workspace; headless tools make their own. The file reader
// and writer read and write it whole, and an estimation runs on it.
#pragma once

#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "optim/OptimizerSettings.h"

#include <QMap>
#include <QString>

#include <vector>

namespace pelk {

struct Workspace
{
    ModelDefinition model;
    std::vector<double> seeds;
    ProfileLikelihoods parameterRequests;
    ProfileLikelihoods variableRequests;
    QMap<QString, int> categoryCounts;
    bool usePreviousEstimatesAsSeeds = false;
    bool calculateCovariance = false;
    zav::OptimizerSettings optimizer;

    // For runs that want the estimates and the fit alone (a bootstrap's
    // observed fit, a model set's members).
    void dropProfileRequests()
    {
        parameterRequests = ProfileLikelihoods();
        variableRequests = ProfileLikelihoods();
    }
};

} // namespace pelk
