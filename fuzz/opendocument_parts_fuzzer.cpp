// A hostile OpenDocument part through every reading and edit of a privacy copy: whatever the
// input, the edited part must serialize to well-formed XML again, and nothing the edits remove
// may be found in it afterwards.
#include "core/files/FileSanitizerError.h"
#include "core/files/office/XmlDocument.h"
#include "core/files/opendocument/OpenDocumentCleaning.h"
#include "core/files/opendocument/OpenDocumentParts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using velquor::files::XmlDocument;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        auto part = XmlDocument::parse(bytes);
        velquor::files::documentPartFindings(part);
        velquor::files::settingsFindings(part);
        velquor::files::cleanDocumentPart(part);
        velquor::files::removePersonalSettings(part);
        velquor::files::removeManifestEntries(part, {"meta.xml", "Thumbnails/thumbnail.png"});
        const auto again = XmlDocument::parse(part.serialize());
        const auto left = velquor::files::documentPartFindings(again);
        const auto settings = velquor::files::settingsFindings(again);
        if (left.comments > 0 || left.insertions > 0 || left.deletions > 0 || left.formatChanges > 0 ||
            left.cellChanges > 0 || !left.changeAuthors.empty() || !left.externalLinks.empty() ||
            left.macroBindings > 0 || !settings.printers.empty() || !settings.paths.empty()) {
            std::abort();
        }
    } catch (const velquor::files::FileSanitizerError& error) {
        // Only the input may be refused; the edited output must always parse.
        if (error.errorCase() != velquor::files::FileSanitizerError::Case::unreadableFile) std::abort();
    }
    return 0;
}
