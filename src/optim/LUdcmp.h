// LU decomposition of a square matrix by Crout's method with implicit
// scaling and partial pivoting: solves linear systems and inverts, used to
// turn the Hessian of the negative log-likelihood into the covariance matrix.
#pragma once

#include "optim/Matrix.h"

#include <vector>

namespace zav {

class LUdcmp
{
public:
    // Decomposes `a` (square) at once. Throws NR3::NRError "Singular matrix in
    // LUdcmp" when a row is all zeros. `a` must outlive this object.
    explicit LUdcmp(const Matrix &a);

    // Solves A x = b; `b` and `x` may be the same vector. Throws NR3::NRError
    // "LUdcmp::solve bad sizes" unless both have n elements.
    void solve(const std::vector<double> &b, std::vector<double> &x) const;
    // Solves A X = B column by column; `b` and `x` may be the same matrix.
    // Throws "LUdcmp::solve bad sizes" unless both have n rows and the same
    // number of columns.
    void solve(const Matrix &b, Matrix &x) const;
    // ainv becomes A^-1 (n x n).
    void inverse(Matrix &ainv) const;

    // +1 or -1: the parity of the row interchanges.
    double parity() const { return m_d; }
    const Matrix &input() const { return m_aref; }

private:
    int m_n;
    Matrix m_lu; // L below the diagonal (unit diagonal implied), U on and above
    std::vector<int> m_indx; // row interchanged with row k at step k
    double m_d = 1.0;
    const Matrix &m_aref;
};

} // namespace zav
