#pragma once

#include "core/files/FileBytes.h"
#include "core/files/image/ImageProperty.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace velquor::files {

// What Exiv2 reads from an image held in memory, shaped as the first frame's property map:
// Exif IFD0 under {TIFF}, the Exif sub-IFD under {Exif}, GPS under {GPS} in decimal degrees,
// maker notes under {Maker...}, IPTC under {IPTC} and XMP under {XMP}, with the orientation at
// the top. Structural tags (strip offsets, IFD pointers, embedded packets that are listed on
// their own) and raw byte blocks are left out.
struct ExivMetadata {
    bool readable = true;  // false when Exiv2 gave up on the file: its metadata is unknown
    ImageProperty properties;
    std::optional<std::uint16_t> orientation;
    std::uint32_t pixelWidth = 0;
    std::uint32_t pixelHeight = 0;
};

ExivMetadata readExivMetadata(ByteView data);

// Adds what an Exif block found by a container walker holds (a TIFF header and its IFDs), shaped
// as readExivMetadata shapes a file's Exif; a block Exiv2 cannot decode makes the metadata
// unreadable. Its size must fit in 32 bits, as every image read here does.
void addExifBlock(ExivMetadata& metadata, ByteView tiff);

// Adds an XMP packet found by a container walker (formats whose XMP Exiv2 does not read) under
// {XMP}. A packet that cannot be decoded is still listed, by its size, so it is never missed.
void addXmpPacket(ImageProperty& frame, std::string_view packet);

}  // namespace velquor::files
