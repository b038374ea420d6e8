#include "app/shell/QuitOnSignals.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <system_error>

namespace velquor::shell {

namespace {

constexpr std::array quittingSignals{SIGINT, SIGTERM, SIGHUP};

// A signal handler may do little: it writes one byte to a pipe that the event loop watches.
std::atomic<int> signalPipe{-1};

extern "C" void onQuittingSignal(int) {
    const int savedErrno = errno;
    const int fd = signalPipe.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

QuitOnSignals::QuitOnSignals() {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(pipe_[0], &byte, 1) == 1) {
        }
        QCoreApplication::quit();
    });
    signalPipe.store(pipe_[1]);
    struct sigaction action {};
    action.sa_handler = onQuittingSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal : quittingSignals) ::sigaction(signal, &action, nullptr);
}

QuitOnSignals::~QuitOnSignals() {
    signalPipe.store(-1);
    notifier_.reset();
    ::close(pipe_[1]);
    ::close(pipe_[0]);
}

}  // namespace velquor::shell
