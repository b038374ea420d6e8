// Arbitrary UTF-8 through SVG cleaning: the output always ends in one line feed and has no blank
// lines and no carriage returns, and cleaning an output in which inspection finds nothing
// changes nothing more.
#include "core/files/FileSanitizerError.h"
#include "core/files/svg/SVGPrivacySanitizer.h"
#include "core/text/base/TextConversions.h"
#include "core/text/base/Utf.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool holdsEmptyUrl(std::u16string_view text) {
    return velquor::text::asciiLowercased(text).find(u"url()") != std::u16string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velquor::files;
    const auto text = velquor::text::decodeUtf8(std::span(data, size));
    if (!text) return 0;
    const SVGPrivacySanitizer sanitizer;
    try {
        const auto cleaned = sanitizer.clean(*text);
        require(!cleaned.empty() && cleaned.back() == u'\n');
        require(cleaned.find(u'\r') == std::u16string::npos && cleaned.find(u"\n\n") == std::u16string::npos);
        // An empty url() that a later removal joins together ("ur<dc:title/>l()") is the one
        // thing cleaning rewrites that inspection does not count; it carries nothing.
        if (SVGPrivacySanitizer::entries(cleaned).empty() && !holdsEmptyUrl(cleaned)) {
            require(sanitizer.clean(cleaned) == cleaned);
        }
    } catch (const FileSanitizerError& error) {
        require(error.errorCase() == FileSanitizerError::Case::unreadableFile);
    }
    return 0;
}
