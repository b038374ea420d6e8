// Arbitrary bytes as an OpenDocument file and as an EPUB book: listing, validation, inspection
// and the privacy copy either succeed or fail with a FileSanitizerError, and a copy that was
// built opens again and inspects without residue.
#include "core/files/FileSanitizerError.h"
#include "core/files/epub/EpubCleaning.h"
#include "core/files/epub/EpubMetadata.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/ZipArchive.h"
#include "core/files/opendocument/OpenDocumentCleaning.h"
#include "core/files/opendocument/OpenDocumentInspection.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace files = velquor::files;

namespace {

using Rows = std::vector<files::FileMetadataEntry> (*)(const files::ZipArchive&,
                                                       const std::vector<files::ArchiveEntry>&);

files::ZipArchive validated(const std::string& bytes, std::vector<files::ArchiveEntry>& entries) {
    auto archive = files::ZipArchive::fromBytes(bytes);
    entries = archive.listEntries();
    files::validateArchive(archive, entries);
    return archive;
}

// The copy must open, validate and inspect without residue.
void checkCopy(const std::vector<std::uint8_t>& copy, Rows rows, bool (*residue)(const files::FileMetadataEntry&)) {
    try {
        std::vector<files::ArchiveEntry> entries;
        const auto again = validated(std::string(copy.begin(), copy.end()), entries);
        const auto found = rows(again, entries);
        if (std::any_of(found.begin(), found.end(), residue)) std::abort();
    } catch (const files::FileSanitizerError&) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::uint8_t> document;
    std::vector<std::uint8_t> book;
    try {
        std::vector<files::ArchiveEntry> entries;
        const auto archive = validated(bytes, entries);
        files::openDocumentEntries(archive, entries);
        document = files::cleanedOpenDocument(archive, entries);
    } catch (const files::FileSanitizerError&) {
    }
    try {
        std::vector<files::ArchiveEntry> entries;
        const auto archive = validated(bytes, entries);
        files::epubEntries(archive, entries);
        book = files::cleanedEpub(archive, entries, "urn:uuid:00000000-0000-4000-8000-000000000000");
    } catch (const files::FileSanitizerError&) {
    }
    if (!document.empty()) checkCopy(document, files::openDocumentEntries, files::isOpenDocumentResidue);
    if (!book.empty()) checkCopy(book, files::epubEntries, files::isEpubResidue);
    return 0;
}
