#pragma once

#include "core/files/FileBytes.h"
#include "core/files/image/ImageFormat.h"
#include "core/files/image/ImageProperty.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velquor::files {

// An animation's first frames are listed one by one, with their delays; the frames after them
// are only counted and their delays summed up. A walk counts this many frames at most and stops
// there, so that a file of millions of tiny frames is read in a bounded time.
inline constexpr std::size_t listedFrameLimit = 8;
inline constexpr std::size_t walkedFrameLimit = 100'000;

// What the container walkers see beyond Exiv2: per-frame format groups ({PNG}, {GIF}, {WebP},
// {JFIF}, {JPEG}), and XMP packets and Exif blocks in places Exiv2 does not read. There is at
// least one frame; the first also holds the values of the whole container (loop count,
// comments, text chunks).
struct ContainerProperties {
    std::vector<ImageProperty> frames;  // the listed frames: at most listedFrameLimit of an animation
    std::size_t frameCount = 1;         // every frame walked, listed or not
    double unlistedSeconds = 0;         // the summed delays of the frames past the listed ones
    bool frameWalkStopped = false;      // the walk reached walkedFrameLimit with data left
    std::vector<std::string> xmpPackets;
    std::vector<std::vector<std::uint8_t>> exifBlocks;  // each starts with its TIFF header
    bool metadataReadable = true;                       // false when metadata was there but could not be read
    std::uint32_t pixelWidth = 0;                       // 0 when the walker does not know the size
    std::uint32_t pixelHeight = 0;

    // Whether a walk may count one more frame; at the cap it marks the walk as stopped instead.
    bool mayAddFrame();
    // Counts one more frame after the first and returns its property map while frames are still
    // listed, nothing once they are only summed up (the delay is in seconds).
    ImageProperty* addFrame(double delaySeconds);
};

// Throws FileSanitizerError(unreadableFile) when the container is too damaged to hold an image.
ContainerProperties readContainerProperties(ImageFormat format, ByteView data);

// The frames of an animation counted to the end of the data, past walkedFrameLimit: what a copy
// must keep of a source whose inspection stopped at the cap. 1 for formats without animation.
std::size_t fullFrameCount(ImageFormat format, ByteView data);

ContainerProperties jpegContainerProperties(ByteView data);
ContainerProperties pngContainerProperties(ByteView data);
ContainerProperties gifContainerProperties(ByteView data);
ContainerProperties webpContainerProperties(ByteView data);
ContainerProperties tiffContainerProperties(ByteView data);
// HEIF, HEIC and AVIF by their item walker (IsoMediaItems.h), which Exiv2 is not asked to read.
ContainerProperties isoMediaContainerProperties(ByteView data);

}  // namespace velquor::files
