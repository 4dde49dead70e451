#include "core/terminationsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

int s_pipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
    errno = savedErrno;
}

void setDisposition(void (*handler)(int))
{
    struct sigaction action{};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

void closePipe()
{
    for (int &fd : s_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(s_pipe[0] < 0);
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("Termination signals: no pipe (%s); they end the program at once",
                 std::strerror(errno));
        s_pipe[0] = s_pipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onActivated);
    setDisposition(onTerminationSignal);
}

TerminationSignals::~TerminationSignals()
{
    setDisposition(SIG_DFL);
    delete m_notifier;
    closePipe();
}

void TerminationSignals::onActivated()
{
    const bool served = m_received != 0;
    unsigned char bytes[16];
    int taken = 0;
    int last = 0;
    for (;;) {
        const ssize_t n = ::read(s_pipe[0], bytes, sizeof bytes);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        if (!m_received)
            m_received = bytes[0];
        last = bytes[n - 1];
        taken += int(n);
    }
    if (!taken)
        return;
    // From now on these signals end the program at once. One that came in while the first
    // waited for the event loop, or after it was served, is such a second signal.
    setDisposition(SIG_DFL);
    if (served || taken > 1) {
        ::raise(last);
        return;
    }
    Q_EMIT terminationRequested(m_received);
}

void TerminationSignals::endAfter(int milliseconds, int status)
{
    std::thread([milliseconds, status] {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        std::_Exit(status);
    }).detach();
}
