#pragma once

#include "core/text/records/TextLocation.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexMatcher;
class RegexPattern;
class UnicodeString;
U_NAMESPACE_END

namespace velquor::text {

struct RegexOptions {
    bool caseInsensitive = false;
    bool dotMatchesLineSeparators = false;
};

struct RegexMatch {
    TextLocation range;
    // Capture groups 1 to n; a group that took no part in the match is empty.
    std::vector<std::optional<TextLocation>> groups;

    friend bool operator==(const RegexMatch&, const RegexMatch&) = default;
};

// Every scan runs under a step budget that grows with the text, because some patterns backtrack
// quadratically on hostile input. A scan that runs out says so; its matches are the ones found
// before it stopped, and callers must not read them as the whole answer.
struct RegexScan {
    std::vector<RegexMatch> matches;
    bool complete = true;
};

// Receives the matches of a scan one by one as they are found, so that a scan with millions of
// matches need not hold them all at once.
using RegexMatchSink = std::function<void(RegexMatch&&)>;

struct RegexReplacement {
    std::u16string text;  // the input unchanged when the scan did not complete
    bool complete = true;
};

// A compiled ICU pattern: matches and their ranges are exactly ICU's, in UTF-16 code units.
// Cheap to copy and safe to share between threads.
class Regex {
public:
    // Nothing when the pattern does not compile; callers treat that as "no matches".
    static std::optional<Regex> compile(std::u16string_view pattern, RegexOptions options = {});

    // Non-overlapping matches from left to right over the whole text.
    RegexScan allMatches(std::u16string_view text) const;
    // The same matches handed to `sink` in order; false when the scan ran out of budget.
    bool forEachMatch(std::u16string_view text, const RegexMatchSink& sink) const;

    // Every match replaced by the template: $1, $2 insert groups, a backslash escapes the next
    // character, everything else is literal.
    RegexReplacement replaceAll(std::u16string_view text, std::u16string_view replacementTemplate) const;

    // A pattern that matches the literal text and nothing else.
    static std::u16string escapedPattern(std::u16string_view literal);

    // ICU processing steps one scan of a text of this length may take (about a millisecond each).
    static std::int32_t stepLimit(std::size_t textLength);

private:
    friend class RegexCursor;
    explicit Regex(std::shared_ptr<const icu::RegexPattern> pattern) : pattern_(std::move(pattern)) {}

    std::shared_ptr<const icu::RegexPattern> pattern_;
};

// One expression bound to one text, for scans that pick their own start positions. Each call is
// budgeted on its own; `exhausted` turns true, and stays true, once a call runs out.
class RegexCursor {
public:
    RegexCursor(const Regex& regex, std::u16string_view text);
    ~RegexCursor();
    RegexCursor(const RegexCursor&) = delete;
    RegexCursor& operator=(const RegexCursor&) = delete;

    // The first match that starts at or after `position`, as a plain scan from there would find it.
    std::optional<RegexMatch> findFrom(std::int64_t position);

    // A match that starts exactly at `position`; anchors and look-behind see the text before it.
    std::optional<RegexMatch> matchAt(std::int64_t position);

    // The first match that starts at or after `start` and ends by `limit`; anchors, boundaries
    // and look-around see the text on both sides of that window.
    std::optional<RegexMatch> findWithin(std::int64_t start, std::int64_t limit);

    bool exhausted() const { return exhausted_; }

private:
    std::optional<RegexMatch> currentMatch(bool found, int errorStatus);

    std::unique_ptr<icu::UnicodeString> text_;
    std::unique_ptr<icu::RegexMatcher> matcher_;
    std::int64_t length_;
    bool exhausted_ = false;
};

}  // namespace velquor::text
