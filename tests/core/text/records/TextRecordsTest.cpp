#include "core/text/records/HiddenTextPayload.h"
#include "core/text/records/PrivacyFinding.h"
#include "core/text/records/TextChangeCategory.h"
#include "core/text/records/TextChangeSummary.h"
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

TEST(TextIssueTest, KindRawValuesParseExactlyAndCaseSensitively) {
    for (const auto kind : textIssueKinds.allCases()) {
        EXPECT_EQ(textIssueKinds.fromRawValue(rawValue(kind)), kind);
    }
    EXPECT_EQ(rawValue(TextIssue::Kind::bidirectionalControl), u"Bidi control");
    EXPECT_FALSE(textIssueKinds.fromRawValue(u"invisible"));
    EXPECT_FALSE(textIssueKinds.fromRawValue(u"Bidi Control"));
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

TEST(TextChangeSummaryTest, RowsAreAlwaysAllElevenInOrder) {
    TextChangeSummary summary;
    summary.trimmedCharacters = 2;
    const auto rows = summary.rows();
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows.front().label, u"Format controls removed");
    EXPECT_EQ(rows[7].label, u"Hard wraps removed");
    EXPECT_EQ(rows.back().label, u"Trimmed edge characters");
    EXPECT_EQ(rows.back().count, 2);
}

TEST(TextChangeSummaryTest, LineEndingsOnlySummaryShowsOneDisplayedRow) {
    TextChangeSummary summary;
    summary.normalizedLineEndings = true;
    summary.contentChanged = true;
    for (const auto& row : summary.rows()) EXPECT_EQ(row.count, 0);
    const auto shown = summary.displayedRows();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (TextChangeRow{u"Line endings normalized", 1}));
    EXPECT_EQ(summary.activeChangeCount(), 1);
    EXPECT_TRUE(summary.changed());
}

TEST(TextChangeSummaryTest, DisplayedRowsSkipZeroCountsAndTotalAddsAllCounts) {
    TextChangeSummary summary;
    summary.removedFormatControls = 3;
    summary.strippedURLTrackingParameters = 2;
    summary.inputCharacters = 100;
    summary.outputCharacters = 95;
    const auto shown = summary.displayedRows();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].label, u"Format controls removed");
    EXPECT_EQ(shown[1].label, u"URL tracking params stripped");
    EXPECT_EQ(summary.activeChangeCount(), 5);
}

TEST(TextChangeCategoryTest, CasesTitlesAndHygieneFlagsFollowTheTable) {
    const auto all = allTextChangeCategories();
    const std::u16string_view rawValues[] = {u"unsafeUnicode", u"whitespace",        u"trackingURLs", u"punctuation",
                                             u"markdown",      u"paragraphWrapping", u"ascii"};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(rawValue(all[i]), rawValues[i]);
        EXPECT_EQ(textChangeCategory(rawValues[i]), all[i]);
        EXPECT_EQ(info(all[i]).isHygiene, i < 3);
    }
    EXPECT_EQ(info(TextChangeCategory::ascii).title, u"ASCII conversion");
    EXPECT_EQ(info(TextChangeCategory::paragraphWrapping).optionName, u"unwrapParagraphs");
    EXPECT_FALSE(textChangeCategory(u"ASCII"));
    EXPECT_FALSE(textChangeCategory(u""));
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

TEST(TextPrivacyReportTest, HighRiskCountSumsMatchesNotFindings) {
    using Severity = PrivacyFinding::Severity;
    TextPrivacyReport report;
    EXPECT_FALSE(report.hasFindings());
    EXPECT_EQ(report.highRiskCount(), 0);
    report.findings.emplace_back(u"AWS access key", Severity::high, 2, std::vector<std::u16string>{}, u"",
                                 std::vector<TextLocation>{});
    report.findings.emplace_back(u"JWT token", Severity::high, 1, std::vector<std::u16string>{}, u"",
                                 std::vector<TextLocation>{});
    report.findings.emplace_back(u"Private IP address", Severity::medium, 4, std::vector<std::u16string>{}, u"",
                                 std::vector<TextLocation>{});
    EXPECT_TRUE(report.hasFindings());
    EXPECT_EQ(report.highRiskCount(), 3);
    EXPECT_EQ(report.findings[0].id, u"AWS access key");
}

}  // namespace
}  // namespace velquor::text
