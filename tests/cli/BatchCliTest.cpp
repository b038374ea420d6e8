#include "cli/Interruption.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <regex>
#include <thread>
#include <sstream>

extern char** environ;

namespace velquor::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;
using namespace velquor::testing;

ChildResult velquorCli(const std::vector<std::string>& arguments) { return runChild(VELQUOR_CLI_PATH, arguments); }

fs::path commentedPng(const TemporaryDirectory& directory, const std::string& name) {
    std::string payload = "Comment";
    payload.push_back('\0');
    payload += "taken by Ann";
    const auto file = directory.path() / name;
    fs::create_directories(file.parent_path());
    writeBytes(file, tinyPng({pngChunk("tEXt", bytesOf(payload))}));
    return file;
}

fs::path cleanPng(const TemporaryDirectory& directory, const std::string& name) {
    const auto file = directory.path() / name;
    fs::create_directories(file.parent_path());
    writeBytes(file, tinyPng());
    return file;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

// Runs velquor-cli with its standard error on a pseudo-terminal, as in an interactive shell, and
// returns what reached the terminal.
std::string terminalErrorOutput(const std::vector<std::string>& arguments) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) throw std::runtime_error("no pseudo-terminal");
    const std::string slaveName = ::ptsname(master);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 2, slaveName.c_str(), O_RDWR | O_NOCTTY, 0);
    std::vector<std::string> copies{VELQUOR_CLI_PATH};
    copies.insert(copies.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, VELQUOR_CLI_PATH, &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot run velquor-cli");
    std::string received;
    char buffer[4096];
    // Once the child has exited and nothing is left, reading the master fails with EIO.
    for (ssize_t count; (count = ::read(master, buffer, sizeof buffer)) > 0;) received.append(buffer, count);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(master);
    return received;
}

TEST(BatchCliTest, AFolderOf250SupportedFilesGives200RowsAndTheLimitMessage) {
    const TemporaryDirectory directory;
    const auto folder = directory.path() / "photos";
    for (int i = 0; i < 250; ++i) cleanPng(directory, "photos/p" + std::to_string(i) + ".png");
    cleanPng(directory, "photos/.hidden.png");
    cleanPng(directory, "photos/.thumbnails/t.png");
    directory.write("photos/notes.txt", "not listed");

    const auto result = velquorCli({"file", "inspect", folder.string()});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const auto shown = lines(result.out);
    ASSERT_EQ(shown.size(), 203u);  // heading, 200 rows, blank line, status
    EXPECT_EQ(shown.back(), "Inspected 200 files (batch safety limit).");
    EXPECT_THAT(shown[1], ::testing::StartsWith(folder.string() + "/p0.png  "));
    EXPECT_THAT(shown[200], ::testing::StartsWith(folder.string() + "/p199.png"));
    EXPECT_THAT(result.out, Not(HasSubstr("hidden")));
    EXPECT_THAT(result.out, Not(HasSubstr("t.png")));
    EXPECT_THAT(result.out, Not(HasSubstr("notes.txt")));
}

TEST(BatchCliTest, TheTableShowsTypeFindingsAndStatusAndTheExitStatusTheWorstFile) {
    const TemporaryDirectory directory;
    const auto clean = cleanPng(directory, "clean.png");
    const auto comment = commentedPng(directory, "comment.png");
    const auto broken = directory.write("broken.png", "not a png");

    EXPECT_EQ(velquorCli({"file", "inspect", clean.string(), clean.string()}).exitStatus, 0);
    const auto attention = velquorCli({"file", "inspect", clean.string(), comment.string()});
    EXPECT_EQ(attention.exitStatus, 1);
    EXPECT_THAT(attention.out, HasSubstr("Inspected 2 files.\n1 file needs attention (provenance data, or "
                                         "metadata that a privacy copy would remove).\n"));

    const auto failed = velquorCli({"file", "inspect", broken.string(), comment.string()});
    EXPECT_EQ(failed.exitStatus, 2);
    const auto width = std::max(broken.string().size(), comment.string().size());
    const auto cell = [&](std::string text) { return text + std::string(width - text.size(), ' '); };
    EXPECT_EQ(failed.out, cell("FILE") + "  TYPE       FINDINGS  STATUS\n" + cell(broken.string()) +
                              "  -                 0  The file could not be read.\n" + cell(comment.string()) +
                              "  PNG image         4  OK\n\n" +
                              "Inspected 2 files.\n1 file needs attention (provenance data, or metadata that a "
                              "privacy copy would remove).\n");
}

TEST(BatchCliTest, AMistypedFolderIsNamedAsMissing) {
    const TemporaryDirectory directory;
    const auto typo = (directory.path() / "Picturs").string();
    const auto result = velquorCli({"file", "inspect", typo});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "velquor-cli: " + typo + ": no such file or folder\n");
}

TEST(BatchCliTest, BatchJsonHasOneObjectPerRowAndTheStatusLine) {
    const TemporaryDirectory directory;
    const auto comment = commentedPng(directory, "in/comment.png");
    const auto result = velquorCli({"file", "inspect", "--json", (directory.path() / "in").string()});
    EXPECT_EQ(result.exitStatus, 1);
    const std::regex uuid("\"id\":\"[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\"");
    EXPECT_EQ(std::regex_replace(result.out, uuid, "\"id\":\"ID\""),
              R"({"batchReports":[{"id":"ID","url":")" + comment.string() +
                  R"(","type":"PNG image","findings":4,"status":"OK","needsAttention":true}],)"
                  R"("fileStatus":"Inspected 1 file."})"
                  "\n");

    fs::create_directory(directory.path() / "empty");
    const auto empty = velquorCli({"file", "inspect", (directory.path() / "empty").string()});
    EXPECT_EQ(empty.exitStatus, 0);
    EXPECT_EQ(empty.out, "No supported files found.\n");
    EXPECT_EQ(velquorCli({"file", "inspect", "--json", (directory.path() / "empty").string()}).out,
              "{\"batchReports\":[],\"fileStatus\":\"No supported files found.\"}\n");
}

