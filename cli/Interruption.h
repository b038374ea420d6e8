#pragma once

#include <stop_token>
#include <thread>

#include <signal.h>

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
    int pipe_[2] = {-1, -1};
    struct sigaction previousInterrupt_ {};
    struct sigaction previousTerminate_ {};
    struct sigaction previousHangUp_ {};
    std::jthread watcher_;
};

}  // namespace velquor::cli
