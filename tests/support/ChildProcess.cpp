#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace velquor::testing {

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
        read = fds[0];
        write = fds[1];
    }
};

void closeIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& standardInput, const std::filesystem::path& workingDirectory) {
    Pipe input, output, error;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.read, 0);
    posix_spawn_file_actions_adddup2(&actions, output.write, 1);
    posix_spawn_file_actions_adddup2(&actions, error.write, 2);
    if (!workingDirectory.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());

    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    std::vector<std::string> copies(arguments);
    for (auto& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    closeIfOpen(input.read);
    closeIfOpen(output.write);
    closeIfOpen(error.write);
    if (spawned != 0) throw std::system_error(spawned, std::generic_category(), "posix_spawn " + program);

    // Feed standard input while draining both outputs, so that no pipe can fill up and stall.
    ::signal(SIGPIPE, SIG_IGN);
    ChildResult result;
    std::size_t written = 0;
    if (standardInput.empty()) closeIfOpen(input.write);
    while (output.read >= 0 || error.read >= 0) {
        std::array<pollfd, 3> fds{{{output.read, POLLIN, 0}, {error.read, POLLIN, 0}, {input.write, POLLOUT, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
        for (int stream = 0; stream < 2; ++stream) {
            int& fd = stream == 0 ? output.read : error.read;
            if (fd < 0 || fds[stream].revents == 0) continue;
            std::array<char, 65536> buffer{};
            const auto received = ::read(fd, buffer.data(), buffer.size());
            if (received <= 0) {
                closeIfOpen(fd);
            } else {
                (stream == 0 ? result.out : result.err).append(buffer.data(), static_cast<std::size_t>(received));
            }
        }
        if (input.write >= 0 && fds[2].revents != 0) {
            const auto sent = ::write(input.write, standardInput.data() + written, standardInput.size() - written);
            if (sent <= 0) {
                closeIfOpen(input.write);
            } else if ((written += static_cast<std::size_t>(sent)) == standardInput.size()) {
                closeIfOpen(input.write);
            }
        }
    }
    closeIfOpen(input.write);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace velquor::testing
