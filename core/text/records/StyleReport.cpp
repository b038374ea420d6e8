#include "core/text/records/StyleReport.h"

#include <algorithm>
#include <utility>

namespace velquor::text {

namespace {

constexpr std::size_t topContributorCount = 3;

}  // namespace

StyleSignal::StyleSignal(std::u16string signalLabel, std::int64_t hits, double rate,
                         std::vector<std::u16string> exampleTexts, std::u16string why, std::u16string caveat,
                         std::u16string advice, std::vector<TextLocation> hitLocations)
    : id(signalLabel),
      label(std::move(signalLabel)),
      count(hits),
      ratePer100Words(rate),
      examples(std::move(exampleTexts)),
      rationale(std::move(why)),
      falsePositive(std::move(caveat)),
      suggestion(std::move(advice)),
      locations(std::move(hitLocations)) {}

std::vector<StyleSignal> StyleReport::rankedSignals() const {
    auto ranked = signals;
    std::stable_sort(ranked.begin(), ranked.end(), [](const StyleSignal& a, const StyleSignal& b) {
        if (a.count != b.count) return a.count > b.count;
        return a.label < b.label;
    });
    return ranked;
}

std::vector<StyleSignal> StyleReport::topContributors() const {
    auto ranked = rankedSignals();
    if (ranked.size() > topContributorCount) ranked.erase(ranked.begin() + topContributorCount, ranked.end());
    return ranked;
}

}  // namespace velquor::text
