#include "core/text/regex/Regex.h"

#include "core/text/base/IcuText.h"

#include <unicode/regex.h>

#include <algorithm>
#include <limits>

namespace velquor::text {

namespace {

// A budget of a second or so for short texts, growing by two steps per thousand code units: a
// linear scan of the system's patterns stays well inside it at any size, a quadratic one does not.
constexpr std::int64_t baseStepLimit = 1'000;
constexpr std::int64_t codeUnitsPerStep = 500;

std::uint32_t icuFlags(RegexOptions options) {
    std::uint32_t flags = 0;
    if (options.caseInsensitive) flags |= UREGEX_CASE_INSENSITIVE;
    if (options.dotMatchesLineSeparators) flags |= UREGEX_DOTALL;
    return flags;
}

TextLocation locationOfGroup(icu::RegexMatcher& matcher, std::int32_t group, UErrorCode& status) {
    const auto start = matcher.start64(group, status);
    const auto end = matcher.end64(group, status);
    return {start, end - start};
}

RegexMatch matchOf(icu::RegexMatcher& matcher, UErrorCode& status) {
    RegexMatch match{locationOfGroup(matcher, 0, status), {}};
    const auto groupCount = matcher.groupCount();
    match.groups.reserve(static_cast<std::size_t>(groupCount));
    for (std::int32_t group = 1; group <= groupCount; ++group) {
        if (matcher.start64(group, status) < 0) {
            match.groups.emplace_back(std::nullopt);
        } else {
            match.groups.emplace_back(locationOfGroup(matcher, group, status));
        }
    }
    return match;
}

std::unique_ptr<icu::RegexMatcher> budgetedMatcher(const icu::RegexPattern& pattern, const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(text, status));
    if (U_FAILURE(status) || !matcher) return nullptr;
    matcher->setTimeLimit(Regex::stepLimit(static_cast<std::size_t>(text.length())), status);
    return U_SUCCESS(status) ? std::move(matcher) : nullptr;
}

}  // namespace

std::optional<Regex> Regex::compile(std::u16string_view pattern, RegexOptions options) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    std::shared_ptr<const icu::RegexPattern> compiled(
        icu::RegexPattern::compile(aliasOf(pattern), icuFlags(options), parseError, status));
    if (U_FAILURE(status) || !compiled) return std::nullopt;
    return Regex(std::move(compiled));
}

std::int32_t Regex::stepLimit(std::size_t textLength) {
    const auto steps = baseStepLimit + static_cast<std::int64_t>(textLength) / codeUnitsPerStep;
    return static_cast<std::int32_t>(std::min<std::int64_t>(steps, std::numeric_limits<std::int32_t>::max()));
}

RegexScan Regex::allMatches(std::u16string_view text) const {
    RegexScan scan;
    scan.complete = forEachMatch(text, [&](RegexMatch&& match) { scan.matches.push_back(std::move(match)); });
    return scan;
}

bool Regex::forEachMatch(std::u16string_view text, const RegexMatchSink& sink) const {
    const auto source = aliasOf(text);
    auto matcher = budgetedMatcher(*pattern_, source);
    if (!matcher) return false;
    UErrorCode status = U_ZERO_ERROR;
    while (matcher->find(status) && U_SUCCESS(status)) sink(matchOf(*matcher, status));
    return U_SUCCESS(status);
}

RegexReplacement Regex::replaceAll(std::u16string_view text, std::u16string_view replacementTemplate) const {
    const auto source = aliasOf(text);
    const auto replacement = aliasOf(replacementTemplate);
    auto matcher = budgetedMatcher(*pattern_, source);
    if (!matcher) return {std::u16string(text), false};
    icu::UnicodeString result;
    UErrorCode status = U_ZERO_ERROR;
    while (matcher->find(status) && U_SUCCESS(status)) {
        matcher->appendReplacement(result, replacement, status);
        if (U_FAILURE(status)) break;
    }
    if (U_FAILURE(status)) return {std::u16string(text), false};
    matcher->appendTail(result);
    return {std::u16string(result.getBuffer(), static_cast<std::size_t>(result.length())), true};
}

std::u16string Regex::escapedPattern(std::u16string_view literal) {
    // \Q...\E quotes everything but the sequence \E itself, so split the literal around it.
    std::u16string pattern = u"\\Q";
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] == u'\\' && i + 1 < literal.size() && literal[i + 1] == u'E') {
            pattern += u"\\E\\\\E\\Q";
            ++i;
        } else {
            pattern += literal[i];
        }
    }
    return pattern + u"\\E";
}

RegexCursor::RegexCursor(const Regex& regex, std::u16string_view text)
    : text_(std::make_unique<icu::UnicodeString>(aliasOf(text))),
      matcher_(budgetedMatcher(*regex.pattern_, *text_)),
      length_(static_cast<std::int64_t>(text.size())),
      exhausted_(matcher_ == nullptr) {
    if (matcher_) matcher_->useTransparentBounds(true).useAnchoringBounds(false);
}

RegexCursor::~RegexCursor() = default;

std::optional<RegexMatch> RegexCursor::findFrom(std::int64_t position) {
    if (exhausted_ || position > length_) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const bool found = matcher_->find(position, status);
    return currentMatch(found, status);
}

std::optional<RegexMatch> RegexCursor::matchAt(std::int64_t position) {
    if (exhausted_ || position > length_) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    matcher_->region(position, length_, status);
    if (U_FAILURE(status)) return currentMatch(false, status);
    const bool found = matcher_->lookingAt(status);
    return currentMatch(found, status);
}

std::optional<RegexMatch> RegexCursor::findWithin(std::int64_t start, std::int64_t limit) {
    if (exhausted_ || start > length_) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    matcher_->region(start, std::min(limit, length_), status);
    if (U_FAILURE(status)) return currentMatch(false, status);
    const bool found = matcher_->find(status);
    return currentMatch(found, status);
}

std::optional<RegexMatch> RegexCursor::currentMatch(bool found, int errorStatus) {
    auto status = static_cast<UErrorCode>(errorStatus);
    if (U_FAILURE(status)) {
        exhausted_ = true;
        return std::nullopt;
    }
    if (!found) return std::nullopt;
    return matchOf(*matcher_, status);
}

}  // namespace velquor::text
