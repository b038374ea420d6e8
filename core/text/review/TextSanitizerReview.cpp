#include "core/text/TextSanitizer.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/UnicodeScalarRules.h"
#include "core/text/base/Utf.h"
#include "core/text/cleaning/AsciiConversion.h"
#include "core/text/cleaning/CleaningPipeline.h"
#include "core/text/cleaning/MarkdownFlattening.h"
#include "core/text/cleaning/PunctuationFold.h"
#include "core/text/cleaning/UrlTracking.h"
#include "core/text/review/ChangeReviewPatterns.h"

#include <algorithm>
#include <optional>

namespace velquor::text {

namespace {

struct CompiledReviewPatterns {
    CompiledPatternRule whitespaceRuns;
    CompiledPatternRule trackingUrl;
    std::vector<CompiledPatternRule> markdown;
};

const CompiledReviewPatterns& compiledReviewPatterns() {
    static const CompiledReviewPatterns compiled = [] {
        const RegexOptions options{.caseInsensitive = true};
        const auto& patterns = changeReviewPatterns();
        CompiledReviewPatterns result{{patterns.whitespaceRuns, options}, {patterns.trackingUrl, options}, {}};
        for (const auto& rule : patterns.markdown) result.markdown.emplace_back(rule, options);
        return result;
    }();
    return compiled;
}

TextLocation locationOf(std::size_t offset, std::size_t length) {
    return {static_cast<std::int64_t>(offset), static_cast<std::int64_t>(length)};
}

void appendMatches(const CompiledPatternRule& pattern, std::u16string_view text, std::vector<TextLocation>& locations) {
    for (const auto& match : pattern.allMatches(text).matches) locations.push_back(match.range);
}

// Sorted by offset, then length; repeats dropped.
std::vector<TextLocation> uniqueSortedLocations(std::vector<TextLocation> locations) {
    std::stable_sort(locations.begin(), locations.end(), [](const TextLocation& a, const TextLocation& b) {
        return a.utf16Location != b.utf16Location ? a.utf16Location < b.utf16Location : a.utf16Length < b.utf16Length;
    });
    locations.erase(std::unique(locations.begin(), locations.end()), locations.end());
    return locations;
}

template <class Test>
std::vector<TextLocation> scalarLocations(std::u16string_view text, Test test) {
    std::vector<TextLocation> locations;
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        if (test(scalar)) locations.push_back(locationOf(offset, length));
    }
    return locations;
}

bool isUnsafeControl(char32_t scalar) {
    return isControlScalar(scalar) && scalar != U'\t' && scalar != U'\n' && scalar != U'\r';
}

std::vector<TextLocation> unsafeUnicodeLocations(std::u16string_view text) {
    InvisibleScalarRules rules(text);
    std::vector<TextLocation> locations;
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        const bool candidate = isVariationSelector(scalar) || isContextualInvisibleScalar(scalar) ||
                               isUnsafeControl(scalar) || isPrivateUseScalar(scalar) || isFormatScalar(scalar);
        if (candidate && !rules.shouldPreserveInvisibleScalar(offset)) locations.push_back(locationOf(offset, length));
    }
    return locations;
}

std::vector<TextLocation> whitespaceLocations(std::u16string_view text) {
    auto locations =
        scalarLocations(text, [](char32_t scalar) { return isUnusualWhitespace(scalar) || scalar == U'\r'; });
    appendMatches(compiledReviewPatterns().whitespaceRuns, text, locations);
    return uniqueSortedLocations(std::move(locations));
}

std::vector<TextLocation> markdownLocations(std::u16string_view text) {
    std::vector<TextLocation> locations;
    for (const auto& pattern : compiledReviewPatterns().markdown) appendMatches(pattern, text, locations);
    return uniqueSortedLocations(std::move(locations));
}

// The first `limit` line feeds with no line feed right before or after them.
std::vector<TextLocation> singleLineBreakLocations(std::u16string_view text, std::int64_t limit) {
    std::vector<TextLocation> locations;
    for (std::size_t offset = text.find(u'\n'); offset != std::u16string_view::npos && std::ssize(locations) < limit;
         offset = text.find(u'\n', offset + 1)) {
        const bool single =
            (offset == 0 || text[offset - 1] != u'\n') && (offset + 1 == text.size() || text[offset + 1] != u'\n');
        if (single) locations.push_back(locationOf(offset, 1));
    }
    return locations;
}

