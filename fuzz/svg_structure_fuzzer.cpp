// Arbitrary UTF-8 read as SVG XML by namespace: parsing either reads the whole text within its
// bounds or fails as unreadable, and once the classified findings are removed, the document that
// libxml2 writes out reads back without any of them.
#include "core/files/FileSanitizerError.h"
#include "core/files/svg/SvgStructure.h"
#include "core/files/svg/SvgXmlDocument.h"
#include "core/text/base/Utf.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool onlyUnknown(const std::vector<velquor::files::SvgStructureFinding>& findings) {
    return std::all_of(findings.begin(), findings.end(), [](const auto& finding) {
        return finding.kind == velquor::files::SvgStructureKind::unknownNamespace;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velquor::files;
    const auto text = velquor::text::decodeUtf8(std::span(data, size));
    if (!text) return 0;
    try {
        auto document = SvgXmlDocument::parse(*text);
        if (!removeClassifiedFindings(svgStructureFindings(document))) return 0;
        const auto written = document.serialized(true);
        require(onlyUnknown(svgStructureFindings(SvgXmlDocument::parse(written))));
    } catch (const FileSanitizerError& error) {
        require(error.errorCase() == FileSanitizerError::Case::unreadableFile);
    }
    return 0;
}
