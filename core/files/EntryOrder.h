#pragma once

#include "core/files/FileMetadataReport.h"

#include <string_view>
#include <vector>

namespace velquor::files {

// Names in the order a file browser lists them: case-insensitive, digit runs by numeric value
// ("Frame 2" before "Frame 10"). Negative, zero or positive like a three-way comparison.
int compareNamesForDisplay(std::u16string_view a, std::u16string_view b);

// The order of every file report: sections by code point, then names for display; entries that
// tie keep the order in which they were appended.
void sortEntries(std::vector<FileMetadataEntry>& entries);

}  // namespace velquor::files
