#include "likelihood/Gammln.h"

#include "optim/NRError.h"

#include <boost/math/special_functions/digamma.hpp>

#include <cmath>

namespace zav {

double gammln(double x)
{
    // Lanczos coefficients for g = 671/128 = 5.2421875 and 14 terms.
    static const double coefficients[14]
        = {57.1562356658629235,     -59.5979603554754912,   14.1360979747417471,     -0.491913816097620199,
           3.39946499848118887e-5,  4.65236289270485756e-5, -9.83744753048795646e-5, 1.58088703224912494e-4,
           -2.10264441724104883e-4, 2.17439618115212643e-4, -1.64318106536763890e-4, 8.44182239838527433e-5,
           -2.61908384015814087e-5, 3.68991826595316234e-6};
    if (x <= 0.0)
        throw NR3::NRError("bad arg in gammln");
    double t = x + 5.2421875;
    t = (x + 0.5) * std::log(t) - t;
    double series = 0.999999999999997092;
    double y = x;
    for (double c : coefficients)
        series += c / ++y;
    // 2.5066282746310005 = sqrt(2 pi)
    return t + std::log(2.5066282746310005 * series / x);
}

} // namespace zav

namespace zav {

double digamma(double x)
{
    using namespace boost::math::policies;
    using Quiet = policy<domain_error<ignore_error>, pole_error<ignore_error>, overflow_error<ignore_error>,
                         evaluation_error<ignore_error>>;
    return boost::math::digamma(x, Quiet());
}

} // namespace zav
