#pragma once

#include "core/text/records/StyleReport.h"
#include "core/text/style/StyleLiterals.h"
#include "core/text/style/StyleMatching.h"
#include "core/text/style/StylePatterns.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// One run of the style pass: the texts every signal reads and the signals fired so far.
struct StylePass {
    StylePass(std::u16string_view text, std::vector<std::u16string>& timedOut);

    std::u16string_view input;  // the text as given: lookalikes still visible
    std::u16string normalized;  // lookalikes replaced by Latin letters, same offsets
    std::int64_t words = 0;     // W, for the minimum-length gates
    std::int64_t divisor = 1;   // D: the report's word count and the divisor of every rate
    // Sentence pieces of the normalized text (see nextSentencePiece). Normalization swaps letters
    // for letters only, so its sentences, pieces and located ones, are the input text's too.
    std::int64_t sentencePieceCount = 0;
    StyleLiteralOccurrences literals;  // in the normalized text
    std::vector<StyleSignal> signals;
    std::vector<std::u16string>& timedOutScans;

    void append(std::u16string_view label, std::int64_t count, std::vector<std::u16string> examples,
                std::vector<TextLocation> locations);
    // The matches in the normalized text of a pattern with anchors, attempted only where one occurs.
    MatchDetails anchoredMatches(const CompiledStylePattern& compiled, const StylePattern& pattern) const;

    // A signal whose count is its number of locations.
    void appendOccurrences(std::u16string_view label, std::vector<std::u16string> examples,
                           std::vector<TextLocation> locations);
    // Records that a scan behind this signal ran out of budget, so its result may be short.
    void noteIncomplete(std::u16string_view label);
};

// Each appends its signal, or signals, when it fires. In evaluation order:
void appendPhraseListSignals(StylePass& pass);            // 1-6
void appendMarkdownResidueSignal(StylePass& pass);        // 7
void appendVagueAuthoritySignal(StylePass& pass);         // 8
void appendOpenerVarietySignal(StylePass& pass);          // 9
void appendSandwichSignal(StylePass& pass);               // 10
void appendMixedScriptSignal(StylePass& pass);            // 11
void appendUniformSpacingSignal(StylePass& pass);         // 12
void appendStructureRatioSignal(StylePass& pass);         // 13
void appendEmojiAsPunctuationSignal(StylePass& pass);     // 14
void appendBalancedConclusionSignal(StylePass& pass);     // 15
void appendEmDashSignal(StylePass& pass);                 // 16
void appendNegationReversalSignal(StylePass& pass);       // 17
void appendSynonymTriplesSignal(StylePass& pass);         // 18
void appendBoldLeadBulletSignal(StylePass& pass);         // 19
void appendDiscourseMarkerSignal(StylePass& pass);        // 20
void appendHedgeStackingSignal(StylePass& pass);          // 21
void appendZeroSpecificitySignal(StylePass& pass);        // 22
void appendStructuralBoilerplateSignal(StylePass& pass);  // 23
void appendBurstinessSignal(StylePass& pass);             // 24
void appendChatPasteSignal(StylePass& pass);              // 25
void appendEmojiSeasoningSignal(StylePass& pass);         // 26

// Emoji as two signals define them: U+1F000 to U+1FAFF and U+2600 to U+27BF.
bool isStyleEmoji(char32_t scalar);

}  // namespace velquor::text
