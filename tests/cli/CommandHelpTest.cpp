#include "cli/Command.h"
#include "cli/CommandHelp.h"
#include "cli/ManPage.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace velquor::cli {
namespace {

using ::testing::HasSubstr;
using velquor::testing::ChildResult;
using velquor::testing::runChild;

ChildResult velquorCli(const std::vector<std::string>& arguments) { return runChild(VELQUOR_CLI_PATH, arguments); }

std::string commandName(const Command& command) { return std::string(command.group) + ' ' + std::string(command.name); }

std::size_t longestLine(const std::string& text) {
    std::size_t longest = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const auto scalars = std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
        longest = std::max(longest, static_cast<std::size_t>(scalars));
    }
    return longest;
}

TEST(CommandHelpTest, EveryCommandExplainsItsOptionsWithExamplesAndItsExitStatus) {
    const auto overview = velquorCli({"--help"});
    EXPECT_EQ(overview.exitStatus, 0);
    EXPECT_LE(longestLine(overview.out), 79u);
    for (const Command* command : commands()) {
        EXPECT_THAT(overview.out, HasSubstr("  " + commandName(*command) + ' ' + std::string(command->usage) + '\n'));
        const auto help = velquorCli({std::string(command->group), std::string(command->name), "--help"});
        EXPECT_EQ(help.exitStatus, 0);
        EXPECT_EQ(help.err, "");
        EXPECT_THAT(help.out, ::testing::StartsWith(usageLine(*command)));
        for (const auto& option : command->options) EXPECT_THAT(help.out, HasSubstr("  " + std::string(option.name)));
        EXPECT_FALSE(command->examples.empty()) << commandName(*command);
        for (const auto& example : command->examples) {
            EXPECT_THAT(help.out, HasSubstr("  " + std::string(example.commandLine) + '\n'));
            EXPECT_THAT(std::string(example.commandLine), HasSubstr("velquor-cli " + commandName(*command)));
        }
        EXPECT_THAT(help.out, HasSubstr("\nExit status: "));
        EXPECT_LE(longestLine(help.out), 79u) << commandName(*command);
    }
}

TEST(CommandHelpTest, VersionGroupHelpAndMistakes) {
    const auto version = velquorCli({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, std::string("velquor-cli ") + VELQUOR_VERSION + "\n");

    const auto group = velquorCli({"file", "--help"});
    EXPECT_EQ(group.exitStatus, 0);
    EXPECT_THAT(group.out, HasSubstr("Commands:"));

    // Help wins over a mistake on the same line, but not after "--", where it is a file name.
    EXPECT_EQ(velquorCli({"text", "inspect", "--jason", "--help"}).exitStatus, 0);
    const auto afterOptions = velquorCli({"text", "inspect", "--", "--help"});
    EXPECT_EQ(afterOptions.exitStatus, 2);
    EXPECT_THAT(afterOptions.err, HasSubstr("--help"));

    const auto unknown = velquorCli({"file", "shred", "x"});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_THAT(unknown.err, ::testing::StartsWith("velquor-cli: unknown command 'file shred'\n"));
    EXPECT_EQ(velquorCli({"frobnicate", "--help"}).exitStatus, 2);
}

TEST(CommandHelpTest, WrappingKeepsParagraphsAndNeverSplitsAWord) {
    EXPECT_EQ(wrappedText("aaa bbb ccc\n\nddd", 2, 9), "  aaa bbb\n  ccc\n\n  ddd\n");
    EXPECT_EQ(wrappedText("a-very-long-word b", 0, 5), "a-very-long-word\nb\n");
    EXPECT_EQ(wrappedText("caf\xC3\xA9 ok", 0, 7), "caf\xC3\xA9 ok\n");
}

TEST(CommandHelpTest, TroffTextEscapesWhatTroffWouldReadAsMarkup) {
    EXPECT_EQ(troffText("--json a\\b"), "\\-\\-json a\\eb");
    EXPECT_EQ(troffText(".env files"), "\\&.env files");
    EXPECT_EQ(troffText("'quoted'"), "\\&'quoted'");
    EXPECT_EQ(troffText("0\xE2\x80\x93"
                        "100 \xF0\x9F\x8E\x89"),
              "0\\[u2013]100 \\[u1F389]");
}

std::string readSourceFile(const std::filesystem::path& relative) {
    std::ifstream in(std::filesystem::path(VELQUOR_SOURCE_DIR) / relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CommandHelpTest, TheManualPageIsTheOneTheCommandTableGives) {
    std::ostringstream generated;
    writeManPage(generated);
    EXPECT_EQ(readSourceFile("resources/velquor-cli.1"), generated.str())
        << "resources/velquor-cli.1 is out of date: build/default/cli/velquor-cli-manpage > resources/velquor-cli.1";
    for (const Command* command : commands()) {
        EXPECT_THAT(generated.str(),
                    HasSubstr(".SS \"" + std::string(command->group) + ' ' + std::string(command->name) + "\"\n"));
    }
}

TEST(CommandHelpTest, TheManualPageFormatsWithoutWarnings) {
    if (!std::filesystem::exists("/usr/bin/groff")) GTEST_SKIP() << "groff is not installed";
    const auto page = (std::filesystem::path(VELQUOR_SOURCE_DIR) / "resources/velquor-cli.1").string();
    const auto result = runChild("/usr/bin/groff", {"-man", "-Tutf8", "-ww", "-z", page});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
}

}  // namespace
}  // namespace velquor::cli
