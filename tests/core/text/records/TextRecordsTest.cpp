#include "core/text/records/HiddenTextPayload.h"
#include "core/text/records/PrivacyFinding.h"
#include "core/text/records/TextChangeCategory.h"
#include "core/text/records/TextIssue.h"
#include "core/text/records/TextReport.h"

#include <gtest/gtest.h>

namespace velquor::text {
namespace {

TEST(TextIssueTest, CodePointTextIsUpperCaseHexWithAtLeastFourDigits) {
    const std::pair<char32_t, std::u16string> cases[] = {
        {0x0041, u"U+0041"},   {0x00A0, u"U+00A0"},     {0x200B, u"U+200B"}, {0x1F600, u"U+1F600"},
        {0xE0041, u"U+E0041"}, {0x10FFFF, u"U+10FFFF"}, {0x0, u"U+0000"},
    };
    for (const auto& [scalar, expected] : cases) EXPECT_EQ(codePointText(scalar), expected);
}

TEST(TextIssueTest, IdJoinsKindRawValueAndCodePoint) {
    const TextIssue space(TextIssue::Kind::unusualWhitespace, u"space", codePointText(0xA0), 1, {{3, 1}});
    EXPECT_EQ(space.id, u"Whitespace-U+00A0");
    const TextIssue emoji(TextIssue::Kind::nonASCII, u"\U0001F600", codePointText(0x1F600), 1, {{0, 2}});
    EXPECT_EQ(emoji.id, u"Non-ASCII-U+1F600");
}

// Construction from a raw value accepts exactly the raw values, compared case-sensitively.
TEST(RawValueTest, EnumerationsParseTheirOwnRawValuesAndNothingElse) {
    for (const auto kind : textIssueKinds.allCases()) EXPECT_EQ(textIssueKinds.fromRawValue(rawValue(kind)), kind);
    for (const auto category : allTextChangeCategories()) EXPECT_EQ(textChangeCategory(rawValue(category)), category);
    EXPECT_FALSE(textIssueKinds.fromRawValue(u"invisible"));
    EXPECT_FALSE(textIssueKinds.fromRawValue(u"Bidi Control"));
    EXPECT_FALSE(textChangeCategory(u"ASCII"));
    EXPECT_FALSE(textChangeCategory(u""));
}

TEST(HiddenTextPayloadTest, IdDependsOnKindTextAndByteCount) {
    const HiddenTextPayload first(HiddenTextPayload::Kind::tagCharacters, u"notes", 5);
    const HiddenTextPayload same(HiddenTextPayload::Kind::tagCharacters, u"notes", 5);
    const HiddenTextPayload longer(HiddenTextPayload::Kind::tagCharacters, u"notes", 7);
    const HiddenTextPayload otherKind(HiddenTextPayload::Kind::variationSelectors, u"notes", 5);
    EXPECT_EQ(first.id, same.id);
    EXPECT_NE(first.id, longer.id);
    EXPECT_NE(first.id, otherKind.id);
    EXPECT_EQ(first.id.rfind(u"Tag characters-", 0), 0u);
    EXPECT_EQ(first.id.substr(first.id.size() - 2), u"-5");
}

TEST(TextReportTest, PayloadsAndFindingsAloneAreNotIssues) {
    TextReport report;
    report.scalars = 10;
    report.asciiScalars = 7;
    report.hiddenPayloads.emplace_back(HiddenTextPayload::Kind::tagCharacters, u"hi", 2);
    report.privacyReport.findings.emplace_back(u"JWT token", PrivacyFinding::Severity::high, 1,
                                               std::vector<std::u16string>{u"x"}, u"r",
                                               std::vector<TextLocation>{{0, 1}});
    EXPECT_FALSE(report.hasIssues());
    EXPECT_EQ(report.nonASCIICount(), 3);
}

}  // namespace
}  // namespace velquor::text
