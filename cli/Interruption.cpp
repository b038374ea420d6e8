#include "cli/Interruption.h"

#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace velquor::cli {

namespace {

// A signal handler may do little: it writes one byte to a pipe, and a thread that waits on the
// pipe does the rest.
std::atomic<int> signalPipe{-1};

extern "C" void onSignal(int) {
    const int savedErrno = errno;
    const int fd = signalPipe.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

InterruptionWatch::InterruptionWatch() {
    if (::pipe2(pipe_, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
    watcher_ = std::jthread([this] {
        char byte = 0;
        if (posix::retryInterrupted([&] { return ::read(pipe_[0], &byte, 1); }) == 1) stop_.request_stop();
    });
    signalPipe.store(pipe_[1]);
    struct sigaction action {};
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    ::sigaction(SIGINT, &action, &previousInterrupt_);
    ::sigaction(SIGTERM, &action, &previousTerminate_);
    ::sigaction(SIGHUP, &action, &previousHangUp_);
}

InterruptionWatch::~InterruptionWatch() {
    ::sigaction(SIGINT, &previousInterrupt_, nullptr);
    ::sigaction(SIGTERM, &previousTerminate_, nullptr);
    ::sigaction(SIGHUP, &previousHangUp_, nullptr);
    signalPipe.store(-1);
    // The end of the pipe ends the watcher, if no signal did.
    ::close(pipe_[1]);
    if (watcher_.joinable()) watcher_.join();
    ::close(pipe_[0]);
}

}  // namespace velquor::cli
