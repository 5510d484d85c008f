// Singular value decomposition A = U diag(w) V^T of an m x n matrix, by
// Householder bidiagonalisation and the implicitly shifted QR iteration
// (Golub-Reinsch), with singular values sorted in decreasing order.
//
// The rank is the number of singular values above a threshold; the default
// threshold tsh = 0.5 sqrt(m + n + 1) w[0] eps (eps = 2.220446049250313e-16)
// treats as zero what is indistinguishable from rounding noise relative to
// the largest singular value. A matrix with no rows or no columns has rank 0.
#pragma once

#include "optim/Matrix.h"

#include <vector>

namespace zav {

class SVD
{
public:
    static constexpr double eps = 2.220446049250313e-16;

    // Decomposes at once; throws NR3::NRError "no convergence in 30 svdcmp
    // iterations" when a singular value does not converge.
    explicit SVD(const Matrix &a);

    // A negative threshold selects the default one.
    int rank(double thresh = -1.0) const;

    const Matrix &u() const { return m_u; }
    const Matrix &v() const { return m_v; }
    const std::vector<double> &w() const { return m_w; }
    double threshold() const { return m_tsh; }

private:
    void decompose();
    void reorder();

    int m_m;
    int m_n;
    Matrix m_u;
    Matrix m_v;
    std::vector<double> m_w;
    double m_tsh = 0.0;
};

} // namespace zav
