// PELK's help viewer: one Qt Assistant process, started on first use with
// PELK's help collection and kept for the life of the program, driven by
// remote-control commands on its standard input.
#pragma once

#include <QObject>
#include <QString>

class QProcess;

class HelpLauncher : public QObject
{
    Q_OBJECT

public:
    // The viewer program and the help collection default to the installed
    // ones, or the ones the build made; tests pass their own.
    explicit HelpLauncher(QObject *parent = nullptr, const QString &program = defaultProgram(),
                          const QString &collectionFile = defaultCollectionFile());
    // Terminates a running viewer, waiting up to 3000 ms.
    ~HelpLauncher() override;

    static QString defaultProgram();
    static QString defaultCollectionFile();
    // The namespace of PELK's help in qthelp:// URLs.
    static QString helpNamespace();

    // Shows the table of contents and the index page.
    void showContents();
    // Shows one page of the collection, e.g. "estimate.html".
    void showPage(const QString &pageName);

private:
    bool ensureRunning();
    void send(const QString &command);

    QString m_program;
    QString m_collectionFile;
    QProcess *m_process = nullptr;
};
