#include "cli/ArgumentParser.h"

#include <gtest/gtest.h>

namespace velquor::cli {
namespace {

ParsedArguments parse(std::vector<std::string> arguments) {
    return parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {"--output"}, .maximumPositionals = 1});
}

TEST(ArgumentParserTest, SeparatesFlagsValuesAndPositionals) {
    const auto parsed = parse({"--json", "notes.txt", "--output", "out.txt"});
    EXPECT_FALSE(parsed.error);
    EXPECT_TRUE(parsed.has("--json"));
    EXPECT_EQ(parsed.positionals, std::vector<std::string>{"notes.txt"});
    EXPECT_EQ(parsed.values.at("--output"), "out.txt");
}

TEST(ArgumentParserTest, DashIsStandardInputAndDoubleDashEndsOptions) {
    EXPECT_EQ(parse({"-"}).positionals, std::vector<std::string>{"-"});
    const auto parsed = parse({"--", "--json"});
    EXPECT_FALSE(parsed.error);
    EXPECT_FALSE(parsed.has("--json"));
    EXPECT_EQ(parsed.positionals, std::vector<std::string>{"--json"});
}

TEST(ArgumentParserTest, UsageMistakesAreWordedForTheUser) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--jsn"}, "unknown option '--jsn'"},
        {{"--output"}, "option '--output' needs a value"},
        {{"a.txt", "b.txt"}, "unexpected argument 'b.txt'"},
    };
    for (const auto& [arguments, message] : cases) EXPECT_EQ(parse(arguments).error, message);
}

TEST(ArgumentParserTest, HelpIsRecognisedAnywhere) {
    EXPECT_TRUE(parse({"notes.txt", "-h"}).helpRequested);
    EXPECT_TRUE(parse({"--help"}).helpRequested);
}

}  // namespace
}  // namespace velquor::cli
