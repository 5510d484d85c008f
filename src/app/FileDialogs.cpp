#include "FileDialogs.h"

#include <QFileDialog>
#include <QSettings>

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

QString FileDialogs::rememberedDirectory(const QString &settingsKey)
{
    return QSettings().value(settingsKey, ".").toString();
}

void FileDialogs::rememberDirectory(const QString &fileName, const QString &settingsKey)
{
    if (fileName.isEmpty())
        return;
    const QString directory = directoryOf(fileName);
    if (rememberedDirectory(settingsKey) != directory)
        QSettings().setValue(settingsKey, directory);
}

QString FileDialogs::directoryOf(const QString &fileName)
{
    const QChar separator = fileName.contains(u'\\') ? u'\\' : u'/';
    const qsizetype last = fileName.lastIndexOf(separator);
    return last < 0 ? QString() : fileName.left(last);
}
