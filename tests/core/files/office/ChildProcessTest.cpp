#include "core/files/office/ChildProcess.h"

#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <system_error>

namespace velquor::files {
namespace {

using namespace std::chrono_literals;

ChildOutcome run(ChildRequest request) { return runChildProcess(request); }

void expectNoChildLeft() {
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(ChildProcessTest, CapturesOutputAndExitStatus) {
    const auto outcome = run({.program = "/bin/sh",
                              .arguments = {"-c", "printf hello; exit 3"},
                              .captureOutput = true,
                              .maximumOutput = 100});
    EXPECT_EQ(outcome.output, "hello");
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_FALSE(outcome.truncated);
    expectNoChildLeft();
}

TEST(ChildProcessTest, OutputPastTheCapKeepsWhatFitsAndEndsTheChild) {
    const auto started = std::chrono::steady_clock::now();
    const auto outcome = run({.program = "/usr/bin/yes", .captureOutput = true, .maximumOutput = 100'001});
    EXPECT_TRUE(outcome.truncated);
    EXPECT_EQ(outcome.output.size(), 100'001u);
    EXPECT_EQ(outcome.output.substr(0, 4), "y\ny\n");
    EXPECT_FALSE(outcome.exitedCleanly());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    expectNoChildLeft();
}

TEST(ChildProcessTest, OutputExactlyAtTheCapIsNotTruncated) {
    const auto outcome =
        run({.program = "/bin/sh", .arguments = {"-c", "printf 12345"}, .captureOutput = true, .maximumOutput = 5});
    EXPECT_FALSE(outcome.truncated);
    EXPECT_EQ(outcome.output, "12345");
    EXPECT_TRUE(outcome.exitedCleanly());
}

TEST(ChildProcessTest, TimeLimitEndsAChildThatNeverFinishes) {
    const auto started = std::chrono::steady_clock::now();
    // The child closes its standard output and lives on: the limit must still hold.
    const auto outcome =
        run({.program = "/bin/sh", .arguments = {"-c", "exec >&-; exec sleep 30"}, .timeLimit = 300ms});
    EXPECT_TRUE(outcome.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    expectNoChildLeft();
}

TEST(ChildProcessTest, WatchEndsTheChild) {
    int asked = 0;
    const auto outcome = run({.program = "/bin/sleep", .arguments = {"30"}, .overLimit = [&] { return ++asked == 3; }});
    EXPECT_TRUE(outcome.overLimit);
    EXPECT_EQ(asked, 3);
    expectNoChildLeft();
}

TEST(ChildProcessTest, FileSizeLimitStopsAWriter) {
    const testing::TemporaryDirectory directory;
    const auto file = directory.path() / "big";
    const auto outcome = run({.program = "/bin/dd",
                              .arguments = {"if=/dev/zero", "of=" + file.string(), "bs=65536", "count=64"},
                              .maximumFileSize = 1 << 20});
    EXPECT_FALSE(outcome.exitedCleanly());
    EXPECT_LE(std::filesystem::file_size(file), 1u << 20);
}

TEST(ChildProcessTest, ChildSeesNullInputCleanEnvironmentAndOnlyItsOwnDescriptors) {
    const testing::TemporaryDirectory directory;
    const auto file = directory.write("shared.txt", "shared bytes");
    const int leaky = ::open(file.c_str(), O_RDONLY);  // no O_CLOEXEC on purpose
    const int shared = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(leaky, 0);
    ASSERT_GE(shared, 0);

    const auto descriptors = run({.program = "/bin/ls",
                                  .arguments = {"/proc/self/fd"},
                                  .sharedDescriptor = shared,
                                  .captureOutput = true,
                                  .maximumOutput = 1000});
    // 0, 1, 2, the shared file as 3, and the descriptor ls opened to read the folder.
    EXPECT_EQ(descriptors.output, "0\n1\n2\n3\n4\n");
    const auto sharedRead = run({.program = "/bin/cat",
                                 .arguments = {sharedDescriptorPath},
                                 .sharedDescriptor = shared,
                                 .captureOutput = true,
                                 .maximumOutput = 1000});
    EXPECT_EQ(sharedRead.output, "shared bytes");
    const auto input = run({.program = "/bin/cat", .captureOutput = true, .maximumOutput = 1000});
    EXPECT_EQ(input.output, "");
    EXPECT_TRUE(input.exitedCleanly());
    const auto environment = run({.program = "/usr/bin/env", .captureOutput = true, .maximumOutput = 1000});
    EXPECT_EQ(environment.output, "LC_ALL=C.UTF-8\n");
    const auto streams = run({.program = "/bin/readlink",
                              .arguments = {"/proc/self/fd/0", "/proc/self/fd/2"},
                              .captureOutput = true,
                              .maximumOutput = 1000});
    EXPECT_EQ(streams.output, "/dev/null\n/dev/null\n");
    const auto folder = run(
        {.program = "/bin/pwd", .workingDirectory = directory.path(), .captureOutput = true, .maximumOutput = 1000});
    EXPECT_EQ(folder.output, std::filesystem::canonical(directory.path()).string() + "\n");
    ::close(leaky);
    ::close(shared);
    expectNoChildLeft();
}

TEST(ChildProcessTest, LaunchFailureIsTheSystemError) {
    EXPECT_THROW(run({.program = "/nonexistent/tool"}), std::system_error);
    expectNoChildLeft();
}

}  // namespace
}  // namespace velquor::files
