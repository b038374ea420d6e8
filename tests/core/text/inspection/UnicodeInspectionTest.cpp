#include "core/text/TextSanitizer.h"
#include "core/text/base/Utf.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace velquor::text {
namespace {

using ::testing::ElementsAre;
using Kind = TextIssue::Kind;

std::vector<std::u16string> issueIds(const TextReport& report) {
    std::vector<std::u16string> ids;
    for (const auto& issue : report.issues) ids.push_back(issue.id);
    return ids;
}

const TextIssue* issueWithId(const TextReport& report, std::u16string_view id) {
    for (const auto& issue : report.issues) {
        if (issue.id == id) return &issue;
    }
    return nullptr;
}

// The tag characters that spell an ASCII word.
std::u16string tags(std::string_view word) {
    std::u16string text;
    for (const char letter : word) appendScalar(text, 0xE0000 + static_cast<unsigned char>(letter));
    return text;
}

const std::u16string cancelTag = u"\U000E007F";
const std::u16string englandFlag = u"\U0001F3F4" + tags("gbeng") + cancelTag;

struct InvisibleCase {
    std::u16string_view name;
    std::u16string text;
    std::vector<std::u16string> ids;  // every issue the text must report, in report order
};

TEST(UnicodeInspectionTest, SparesTheInvisibleScalarsScriptsAndEmojiNeed) {
    const InvisibleCase cases[] = {
        {u"zero-width space", u"A\u200BB", {u"Invisible-U+200B"}},
        {u"emoji family", u"\U0001F468\u200D\U0001F469", {u"Non-ASCII-U+1F468", u"Non-ASCII-U+1F469"}},
        {u"joiner between Latin letters", u"a\u200Db", {u"Invisible-U+200D"}},
        {u"Persian non-joiner",
         u"\u0645\u06CC\u200C\u062E\u0648\u0627\u0647\u0645",
         {u"Non-ASCII-U+0627", u"Non-ASCII-U+062E", u"Non-ASCII-U+0645", u"Non-ASCII-U+0647", u"Non-ASCII-U+0648",
          u"Non-ASCII-U+06CC"}},
        {u"non-joiner between Latin letters", u"a\u200Cb", {u"Invisible-U+200C"}},
        {u"non-joiner at the start", u"\u200C\u0628", {u"Invisible-U+200C", u"Non-ASCII-U+0628"}},
        {u"right-to-left mark beside Hebrew", u"\u05E9\u200F", {u"Non-ASCII-U+05E9"}},
        {u"right-to-left mark between Latin letters", u"a\u200Fb", {u"Bidi control-U+200F"}},
        {u"override anywhere", u"\u05E9\u202E\u05E9", {u"Bidi control-U+202E", u"Non-ASCII-U+05E9"}},
        {u"emoji presentation", u"\u2764\uFE0F", {u"Non-ASCII-U+2764"}},
        {u"presentation selector after a letter", u"x\uFE0F", {u"Invisible-U+FE0F"}},
        {u"keycap", u"1\uFE0F\u20E3", {u"Non-ASCII-U+20E3"}},
        {u"subdivision flag", englandFlag, {u"Non-ASCII-U+1F3F4"}},
        {u"no-break and ideographic spaces", u"a\u00A0b\u3000c", {u"Whitespace-U+00A0", u"Whitespace-U+3000"}},
        {u"tab and carriage return", u"a\tb\r\n", {}},
        {u"private use, next line, Mongolian vowel separator",
         u"\uE000\u0085\u180E",
         {u"Invisible-U+180E", u"Non-ASCII-U+0085", u"Private use-U+E000"}},
        {u"Khmer inherent vowel after a base", u"\u1780\u17B4", {u"Non-ASCII-U+1780"}},
        {u"Khmer inherent vowel after a Latin letter", u"a\u17B4", {u"Invisible-U+17B4"}},
        {u"Hangul filler beside jamo", u"\u1100\u1160", {u"Non-ASCII-U+1100"}},
        {u"Mongolian selector after a Mongolian letter", u"\u1820\u180B\u180C", {u"Non-ASCII-U+1820"}},
        {u"Mongolian selector after a Latin letter", u"a\u180B", {u"Invisible-U+180B"}},
        {u"Arabic number sign before Arabic digits", u"\u0600\u0661", {u"Non-ASCII-U+0661"}},
    };
    for (const auto& testCase : cases) {
        const auto report = TextSanitizer().inspect(testCase.text);
        EXPECT_EQ(issueIds(report), testCase.ids) << std::string(testCase.name.begin(), testCase.name.end());
    }
}

TEST(UnicodeInspectionTest, IssueCarriesItsPrintableFormCodePointAndUtf16Locations) {
    const auto report = TextSanitizer().inspect(u"\U0001F600\u200Bx\u200B\u00A0\U000E0041\uFE0E");
    const auto* space = issueWithId(report, u"Invisible-U+200B");
    ASSERT_NE(space, nullptr);
    EXPECT_EQ(space->kind, Kind::invisible);
    EXPECT_EQ(space->scalar, u"invisible");
    EXPECT_EQ(space->count, 2);
    EXPECT_EQ(space->locations, (std::vector<TextLocation>{{2, 1}, {4, 1}}));
    EXPECT_EQ(issueWithId(report, u"Whitespace-U+00A0")->scalar, u"space");
    EXPECT_EQ(issueWithId(report, u"Invisible-U+E0041")->locations, (std::vector<TextLocation>{{6, 2}}));
    EXPECT_EQ(issueWithId(report, u"Invisible-U+FE0E")->scalar, u"variation selector");
    EXPECT_EQ(issueWithId(report, u"Non-ASCII-U+1F600")->scalar, u"\U0001F600");
    // Kinds sort by their label, code points as text: U+1F600 before U+200B.
    EXPECT_THAT(issueIds(report), ElementsAre(u"Invisible-U+200B", u"Invisible-U+E0041", u"Invisible-U+FE0E",
                                              u"Non-ASCII-U+1F600", u"Whitespace-U+00A0"));
    EXPECT_EQ(report.characters, 5);  // the tag and the selector extend the no-break space
    EXPECT_EQ(report.scalars, 7);
    EXPECT_EQ(report.asciiScalars, 1);
    EXPECT_TRUE(report.hasIssues());
}

TEST(UnicodeInspectionTest, EmptyTextHasNothing) {
    const auto report = TextSanitizer().inspect(u"");
    EXPECT_EQ(report.characters, 0);
    EXPECT_TRUE(report.issues.empty());
    EXPECT_TRUE(report.hiddenPayloads.empty());
}

TEST(UnicodeInspectionTest, TagCharactersSpellingAWordDecodeToIt) {
    const auto report = TextSanitizer().inspect(u"Hi" + tags("notes"));
    ASSERT_EQ(report.hiddenPayloads.size(), 1u);
    EXPECT_EQ(report.hiddenPayloads[0].kind, HiddenTextPayload::Kind::tagCharacters);
    EXPECT_EQ(report.hiddenPayloads[0].decodedText, u"notes");
    EXPECT_EQ(report.hiddenPayloads[0].byteCount, 5);
    EXPECT_EQ(report.issues.size(), 5u);  // n, o, t, e, s
    for (const auto& issue : report.issues) EXPECT_EQ(issue.kind, Kind::invisible);
}

// A message smuggled after an emoji used to pass as an emoji tag sequence; only a well-formed
// subdivision flag keeps its tags now.
TEST(UnicodeInspectionTest, OnlyAWellFormedSubdivisionFlagSparesItsTags) {
    const auto smuggled = TextSanitizer().inspect(u"ok \U0001F44D" + tags("send the key"));
    ASSERT_EQ(smuggled.hiddenPayloads.size(), 1u);
    EXPECT_EQ(smuggled.hiddenPayloads[0].decodedText, u"send the key");
    EXPECT_NE(issueWithId(smuggled, u"Invisible-U+E0073"), nullptr);

    const auto flag = TextSanitizer().inspect(u"Go " + englandFlag + u"!");
    EXPECT_TRUE(flag.hiddenPayloads.empty());
    EXPECT_EQ(issueIds(flag), std::vector<std::u16string>{u"Non-ASCII-U+1F3F4"});

    const std::u16string notFlags[] = {
        u"\U0001F3F4" + tags("g") + cancelTag,         // one tag letter
        u"\U0001F3F4" + tags("gbengxyz") + cancelTag,  // eight
        u"\U0001F3F4" + tags("gbeng"),                 // no cancel tag
        u"\U0001F3F4" + tags("gb-en") + cancelTag,     // not a letter or digit
        u"\U0001F600" + tags("gbeng") + cancelTag,     // not the black flag
    };
    for (const auto& text : notFlags) {
        const auto report = TextSanitizer().inspect(text);
        EXPECT_NE(issueWithId(report, u"Invisible-U+E0067"), nullptr);
    }
    const auto afterFlag = TextSanitizer().inspect(englandFlag + tags("psst"));
    ASSERT_EQ(afterFlag.hiddenPayloads.size(), 1u);
    EXPECT_EQ(afterFlag.hiddenPayloads[0].decodedText, u"psst");
}

// A joiner or mark is spared only as the one format scalar between its neighbours; a run of
// them between two Arabic letters or beside Hebrew is a hidden channel.
TEST(UnicodeInspectionTest, RunsOfJoinersAndMarksAreNotSpared) {
    const auto joiners = TextSanitizer().inspect(u"\u0628\u200C\u200C\u200C\u0628");
    ASSERT_NE(issueWithId(joiners, u"Invisible-U+200C"), nullptr);
    EXPECT_EQ(issueWithId(joiners, u"Invisible-U+200C")->count, 3);
    const auto marks = TextSanitizer().inspect(u"\u05E9\u200F\u200F");
    EXPECT_EQ(issueWithId(marks, u"Bidi control-U+200F")->count, 2);
    const auto mixed = TextSanitizer().inspect(u"\U0001F468\u200D\u200B\U0001F469");
    EXPECT_NE(issueWithId(mixed, u"Invisible-U+200D"), nullptr);
    // A control character between does not count against the joiner.
    const auto withTab = TextSanitizer().inspect(u"\U0001F468\u200D\t\U0001F469");
    EXPECT_EQ(issueWithId(withTab, u"Invisible-U+200D"), nullptr);
}

TEST(UnicodeInspectionTest, PayloadsNeedPlausibleTextOfTwoBytesOrMore) {
    const auto single = TextSanitizer().inspect(u"a" + tags("x"));
    EXPECT_TRUE(single.hiddenPayloads.empty());
    std::u16string lowSelectors;
    for (char16_t selector = 0xFE00; selector <= 0xFE0F; ++selector) lowSelectors += selector;
    EXPECT_TRUE(TextSanitizer().inspect(u"a" + lowSelectors).hiddenPayloads.empty());
    // "hello" in the supplementary selectors: h is 0x68, so U+E0158.
    const std::u16string hello = u"x\U000E0158\U000E0155\U000E015C\U000E015C\U000E015F";
    const auto report = TextSanitizer().inspect(hello);
    ASSERT_EQ(report.hiddenPayloads.size(), 1u);
    EXPECT_EQ(report.hiddenPayloads[0].kind, HiddenTextPayload::Kind::variationSelectors);
    EXPECT_EQ(report.hiddenPayloads[0].decodedText, u"hello");
    // Tag payloads come before selector payloads, each in text order.
    const auto both = TextSanitizer().inspect(hello + u" " + tags("one") + u" " + tags("two"));
    ASSERT_EQ(both.hiddenPayloads.size(), 3u);
    EXPECT_EQ(both.hiddenPayloads[0].decodedText, u"one");
    EXPECT_EQ(both.hiddenPayloads[1].decodedText, u"two");
    EXPECT_EQ(both.hiddenPayloads[2].decodedText, u"hello");
    // Padding with blanks is trimmed, but the byte count is the run's.
    const auto padded = TextSanitizer().inspect(u"a" + tags("  hi  "));
    ASSERT_EQ(padded.hiddenPayloads.size(), 1u);
    EXPECT_EQ(padded.hiddenPayloads[0].decodedText, u"hi");
    EXPECT_EQ(padded.hiddenPayloads[0].byteCount, 6);
}

TEST(UnicodeInspectionTest, MillionsOfJoinersAreScannedOnceAndAllReported) {
    std::u16string text = u"\u0628";
    text.append(1'000'000, u'\u200D');
    text += u"\u0628";
    const auto report = TextSanitizer().inspect(text);
    const auto* joiners = issueWithId(report, u"Invisible-U+200D");
    ASSERT_NE(joiners, nullptr);
    EXPECT_EQ(joiners->count, 1'000'000);
    EXPECT_EQ(joiners->locations.back(), (TextLocation{1'000'000, 1}));

    // Number signs that follow an Arabic letter are spared, however long their run.
    std::u16string signs = u"\u0628";
    signs.append(500'000, u'\u0600');
    const auto spared = TextSanitizer().inspect(signs);
    EXPECT_EQ(issueIds(spared), std::vector<std::u16string>{u"Non-ASCII-U+0628"});
    EXPECT_TRUE(spared.hiddenPayloads.empty());
}

}  // namespace
}  // namespace velquor::text
