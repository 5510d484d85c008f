// What every test of PELK's windows needs: a settings store of its own (the
// analyst's is never touched), the application identity the program uses,
// and file dialogs answered from a script.
#pragma once

#include "app/ApplicationIdentity.h"
#include "pages/frame/FileDialogs.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

// Points the settings store at a fresh directory for the life of the
// object; a member of the test object, so it exists before any window.
class IsolatedSettings
{
public:
    IsolatedSettings()
    {
        pelk::setApplicationIdentity();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        QSettings().clear();
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Answers file dialogs in order from a list of names; an empty name (or an
// exhausted list) is a cancelled dialog. Records every request.
class ScriptedFileDialogs : public FileDialogs
{
public:
    struct Request
    {
        QString caption, directory, filter;
    };

    // The names the next dialogs return, and for save dialogs the filter the
    // analyst picked (empty: the first of the list).
    QStringList names;
    QStringList selectedFilters;
    QList<Request> requests;

    QString getOpenFileName(QWidget *, const QString &caption, const QString &directory,
                            const QString &filter) override
    {
        requests.append({caption, directory, filter});
        return next(names);
    }
    QString getSaveFileName(QWidget *, const QString &caption, const QString &directory,
                            const QString &filter, QString *selectedFilter) override
    {
        requests.append({caption, directory, filter});
        if (selectedFilter) {
            const QString chosen = next(selectedFilters);
            *selectedFilter = chosen.isEmpty() ? filter.section(";;", 0, 0) : chosen;
        }
        return next(names);
    }

private:
    static QString next(QStringList &list) { return list.isEmpty() ? QString() : list.takeFirst(); }
};
