// Natural logarithm of the gamma function, for the log-factorials of the
// multinomial and abundance terms of the likelihood.
#pragma once

namespace zav {

// log Gamma(x) for x > 0 by the 14-term Lanczos approximation (g = 671/128),
// accurate to about 1e-15 relative over the whole positive axis. Throws
// NR3::NRError "bad arg in gammln" for x <= 0; a NaN argument gives NaN.
double gammln(double x);

} // namespace zav

namespace zav {

// The digamma function psi(x) = d log Gamma(x) / dx, the derivative of the
// log-factorial terms. NaN at its poles (0 and the negative integers) and
// for a NaN argument, instead of an exception: the objective's gradient is
// only asked for at usable points, where every argument is at least 1.
double digamma(double x);

} // namespace zav
