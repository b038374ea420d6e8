#pragma once

#include "core/posix/FileDescriptor.h"

#include <signal.h>

#include <array>

namespace velquor::posix {

// While it lives, the first SIGINT, SIGTERM or SIGHUP (a closed terminal) does not end the process
// where it stands: its handler writes one byte to a pipe, and the reader of readEnd() finishes the
// work in hand and ends the run in order. The handlers reset themselves, so a second signal ends
// the process as usual. One at a time.
class StopSignalPipe {
public:
    StopSignalPipe();
    ~StopSignalPipe();
    StopSignalPipe(const StopSignalPipe&) = delete;
    StopSignalPipe& operator=(const StopSignalPipe&) = delete;

    // Readable once a signal came, or at the end of the pipe after release().
    int readEnd() const { return readEnd_.get(); }

    // Puts the previous handlers back and closes the write end, which ends a reader waiting
    // without a signal. The destructor does it if nobody did.
    void release();

private:
    static constexpr std::array<int, 3> signals_{SIGINT, SIGTERM, SIGHUP};

    FileDescriptor readEnd_;
    FileDescriptor writeEnd_;
    std::array<struct sigaction, signals_.size()> previous_{};
};

}  // namespace velquor::posix
