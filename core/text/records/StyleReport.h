#pragma once

#include "core/text/base/RawValueTable.h"
#include "core/text/records/TextLocation.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// One fired style signal: how strongly a templated-writing pattern shows in a text.
struct StyleSignal {
    StyleSignal(std::u16string signalLabel, std::int64_t hits, double rate, std::vector<std::u16string> exampleTexts,
                std::u16string why, std::u16string caveat, std::u16string advice,
                std::vector<TextLocation> hitLocations);

    std::u16string id;  // always the label, which is unique within a report
    std::u16string label;
    std::int64_t count;  // occurrences, sentences, or 1 for a verdict on the whole text
    double ratePer100Words;
    std::vector<std::u16string> examples;  // at most three excerpts, or one summary line
    std::u16string rationale;              // may be empty
    std::u16string falsePositive;          // may be empty
    std::u16string suggestion;
    std::vector<TextLocation> locations;  // ranges in the inspected text; may be empty

    friend bool operator==(const StyleSignal&, const StyleSignal&) = default;
};

// Advice about templated writing, never proof of authorship.
struct StyleReport {
    enum class Level { low, medium, high };

    Level level = Level::low;
    std::int64_t score = 0;            // 0 to 100
    std::int64_t wordCount = 1;        // at least 1, so that it can divide
    std::vector<StyleSignal> signals;  // in evaluation order

    bool hasSignals() const { return !signals.empty(); }
    // Higher counts first; equal counts by label.
    std::vector<StyleSignal> rankedSignals() const;
    // The first three ranked signals.
    std::vector<StyleSignal> topContributors() const;

    friend bool operator==(const StyleReport&, const StyleReport&) = default;
};

inline constexpr RawValueTable<StyleReport::Level, 3> styleLevels{{{
    {StyleReport::Level::low, u"Low"},
    {StyleReport::Level::medium, u"Medium"},
    {StyleReport::Level::high, u"High"},
}}};

inline std::u16string_view rawValue(StyleReport::Level level) { return styleLevels.rawValue(level); }

}  // namespace velquor::text
