#include "core/posix/StopSignalPipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace velquor::posix {

namespace {

// A signal handler may do little: it writes one byte to the pipe.
std::atomic<int> signalPipe{-1};

extern "C" void onStopSignal(int) {
    const int savedErrno = errno;
    const int fd = signalPipe.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

StopSignalPipe::StopSignalPipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
    readEnd_ = FileDescriptor(ends[0]);
    writeEnd_ = FileDescriptor(ends[1]);
    signalPipe.store(writeEnd_.get());
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (std::size_t i = 0; i < signals_.size(); ++i) ::sigaction(signals_[i], &action, &previous_[i]);
}

StopSignalPipe::~StopSignalPipe() { release(); }

void StopSignalPipe::release() {
    if (!writeEnd_.valid()) return;
    for (std::size_t i = 0; i < signals_.size(); ++i) ::sigaction(signals_[i], &previous_[i], nullptr);
    signalPipe.store(-1);
    writeEnd_.reset();
}

}  // namespace velquor::posix
