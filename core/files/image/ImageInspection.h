#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileMetadataReport.h"
#include "core/files/image/ImageFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velquor::files {

// An image inspected in memory: its report and what a privacy copy needs to know.
struct ImageInspection {
    ImageFormat format;
    std::size_t frameCount = 1;     // the frames walked
    bool frameWalkStopped = false;  // the walk stopped at its frame cap, with frames left uncounted
    std::optional<std::uint16_t> orientation;
    FileMetadataReport report;
};

// The id of the entry a report gets when metadata was there but could not be read: it may hold
// anything, so it counts as personal.
inline constexpr std::u16string_view unreadableMetadataEntryId = u"unreadable-metadata";

// The report carries the given file name (none for data that comes from no file) and the size
// of the data. Throws FileSanitizerError: unreadableFile when the data is no image this build
// reads.
ImageInspection inspectImageData(ByteView data, std::u16string fileName = {});

// Whether an application segment in a JPEG's header holds the start of another JPEG (an Exif
// thumbnail, a JFIF extension thumbnail, a maker's preview). ICC profiles are binary colour
// tables in which the two bytes occur by chance, so they are not searched.
bool hasEmbeddedJpegPreview(ByteView data);

}  // namespace velquor::files
