#include "termination.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pellix {

// Without SIGPIPE the write fails instead.
void IgnoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

// The requests are SIGTERM (a plain kill, the system shutting down), SIGHUP
// (the terminal or session going away) and SIGINT (Ctrl+C); their number is
// the signal's. The signal handler does nothing but write the number into a
// socket pair, which is safe at any moment; a socket notifier reads it in the
// loop. A signal ignored when the object is made (nohup, a background job)
// keeps being ignored.

namespace {

constexpr std::array<int, 3> Handled = {SIGTERM, SIGHUP, SIGINT};

// Read by the signal handler: set before the handlers are installed and
// cleared after they have been taken away again.
volatile std::sig_atomic_t WriteEnd = -1;

struct sigaction Previous[Handled.size()];
bool Installed[Handled.size()] = {};

extern "C" void OnTerminationSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    // Never blocks: with the socket full a request is waiting already.
    [[maybe_unused]] const ssize_t written = ::write(WriteEnd, &byte, 1);
    errno = saved;
}

bool SetFlags(int fd) {
    const int status = ::fcntl(fd, F_GETFL);
    return status != -1 && ::fcntl(fd, F_SETFL, status | O_NONBLOCK) != -1 &&
           ::fcntl(fd, F_SETFD, FD_CLOEXEC) != -1;
}

} // namespace

TTerminationRequests::TTerminationRequests(std::function<void(int)> onRequest, QObject* parent)
    : QObject(parent), FOnRequest(std::move(onRequest)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, FFds) != 0 || !SetFlags(FFds[0]) ||
        !SetFlags(FFds[1])) {
        std::perror("Pellix: termination signals keep their default action");
        return;
    }
    WriteEnd = FFds[1];
    FNotifier = new QSocketNotifier(FFds[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] {
        unsigned char bytes[16];
        int number = 0;
        for (ssize_t n; (n = ::read(FFds[0], bytes, sizeof bytes)) > 0;) {
            number = bytes[n - 1];
        }
        if (number != 0 && FOnRequest) {
            FOnRequest(number);
        }
    });
    for (std::size_t i = 0; i < Handled.size(); ++i) {
        struct sigaction action = {};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        if (::sigaction(Handled[i], nullptr, &Previous[i]) == 0 &&
            Previous[i].sa_handler != SIG_IGN) {
            Installed[i] = ::sigaction(Handled[i], &action, nullptr) == 0;
        }
    }
}

TTerminationRequests::~TTerminationRequests() {
    for (std::size_t i = 0; i < Handled.size(); ++i) {
        if (Installed[i]) {
            ::sigaction(Handled[i], &Previous[i], nullptr);
            Installed[i] = false;
        }
    }
    WriteEnd = -1;
    delete FNotifier;
    for (int fd : FFds) {
        if (fd != -1) {
            ::close(fd);
        }
    }
}

} // namespace pellix
