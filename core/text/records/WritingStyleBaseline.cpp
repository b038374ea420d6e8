#include "core/text/records/WritingStyleBaseline.h"

#include <utility>

namespace velquor::text {

double WritingStyleBaseline::rate(std::u16string_view label) const {
    const auto found = signalRates.find(label);
    return found == signalRates.end() ? 0.0 : found->second;
}

WritingStyleDeviation::WritingStyleDeviation(std::u16string signalLabel, std::int64_t hits, double rateInText,
                                             double rateInBaseline)
    : id(signalLabel),
      label(std::move(signalLabel)),
      count(hits),
      currentRate(rateInText),
      baselineRate(rateInBaseline) {}

}  // namespace velquor::text
