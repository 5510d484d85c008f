#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
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

QString FileDialogs::withSuffix(QWidget *parent, const QString &title, const QString &fileName,
                                const QString &suffix)
{
    if (fileName.endsWith(suffix, Qt::CaseInsensitive))
        return fileName;
    const QString suffixed = fileName + suffix;
    if (!QFileInfo::exists(suffixed))
        return suffixed;
    QMessageBox box(QMessageBox::Question, title,
                    QString("\"%1\" already exists.  Replace it?").arg(suffixed),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? suffixed : QString();
}
