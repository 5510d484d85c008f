#include "likelihood/SVD.h"

#include "optim/NRError.h"

#include <algorithm>
#include <cmath>

namespace zav {

namespace {

const char *const noConvergence = "no convergence in 30 svdcmp iterations";

// |a| with the sign of b.
double withSignOf(double a, double b)
{
    return b >= 0.0 ? std::abs(a) : -std::abs(a);
}

// sqrt(a^2 + b^2) without overflow or destructive underflow of the squares.
double pythag(double a, double b)
{
    const double absa = std::abs(a);
    const double absb = std::abs(b);
    if (absa > absb) {
        const double r = absb / absa;
        return absa * std::sqrt(1.0 + r * r);
    }
    if (absb == 0.0)
        return 0.0;
    const double r = absa / absb;
    return absb * std::sqrt(1.0 + r * r);
}

bool allFinite(const Matrix &a)
{
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.columns(); ++j)
            if (!std::isfinite(a(i, j)))
                return false;
    return true;
}

} // namespace

SVD::SVD(const Matrix &a)
    : m_m(a.rows()),
      m_n(a.columns()),
      m_u(a),
      m_v(Matrix::identity(a.columns())),
      m_w(std::size_t(a.columns()), 0.0)
{
    // A matrix with no rows or no columns has nothing to decompose: U keeps
    // its shape, V stays the identity, every singular value is 0.
    if (m_m == 0 || m_n == 0)
        return;
    // The QR iteration cannot converge on a NaN, and an infinity turns into
    // NaNs during the Householder reduction; deciding up front gives every
    // shape of matrix the same outcome.
    if (!allFinite(a))
        throw NR3::NRError(noConvergence);
    decompose();
    reorder();
    m_tsh = 0.5 * std::sqrt(m_m + m_n + 1.0) * m_w[0] * eps;
}

int SVD::rank(double thresh) const
{
    if (m_m == 0 || m_n == 0)
        return 0;
    const double tsh = thresh >= 0.0 ? thresh : m_tsh;
    return int(std::count_if(m_w.begin(), m_w.end(), [tsh](double w) { return w > tsh; }));
}

