// Arbitrary UTF-16 (lone surrogates included) through the style pass: nothing may crash, every
// location must be a range of whole scalars inside the text, and the one-pass literal automaton
// must find exactly what ICU finds for each phrase.
#include "core/text/style/StyleLiterals.h"
#include "core/text/style/StyleMatching.h"
#include "core/text/style/StylePhraseLists.h"
#include "core/text/style/StylePhraseScanner.h"
#include "core/text/TextSanitizer.h"
#include "core/text/base/Utf.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

using velquor::text::isLeadSurrogate;
using velquor::text::isTrailSurrogate;

// A location may neither start nor end between the two halves of a surrogate pair.
bool onScalarBoundary(std::u16string_view text, std::int64_t offset) {
    if (offset <= 0 || offset >= static_cast<std::int64_t>(text.size())) return true;
    const auto index = static_cast<std::size_t>(offset);
    return !(isTrailSurrogate(text[index]) && isLeadSurrogate(text[index - 1]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velquor::text;
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);

    std::vector<std::u16string> timedOut;
    const auto report = TextSanitizer().styleReport(text, timedOut);
    const auto length = static_cast<std::int64_t>(text.size());
    require(report.wordCount >= 1 && report.score >= 0 && report.score <= 100);
    for (const auto& signal : report.signals) {
        require(signal.count > 0 && signal.examples.size() <= 3 && signal.id == signal.label);
        for (const auto& location : signal.locations) {
            require(location.utf16Location >= 0 && location.utf16Length > 0 && location.end() <= length);
            require(onScalarBoundary(text, location.utf16Location) && onScalarBoundary(text, location.end()));
        }
    }

    if (text.size() > 4096) return 0;
    const StyleLiteralOccurrences literals(text);
    for (const auto& list : stylePhraseLists()) {
        for (const auto phrase : list.phrases) {
            const auto icu = literalMatchLocations(text, phrase);
            require(!icu.complete || nonOverlapping(literals.of(phrase)) == icu.locations);
        }
    }
    return 0;
}
