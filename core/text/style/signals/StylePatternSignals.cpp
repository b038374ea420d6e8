#include "core/text/base/TextConversions.h"
#include "core/text/style/StylePatterns.h"
#include "core/text/style/StylePhraseLists.h"
#include "core/text/style/StylePhraseScanner.h"
#include "core/text/style/signals/StyleSignals.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace velquor::text {

namespace {

namespace patterns = style_patterns;

constexpr std::size_t maximumExamples = 3;
constexpr std::int64_t hedgedSentenceMinimum = 3;

constexpr std::array<std::u16string_view, 10> hedgeTerms{
    u"may", u"might", u"can", u"potentially", u"generally", u"typically", u"often", u"tend to", u"suggest", u"some",
};

// Every match of one pattern becomes one occurrence of the signal.
void appendMatchSignal(StylePass& pass, std::u16string_view label, const MatchDetails& details) {
    if (!details.complete) pass.noteIncomplete(label);
    std::vector<std::u16string> examples;
    std::vector<TextLocation> locations;
    for (const auto& match : details.matches) {
        if (examples.size() < maximumExamples) examples.emplace_back(match.text);
        locations.push_back(match.location);
    }
    pass.appendOccurrences(label, std::move(examples), std::move(locations));
}

constexpr bool overlapsItself(std::u16string_view term) {
    for (std::size_t border = 1; border < term.size(); ++border) {
        if (term.substr(0, border) == term.substr(term.size() - border)) return true;
    }
    return false;
}

constexpr bool anyOverlapsItself() {
    for (const auto term : hedgeTerms) {
        if (overlapsItself(term)) return true;
    }
    return false;
}

static_assert(!anyOverlapsItself(), "isHedged counts every occurrence of a term");

// The letters a term begins with, as bits: most positions of a sentence start none.
constexpr std::uint32_t hedgeInitials = [] {
    std::uint32_t bits = 0;
    for (const auto term : hedgeTerms) bits |= std::uint32_t{1} << (term.front() - u'a');
    return bits;
}();

bool mayStartHedgeTerm(char16_t unit) {
    return unit >= u'a' && unit <= u'z' && (hedgeInitials & (std::uint32_t{1} << (unit - u'a'))) != 0;
}

// The terms' non-overlapping counts, summed. No term overlaps itself, so counting each term at
// every position gives the same sum, and one walk can stop as soon as the minimum is reached.
bool isHedged(std::u16string_view sentence) {
    const auto lower = lowercased(sentence);
    const std::u16string_view text = lower;
    std::int64_t total = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (!mayStartHedgeTerm(text[index])) continue;
        const auto rest = text.substr(index);
        for (const auto term : hedgeTerms) {
            if (rest.starts_with(term) && ++total >= hedgedSentenceMinimum) return true;
        }
    }
    return false;
}

bool hasLowInformationAdjective(std::u16string_view text) {
    const auto lower = lowercased(text);
    const auto& adjectives = lowInformationAdjectives();
    return std::any_of(adjectives.begin(), adjectives.end(),
                       [&](std::u16string_view adjective) { return lower.find(adjective) != std::u16string::npos; });
}

// A sentence holds an unsupported authority claim when it names authority and no citation starts
// in it. Sentences end at every full stop, which would cut "doi.org/10.1/x" and "Smith et al.
// 2019" before the citation pattern could see them, so a citation may run on into the next
// sentence. A citation scan that ran out of budget proves nothing either way and flags nothing.
struct AuthorityVerdict {
    bool flagged = false;
    bool complete = true;
    std::vector<TextLocation> claims;  // in the sentence
};

AuthorityVerdict authorityVerdict(std::u16string_view sentence, std::u16string_view citationWindow) {
    static const CompiledStylePattern authority(patterns::authorityClaim);
    static const CompiledStylePattern citation(patterns::citation);
    const auto claims = authority.matchDetails(sentence);
    AuthorityVerdict verdict;
    verdict.complete = claims.complete;
    if (claims.matches.empty()) return verdict;
    const auto citations = citation.matchDetails(citationWindow);
    verdict.complete = verdict.complete && citations.complete;
    const auto sentenceLength = static_cast<std::int64_t>(sentence.size());
    const bool cited = std::any_of(citations.matches.begin(), citations.matches.end(), [&](const MatchDetail& match) {
        return match.location.utf16Location < sentenceLength;
    });
    if (cited || !citations.complete) return verdict;
    verdict.flagged = true;
    for (const auto& claim : claims.matches) verdict.claims.push_back(claim.location);
    return verdict;
}

}  // namespace

void appendMarkdownResidueSignal(StylePass& pass) {
    static const CompiledStylePattern markdown[] = {
        CompiledStylePattern(patterns::markdownBold),     CompiledStylePattern(patterns::markdownHeading),
        CompiledStylePattern(patterns::markdownFence),    CompiledStylePattern(patterns::markdownLink),
        CompiledStylePattern(patterns::markdownTableRow),
    };
    constexpr std::u16string_view label = u"Markdown artifact residue";
    std::vector<std::u16string> examples;
    std::vector<TextLocation> locations;
    for (const auto& pattern : markdown) {
        const auto details = pattern.matchDetails(pass.input);
        if (!details.complete) pass.noteIncomplete(label);
        for (const auto& match : details.matches) {
            if (examples.size() < maximumExamples) examples.emplace_back(match.text);
            locations.push_back(match.location);
        }
    }
    pass.appendOccurrences(label, std::move(examples), std::move(locations));
}

