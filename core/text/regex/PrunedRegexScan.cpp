#include "core/text/regex/PrunedRegexScan.h"

#include "core/text/base/Utf.h"

#include <chrono>

namespace velquor::text {

namespace {

// Each cursor call has its own step budget; this bounds the whole walk as well, generously,
// should a pruning ever fail to keep it linear.
std::chrono::steady_clock::time_point walkDeadline(std::size_t textLength) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(4 * std::int64_t{Regex::stepLimit(textLength)});
}

// Where an ordinary scan goes on after an empty match at `position`: past the scalar there.
std::int64_t positionAfter(std::u16string_view text, std::int64_t position) {
    if (position >= static_cast<std::int64_t>(text.size())) return position + 1;
    return position + static_cast<std::int64_t>(scalarAt(text, static_cast<std::size_t>(position)).length);
}

}  // namespace

RegexScan prunedMatches(const Regex& pattern, std::u16string_view text, const StartPruning& pruning) {
    RegexScan scan;
    scan.complete = forEachPrunedMatch(pattern, text, pruning,
                                       [&](RegexMatch&& match) { scan.matches.push_back(std::move(match)); });
    return scan;
}

bool forEachPrunedMatch(const Regex& pattern, std::u16string_view text, const StartPruning& pruning,
                        const RegexMatchSink& sink) {
    RegexCursor candidates(pruning.candidateStart, text);
    RegexCursor attempts(pattern, text);
    RegexCursor spans(pruning.ruledOutSpan, text);
    const auto deadline = walkDeadline(text.size());
    const auto length = static_cast<std::int64_t>(text.size());

    for (std::int64_t position = 0; position <= length;) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        const auto candidate = candidates.findFrom(position);
        if (!candidate) break;
        const auto start = candidate->range.utf16Location;
        if (auto match = attempts.matchAt(start)) {
            const auto range = match->range;
            sink(std::move(*match));
            position = range.utf16Length > 0 ? range.end() : positionAfter(text, start);
        } else if (attempts.exhausted()) {
            break;
        } else {
            const auto span = spans.matchAt(start);
            position = positionAfter(text, span ? span->range.end() : start);
        }
    }
    return !(candidates.exhausted() || attempts.exhausted() || spans.exhausted());
}

RegexScan matchesAtCandidates(const Regex& pattern, std::u16string_view text,
                              std::span<const std::int64_t> candidates) {
    RegexCursor attempts(pattern, text);
    const auto deadline = walkDeadline(text.size());
    RegexScan scan;
    std::int64_t position = 0;
    for (const auto candidate : candidates) {
        if (candidate < position) continue;
        if (std::chrono::steady_clock::now() > deadline) {
            scan.complete = false;
            return scan;
        }
        auto match = attempts.matchAt(candidate);
        if (!match) {
            if (attempts.exhausted()) break;
            continue;
        }
        const auto range = match->range;
        scan.matches.push_back(std::move(*match));
        position = range.utf16Length > 0 ? range.end() : positionAfter(text, candidate);
    }
    scan.complete = !attempts.exhausted();
    return scan;
}

}  // namespace velquor::text
