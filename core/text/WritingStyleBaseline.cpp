#include "WritingStyleBaseline.h"

#include <utility>

namespace velquor::text {

double WritingStyleBaseline::rate(std::u16string_view label) const {
    const auto found = signalRates.find(label);
    return found == signalRates.end() ? 0.0 : found->second;
}

WritingStyleDeviation::WritingStyleDeviation(std::u16string label, std::int64_t count, double currentRate,
                                             double baselineRate)
    : id(label), label(std::move(label)), count(count), currentRate(currentRate), baselineRate(baselineRate) {}

}  // namespace velquor::text
