// The XML edits of an Office privacy copy on a hostile part: whatever the input, the edited
// part must serialize to well-formed XML again.
#include "core/files/FileSanitizerError.h"
#include "core/files/office/OfficeXmlEdits.h"
#include "core/files/office/XmlDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using velquor::files::XmlDocument;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        auto part = XmlDocument::parse(bytes);
        velquor::files::sanitizeWordPart(part);
        velquor::files::sanitizeRelationships(part, "word/", {"/word/comments.xml"});
        velquor::files::removeContentTypeOverrides(part, {"/docProps/core.xml"});
        velquor::files::removeReferencesToRelationships(part, {"rId1", "rId2"});
        velquor::files::containsAuthorAttribute(part);
        const auto again = XmlDocument::parse(part.serialize());
        (void)again;
    } catch (const velquor::files::FileSanitizerError& error) {
        // Only the input may be refused; the edited output must always parse.
        if (error.errorCase() != velquor::files::FileSanitizerError::Case::unreadableFile) std::abort();
    }
    return 0;
}
