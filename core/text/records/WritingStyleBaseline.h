#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace velquor::text {

// How often each style signal fires in a writer's own earlier documents.
struct WritingStyleBaseline {
    std::int64_t documentCount = 0;  // non-empty documents used
    std::int64_t wordCount = 0;      // the sum of their style reports' word counts
    // Per signal label that fired at least once: its total count per 100 words. A label that
    // never fired is absent, which means a rate of 0.
    std::map<std::u16string, double, std::less<>> signalRates;

    // The rate for a label, 0 when it never fired.
    double rate(std::u16string_view label) const;

    friend bool operator==(const WritingStyleBaseline&, const WritingStyleBaseline&) = default;
};

// A signal that fires materially more often in a text than in the writer's baseline.
struct WritingStyleDeviation {
    WritingStyleDeviation(std::u16string signalLabel, std::int64_t hits, double rateInText, double rateInBaseline);

    std::u16string id;  // always the label
    std::u16string label;
    std::int64_t count;   // the signal's count in the current text
    double currentRate;   // per 100 words in the current text
    double baselineRate;  // per 100 words in the baseline, 0 when it never fired there

    double difference() const { return currentRate - baselineRate; }

    friend bool operator==(const WritingStyleDeviation&, const WritingStyleDeviation&) = default;
};

}  // namespace velquor::text
