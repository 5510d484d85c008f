// A dense matrix of doubles, row-major. Copying copies the elements; a
// matrix with no rows or no columns holds none.
#pragma once

#include <cstddef>
#include <vector>

namespace zav {

class Matrix
{
public:
    Matrix() = default;
    Matrix(int rows, int columns, double value = 0.0)
        : m_rows(rows), m_columns(columns), m_elements(std::size_t(rows) * std::size_t(columns), value)
    {
    }

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    bool isEmpty() const { return m_elements.empty(); }

    double &operator()(int row, int column) { return m_elements[index(row, column)]; }
    double operator()(int row, int column) const { return m_elements[index(row, column)]; }

    // Resizes to rows x columns; every element becomes `value`.
    void assign(int rows, int columns, double value = 0.0)
    {
        m_rows = rows;
        m_columns = columns;
        m_elements.assign(std::size_t(rows) * std::size_t(columns), value);
    }

    static Matrix identity(int n)
    {
        Matrix m(n, n);
        for (int i = 0; i < n; ++i)
            m(i, i) = 1.0;
        return m;
    }

    bool operator==(const Matrix &o) const
    {
        return m_rows == o.m_rows && m_columns == o.m_columns && m_elements == o.m_elements;
    }

private:
    std::size_t index(int row, int column) const { return std::size_t(row) * std::size_t(m_columns) + std::size_t(column); }

    int m_rows = 0;
    int m_columns = 0;
    std::vector<double> m_elements;
};

} // namespace zav