void SVD::decompose()
{
    const int m = m_m;
    const int n = m_n;
    Matrix &u = m_u;
    Matrix &v = m_v;
    std::vector<double> &w = m_w;
    std::vector<double> rv1(std::size_t(n), 0.0);
    double g = 0.0;
    double scale = 0.0;
    double anorm = 0.0;
    int l = 0;

    // Householder reduction to bidiagonal form: w holds the diagonal, rv1
    // the superdiagonal.
    for (int i = 0; i < n; ++i) {
        l = i + 1;
        rv1[std::size_t(i)] = scale * g;
        g = 0.0;
        double s = 0.0;
        scale = 0.0;
        if (i < m) {
            for (int k = i; k < m; ++k)
                scale += std::abs(u(k, i));
            if (scale != 0.0) {
                for (int k = i; k < m; ++k) {
                    u(k, i) /= scale;
                    s += u(k, i) * u(k, i);
                }
                const double f = u(i, i);
                g = -withSignOf(std::sqrt(s), f);
                const double h = f * g - s;
                u(i, i) = f - g;
                for (int j = l; j < n; ++j) {
                    double sum = 0.0;
                    for (int k = i; k < m; ++k)
                        sum += u(k, i) * u(k, j);
                    const double factor = sum / h;
                    for (int k = i; k < m; ++k)
                        u(k, j) += factor * u(k, i);
                }
                for (int k = i; k < m; ++k)
                    u(k, i) *= scale;
            }
        }
        w[std::size_t(i)] = scale * g;
        g = 0.0;
        s = 0.0;
        scale = 0.0;
        if (i < m && i + 1 != n) {
            for (int k = l; k < n; ++k)
                scale += std::abs(u(i, k));
            if (scale != 0.0) {
                for (int k = l; k < n; ++k) {
                    u(i, k) /= scale;
                    s += u(i, k) * u(i, k);
                }
                const double f = u(i, l);
                g = -withSignOf(std::sqrt(s), f);
                const double h = f * g - s;
                u(i, l) = f - g;
                for (int k = l; k < n; ++k)
                    rv1[std::size_t(k)] = u(i, k) / h;
                for (int j = l; j < m; ++j) {
                    double sum = 0.0;
                    for (int k = l; k < n; ++k)
                        sum += u(j, k) * u(i, k);
                    for (int k = l; k < n; ++k)
                        u(j, k) += sum * rv1[std::size_t(k)];
                }
                for (int k = l; k < n; ++k)
                    u(i, k) *= scale;
            }
        }
        anorm = std::max(anorm, std::abs(w[std::size_t(i)]) + std::abs(rv1[std::size_t(i)]));
    }

    // Accumulation of the right-hand transformations into V.
    for (int i = n - 1; i >= 0; --i) {
        if (i < n - 1) {
            if (g != 0.0) {
                // Double division avoids a possible underflow.
                for (int j = l; j < n; ++j)
                    v(j, i) = (u(i, j) / u(i, l)) / g;
                for (int j = l; j < n; ++j) {
                    double sum = 0.0;
                    for (int k = l; k < n; ++k)
                        sum += u(i, k) * v(k, j);
                    for (int k = l; k < n; ++k)
                        v(k, j) += sum * v(k, i);
                }
            }
            for (int j = l; j < n; ++j) {
                v(i, j) = 0.0;
                v(j, i) = 0.0;
            }
        }
        v(i, i) = 1.0;
        g = rv1[std::size_t(i)];
        l = i;
    }

    // Accumulation of the left-hand transformations into U.
    for (int i = std::min(m, n) - 1; i >= 0; --i) {
        l = i + 1;
        g = w[std::size_t(i)];
        for (int j = l; j < n; ++j)
            u(i, j) = 0.0;
        if (g != 0.0) {
            g = 1.0 / g;
            for (int j = l; j < n; ++j) {
                double sum = 0.0;
                for (int k = l; k < m; ++k)
                    sum += u(k, i) * u(k, j);
                const double factor = (sum / u(i, i)) * g;
                for (int k = i; k < m; ++k)
                    u(k, j) += factor * u(k, i);
            }
            for (int j = i; j < m; ++j)
                u(j, i) *= g;
        } else {
            for (int j = i; j < m; ++j)
                u(j, i) = 0.0;
        }
        u(i, i) += 1.0;
    }

    // Diagonalisation of the bidiagonal form by the implicitly shifted QR
    // iteration: each singular value, from the last, gets at most 30 sweeps.
    const double negligible = eps * anorm;
    for (int k = n - 1; k >= 0; --k) {
        for (int its = 0; its < 30; ++its) {
            // Look for a split: a negligible superdiagonal element rv1[l]
            // (rv1[0] is always zero) or a negligible diagonal element w[l-1].
            bool cancel = true;
            int nm = 0;
            for (l = k; l >= 0; --l) {
                nm = l - 1;
                if (l == 0 || std::abs(rv1[std::size_t(l)]) <= negligible) {
                    cancel = false;
                    break;
                }
                if (std::abs(w[std::size_t(nm)]) <= negligible)
                    break;
            }
            if (cancel) {
                // w[nm] is negligible: rotate rv1[l] away.
                double c = 0.0;
                double s = 1.0;
                for (int i = l; i <= k; ++i) {
                    const double f = s * rv1[std::size_t(i)];
                    rv1[std::size_t(i)] = c * rv1[std::size_t(i)];
                    if (std::abs(f) <= negligible)
                        break;
                    g = w[std::size_t(i)];
                    double h = pythag(f, g);
                    w[std::size_t(i)] = h;
                    h = 1.0 / h;
                    c = g * h;
                    s = -f * h;
                    for (int j = 0; j < m; ++j) {
                        const double y = u(j, nm);
                        const double z = u(j, i);
                        u(j, nm) = y * c + z * s;
                        u(j, i) = z * c - y * s;
                    }
                }
            }
            double z = w[std::size_t(k)];
            if (l == k) {
                // Converged; singular values are made non-negative.
                if (z < 0.0) {
                    w[std::size_t(k)] = -z;
                    for (int j = 0; j < n; ++j)
                        v(j, k) = -v(j, k);
                }
                break;
            }
            if (its == 29)
                throw NR3::NRError(noConvergence);
            // Shift from the bottom 2 x 2 minor.
            double x = w[std::size_t(l)];
            nm = k - 1;
            double y = w[std::size_t(nm)];
            g = rv1[std::size_t(nm)];
            double h = rv1[std::size_t(k)];
            double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
            g = pythag(f, 1.0);
            f = ((x - z) * (x + z) + h * ((y / (f + withSignOf(g, f))) - h)) / x;
            // Next QR transformation.
            double c = 1.0;
            double s = 1.0;
            for (int j = l; j <= nm; ++j) {
                const int i = j + 1;
                g = rv1[std::size_t(i)];
                y = w[std::size_t(i)];
                h = s * g;
                g = c * g;
                z = pythag(f, h);
                rv1[std::size_t(j)] = z;
                c = f / z;
                s = h / z;
                f = x * c + g * s;
                g = g * c - x * s;
                h = y * s;
                y *= c;
                for (int jj = 0; jj < n; ++jj) {
                    const double vx = v(jj, j);
                    const double vz = v(jj, i);
                    v(jj, j) = vx * c + vz * s;
                    v(jj, i) = vz * c - vx * s;
                }
                z = pythag(f, h);
                w[std::size_t(j)] = z;
                // The rotation is arbitrary when z = 0.
                if (z != 0.0) {
                    z = 1.0 / z;
                    c = f * z;
                    s = h * z;
                }
                f = c * g + s * y;
                x = c * y - s * g;
                for (int jj = 0; jj < m; ++jj) {
                    const double uy = u(jj, j);
                    const double uz = u(jj, i);
                    u(jj, j) = uy * c + uz * s;
                    u(jj, i) = uz * c - uy * s;
                }
            }
            rv1[std::size_t(l)] = 0.0;
            rv1[std::size_t(k)] = f;
            w[std::size_t(k)] = x;
        }
    }
}

