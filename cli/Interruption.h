#pragma once

#include "core/posix/StopSignalPipe.h"

#include <stop_token>
#include <thread>

namespace velquor::cli {

// While it lives, the first SIGINT, SIGTERM or SIGHUP (a closed terminal) asks the running batch to
// stop instead of ending the process at once: the file in hand is finished (an export removes its
// staged copy), no new one is started. A second signal ends the process as usual. One watch at a
// time.
class InterruptionWatch {
public:
    InterruptionWatch();
    ~InterruptionWatch();
    InterruptionWatch(const InterruptionWatch&) = delete;
    InterruptionWatch& operator=(const InterruptionWatch&) = delete;

    std::stop_token token() const { return stop_.get_token(); }
    bool interrupted() const { return stop_.stop_requested(); }

private:
    std::stop_source stop_;
    posix::StopSignalPipe signals_;
    std::jthread watcher_;  // last: it starts once the pipe is there, and is joined before it goes
};

}  // namespace velquor::cli
