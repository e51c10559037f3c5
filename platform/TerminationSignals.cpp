#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace CarvexPlatform {

namespace {

constexpr std::array<int, 3> caught = {SIGTERM, SIGHUP, SIGINT};

// The end the signal handler writes to; -1 while no object is installed.
std::atomic<int> writeEnd{-1};
std::array<struct sigaction, caught.size()> previous{};

extern "C" void writeSignalNumber(int signal) {
    // Async-signal-safe only: one write, errno kept for the code the signal interrupted. A full pipe
    // drops the byte, which is harmless: the one before it still waits to be read.
    const int savedErrno = errno;
    const int fd = writeEnd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(Handler handler) : handler_(std::move(handler)) {
    if (writeEnd.load() >= 0) {
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sockets_) != 0) {
        sockets_[0] = sockets_[1] = -1;
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(sockets_[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readSignals(); });
    writeEnd.store(sockets_[0]);
    for (std::size_t index = 0; index < caught.size(); ++index) {
        struct sigaction action {};
        action.sa_handler = &writeSignalNumber;
        sigemptyset(&action.sa_mask);
        // Interrupted system calls carry on: no code of ours expects EINTR from a signal it catches.
        action.sa_flags = SA_RESTART;
        ::sigaction(caught[index], &action, &previous[index]);
    }
    installed_ = true;
}

TerminationSignals::~TerminationSignals() {
    if (installed_) {
        for (std::size_t index = 0; index < caught.size(); ++index) {
            ::sigaction(caught[index], &previous[index], nullptr);
        }
        writeEnd.store(-1);
    }
    notifier_.reset();
    for (int& socket : sockets_) {
        if (socket >= 0) {
            ::close(socket);
            socket = -1;
        }
    }
}

void TerminationSignals::readSignals() {
    unsigned char numbers[64];
    for (;;) {
        const ssize_t count = ::read(sockets_[1], numbers, sizeof numbers);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        for (ssize_t index = 0; index < count; ++index) {
            if (handler_) {
                handler_(numbers[index]);
            }
        }
    }
}

}  // namespace CarvexPlatform