void SVD::reorder()
{
    // Insertion sort into decreasing order, carrying the columns of U and V
    // along. Comparisons with "<" only, so a NaN from an overflowing input
    // cannot break the sort (it merely stays where it is).
    std::vector<double> uColumn(static_cast<std::size_t>(m_m));
    std::vector<double> vColumn(static_cast<std::size_t>(m_n));
    for (int i = 1; i < m_n; ++i) {
        const double wi = m_w[std::size_t(i)];
        for (int k = 0; k < m_m; ++k)
            uColumn[std::size_t(k)] = m_u(k, i);
        for (int k = 0; k < m_n; ++k)
            vColumn[std::size_t(k)] = m_v(k, i);
        int j = i;
        for (; j > 0 && m_w[std::size_t(j - 1)] < wi; --j) {
            m_w[std::size_t(j)] = m_w[std::size_t(j - 1)];
            for (int k = 0; k < m_m; ++k)
                m_u(k, j) = m_u(k, j - 1);
            for (int k = 0; k < m_n; ++k)
                m_v(k, j) = m_v(k, j - 1);
        }
        m_w[std::size_t(j)] = wi;
        for (int k = 0; k < m_m; ++k)
            m_u(k, j) = uColumn[std::size_t(k)];
        for (int k = 0; k < m_n; ++k)
            m_v(k, j) = vColumn[std::size_t(k)];
    }

    // The signs of a column pair are arbitrary (negating both leaves
    // U diag(w) V^T unchanged); make the majority of their entries
    // non-negative so that the result does not depend on rounding paths.
    for (int k = 0; k < m_n; ++k) {
        int negatives = 0;
        for (int i = 0; i < m_m; ++i)
            negatives += m_u(i, k) < 0.0 ? 1 : 0;
        for (int j = 0; j < m_n; ++j)
            negatives += m_v(j, k) < 0.0 ? 1 : 0;
        if (2 * negatives > m_m + m_n) {
            for (int i = 0; i < m_m; ++i)
                m_u(i, k) = -m_u(i, k);
            for (int j = 0; j < m_n; ++j)
                m_v(j, k) = -m_v(j, k);
        }
    }
}

} // namespace zav
