#include "StyleReport.h"

#include <algorithm>
#include <utility>

namespace velquor::text {

namespace {

constexpr std::size_t topContributorCount = 3;

}  // namespace

StyleSignal::StyleSignal(std::u16string label, std::int64_t count, double ratePer100Words,
                         std::vector<std::u16string> examples, std::u16string rationale, std::u16string falsePositive,
                         std::u16string suggestion, std::vector<TextLocation> locations)
    : id(label),
      label(std::move(label)),
      count(count),
      ratePer100Words(ratePer100Words),
      examples(std::move(examples)),
      rationale(std::move(rationale)),
      falsePositive(std::move(falsePositive)),
      suggestion(std::move(suggestion)),
      locations(std::move(locations)) {}

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
