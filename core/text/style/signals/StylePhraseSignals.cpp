#include "core/text/style/StylePhraseLists.h"
#include "core/text/style/StylePhraseScanner.h"
#include "core/text/style/signals/StyleSignals.h"

namespace velquor::text {

namespace {

constexpr std::size_t maximumExamples = 3;

}  // namespace

void appendPhraseListSignals(StylePass& pass) {
    for (const auto& list : stylePhraseLists()) {
        std::int64_t count = 0;
        std::vector<std::u16string> examples;
        std::vector<TextLocation> locations;
        for (const auto phrase : list.phrases) {
            const auto phraseLocations = nonOverlapping(pass.literals.of(phrase));
            if (phraseLocations.empty()) continue;
            count += static_cast<std::int64_t>(phraseLocations.size());
            locations.insert(locations.end(), phraseLocations.begin(), phraseLocations.end());
            if (examples.size() < maximumExamples) {
                examples.push_back(snippetAround(pass.normalized, phraseLocations.front()));
            }
        }
        pass.append(list.label, count, std::move(examples), std::move(locations));
    }
}

}  // namespace velquor::text
