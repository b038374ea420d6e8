#pragma once

#include "core/files/FileBytes.h"
#include "core/files/image/ImageFormat.h"
#include "core/files/image/ImageProperty.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velquor::files {

// What the container walkers see beyond Exiv2: per-frame format groups ({PNG}, {GIF}, {WebP},
// {JFIF}, {JPEG}), and XMP packets and Exif blocks in places Exiv2 does not read. There is at
// least one frame; the first also holds the values of the whole container (loop count,
// comments, text chunks).
struct ContainerProperties {
    std::vector<ImageProperty> frames;
    std::vector<std::string> xmpPackets;
    std::vector<std::vector<std::uint8_t>> exifBlocks;  // each starts with its TIFF header
    bool metadataReadable = true;                       // false when metadata was there but could not be read
    std::uint32_t pixelWidth = 0;                       // 0 when the walker does not know the size
    std::uint32_t pixelHeight = 0;
};

// Throws FileSanitizerError(unreadableFile) when the container is too damaged to hold an image.
ContainerProperties readContainerProperties(ImageFormat format, ByteView data);

ContainerProperties jpegContainerProperties(ByteView data);
ContainerProperties pngContainerProperties(ByteView data);
ContainerProperties gifContainerProperties(ByteView data);
ContainerProperties webpContainerProperties(ByteView data);
ContainerProperties tiffContainerProperties(ByteView data);
// HEIF, HEIC and AVIF by their item walker (IsoMediaItems.h), which Exiv2 is not asked to read.
ContainerProperties isoMediaContainerProperties(ByteView data);

}  // namespace velquor::files
