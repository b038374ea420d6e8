// A hostile package document, NCX or encryption part through the EPUB readings and edits: the
// edited part must parse again, and the reduced metadata may name nobody.
#include "core/files/FileSanitizerError.h"
#include "core/files/epub/EpubFontObfuscation.h"
#include "core/files/epub/EpubMetadataEdits.h"
#include "core/files/epub/EpubPackage.h"
#include "core/files/office/XmlDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using velquor::files::XmlDocument;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    velquor::files::isIsbn(bytes);
    velquor::files::resolvedReference("OEBPS/", bytes);
    try {
        auto part = XmlDocument::parse(bytes);
        velquor::files::ncxPath(part, "OEBPS/");
        velquor::files::coverImagePath(part, "OEBPS/");
        velquor::files::obfuscatedFonts(part);
        velquor::files::protectedContentCount(part);
        velquor::files::reduceNcx(part, "urn:uuid:00000000-0000-4000-8000-000000000000");
        velquor::files::reducePackageMetadata(part, "urn:uuid:00000000-0000-4000-8000-000000000000");
        const auto again = XmlDocument::parse(part.serialize());
        // What is left of the metadata is what a reader needs, and the NCX names nobody.
        for (auto* entry : velquor::files::metadataEntries(again)) {
            const auto name = XmlDocument::localName(entry);
            if (name != "title" && name != "language" && name != "identifier" && name != "meta") std::abort();
        }
        constexpr std::string_view authors[] = {"docAuthor"};
        if (!again.elementsNamed(authors).empty()) std::abort();
    } catch (const velquor::files::FileSanitizerError& error) {
        if (error.errorCase() != velquor::files::FileSanitizerError::Case::unreadableFile) std::abort();
    }
    return 0;
}
