// Whether all parameters of a model can be estimated, judged by the
// dimension of its minimum sufficient statistic: a model with more
// parameters than that dimension cannot identify all of them.
#pragma once

namespace pelk {

class ModelDefinition;

// The dimension of the minimum sufficient statistic of the counts. With
// log p_i = sum_t X_it log(term t), the statistic is X'n; the counts of each
// likelihood add up to its fixed total, so it varies in
//   rank [X | L] - number of likelihoods
// dimensions, L holding one indicator column per multinomial likelihood.
// X has one row per regular category of every multinomial likelihood and
// one column per distinct term key of the category probabilities, 1 where
// the category has the term; a category whose probability is the constant
// 0 has no row (it can never be counted). With L, two likelihoods that
// share a parameter count it once (two binomial groups with one p: 1, not
// 0), and a category of constant probability counts (p/2, (1-p)/2, 1/2:
// 2). Where every likelihood's indicator is a sum of term columns, as in
// p, 1-p, L adds no rank. The symbols must be bound (validate first): an
// unbound symbol contributes no terms. Normal likelihoods contribute no
// rows but count as likelihoods. Throws NR3::NRError when the
// decomposition fails.
int sufficientStatisticDimension(const ModelDefinition &model);

// The dimension decides estimability only for models of multinomial
// likelihoods without unobserved categories; for the others it is not
// computed and no warning is given.
bool isEstimabilityDecidable(const ModelDefinition &model);

} // namespace pelk
