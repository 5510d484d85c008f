#include "FileDialogs.h"

#include <QFileDialog>

QString FileDialogs::getOpenFileName(QWidget *parent, const QString &caption, const QString &directory,
                                     const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString FileDialogs::getSaveFileName(QWidget *parent, const QString &caption, const QString &directory,
                                     const QString &filter, QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, caption, directory, filter, selectedFilter);
}
