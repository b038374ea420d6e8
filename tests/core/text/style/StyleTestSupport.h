#pragma once

#include "core/text/TextSanitizer.h"
#include "core/text/base/Utf.h"
#include "core/text/style/StyleSignalTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velquor::text::style_test {

// The style pass as inspect runs it; no scan may run out of budget on test texts.
inline StyleReport styleOf(std::u16string_view text) {
    std::vector<std::u16string> timedOut;
    auto report = TextSanitizer().styleReport(text, timedOut);
    EXPECT_TRUE(timedOut.empty());
    return report;
}

inline const StyleSignal* signalNamed(const StyleReport& report, std::u16string_view label) {
    for (const auto& signal : report.signals) {
        if (signal.label == label) return &signal;
    }
    return nullptr;
}

inline std::u16string textAt(std::u16string_view text, TextLocation location) {
    return std::u16string(
        text.substr(static_cast<std::size_t>(location.utf16Location), static_cast<std::size_t>(location.utf16Length)));
}

// A text and the signal that must fire on it (with its count), or must not (count 0).
struct SignalCase {
    std::u16string text;
    std::u16string_view label;
    std::int64_t count;
};

inline void expectSignalCases(const std::vector<SignalCase>& cases) {
    for (const auto& [text, label, count] : cases) {
        const auto report = styleOf(text);
        const auto* signal = signalNamed(report, label);
        SCOPED_TRACE(encodeUtf8(label));
        if (count == 0) {
            EXPECT_EQ(signal, nullptr) << "fired on: " << encodeUtf8(text);
        } else {
            ASSERT_NE(signal, nullptr) << "silent on: " << encodeUtf8(text);
            EXPECT_EQ(signal->count, count) << encodeUtf8(text);
            // A label the catalogue does not know would fall back to the default advice.
            EXPECT_NE(signal->suggestion, defaultStyleSuggestion);
        }
    }
}

// n lower-case words without digits or capitals, separated by spaces.
inline std::u16string plainWords(std::size_t n, std::u16string_view word = u"word") {
    std::u16string text;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) text += u' ';
        text += word;
    }
    return text;
}

}  // namespace velquor::text::style_test
