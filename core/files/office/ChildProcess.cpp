#include "core/files/office/ChildProcess.h"

#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>
#include <utility>

namespace velquor::files {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t chunkSize = 65'536;
// Descriptors the parent hands over are first moved up here, so that none of them can already
// sit on a number the child needs (a closed standard stream would let pipe2 return 1).
constexpr int firstPrivateDescriptor = 10;

[[noreturn]] void throwSystemError(int error, const char* what) {
    throw std::system_error(error, std::generic_category(), what);
}

using posix::FileDescriptor;

FileDescriptor movedUp(int fd) {
    FileDescriptor copy(::fcntl(fd, F_DUPFD_CLOEXEC, firstPrivateDescriptor));
    if (!copy.valid()) throwSystemError(errno, "fcntl");
    return copy;
}

struct OutputPipe {
    FileDescriptor read;
    FileDescriptor write;
};

OutputPipe makeOutputPipe() {
    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC) != 0) throwSystemError(errno, "pipe2");
    const FileDescriptor read(fds[0]);
    const FileDescriptor write(fds[1]);
    return {movedUp(read.get()), movedUp(write.get())};
}

class SpawnFileActions {
public:
    SpawnFileActions() { ::posix_spawn_file_actions_init(&actions_); }
    ~SpawnFileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
};

class SpawnAttributes {
public:
    SpawnAttributes() {
        ::posix_spawnattr_init(&attributes_);
        // The child starts with every signal at its default and none blocked, whatever this
        // process ignores (SIGPIPE) or blocks; a tool killed by a full pipe is what we want.
        sigset_t all;
        sigset_t none;
        ::sigfillset(&all);
        ::sigemptyset(&none);
        ::posix_spawnattr_setsigdefault(&attributes_, &all);
        ::posix_spawnattr_setsigmask(&attributes_, &none);
        ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_{};
};

pid_t spawnChild(const ChildRequest& request, int outputWrite, int shared) {
    SpawnFileActions actions;
    ::posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(actions.get(), outputWrite, 1);
    ::posix_spawn_file_actions_addopen(actions.get(), 2, "/dev/null", O_WRONLY, 0);
    int firstClosed = 3;
    if (shared >= 0) {
        ::posix_spawn_file_actions_adddup2(actions.get(), shared, sharedDescriptorNumber);
        firstClosed = sharedDescriptorNumber + 1;
    }
    // Descriptors another thread opened without O_CLOEXEC must not leak into the tool either.
    ::posix_spawn_file_actions_addclosefrom_np(actions.get(), firstClosed);
    if (request.workingDirectory) {
        ::posix_spawn_file_actions_addchdir_np(actions.get(), request.workingDirectory->c_str());
    }
    SpawnAttributes attributes;

    // A limit set on the child after it started would come too late for a fast writer, and the
    // limit cannot be set here without setting it for every thread of this process: util-linux
    // prlimit sets it on itself and then becomes the tool.
    std::string program = request.program.string();
    std::vector<std::string> arguments(request.arguments);
    if (request.maximumFileSize > 0) {
        arguments.insert(arguments.begin(), {"--fsize=" + std::to_string(request.maximumFileSize), "--", program});
        program = "/usr/bin/prlimit";
    }
    std::vector<char*> argv{program.data()};
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string locale = "LC_ALL=C.UTF-8";
    std::array<char*, 2> environment{locale.data(), nullptr};

    pid_t pid = 0;
    const int error =
        ::posix_spawn(&pid, program.c_str(), actions.get(), attributes.get(), argv.data(), environment.data());
    if (error != 0) throwSystemError(error, "posix_spawn");
    return pid;
}

int millisecondsUntil(Clock::time_point deadline, std::chrono::milliseconds cap) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp(left, std::chrono::milliseconds(0), cap).count());
}

class RunningChild {
public:
    RunningChild(pid_t pid, const ChildRequest& request, FileDescriptor output)
        : pid_(pid), request_(request), output_(std::move(output)), deadline_(Clock::now() + request.timeLimit) {}

