// PELK's read-only result tables, as the views and the exports see them:
// fixed column headers in a bold font, optional row headers, and cells
// given for the display role only. The cells are computed once, when the
// table is made from a finished run, and never change. Numbers stay doubles
// so that views and exports can format them; a value that does not exist,
// or is not finite, is the text "--na--". Numbers, and texts that stand for
// numbers, are right-aligned so that their digits line up down a column;
// other texts (category labels) are left-aligned.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariantList>

#include <optional>

class ResultTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static const QString notAvailable;

    // A number whose written form carries meaning of its own (a profile
    // limit with the decimals its search resolved, "> 12.5" at a bound, an
    // alpha level as the analyst chose it, "--na--"): shown and exported as
    // the text, aligned as a number.
    struct NumberText
    {
        QString text;
    };

    // One list of cells per row, one cell per column header. Rows beyond
    // the row headers (all of them when there are none) have no header.
    ResultTableModel(const QStringList &columnHeaders, const QStringList &rowHeaders,
                     const QList<QVariantList> &rows, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A finite double as itself, anything else as "--na--".
    static QVariant number(double value);
    static QVariant number(const std::optional<double> &value);
    static QVariant numberText(const QString &text);

private:
    static bool isNumberText(const QVariant &cell);
    static bool holdsNumber(const QVariant &cell);

    QStringList m_columnHeaders;
    QStringList m_rowHeaders;
    QList<QVariantList> m_rows;
};

Q_DECLARE_METATYPE(ResultTableModel::NumberText)
