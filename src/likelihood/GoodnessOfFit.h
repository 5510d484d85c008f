// How well a fitted model reproduces its data: the deviance G^2, Pearson's
// X^2, their degrees of freedom, chi-squared p-values and the variance
// inflation factor c-hat = X^2 / df.
//
// The cells are the regular (observed) categories of every multinomial
// likelihood, with expected counts conditional on that likelihood's
// observed total n_L:
//   E_i = n_L p_i / sum_j p_j  over its regular categories.
// Without an unobserved category the sum is 1 and E_i is the usual n_L p_i;
// with one, the abundance drops out, as it carries no information about
// fit. Then
//   G^2 = 2 sum O ln(O / E)   (a zero count adds 0),
//   X^2 = sum (O - E)^2 / E   (a cell with O = E = 0 adds 0),
// and a normal likelihood adds its z^2 to both when its standard error is a
// constant (with a fitted standard error z^2 is not a chi-squared cell).
//   df = sum over multinomials (regular categories - 1) + normals - r,
// r the number of free parameters: the estimable ones (the Hessian's rank)
// less those that enter the model only as the abundance of a likelihood
// with an unobserved category, since the conditional cells cannot see them
// (PelkLikelihoodFunc::freeParameterCount).
//
// References: McCullagh and Nelder (1989), Generalized Linear Models,
// section 4.4 (deviance); Agresti (2013), Categorical Data Analysis,
// section 1.5 (G^2, X^2 and the rule of thumb on small expected counts);
// Burnham and Anderson (2002), Model Selection and Multimodel Inference,
// section 2.5 (c-hat).
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace pelk {

struct GoodnessOfFit
{
    // The observed counts and the probabilities of the regular categories
    // of one multinomial likelihood, in category order.
    struct MultinomialCells
    {
        QString likelihood;
        std::vector<double> observed;
        std::vector<double> probability;
    };
    // One normal likelihood: its z = (o - e) / s, and whether s is a
    // constant.
    struct NormalCell
    {
        QString likelihood;
        double z = 0.0;
        bool fixedStandardError = true;
    };

    std::optional<double> deviance;
    std::optional<double> pearson;
    std::optional<int> df; // none when 0 or below
    std::optional<double> devianceP; // upper chi-squared tail at df
    std::optional<double> pearsonP;
    std::optional<double> chat; // X^2 / df, as computed
    QString warning; // empty, or why the chi-squared p-values are unreliable
    QString reason; // empty, or why some value is not available

    // The chi-squared approximation is doubtful when more than this share of
    // the expected counts are below 5, or any is below 1 (Cochran's rule).
    static constexpr double smallExpectedShare = 0.2;

    static GoodnessOfFit compute(const std::vector<MultinomialCells> &multinomials,
                                 const std::vector<NormalCell> &normals, int freeParameters);
};

} // namespace pelk
