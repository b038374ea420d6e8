// Entry-name listings and long listings as unzip prints them for a hostile archive.
#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveEntryNames.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view listing(reinterpret_cast<const char*>(data), size);
    const auto names = velquor::files::entryNamesFromListing(listing);
    try {
        velquor::files::validateArchiveEntryNames(names);
    } catch (const velquor::files::FileSanitizerError&) {
    }
    velquor::files::archiveListingContainsSymbolicLink(listing);
    velquor::files::uncompressedByteTotal(listing);
    for (const auto& name : names) velquor::files::literalMemberPattern(name);
    return 0;
}
