#pragma once

#include "core/text/regex/PatternRule.h"
#include "core/text/style/StyleMatching.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace velquor::text {

// A fixed pattern of the style pass: its rule, with the forms it is scanned with (see
// PatternRule), and where attempts need to be made at all.
struct StylePattern {
    PatternRule rule;
    bool caseInsensitive = true;
    // When every match begins with one of these lower-case literals (as ICU matches them
    // case-insensitively), attempts are made only where one occurs: ICU's own scan would try
    // every position, which dominates the pass on long prose.
    std::span<const std::u16string_view> anchors = {};
    // When every match starts at a line start whose first character after spaces and tabs is one
    // of these, attempts are made only at such line starts: on a long run of short lines ICU's
    // own scan pays for every line start.
    std::u16string_view lineLeads = {};
    // Otherwise, a function that lists, in ascending order, every position where a match can start.
    std::vector<std::int64_t> (*candidates)(std::u16string_view text) = nullptr;
};

// Where a word of [A-Za-z] letters runs straight into a comma, the only places a synonym triple
// can start: the letters cannot give back a comma, and a run of letters has no word boundary
// inside it.
std::vector<std::int64_t> synonymTripleCandidates(std::u16string_view text);

namespace style_patterns {

inline constexpr StylePattern markdownBold{{uR"(\*\*[^*\n]{1,100}\*\*)"}};
inline constexpr StylePattern markdownHeading{.rule = {uR"((?m)^#{1,6}\s+\S)"}, .lineLeads = u"#"};
inline constexpr StylePattern markdownFence{{uR"(`{3}[^`]*`{3})"}};
// A failed attempt at "[" also fails every "[" up to the end of its bracketed run, and, once the
// run is followed by "](", every one up to the next ")" (when there is none, all of them).
inline constexpr StylePattern markdownLink{{.pattern = uR"(\[[^\]\n]+\]\([^)]+\))",
                                            .candidateStart = uR"(\[)",
                                            .ruledOutSpan = uR"(\[(?:[^\]\n]+(?:\]\([^)]*)?)?)"}};
// A failed line start also fails every line start inside its leading white space.
inline constexpr StylePattern markdownTableRow{
    {.pattern = uR"((?m)^\s*\|.+\|\s*$)", .candidateStart = uR"((?m)^)", .ruledOutSpan = uR"(\s*)"}};

inline constexpr std::u16string_view authorityAnchors[] = {
    u"studies suggest", u"research shows", u"according to ", u"experts say", u"data suggests", u"evidence suggests",
};
inline constexpr StylePattern authorityClaim{
    .rule =
        {uR"(\b(studies suggest|research shows|according to (a|one|some) (study|report)|experts say|data suggests|evidence suggests)\b)"},
    .anchors = authorityAnchors};
inline constexpr StylePattern citation{
    {uR"((https?://\S+|doi\.org/\S+|\b10\.\d{4,9}/\S+|\b[A-Z][A-Za-z-]+\s+et al\.?,?\s+(19|20)\d{2}\b|\([A-Z][A-Za-z-]+[^)]*(19|20)\d{2}[^)]*\)))"}};
inline constexpr std::u16string_view balanceAnchors[] = {u"while", u"although", u"on one hand", u"to be fair"};
inline constexpr StylePattern balance{
    .rule =
        {uR"(\b(while|although|on one hand|to be fair)\b[^.!?]{0,120}\b(it'?s also|on the other hand|however|nevertheless|at the same time)\b)"},
    .anchors = balanceAnchors};
inline constexpr std::u16string_view stanceAnchors[] = {
    u"therefore", u"must", u"should", u"clearly", u"the answer is", u"the priority is", u"i recommend", u"we need to",
};
inline constexpr StylePattern stance{
    .rule = {uR"(\b(therefore|must|should|clearly|the answer is|the priority is|I recommend|we need to)\b)"},
    .anchors = stanceAnchors};
inline constexpr std::u16string_view negationAnchors[] = {u"not ", u"isn", u"more than just"};
inline constexpr StylePattern negationReversal{
    .rule = {u"\\b(not (just|only|about)|isn'?t just|more than just)\\b[^.!?]{0,80}[\u2014,-]\\s*it'?s\\b"},
    .anchors = negationAnchors};
inline constexpr StylePattern synonymTriple{.rule = {uR"(\b([A-Za-z]+),\s+([A-Za-z]+),?\s+and\s+([A-Za-z]+)\b)"},
                                            .candidates = synonymTripleCandidates};
inline constexpr StylePattern boldLeadBullet{.rule = {uR"((?m)^[\t ]*[-*][\t ]+\*\*[^*\n]+:\*\*)"}, .lineLeads = u"-*"};
// No scalar outside ASCII folds to the start of one of these words, so the leads are exactly the
// words' first letters in either case, and the asterisk.
inline constexpr StylePattern discourseMarker{
    .rule =
        {uR"((?im)^[\t ]*(?:\*\*)?(?:additionally|furthermore|moreover|that being said|ultimately|in conclusion)\b)"},
    .lineLeads = u"*aAfFmMtTuUiI"};

inline constexpr StylePattern line{{uR"((?m)^.*$)"}};
inline constexpr StylePattern mixedScriptWord{{u"\\p{L}[\\p{L}\\p{M}'\u2019\u2013]*"}};
inline constexpr StylePattern doubleSpacedBreak{{uR"(\.  [A-Z])"}};
inline constexpr StylePattern structureMarker{
    .rule = {uR"((?m)^[\t ]*(?:#{1,6}[\t ]+\S[^\n]*|\*\*[^*\n]{1,80}\*\*:?[\t ]*$|[-*][\t ]+\*\*[^*\n]+:\*\*))"},
    .lineLeads = u"#*-"};
inline constexpr StylePattern properNoun{
    .rule = {.pattern = u"\\b[A-Z\u00C6\u00D8\u00C5][a-z\u00E6\u00F8\u00E5]{2,}\\b",
             .scanPattern = u"\\b[A-Z\u00C6\u00D8\u00C5][a-z\u00E6\u00F8\u00E5]{2}[a-z\u00E6\u00F8\u00E5]*\\b"},
    .caseInsensitive = false};

}  // namespace style_patterns

// Every pattern above: the literal scan collects their anchors, and tests hold each formulation
// to its rule.
const std::array<const StylePattern*, 18>& allStylePatterns();

// A pattern compiled once, scanned as its formulation says. A pattern that does not compile
// matches nothing.
class CompiledStylePattern {
public:
    explicit CompiledStylePattern(const StylePattern& pattern);

    MatchDetails matchDetails(std::u16string_view text) const;
    // The same matches, attempted only at the given positions (ascending), which must include
    // every position where a match can start.
    MatchDetails matchDetails(std::u16string_view text, std::span<const std::int64_t> candidates) const;

private:
    CompiledPatternRule rule_;
    std::u16string_view lineLeads_;
    std::vector<std::int64_t> (*candidates_)(std::u16string_view) = nullptr;
};

}  // namespace velquor::text
