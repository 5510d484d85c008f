// Whether all parameters of a model can be estimated, judged by the
// dimension of its minimum sufficient statistic: a model with more
// parameters than that dimension cannot identify all of them.
#pragma once

namespace pelk {

class ModelDefinition;

// Rank of the term design matrix (one row per regular category of every
// multinomial likelihood, one column per distinct term key of the category
// probabilities, 1 where the category has the term) minus the number of
// likelihoods. The symbols must be bound (validate first): an unbound
// symbol contributes no terms. Normal likelihoods contribute no rows but
// count as likelihoods. Throws NR3::NRError when the decomposition fails.
int sufficientStatisticDimension(const ModelDefinition &model);

// The dimension decides estimability only for models of multinomial
// likelihoods without unobserved categories; for the others it is not
// computed and no warning is given.
bool isEstimabilityDecidable(const ModelDefinition &model);

} // namespace pelk
