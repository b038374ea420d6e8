#pragma once

#include "core/files/FileMetadataReport.h"

#include <optional>
#include <string>
#include <string_view>

namespace velquor::files {

// The row for one metadata item of a container, a stream or a chapter: the key (an ID3v2 frame
// id read as its common key, "TIT2" as "title") without its key
// space prefix and with "_" and "-" read as spaces, sectioned by what the key says. Nothing when
// the value is empty. The id tells apart items with the same key and different values, and
// makes the same item reached twice (a title of the file and of its first stream) one entry.
std::optional<FileMetadataEntry> mediaEntry(std::u16string_view rawKey, std::u16string_view value);

// "com.apple.quicktime.camera.lens_model" gives "camera.lens model".
std::u16string mediaEntryName(std::u16string_view rawKey);

// "Location", "Capture", "Description" or "Media", by the words in a name.
std::u16string mediaEntrySection(std::u16string_view name);

}  // namespace velquor::files
