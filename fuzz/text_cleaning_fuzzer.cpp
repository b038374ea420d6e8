// Arbitrary UTF-8 through inspection, cleaning under options chosen by the first byte, and the
// change review. Nothing may crash, every location must lie inside the text it was computed
// on, every changed offset inside the output, and hygiene cleaning, alone or with punctuation
// folding, must leave its own output unchanged.
#include "core/text/base/GraphemeClusters.h"
#include "core/text/TextSanitizer.h"
#include "core/text/base/Utf.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace velquor::text;

void require(bool condition) {
    if (!condition) std::abort();
}

void requireInside(const std::vector<TextLocation>& locations, std::int64_t length) {
    for (const auto& location : locations) {
        require(location.utf16Location >= 0 && location.utf16Length > 0 && location.end() <= length);
    }
}

CleaningOptions optionsFrom(std::uint8_t bits) {
    return {
        .asciiOnly = (bits & 1) != 0,
        .flattenMarkdown = (bits & 2) != 0,
        .unwrapParagraphs = (bits & 4) != 0,
        .normalizePunctuation = (bits & 8) != 0,
        .removeUnsafeUnicode = (bits & 16) != 0,
        .normalizeWhitespace = (bits & 32) != 0,
        .stripTrackingParameters = (bits & 64) != 0,
        .trimWhitespace = (bits & 128) != 0,
    };
}

void requireConsistent(const TextCleanResult& result) {
    require(result.summary.outputCharacters == graphemeClusterCount(result.text));
    std::int64_t previous = -1;
    for (const auto offset : result.changedOutputOffsets) {
        require(offset > previous && offset < result.summary.outputCharacters);
        previous = offset;
    }
}

void requireIdempotent(const TextSanitizer& sanitizer, std::u16string_view text, const CleaningOptions& options) {
    const auto first = sanitizer.cleanPlainTextResult(text, options);
    requireConsistent(first);
    const auto second = sanitizer.cleanPlainTextResult(first.text, options);
    require(second.text == first.text && !second.summary.changed() && second.changedOutputOffsets.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto decoded = decodeUtf8(std::span(data + 1, size - 1));
    if (!decoded) return 0;
    const std::u16string_view text = *decoded;
    const auto length = static_cast<std::int64_t>(text.size());
    const TextSanitizer sanitizer;

    const auto report = sanitizer.inspect(text);
    for (const auto& issue : report.issues) {
        require(issue.count == static_cast<std::int64_t>(issue.locations.size()));
        requireInside(issue.locations, length);
    }
    for (const auto& payload : report.hiddenPayloads) require(payload.byteCount >= 2 && !payload.decodedText.empty());

    const auto options = optionsFrom(data[0]);
    const auto cleaned = sanitizer.cleanPlainTextResult(text, options);
    requireConsistent(cleaned);
    require(cleaned.summary.inputCharacters == report.characters);
    require(cleaned.summary.contentChanged == (cleaned.text != text));

    for (const auto& item : sanitizer.reviewChanges(text)) {
        require(item.count >= 1);
        requireInside(item.locations, length);
        if (item.preview) require(item.preview->before != item.preview->after);
    }

    const bool trim = (data[0] & 128) != 0;
    requireIdempotent(sanitizer, text,
                      {.removeUnsafeUnicode = true,
                       .normalizeWhitespace = true,
                       .stripTrackingParameters = true,
                       .trimWhitespace = trim});
    requireIdempotent(sanitizer, text,
                      {.normalizePunctuation = true,
                       .removeUnsafeUnicode = true,
                       .normalizeWhitespace = true,
                       .stripTrackingParameters = true,
                       .trimWhitespace = trim});
    return 0;
}