TEST(BatchCliTest, ExportReportsEveryFileAndRefusesFolders) {
    const TemporaryDirectory directory;
    const auto comment = commentedPng(directory, "comment.png");
    const auto broken = directory.write("broken.png", "not a png");
    const auto folder = directory.path() / "folder";
    cleanPng(directory, "folder/inside.png");

    const auto result = velquorCli({"file", "export", folder.string(), broken.string(), comment.string()});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, (directory.path() / "comment-privacy.png").string() + "\n");
    EXPECT_EQ(result.err, folder.string() +
                              ": This is a folder. Privacy copies are written for files: name the files to export.\n" +
                              broken.string() + ": The file could not be read.\n");
    EXPECT_FALSE(fs::exists(folder / "inside-privacy.png"));

    const auto json = velquorCli({"file", "export", "--json", comment.string(), broken.string()});
    EXPECT_EQ(json.exitStatus, 2);
    EXPECT_EQ(json.out, "[{\"url\":\"" + comment.string() + "\",\"outputURL\":\"" +
                            (directory.path() / "comment-privacy-2.png").string() +
                            "\",\"fileStatus\":\"Created and verified comment-privacy-2.png.\"},{\"url\":\"" +
                            broken.string() +
                            "\",\"outputURL\":null,\"fileStatus\":\"The file could not be read.\"}]\n");
}

TEST(BatchCliTest, AProgressLineIsShownOnATerminalOnly) {
    const TemporaryDirectory directory;
    for (int i = 0; i < 5; ++i) cleanPng(directory, "f/p" + std::to_string(i) + ".png");
    const auto folder = (directory.path() / "f").string();

    const auto onTerminal = terminalErrorOutput({"file", "inspect", folder});
    EXPECT_THAT(onTerminal, HasSubstr("Inspecting 5 of 5 files\xE2\x80\xA6"));
    // The line is erased before the table, so nothing of it stays on the screen.
    EXPECT_THAT(onTerminal, ::testing::EndsWith("\r\x1B[K"));
    EXPECT_EQ(velquorCli({"file", "inspect", folder}).err, "");

    const auto exporting = terminalErrorOutput({"file", "export", folder + "/p0.png", folder + "/p1.png"});
    EXPECT_THAT(exporting, HasSubstr("Exporting 2 of 2 files\xE2\x80\xA6"));
}

// Ctrl-C, a stop from the session and a closed terminal all end a batch export between two files.
TEST(BatchCliTest, AnInterruptStopsAnExportBetweenFilesAndLeavesNoStagedFile) {
    const TemporaryDirectory directory;
    std::vector<std::string> sources;
    for (int i = 0; i < 400; ++i) sources.push_back(commentedPng(directory, "p" + std::to_string(i) + ".png").string());
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const auto out = directory.path() / ("out-" + std::to_string(signal));
        fs::create_directory(out);
        std::vector<std::string> arguments{VELQUOR_CLI_PATH, "file", "export"};
        for (const auto& source : sources) {
            const auto copied = out / fs::path(source).filename();
            fs::copy_file(source, copied);
            arguments.push_back(copied.string());
        }

        int output[2];
        ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, VELQUOR_CLI_PATH, &actions, nullptr, argv.data(), environ), 0);
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(output[1]);

        // The first copy's path on standard output means the batch is under way.
        char byte = 0;
        while (::read(output[0], &byte, 1) == 1 && byte != '\n') {
        }
        ::kill(pid, signal);
        char buffer[4096];
        while (::read(output[0], buffer, sizeof buffer) > 0) {
        }
        ::close(output[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << signal;
        EXPECT_EQ(WEXITSTATUS(status), 130) << signal;

        std::size_t copies = 0;
        for (const auto& entry : fs::directory_iterator(out)) {
            const auto name = entry.path().filename().string();
            EXPECT_FALSE(name.starts_with(".")) << name;
            if (name.find("-privacy") != std::string::npos) ++copies;
        }
        EXPECT_GE(copies, 1u) << signal;
        EXPECT_LT(copies, 400u) << signal;
    }
}

sighandler_t currentInterruptHandler() {
    struct sigaction current {};
    ::sigaction(SIGINT, nullptr, &current);
    return current.sa_handler;
}

TEST(BatchCliTest, TheFirstInterruptStopsTheBatchAndTheSecondEndsTheProcess) {
    const auto previous = std::signal(SIGINT, SIG_IGN);
    {
        const InterruptionWatch watch;
        EXPECT_FALSE(watch.token().stop_requested());
        ASSERT_EQ(std::raise(SIGINT), 0);
        for (int i = 0; i < 500 && !watch.interrupted(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_TRUE(watch.token().stop_requested());
        EXPECT_EQ(currentInterruptHandler(), SIG_DFL);
    }
    EXPECT_EQ(currentInterruptHandler(), SIG_IGN);
    std::signal(SIGINT, previous);
}

}  // namespace
}  // namespace velquor::cli
