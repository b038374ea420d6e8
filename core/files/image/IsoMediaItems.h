#pragma once

#include "core/files/FileBytes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velquor::files {

// The items of an ISO media image (HEIF, HEIC, AVIF) that the metadata lives in, read from the
// top-level 'meta' box: what 'iinf' names as Exif or as XMP (MIME type application/rdf+xml),
// where 'iloc' puts their bytes, and the primary item's size from its 'ispe' property. Every
// size, offset and count comes from the file and is checked against it before it is used.

enum class IsoMetadataKind { exif, xmp };

struct IsoExtent {
    std::size_t offset;  // from the start of the file
    std::size_t length;
};

struct IsoMetadataItem {
    IsoMetadataKind kind;
    std::uint32_t id;
    std::vector<IsoExtent> extents;  // in the order the item's bytes follow each other
};

struct IsoMediaItems {
    std::vector<IsoMetadataItem> metadata;
    std::uint32_t pixelWidth = 0;  // 0 when the primary item has no readable 'ispe'
    std::uint32_t pixelHeight = 0;
};

// A file without a 'meta' box, 'iinf' or 'iloc' has no metadata items. Throws unreadableFile
// when the boxes that locate metadata are damaged: field sizes that do not fit, extents outside
// the file or its 'idat', an extent "to the end of the file", or an item built from other items.
IsoMediaItems readIsoMediaItems(ByteView data);

// The item's bytes, its extents joined in order.
std::vector<std::uint8_t> isoItemBytes(ByteView data, const IsoMetadataItem& item);

// What a privacy copy leaves in an item of this size: Exif with no entries, or an XMP packet
// with no properties, padded to the size; an item too small for that is all zeros or spaces.
std::vector<std::uint8_t> blankIsoItem(IsoMetadataKind kind, std::size_t size);

}  // namespace velquor::files
