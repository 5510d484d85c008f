#include "optim/LUdcmp.h"

#include "optim/NRError.h"

#include <cassert>
#include <cmath>
#include <utility>

namespace zav {

namespace {

// Stands in for an exactly zero pivot, so that a singular matrix that got
// past the zero-row test still decomposes instead of dividing by zero.
constexpr double tinyPivot = 1.0e-40;

[[noreturn]] void throwBadSizes()
{
    throw NR3::NRError("LUdcmp::solve bad sizes");
}

} // namespace

LUdcmp::LUdcmp(const Matrix &a) : m_n(a.rows()), m_lu(a), m_indx(std::size_t(a.rows())), m_aref(a)
{
    assert(a.rows() == a.columns());
    // Implicit scaling: each row is weighed by the reciprocal of its largest
    // element, so the pivot choice does not depend on how rows are scaled.
    std::vector<double> scale(static_cast<std::size_t>(m_n));
    for (int i = 0; i < m_n; ++i) {
        double big = 0.0;
        for (int j = 0; j < m_n; ++j)
            big = std::fmax(big, std::fabs(m_lu(i, j)));
        if (big == 0.0)
            throw NR3::NRError("Singular matrix in LUdcmp");
        scale[std::size_t(i)] = 1.0 / big;
    }

    for (int k = 0; k < m_n; ++k) {
        // Only a strictly larger scaled element replaces the choice, so the
        // first of equal candidates is the pivot.
        double big = 0.0;
        int imax = k;
        for (int i = k; i < m_n; ++i) {
            const double candidate = scale[std::size_t(i)] * std::fabs(m_lu(i, k));
            if (candidate > big) {
                big = candidate;
                imax = i;
            }
        }
        if (imax != k) {
            for (int j = 0; j < m_n; ++j)
                std::swap(m_lu(imax, j), m_lu(k, j));
            m_d = -m_d;
            scale[std::size_t(imax)] = scale[std::size_t(k)];
        }
        m_indx[std::size_t(k)] = imax;
        if (m_lu(k, k) == 0.0)
            m_lu(k, k) = tinyPivot;
        for (int i = k + 1; i < m_n; ++i) {
            const double factor = m_lu(i, k) /= m_lu(k, k);
            for (int j = k + 1; j < m_n; ++j)
                m_lu(i, j) -= factor * m_lu(k, j);
        }
    }
}

void LUdcmp::solve(const std::vector<double> &b, std::vector<double> &x) const
{
    const std::size_t n = std::size_t(m_n);
    if (b.size() != n || x.size() != n)
        throwBadSizes();
    x = b;
    // Forward substitution with L, undoing the row interchanges on the way.
    // `first` is one past the first non-zero entry of the permuted right-hand
    // side: the leading zeros contribute nothing to the sums.
    int first = 0;
    for (int i = 0; i < m_n; ++i) {
        const std::size_t ip = std::size_t(m_indx[std::size_t(i)]);
        double sum = x[ip];
        x[ip] = x[std::size_t(i)];
        if (first != 0) {
            for (int j = first - 1; j < i; ++j)
                sum -= m_lu(i, j) * x[std::size_t(j)];
        } else if (sum != 0.0) {
            first = i + 1;
        }
        x[std::size_t(i)] = sum;
    }
    // Back substitution with U.
    for (int i = m_n - 1; i >= 0; --i) {
        double sum = x[std::size_t(i)];
        for (int j = i + 1; j < m_n; ++j)
            sum -= m_lu(i, j) * x[std::size_t(j)];
        x[std::size_t(i)] = sum / m_lu(i, i);
    }
}

void LUdcmp::solve(const Matrix &b, Matrix &x) const
{
    if (b.rows() != m_n || x.rows() != m_n || b.columns() != x.columns())
        throwBadSizes();
    std::vector<double> column(static_cast<std::size_t>(m_n));
    for (int j = 0; j < b.columns(); ++j) {
        for (int i = 0; i < m_n; ++i)
            column[std::size_t(i)] = b(i, j);
        solve(column, column);
        for (int i = 0; i < m_n; ++i)
            x(i, j) = column[std::size_t(i)];
    }
}

void LUdcmp::inverse(Matrix &ainv) const
{
    ainv = Matrix::identity(m_n);
    solve(ainv, ainv);
}

} // namespace zav
