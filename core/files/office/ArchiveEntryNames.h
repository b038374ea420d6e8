#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

// The entry names of a name listing (one per line), in the tool's order, empty lines dropped.
std::vector<std::string> entryNamesFromListing(std::string_view listing);

// Throws unsafeArchiveEntry at the first name that could escape or clash when unpacked: empty,
// absolute, with a backslash or a NUL, with a "." or ".." component, or naming the same path as
// an earlier entry on a file system that ignores letter case and Unicode normalization. A file
// entry whose path is also a folder of another entry ("word" next to "word/document.xml")
// cannot be unpacked either and is refused the same way.
void validateArchiveEntryNames(const std::vector<std::string>& names);

// Whether a long listing shows a symbolic link: a line that starts with a Unix permission string
// whose type is "l" (lrwxrwxrwx).
bool archiveListingContainsSymbolicLink(std::string_view longListing);

// The number in the totals line ("3 files, 1234 bytes uncompressed, ..."); nothing when the line
// is missing or the number does not fit in 64 bits.
std::optional<std::int64_t> uncompressedByteTotal(std::string_view totals);

// A member name as unzip reads it from its command line: its wildcard characters and a leading
// "-" (which would read as an option) are escaped, so that it matches that one entry only.
std::string literalMemberPattern(std::string_view name);

}  // namespace velquor::files
