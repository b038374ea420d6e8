#pragma once

#include "core/posix/FileDescriptor.h"

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velquor::cli {

// A program run without a shell, its standard input and output on pipes, its standard error
// discarded (the caller says what went wrong in its own words). Every read and write waits at most until the deadline;
// a child still running when this value goes away, or when the deadline passes, is killed and reaped.
class ChildProcess {
public:
    using Clock = std::chrono::steady_clock;

    // `arguments[0]` is looked up on PATH. Throws std::system_error when it cannot be started.
    ChildProcess(const std::vector<std::string>& arguments, Clock::time_point deadline);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Each throws std::system_error (ETIMEDOUT after the deadline, EPIPE when the child is gone).
    void write(const std::string& bytes);
    // Exactly `count` bytes; fewer means the output ended early, which throws EPROTO.
    std::vector<std::uint8_t> read(std::size_t count);
    // Up to and without the next newline; a line longer than `maximum` throws EPROTO. Nothing
    // at the end of the output.
    std::optional<std::string> readLine(std::size_t maximum);
    // Everything until the output ends, at most `maximum` bytes, or EPROTO.
    std::string readAll(std::size_t maximum);

    // Closes its input and waits for it: its exit status, or -1 when a signal ended it. Later
    // calls return the same.
    int finish();

private:
    void waitFor(int fd, short events);
    bool fill();

    std::string name_;
    pid_t pid_ = -1;
    int exitStatus_ = -1;
    posix::FileDescriptor input_;
    posix::FileDescriptor output_;
    Clock::time_point deadline_;
    std::string buffered_;
};

}  // namespace velquor::cli
