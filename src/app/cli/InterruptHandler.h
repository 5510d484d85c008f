// Turns Ctrl-C (SIGINT) into a Qt signal on the main thread. The POSIX
// handler only writes a byte to a socket pair, the one thing it may safely
// do; a socket notifier reads it in the event loop.
#pragma once

#include <QObject>

class QSocketNotifier;

class InterruptHandler : public QObject
{
    Q_OBJECT

public:
    explicit InterruptHandler(QObject *parent = nullptr);
    ~InterruptHandler() override;

signals:
    void interrupted();

private:
    void onActivated();

    QSocketNotifier *m_notifier = nullptr;
};