    ~RunningChild() {
        if (!reaped_) {
            ::kill(pid_, SIGKILL);
            reap();
        }
    }
    RunningChild(const RunningChild&) = delete;
    RunningChild& operator=(const RunningChild&) = delete;

    ChildOutcome run() {
        while (!reaped_ && !ended()) {
            if (output_.get() >= 0) {
                readOnce();
            } else {
                pollForExit();
            }
        }
        output_.reset();
        if (!reaped_) reap();
        return std::move(outcome_);
    }

private:
    bool ended() const { return outcome_.truncated || outcome_.timedOut || outcome_.overLimit; }

    void end(bool& reason) {
        reason = true;
        ::kill(pid_, SIGKILL);
    }

    // A watch is asked about every 25 ms; without one the loop wakes only for output or exit.
    std::chrono::milliseconds pollInterval(std::chrono::milliseconds idle) const {
        return request_.overLimit ? std::chrono::milliseconds(25) : idle;
    }

    void checkLimits() {
        if (Clock::now() >= deadline_) {
            end(outcome_.timedOut);
        } else if (request_.overLimit && request_.overLimit()) {
            end(outcome_.overLimit);
        }
    }

    void readOnce() {
        pollfd ready{output_.get(), POLLIN, 0};
        const int timeout = millisecondsUntil(deadline_, pollInterval(std::chrono::milliseconds(250)));
        const int count = posix::retryInterrupted([&] { return ::poll(&ready, 1, timeout); });
        if (count > 0) {
            std::array<char, chunkSize> chunk;
            const auto received =
                posix::retryInterrupted([&] { return ::read(output_.get(), chunk.data(), chunk.size()); });
            if (received > 0) {
                keep(std::string_view(chunk.data(), static_cast<std::size_t>(received)));
            } else if (received == 0 || errno != EAGAIN) {
                output_.reset();
            }
        } else if (count < 0) {
            output_.reset();
        }
        if (!ended()) checkLimits();
    }

    void keep(std::string_view chunk) {
        if (!request_.captureOutput) return;
        const std::size_t room = request_.maximumOutput - std::min(request_.maximumOutput, outcome_.output.size());
        outcome_.output.append(chunk.substr(0, std::min(room, chunk.size())));
        if (chunk.size() > room) end(outcome_.truncated);
    }

    // The child closed its standard output but may still run: check on it without blocking, so
    // that the time limit and the watch keep holding.
    void pollForExit() {
        int status = 0;
        const pid_t waited = ::waitpid(pid_, &status, WNOHANG);
        if (waited == pid_) {
            record(status);
            return;
        }
        ::poll(nullptr, 0, millisecondsUntil(deadline_, pollInterval(std::chrono::milliseconds(5))));
        checkLimits();
    }

    void reap() {
        int status = 0;
        if (posix::retryInterrupted([&] { return ::waitpid(pid_, &status, 0); }) < 0) {
            reaped_ = true;
            return;
        }
        record(status);
    }

    void record(int status) {
        reaped_ = true;
        if (WIFEXITED(status)) {
            outcome_.exitStatus = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) {
            outcome_.overLimit = true;
        }
    }

    pid_t pid_;
    const ChildRequest& request_;
    FileDescriptor output_;
    Clock::time_point deadline_;
    ChildOutcome outcome_;
    bool reaped_ = false;
};

}  // namespace

ChildOutcome runChildProcess(const ChildRequest& request) {
    // Standard output always goes through a pipe, captured or not: its end of stream tells at
    // once that the child is done, and nothing it prints can reach our own streams.
    auto pipe = makeOutputPipe();
    FileDescriptor shared;
    if (request.sharedDescriptor >= 0) shared = movedUp(request.sharedDescriptor);
    const pid_t pid = spawnChild(request, pipe.write.get(), shared.get());
    pipe.write.reset();
    shared.reset();
    RunningChild child(pid, request, std::move(pipe.read));
    return child.run();
}

}  // namespace velquor::files
