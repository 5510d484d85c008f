// File > Recent Workspaces: the workspace files last opened or saved, most
// recent first and at most eight, kept in the settings store so that the
// list outlives the program. Choosing an entry asks the window to open the
// file; an entry whose file has gone since is dropped from the list, with
// a box that says so, and nothing is opened.
#pragma once

#include <QObject>
#include <QStringList>

class QMenu;
class QWidget;

class RecentWorkspaces : public QObject
{
    Q_OBJECT

public:
    static constexpr int maximumCount = 8;

    // The menu is made here, owned by the window; boxes are titled title.
    RecentWorkspaces(const QString &title, QWidget *window);

    QMenu *menu() const { return m_menu; }
    // Absolute paths, most recent first, as the settings store holds them.
    QStringList files() const;
    // Puts the file first, dropping an older entry for it and the oldest
    // entry beyond maximumCount.
    void add(const QString &fileName);

signals:
    void openRequested(const QString &fileName);

private:
    void choose(const QString &fileName);
    void store(const QStringList &files);
    void rebuildMenu();

    QString m_title;
    QWidget *m_window;
    QMenu *m_menu;
};
