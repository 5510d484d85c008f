#include "InterruptHandler.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int interruptSockets[2] = {-1, -1};

extern "C" void onSigint(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(interruptSockets[0], &byte, 1);
}

} // namespace

InterruptHandler::InterruptHandler(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, interruptSockets) != 0)
        return;
    m_notifier = new QSocketNotifier(interruptSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InterruptHandler::onActivated);
    struct sigaction action = {};
    action.sa_handler = onSigint;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

InterruptHandler::~InterruptHandler()
{
    std::signal(SIGINT, SIG_DFL);
    for (int &socket : interruptSockets) {
        if (socket >= 0)
            ::close(socket);
        socket = -1;
    }
}

void InterruptHandler::onActivated()
{
    char byte;
    [[maybe_unused]] const ssize_t read = ::read(interruptSockets[1], &byte, 1);
    emit interrupted();
}
