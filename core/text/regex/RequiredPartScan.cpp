#include "core/text/regex/RequiredPartScan.h"

#include <algorithm>
#include <vector>

namespace velquor::text {

namespace {

struct Window {
    std::int64_t firstStart;
    std::int64_t lastStart;
};

// Where a match may start, as merged, ascending windows; nothing when the part never occurs.
std::vector<Window> candidateWindows(const RegexScan& parts, const RequiredPart& required) {
    std::vector<Window> windows;
    for (const auto& part : parts.matches) {
        const auto at = part.range.utf16Location;
        const Window window{std::max<std::int64_t>(at - required.maximumLead, 0), at - required.minimumLead};
        if (window.lastStart < window.firstStart) continue;
        if (!windows.empty() && window.firstStart <= windows.back().lastStart + 1) {
            windows.back().lastStart = std::max(windows.back().lastStart, window.lastStart);
        } else {
            windows.push_back(window);
        }
    }
    return windows;
}

}  // namespace

bool forEachMatchNearRequiredPart(const Regex& pattern, std::u16string_view text, const RequiredPart& required,
                                  const RegexMatchSink& sink) {
    const auto parts = required.part.allMatches(text);
    RegexCursor attempts(pattern, text);
    std::int64_t position = 0;
    for (const auto& window : candidateWindows(parts, required)) {
        // A match that starts inside the window ends within maximumMatchLength of its start, so
        // the search may stop there; one that starts after the window is left to the next window.
        const auto limit = window.lastStart + required.maximumMatchLength;
        while (std::max(position, window.firstStart) <= window.lastStart) {
            auto match = attempts.findWithin(std::max(position, window.firstStart), limit);
            if (!match || match->range.utf16Location > window.lastStart) break;
            position = std::max(match->range.end(), match->range.utf16Location + 1);
            sink(std::move(*match));
        }
        if (attempts.exhausted()) break;
    }
    return parts.complete && !attempts.exhausted();
}

}  // namespace velquor::text
