// Arbitrary bytes through the input gate and, when they pass, through inspection: nothing may
// crash, and every reported location must lie inside the text it was computed on.
#include "core/text/input/TextInputSafety.h"
#include "core/text/TextSanitizer.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velquor::text;
    std::u16string text;
    try {
        text = TextInputSafety::decodeText({data, size}, 1 << 20);
    } catch (const TextInputError&) {
        return 0;
    }
    const auto report = TextSanitizer().inspect(text);
    const auto length = static_cast<std::int64_t>(text.size());
    require(report.scalars <= length && report.characters <= report.scalars);
    for (const auto& finding : report.privacyReport.findings) {
        require(finding.count == static_cast<std::int64_t>(finding.locations.size()));
        require(!finding.examples.empty() && finding.examples.size() <= 3);
        for (const auto& location : finding.locations) {
            require(location.utf16Location >= 0 && location.utf16Length > 0 && location.end() <= length);
        }
    }
    return 0;
}
