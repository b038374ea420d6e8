#include "tests/support/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::cli {
namespace {

using ::testing::HasSubstr;
using velquor::testing::ChildResult;
using velquor::testing::runChild;
using velquor::testing::TemporaryDirectory;

ChildResult velquorCli(const std::vector<std::string>& arguments, const std::string& input = {}) {
    return runChild(VELQUOR_CLI_PATH, arguments, input);
}

// A text with something for every option: a zero-width space, a no-break space, doubled
// spaces, an em dash, Markdown, a hard wrap, a tracked URL and a Danish word.
const std::string messy =
    "  # Note\xE2\x80\x8B\n"
    "Read **this**\xC2\xA0\xE2\x80\x94 https://x.test/?utm_source=n&id=2.\n"
    "wrapped  line \xC3\x86r\xC3\xB8\n\n";

struct CleanCase {
    std::vector<std::string> flags;
    std::string output;
};

TEST(TextCleanCliTest, FlagsSwitchTheDocumentedOptions) {
    const CleanCase cases[] = {
        {{}, "# Note\nRead **this** \xE2\x80\x94 https://x.test/?id=2.\nwrapped line \xC3\x86r\xC3\xB8"},
        {{"--no-unicode"},
         "# Note\xE2\x80\x8B\nRead **this** \xE2\x80\x94 https://x.test/?id=2.\nwrapped line \xC3\x86r\xC3\xB8"},
        {{"--no-tracking"},
         "# Note\nRead **this** \xE2\x80\x94 https://x.test/?utm_source=n&id=2.\nwrapped line \xC3\x86r\xC3\xB8"},
        {{"--no-trim"},
         " # Note\nRead **this** \xE2\x80\x94 https://x.test/?id=2.\nwrapped line \xC3\x86r\xC3\xB8\n\n"},
        {{"--no-whitespace", "--no-unicode", "--no-tracking"}, messy},
        {{"--punctuation", "--ascii"}, "# Note\nRead **this** - https://x.test/?id=2.\nwrapped line AEro"},
        {{"--markdown", "--unwrap"},
         "Note\nRead this \xE2\x80\x94 https://x.test/?id=2. wrapped line \xC3\x86r\xC3\xB8"},
        {{"--hygiene"},
         " # Note\nRead **this** \xE2\x80\x94 https://x.test/?id=2.\nwrapped line \xC3\x86r\xC3\xB8\n\n"},
    };
    for (const auto& testCase : cases) {
        auto arguments = std::vector<std::string>{"text", "clean"};
        arguments.insert(arguments.end(), testCase.flags.begin(), testCase.flags.end());
        const auto result = velquorCli(arguments, messy);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, testCase.output) << ::testing::PrintToString(testCase.flags);
    }
}

TEST(TextCleanCliTest, HygieneFilterKeepsASelectionsEdges) {
    const auto result = velquorCli({"text", "clean", "--hygiene", "-"}, "  keep\xE2\x80\x8B  this\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, " keep this\n");
}

TEST(TextCleanCliTest, JsonCarriesTextSummaryAndChangedOffsets) {
    const auto result = velquorCli({"text", "clean", "--json"},
                                   "a\xC2\xA0"
                                   "b\r\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out,
              R"({"text":"a b","summary":{"inputCharacters":4,"outputCharacters":3,"removedFormatControls":0,)"
              R"("removedInvisibleScalars":0,"removedPrivateUseScalars":0,"removedControlScalars":0,)"
              R"("normalizedWhitespaceScalars":1,"punctuationReplacementScalars":0,"markdownArtifactsFlattened":0,)"
              R"("unwrappedLineBreaks":0,"asciiReplacementScalars":0,"strippedURLTrackingParameters":0,)"
              R"("trimmedCharacters":1,"normalizedLineEndings":true,"contentChanged":true,"changed":true,"rows":[)"
              R"({"label":"Format controls removed","count":0},{"label":"Invisible scalars removed","count":0},)"
              R"({"label":"Private-use scalars removed","count":0},{"label":"Control characters removed","count":0},)"
              R"({"label":"Whitespace normalized","count":1},{"label":"Punctuation replaced","count":0},)"
              R"({"label":"Markdown artifacts flattened","count":0},{"label":"Hard wraps removed","count":0},)"
              R"({"label":"ASCII replacements","count":0},{"label":"URL tracking params stripped","count":0},)"
              R"({"label":"Trimmed edge characters","count":1}]},"changedOutputOffsets":[1]})"
              "\n");
}

TEST(TextCleanCliTest, BadInputAndUsageExitWithTwoAndPrintNothing) {
    TemporaryDirectory directory;
    const auto latin1 = directory.write("latin1.txt", "caf\xE9\n");
    const std::vector<std::string> mistakes[] = {
        {"text", "clean", latin1.string()}, {"text", "clean", "--hygiene", "--ascii"},
        {"text", "clean", "--trim"},        {"text", "clean", "a.txt", "b.txt"},
        {"text", "review", "--ascii"},      {"text", "review", latin1.string()},
    };
    for (const auto& arguments : mistakes) {
        const auto result = velquorCli(arguments);
        EXPECT_EQ(result.exitStatus, 2) << ::testing::PrintToString(arguments);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
    EXPECT_THAT(velquorCli({"text", "clean", "--hygiene", "--ascii"}).err,
                HasSubstr("'--hygiene' cannot be combined with '--ascii'"));
    EXPECT_EQ(velquorCli({"text", "clean", latin1.string()}).err, "The input is not valid UTF-8 text.\n");
}

TEST(TextCleanCliTest, ReviewListsEachCategoryWithAnExample) {
    const auto result = velquorCli({"text", "review"},
                                   "ab\xE2\x80\x8B"
                                   "cd  ef\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out,
              "A full cleaning pass would change:\n\n"
              "Hidden and control Unicode: 1 change\n    at 2\n    \"<U+200B>\" -> \"\"\n\n"
              "Whitespace and line endings: 2 changes\n    at 5\n    \"  \" -> \" \"\n\n"
              "ASCII conversion: 1 change\n    at 2\n    \"<U+200B>\" -> \"?\"\n");
    EXPECT_EQ(velquorCli({"text", "review"}, "Nothing here.").out, "Nothing to change.\n");
    // Trimming takes a final line break too, a change with nowhere to point at.
    EXPECT_EQ(velquorCli({"text", "review"}, "Nothing here.\n").out,
              "A full cleaning pass would change:\n\nWhitespace and line endings: 1 change\n    no location to show\n");
}

TEST(TextCleanCliTest, ReviewJsonHasTheItemFields) {
    const auto result = velquorCli({"text", "review", "--json"}, "https://x.test/?ga_source=1");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, R"([{"category":"trackingURLs","id":"trackingURLs","count":1,"locations":[],"preview":null}])"
                          "\n");
}

}  // namespace
}  // namespace velquor::cli