// Only sentences that contain an authority phrase somewhere in the whole-text scan can hold one
// on their own, so the per-sentence scans run on those alone.
void appendVagueAuthoritySignal(StylePass& pass) {
    static const CompiledStylePattern authority(patterns::authorityClaim);
    constexpr std::u16string_view label = u"Vague authority claims";
    const auto candidates = pass.anchoredMatches(authority, patterns::authorityClaim);
    if (!candidates.complete) pass.noteIncomplete(label);

    std::int64_t count = 0;
    std::vector<std::u16string> examples;
    std::vector<TextLocation> locations;
    const std::u16string_view text = pass.normalized;
    std::size_t next = 0;
    auto sentence = nextLocatedSentence(text, next);
    for (const auto& candidate : candidates.matches) {
        const auto start = candidate.location.utf16Location;
        while (sentence && sentence->location.end() <= start) sentence = nextLocatedSentence(text, next);
        if (!sentence) break;
        if (sentence->location.utf16Location > start) continue;
        const auto located = *sentence;
        sentence = nextLocatedSentence(text, next);  // each sentence is judged once
        const auto windowEnd = sentence ? sentence->location.end() : located.location.end();
        const auto window = text.substr(static_cast<std::size_t>(located.location.utf16Location),
                                        static_cast<std::size_t>(windowEnd - located.location.utf16Location));
        const auto verdict = authorityVerdict(located.text, window);
        if (!verdict.complete) pass.noteIncomplete(label);
        if (!verdict.flagged) continue;
        ++count;
        if (examples.size() < maximumExamples) examples.emplace_back(located.text);
        for (const auto claim : verdict.claims) {
            locations.push_back({located.location.utf16Location + claim.utf16Location, claim.utf16Length});
        }
    }
    pass.append(label, count, std::move(examples), std::move(locations));
}

// A single stance word anywhere in the text suppresses the signal, so the stance scan runs first;
// when it ran out of budget it cannot rule one out, and the signal stays quiet.
void appendBalancedConclusionSignal(StylePass& pass) {
    static const CompiledStylePattern balance(patterns::balance);
    static const CompiledStylePattern stance(patterns::stance);
    constexpr std::u16string_view label = u"Balanced conclusion without stance";
    const auto stances = pass.anchoredMatches(stance, patterns::stance);
    if (!stances.matches.empty()) return;
    if (!stances.complete) {
        pass.noteIncomplete(label);
        return;
    }
    appendMatchSignal(pass, label, pass.anchoredMatches(balance, patterns::balance));
}

void appendNegationReversalSignal(StylePass& pass) {
    static const CompiledStylePattern negation(patterns::negationReversal);
    appendMatchSignal(pass, u"Negation reversal", pass.anchoredMatches(negation, patterns::negationReversal));
}

void appendSynonymTriplesSignal(StylePass& pass) {
    static const CompiledStylePattern triple(patterns::synonymTriple);
    constexpr std::u16string_view label = u"Synonym triples";
    const auto details = triple.matchDetails(pass.normalized);
    if (!details.complete) pass.noteIncomplete(label);
    std::vector<std::u16string> examples;
    std::vector<TextLocation> locations;
    for (const auto& match : details.matches) {
        if (!hasLowInformationAdjective(match.text)) continue;
        if (examples.size() < maximumExamples) examples.emplace_back(match.text);
        locations.push_back(match.location);
    }
    pass.appendOccurrences(label, std::move(examples), std::move(locations));
}

void appendBoldLeadBulletSignal(StylePass& pass) {
    static const CompiledStylePattern bullet(patterns::boldLeadBullet);
    appendMatchSignal(pass, u"Bold-lead bullet pattern", bullet.matchDetails(pass.input));
}

void appendDiscourseMarkerSignal(StylePass& pass) {
    static const CompiledStylePattern marker(patterns::discourseMarker);
    appendMatchSignal(pass, u"Discourse-marker paragraphs", marker.matchDetails(pass.input));
}

void appendHedgeStackingSignal(StylePass& pass) {
    constexpr std::u16string_view label = u"Hedge stacking";
    std::vector<std::u16string> examples;
    std::vector<TextLocation> locations;
    forEachLocatedSentence(pass.normalized, [&](const MatchDetail& sentence) {
        const auto location = sentence.location;
        const auto text = pass.input.substr(static_cast<std::size_t>(location.utf16Location),
                                            static_cast<std::size_t>(location.utf16Length));
        if (!isHedged(text)) return;
        if (examples.size() < maximumExamples) examples.emplace_back(text);
        locations.push_back(location);
    });
    pass.appendOccurrences(label, std::move(examples), std::move(locations));
}

void appendStructuralBoilerplateSignal(StylePass& pass) {
    std::vector<TextLocation> locations;
    for (const auto phrase : structuralBoilerplatePhrases()) {
        const auto phraseLocations = nonOverlapping(pass.literals.of(phrase));
        locations.insert(locations.end(), phraseLocations.begin(), phraseLocations.end());
    }
    pass.appendOccurrences(u"Structural boilerplate", {}, std::move(locations));
}

}  // namespace velquor::text
