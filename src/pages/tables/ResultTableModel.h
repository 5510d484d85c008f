// The common ground of PELK's read-only result tables: fixed column
// headers in a bold font, optional row headers, and cells given for the
// display role only. Numbers stay doubles so that views and exports can
// format them; a value that does not exist, or is not finite, is the text
// "--na--".
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>

class ResultTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static const QString notAvailable;

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A finite double as itself, anything else as "--na--".
    static QVariant number(double value);
    static QVariant number(const std::optional<double> &value);

protected:
    ResultTableModel(const QStringList &columnHeaders, QObject *parent);

    // The display value of a cell inside the table.
    virtual QVariant cell(int row, int column) const = 0;
    // The text of a row header; an invalid value leaves the row without one.
    virtual QVariant rowHeader(int row) const = 0;

private:
    QStringList m_columnHeaders;
};
