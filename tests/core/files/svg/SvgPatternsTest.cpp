#include "core/files/FileSanitizerError.h"
#include "core/files/svg/SVGPrivacySanitizer.h"
#include "core/files/svg/SvgScan.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace velquor::files {
namespace {

struct Scanned {
    std::u16string label;
    text::Regex rule;
    CompiledSvgPattern scanned;
};

constexpr text::RegexOptions detectionOptions{.caseInsensitive = true, .dotMatchesLineSeparators = true};
constexpr text::RegexOptions cleaningOptions{.caseInsensitive = true};

// Every pattern scanned in another form than its rule, with the options it runs under.
std::vector<Scanned> patternsScannedDifferently() {
    std::vector<Scanned> rows;
    const auto add = [&](std::u16string label, const SvgPattern& pattern, text::RegexOptions options) {
        if (pattern.scanPattern.empty() && pattern.candidateStart.empty()) return;
        rows.push_back({std::move(label), *text::Regex::compile(pattern.rule, options), {pattern, options}});
    };
    for (const auto& row : svgDetectionRows()) add(std::u16string(row.name), row.pattern, detectionOptions);
    for (std::size_t i = 0; i < svgCleaningRows().size(); ++i) {
        add(u"cleaning " + std::u16string(1, char16_t(u'1' + i)), svgCleaningRows()[i].pattern, cleaningOptions);
    }
    return rows;
}

std::vector<text::TextLocation> rangesOf(const text::RegexScan& scan) {
    std::vector<text::TextLocation> ranges;
    for (const auto& match : scan.matches) ranges.push_back(match.range);
    return ranges;
}

// Pieces of the constructs, their near misses and the characters that end them.
const std::vector<std::u16string_view> fragments = {
    u"<!--",
    u"-->",
    u"--",
    u"-",
    u">",
    u"<",
    u"!",
    u"<!DOCTYPE",
    u"<!doctype ",
    u"[",
    u"]",
    u"]>",
    u"<!ENTITY x 'y'>",
    u"<?xml-stylesheet",
    u"?>",
    u"?",
    u"<metadata",
    u"</metadata>",
    u"<metadatax",
    u"<script",
    u"</SCRIPT>",
    u"<foreignObject",
    u"</foreignobject>",
    u"<dc:creator",
    u"</dc:title>",
    u"<rdf:RDF",
    u"</rdf:rdf>",
    u"url(",
    u"URL(",
    u")",
    u"#",
    u"\"",
    u"'",
    u"@import",
    u";",
    u" ",
    u"\t",
    u"\n",
    u"a",
    u"\u2028",
};

std::u16string randomText(std::mt19937& random, std::size_t fragmentCount) {
    std::uniform_int_distribution<std::size_t> pick(0, fragments.size() - 1);
    std::u16string text;
    for (std::size_t i = 0; i < fragmentCount; ++i) text += fragments[pick(random)];
    return text;
}

TEST(SvgPatternsTest, ScannedFormsFindExactlyTheRulesMatches) {
    std::mt19937 random(20240301);
    std::uniform_int_distribution<std::size_t> length(0, 14);
    for (const auto& row : patternsScannedDifferently()) {
        int compared = 0;
        for (int sample = 0; sample < 3000; ++sample) {
            const auto text = randomText(random, length(random));
            const auto expected = row.rule.allMatches(text);
            if (!expected.complete) continue;
            const auto actual = row.scanned.scan(text);
            ASSERT_TRUE(actual.complete);
            ASSERT_EQ(rangesOf(actual), rangesOf(expected))
                << std::string(row.label.begin(), row.label.end()) << ": " << std::string(text.begin(), text.end());
            ++compared;
        }
        EXPECT_GT(compared, 2900);
    }
}

std::u16string repeated(std::u16string_view piece, std::size_t count) {
    std::u16string text;
    for (std::size_t i = 0; i < count; ++i) text += piece;
    return text;
}

// Texts on which the rules as written backtrack exponentially or re-read the text from every
// start: each must finish with the right answer.
TEST(SvgPatternsTest, HostileTextsFinishWithTheRightCounts) {
    const std::pair<std::u16string, std::u16string_view> cases[] = {
        {u"<svg/><!DOCTYPE " + repeated(u"[]", 40), u""},
        {u"<svg/><!DOCTYPE " + repeated(u"[]", 40) + u">", u"Document type declarations"},
        {u"<svg/>" + repeated(u"<!--", 20'000), u""},
        {u"<svg/>" + repeated(u"<!DOCTYPE [", 20'000), u""},
        {u"<svg/>" + repeated(u"<!DOCTYPE x", 20'000), u""},
        {u"<svg/>" + repeated(u"<script ", 20'000), u""},
        {u"<svg/>" + repeated(u"<dc:title>", 20'000), u""},
        {u"<svg/>url(" + std::u16string(300'000, u' ') + u"#", u""},
        {u"<svg/>url(" + repeated(u"url(#", 50'000), u"CSS resource references"},
    };
    for (const auto& [text, onlyEntry] : cases) {
        const auto entries = SVGPrivacySanitizer::entries(text);
        if (onlyEntry.empty()) {
            EXPECT_TRUE(entries.empty()) << text.size();
        } else {
            ASSERT_EQ(entries.size(), 1u) << text.size();
            EXPECT_EQ(entries.front().name, onlyEntry);
        }
        EXPECT_NO_THROW(SVGPrivacySanitizer().clean(text)) << text.size();
    }
}

TEST(SvgPatternsTest, AScanThatRunsOutFailsInsteadOfFindingNothing) {
    // Every unclosed @import makes the removal rule read to the end of the text.
    const auto text = u"<svg>" + repeated(u"@import url(", 60'000);
    EXPECT_EQ(testing::errorOf([&] { SVGPrivacySanitizer().clean(text); }), FileSanitizerError::Case::unreadableFile);
}

}  // namespace
}  // namespace velquor::files
