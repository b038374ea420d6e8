#include "core/text/TextSanitizer.h"
#include "core/text/style/StyleScore.h"
#include "core/text/style/StyleText.h"
#include "core/text/style/signals/StyleSignals.h"

#include <algorithm>

namespace velquor::text {

namespace {

using SignalStep = void (*)(StylePass&);

// The fixed evaluation order, which is also the order of the report's signals.
constexpr SignalStep evaluationOrder[] = {
    appendPhraseListSignals,        appendMarkdownResidueSignal, appendVagueAuthoritySignal,
    appendOpenerVarietySignal,      appendSandwichSignal,        appendMixedScriptSignal,
    appendUniformSpacingSignal,     appendStructureRatioSignal,  appendEmojiAsPunctuationSignal,
    appendBalancedConclusionSignal, appendEmDashSignal,          appendNegationReversalSignal,
    appendSynonymTriplesSignal,     appendBoldLeadBulletSignal,  appendDiscourseMarkerSignal,
    appendHedgeStackingSignal,      appendZeroSpecificitySignal, appendStructuralBoilerplateSignal,
    appendBurstinessSignal,         appendChatPasteSignal,       appendEmojiSeasoningSignal,
};

std::int64_t countOfSentencePieces(std::u16string_view text) {
    std::int64_t count = 0;
    forEachSentencePiece(text, [&](std::u16string_view) { ++count; });
    return count;
}

}  // namespace

StylePass::StylePass(std::u16string_view text, std::vector<std::u16string>& timedOut)
    : input(text),
      normalized(lookalikeNormalized(text)),
      words(styleWordCount(normalized)),
      divisor(styleRateDivisor(words)),
      sentencePieceCount(countOfSentencePieces(normalized)),
      literals(normalized),
      timedOutScans(timedOut) {}

void StylePass::append(std::u16string_view label, std::int64_t count, std::vector<std::u16string> examples,
                       std::vector<TextLocation> locations) {
    appendCountSignal(label, count, divisor, std::move(examples), std::move(locations), signals);
}

MatchDetails StylePass::anchoredMatches(const CompiledStylePattern& compiled, const StylePattern& pattern) const {
    return compiled.matchDetails(normalized, literals.startsOf(pattern.anchors));
}

void StylePass::appendOccurrences(std::u16string_view label, std::vector<std::u16string> examples,
                                  std::vector<TextLocation> locations) {
    const auto count = static_cast<std::int64_t>(locations.size());
    append(label, count, std::move(examples), std::move(locations));
}

void StylePass::noteIncomplete(std::u16string_view label) {
    auto name = u"Style: " + std::u16string(label);
    if (std::find(timedOutScans.begin(), timedOutScans.end(), name) == timedOutScans.end()) {
        timedOutScans.push_back(std::move(name));
    }
}

StyleReport TextSanitizer::styleReport(std::u16string_view text, std::vector<std::u16string>& timedOutScans) const {
    StylePass pass(text, timedOutScans);
    for (const auto step : evaluationOrder) step(pass);
    const auto scored = styleScore(pass.signals);
    return {scored.level, scored.score, pass.divisor, std::move(pass.signals)};
}

}  // namespace velquor::text
