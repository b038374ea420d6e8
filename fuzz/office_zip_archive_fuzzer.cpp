// Arbitrary bytes as an Office archive: listing, validation, inspection and the privacy copy
// either succeed or fail with a FileSanitizerError, and a copy that was built opens again.
#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/OfficeInspection.h"
#include "core/files/office/PackageCleaning.h"
#include "core/files/office/ZipArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using velquor::files::ZipArchive;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> copy;
    try {
        const auto archive = ZipArchive::fromBytes(std::string(reinterpret_cast<const char*>(data), size));
        const auto entries = archive.listEntries();
        velquor::files::validateArchive(archive, entries);
        velquor::files::officeArchiveEntries(archive, entries);
        copy = velquor::files::cleanedPackage(archive, entries);
    } catch (const velquor::files::FileSanitizerError&) {
        return 0;
    }
    try {
        const auto again = ZipArchive::fromBytes(std::string(copy.begin(), copy.end()));
        velquor::files::validateArchive(again, again.listEntries());
    } catch (const velquor::files::FileSanitizerError&) {
        std::abort();  // what this program wrote must be an archive it can read
    }
    return 0;
}
