// Arbitrary UTF-16 through the strict JSON reader and the saved-baseline form: nothing may crash
// or recurse without bound, and a baseline that is accepted must be written back in the form
// that reads as the same baseline.
#include "cli/BaselineJson.h"
#include "cli/JsonReader.h"

#include "core/text/base/Utf.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velquor::cli;
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);

    try {
        const auto value = parseJson(text);
        (void)value.integer();
        (void)value.finiteNumber();
    } catch (const JsonSyntaxError&) {
    }

    velquor::text::WritingStyleBaseline baseline;
    try {
        baseline = baselineFromJson(text);
    } catch (const BaselineFormatError&) {
        return 0;
    }
    require(baseline.documentCount >= 1 && baseline.wordCount >= baseline.documentCount);
    std::ostringstream saved;
    writeBaselineJson(saved, baseline);
    const auto reread = velquor::text::decodeUtf8(saved.str());
    require(reread.has_value());
    require(baselineFromJson(*reread) == baseline);
    return 0;
}
