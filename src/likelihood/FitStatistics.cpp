#include "likelihood/FitStatistics.h"

#include "likelihood/PelkLikelihoodFunc.h"
#include "model/ModelDefinition.h"

namespace pelk {

FitStatistics::FitStatistics(const ModelDefinition &model, PelkLikelihoodFunc &function,
                             const std::vector<double> &estimates)
{
    m_parameterCount = model.parameterCount();
    m_logLikelihood = -function(estimates);
    m_likelihoodLogLikelihoods.reserve(std::size_t(model.likelihoodCount()));
    for (int position = 0; position < model.likelihoodCount(); ++position)
        m_likelihoodLogLikelihoods.push_back(-function.likelihoodObjective(position));
}

} // namespace pelk
