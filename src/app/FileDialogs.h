// The file dialogs of the window and its pages, behind one seam: the
// desktop program asks the analyst through the toolkit's dialogs, tests
// answer from a script. Both calls return an empty name when the analyst
// cancels.
#pragma once

#include <QString>

class QWidget;

class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    virtual QString getOpenFileName(QWidget *parent, const QString &caption, const QString &directory,
                                    const QString &filter);
    // selectedFilter, when given, receives the filter the analyst chose.
    virtual QString getSaveFileName(QWidget *parent, const QString &caption, const QString &directory,
                                    const QString &filter, QString *selectedFilter = nullptr);
};
