#include "cli/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

extern char** environ;

namespace velquor::cli {

namespace {

[[noreturn]] void fail(int code, const char* what) { throw std::system_error(code, std::generic_category(), what); }

struct Pipe {
    posix::FileDescriptor readEnd;
    posix::FileDescriptor writeEnd;
};

Pipe makePipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) fail(errno, "pipe");
    return {posix::FileDescriptor(ends[0]), posix::FileDescriptor(ends[1])};
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, Clock::time_point deadline)
    : name_(arguments.at(0)), deadline_(deadline) {
    auto toChild = makePipe();
    auto fromChild = makePipe();
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, toChild.readEnd.get(), STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, fromChild.writeEnd.get(), STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int spawned = ::posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        pid_ = -1;
        fail(spawned, arguments[0].c_str());
    }
    input_ = std::move(toChild.writeEnd);
    output_ = std::move(fromChild.readEnd);
    // A child that stops reading must not end this process with SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
}

ChildProcess::~ChildProcess() {
    if (pid_ < 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
}

void ChildProcess::waitFor(int fd, short events) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
        if (left <= 0) fail(ETIMEDOUT, name_.c_str());
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left));
        if (ready > 0) return;
        if (ready < 0 && errno != EINTR) fail(errno, "poll");
    }
}

void ChildProcess::write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        waitFor(input_.get(), POLLOUT);
        const auto written = ::write(input_.get(), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR && errno != EAGAIN) fail(errno, "write");
        if (written > 0) done += static_cast<std::size_t>(written);
    }
}

bool ChildProcess::fill() {
    char chunk[65536];
    for (;;) {
        waitFor(output_.get(), POLLIN);
        const auto got = ::read(output_.get(), chunk, sizeof chunk);
        if (got > 0) {
            buffered_.append(chunk, static_cast<std::size_t>(got));
            return true;
        }
        if (got == 0) return false;
        if (errno != EINTR && errno != EAGAIN) fail(errno, "read");
    }
}

std::vector<std::uint8_t> ChildProcess::read(std::size_t count) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::min<std::size_t>(count, 1 << 20));
    while (bytes.size() < count) {
        if (buffered_.empty() && !fill()) fail(EPROTO, name_.c_str());
        const auto take = std::min(count - bytes.size(), buffered_.size());
        bytes.insert(bytes.end(), buffered_.begin(), buffered_.begin() + static_cast<std::ptrdiff_t>(take));
        buffered_.erase(0, take);
    }
    return bytes;
}

std::optional<std::string> ChildProcess::readLine(std::size_t maximum) {
    for (;;) {
        if (const auto end = buffered_.find('\n'); end != std::string::npos) {
            if (end > maximum) fail(EPROTO, name_.c_str());
            auto line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            return line;
        }
        if (buffered_.size() > maximum) fail(EPROTO, name_.c_str());
        if (!fill()) {
            if (buffered_.empty()) return std::nullopt;
            fail(EPROTO, name_.c_str());
        }
    }
}

std::string ChildProcess::readAll(std::size_t maximum) {
    while (fill()) {
        if (buffered_.size() > maximum) fail(EPROTO, name_.c_str());
    }
    return std::move(buffered_);
}

int ChildProcess::finish() {
    if (pid_ < 0) return exitStatus_;
    input_.reset();
    output_.reset();
    // The pipes are closed, so a child that is still busy has nothing left to do but exit; one
    // that does not by the deadline is killed.
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) break;
        if (done < 0 && errno != EINTR) fail(errno, "waitpid");
        if (Clock::now() >= deadline_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        ::usleep(1000);
    }
    pid_ = -1;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exitStatus_;
}

}  // namespace velquor::cli
