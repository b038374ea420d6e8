// Entry names of a hostile archive, one per line: validation either accepts them or refuses
// them as unsafe, never anything else.
#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveValidation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view listing(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> names;
    for (std::size_t start = 0; start <= listing.size();) {
        const auto end = std::min(listing.find('\n', start), listing.size());
        names.emplace_back(listing.substr(start, end - start));
        start = end + 1;
    }
    try {
        velquor::files::validateArchiveEntryNames(names);
    } catch (const velquor::files::FileSanitizerError& error) {
        if (error.errorCase() != velquor::files::FileSanitizerError::Case::unsafeArchiveEntry) std::abort();
    }
    return 0;
}
