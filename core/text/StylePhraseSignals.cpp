#include "StylePhraseLists.h"
#include "StylePhraseScanner.h"
#include "StyleSignals.h"

#include <algorithm>

namespace velquor::text {

namespace {

constexpr std::size_t maximumExamples = 3;

// Phrases shared by several lists are scanned once.
struct PhraseIndex {
    std::vector<std::u16string_view> uniquePhrases;
    std::vector<std::vector<std::size_t>> listPhrases;  // per list, indices into uniquePhrases
};

const PhraseIndex& phraseIndex() {
    static const PhraseIndex index = [] {
        PhraseIndex built;
        for (const auto& list : stylePhraseLists()) {
            auto& indices = built.listPhrases.emplace_back();
            for (const auto phrase : list.phrases) {
                auto found = std::find(built.uniquePhrases.begin(), built.uniquePhrases.end(), phrase);
                if (found == built.uniquePhrases.end()) found = built.uniquePhrases.insert(found, phrase);
                indices.push_back(static_cast<std::size_t>(found - built.uniquePhrases.begin()));
            }
        }
        return built;
    }();
    return index;
}

const StylePhraseScanner& phraseScanner() {
    static const StylePhraseScanner scanner(phraseIndex().uniquePhrases);
    return scanner;
}

}  // namespace

void appendPhraseListSignals(StylePass& pass) {
    const auto& index = phraseIndex();
    const auto found = phraseScanner().locations(pass.normalized);
    const auto& lists = stylePhraseLists();
    for (std::size_t list = 0; list < lists.size(); ++list) {
        std::int64_t count = 0;
        std::vector<std::u16string> examples;
        std::vector<TextLocation> locations;
        for (const auto phrase : index.listPhrases[list]) {
            const auto& phraseLocations = found[phrase];
            if (phraseLocations.empty()) continue;
            count += static_cast<std::int64_t>(phraseLocations.size());
            locations.insert(locations.end(), phraseLocations.begin(), phraseLocations.end());
            if (examples.size() < maximumExamples) {
                examples.push_back(snippetAround(pass.normalized, phraseLocations.front()));
            }
        }
        pass.append(lists[list].label, count, std::move(examples), std::move(locations));
    }
}

}  // namespace velquor::text
