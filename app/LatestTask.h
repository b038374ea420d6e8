#pragma once

#include <stop_token>

namespace velquor::app {

// The stop source of the latest background task of one kind. Starting the next task, a cancel
// and the owner going away each stop it: the task's work sees its token stopped, and its result,
// checked against the same source, is never applied.
class LatestTask {
public:
    LatestTask() = default;
    ~LatestTask() { source_.request_stop(); }
    LatestTask(const LatestTask&) = delete;
    LatestTask& operator=(const LatestTask&) = delete;

    // Stops the task before and returns the new one's source.
    std::stop_source start() {
        source_.request_stop();
        source_ = std::stop_source();
        return source_;
    }

    void cancel() { source_.request_stop(); }

private:
    std::stop_source source_;
};

}  // namespace velquor::app
