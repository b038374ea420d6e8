#pragma once

#include "core/files/office/ZipArchive.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

// Throws unsafeArchiveEntry at the first name that could escape or clash when unpacked: empty,
// absolute, with a backslash or a NUL, with a "." or ".." component, or naming the same path as
// an earlier entry on a file system that ignores letter case and Unicode normalization. A file
// entry whose path is also a folder of another entry ("word" next to "word/document.xml")
// cannot be unpacked either and is refused the same way.
void validateArchiveEntryNames(const std::vector<std::string>& names);

// The sum of the declared sizes; nothing when it does not fit in 64 bits.
std::optional<std::uint64_t> declaredTotalSize(const std::vector<ArchiveEntry>& entries);

// The archive's size and entry count, its entry names, symbolic links among its entries and
// the declared total size. Throws archiveResourceLimitExceeded or unsafeArchiveEntry.
void validateArchive(const ZipArchive& archive, const std::vector<ArchiveEntry>& entries);

// The entry names, in listing order.
std::vector<std::string> entryNames(const std::vector<ArchiveEntry>& entries);

// The entry with exactly this name; null when there is none.
const ArchiveEntry* findEntry(const std::vector<ArchiveEntry>& entries, std::string_view name);

// An archive opened, listed and validated, ready for its parts to be read.
struct ValidatedArchive {
    ZipArchive archive;
    std::vector<ArchiveEntry> entries;
};

// What every inspection and copy of a document archive starts with: the errors of
// ZipArchive::open and validateArchive, and unreadableFile for an archive without entries.
ValidatedArchive openValidatedArchive(const std::filesystem::path& file);

}  // namespace velquor::files
