#include "core/text/style/StyleScore.h"

#include <algorithm>

namespace velquor::text {

namespace {

constexpr std::int64_t countCap = 5;
constexpr std::int64_t outroWeight = 18;
constexpr std::int64_t signalWeight = 8;
constexpr std::int64_t maximumScore = 100;
constexpr std::int64_t highTotal = 60;
constexpr std::int64_t mediumTotal = 25;

std::int64_t weightOf(const StyleSignal& signal) {
    return signal.label == u"Generic assistant outro" ? outroWeight : signalWeight;
}

}  // namespace

StyleScore styleScore(const std::vector<StyleSignal>& signals) {
    std::int64_t total = 0;
    for (const auto& signal : signals) total += std::min(signal.count, countCap) * weightOf(signal);
    const auto level = total >= highTotal     ? StyleReport::Level::high
                       : total >= mediumTotal ? StyleReport::Level::medium
                                              : StyleReport::Level::low;
    return {std::min(total, maximumScore), level};
}

}  // namespace velquor::text
