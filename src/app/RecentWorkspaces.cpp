#include "RecentWorkspaces.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

namespace {

const QString settingsKey = QStringLiteral("recentWorkspaces");

} // namespace

RecentWorkspaces::RecentWorkspaces(const QString &title, QWidget *window)
    : QObject(window),
      m_title(title),
      m_window(window),
      m_menu(new QMenu(QStringLiteral("Recent &Workspaces"), window))
{
    m_menu->setObjectName(QStringLiteral("menuRecentWorkspaces"));
    rebuildMenu();
}

QStringList RecentWorkspaces::files() const
{
    return QSettings().value(settingsKey).toStringList();
}

void RecentWorkspaces::add(const QString &fileName)
{
    // One entry per file however it was named: "./a.txt" and "a.txt" alike.
    const QString path = QFileInfo(fileName).absoluteFilePath();
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    store(list.mid(0, maximumCount));
}

void RecentWorkspaces::choose(const QString &fileName)
{
    if (QFileInfo(fileName).isFile()) {
        emit openRequested(fileName);
        return;
    }
    QStringList list = files();
    list.removeAll(fileName);
    store(list);
    QMessageBox::warning(m_window, m_title,
                         QStringLiteral("The workspace file \"%1\" no longer exists. It has been removed "
                                        "from the list of recent workspaces.")
                             .arg(QDir::toNativeSeparators(fileName)));
}

void RecentWorkspaces::store(const QStringList &files)
{
    QSettings().setValue(settingsKey, files);
    rebuildMenu();
}

void RecentWorkspaces::rebuildMenu()
{
    // The entry being chosen may be the one that goes: it is deleted once
    // its own signal has returned.
    for (QAction *action : m_menu->actions()) {
        m_menu->removeAction(action);
        action->deleteLater();
    }
    const QStringList list = files();
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list.at(i);
        // "&1" to "&8" pick an entry from the keyboard; an "&" of the path
        // itself is doubled so that it shows as written.
        QString text = QDir::toNativeSeparators(path);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action = m_menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(text));
        connect(action, &QAction::triggered, this, [this, path] { choose(path); });
    }
    m_menu->setEnabled(!list.isEmpty());
}