std::u16string whitespacePreviewAfter(std::u16string_view text, TextLocation location, std::u16string_view before) {
    if (before.find(u'\r') != std::u16string_view::npos) return u"\n";
    const auto start = static_cast<std::size_t>(location.utf16Location);
    const auto end = static_cast<std::size_t>(location.end());
    const bool atLineStart = start == 0 || text[start - 1] == u'\n';
    const bool atLineEnd = end == text.size() || text[end] == u'\n';
    return atLineStart || atLineEnd ? u"" : u" ";
}

std::optional<TextChangePreview> previewOf(TextChangeCategory category, std::u16string_view text,
                                           const std::vector<TextLocation>& locations) {
    if (locations.empty()) return std::nullopt;
    const auto first = locations.front();
    if (first.utf16Location < 0 || first.utf16Length < 0 || first.end() > std::ssize(text)) return std::nullopt;
    const auto before =
        text.substr(static_cast<std::size_t>(first.utf16Location), static_cast<std::size_t>(first.utf16Length));
    std::u16string after;
    switch (category) {
        case TextChangeCategory::unsafeUnicode:
            break;
        case TextChangeCategory::whitespace:
            after = whitespacePreviewAfter(text, first, before);
            break;
        case TextChangeCategory::trackingURLs:
            after = stripURLTracking(before).text;
            break;
        case TextChangeCategory::punctuation:
            after = foldPunctuation(before);
            break;
        case TextChangeCategory::markdown:
            after = flattenMarkdownArtifacts(before).text;
            break;
        case TextChangeCategory::paragraphWrapping:
            after = u" ";
            break;
        case TextChangeCategory::ascii:
            after = convertToAscii(before).text;
            break;
    }
    if (after == before) return std::nullopt;
    return TextChangePreview{std::u16string(before), std::move(after)};
}

bool isNonAscii(char32_t scalar) { return !isAscii(scalar); }

std::int64_t nonAsciiScalarCount(std::u16string_view text) {
    return std::ranges::count_if(scalarsOf(text), isNonAscii, &TextScalar::scalar);
}

}  // namespace

std::vector<TextChangeReviewItem> TextSanitizer::reviewChanges(std::u16string_view text) const {
    if (text.empty()) return {};
    const auto s = runCleaningSteps(text, {.asciiOnly = true,
                                           .flattenMarkdown = true,
                                           .unwrapParagraphs = true,
                                           .normalizePunctuation = true,
                                           .removeUnsafeUnicode = true,
                                           .normalizeWhitespace = true,
                                           .stripTrackingParameters = true,
                                           .trimWhitespace = true})
                       .summary;
    std::vector<TextChangeReviewItem> items;
    // Locations are looked for only in categories that have something to change.
    const auto add = [&](TextChangeCategory category, std::int64_t count, const auto& locate) {
        if (count < 1) return;
        auto locations = locate();
        auto preview = previewOf(category, text, locations);
        items.push_back({category, count, std::move(locations), std::move(preview)});
    };
    add(TextChangeCategory::unsafeUnicode,
        s.removedFormatControls + s.removedInvisibleScalars + s.removedPrivateUseScalars + s.removedControlScalars,
        [&] { return unsafeUnicodeLocations(text); });
    add(TextChangeCategory::whitespace,
        s.normalizedWhitespaceScalars + s.trimmedCharacters + (s.normalizedLineEndings ? 1 : 0),
        [&] { return whitespaceLocations(text); });
    add(TextChangeCategory::trackingURLs, s.strippedURLTrackingParameters, [&] {
        std::vector<TextLocation> locations;
        appendMatches(compiledReviewPatterns().trackingUrl, text, locations);
        return locations;
    });
    add(TextChangeCategory::punctuation, foldablePunctuationCount(text),
        [&] { return scalarLocations(text, isFoldablePunctuation); });
    add(TextChangeCategory::markdown, s.markdownArtifactsFlattened, [&] { return markdownLocations(text); });
    add(TextChangeCategory::paragraphWrapping, s.unwrappedLineBreaks,
        [&] { return singleLineBreakLocations(text, s.unwrappedLineBreaks); });
    add(TextChangeCategory::ascii, nonAsciiScalarCount(text), [&] { return scalarLocations(text, isNonAscii); });
    return items;
}

}  // namespace velquor::text
