#pragma once

#include "tests/support/ExternalTools.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const Bytes& bytes);
Bytes bytesOf(std::string_view text);

// ffmpeg's test pattern encoded by ffmpeg: `codecArguments` select the format ("-c:v", "libwebp").
std::filesystem::path makeTestImage(const std::filesystem::path& file, std::string_view size, int frames,
                                    const std::vector<std::string>& codecArguments = {});

// exiftool writes tags into a file in place ("-Artist=Ann", "-GPSLatitude=51.5").
void writeTags(const std::filesystem::path& file, const std::vector<std::string>& assignments);

// All frames decoded by ffmpeg to raw RGBA.
std::string decodedPixels(const std::filesystem::path& file);

// Byte writers for containers with hand-made parts.
Bytes joined(std::initializer_list<Bytes> parts);
Bytes littleEndian16(std::uint16_t value);
Bytes littleEndian32(std::uint32_t value);
Bytes jpegSegment(std::uint8_t marker, const Bytes& payload);
Bytes riffChunk(std::string_view fourcc, const Bytes& payload);  // padded to an even size
Bytes webpFile(const Bytes& chunks);                             // the RIFF and WEBP header first
Bytes pngChunk(std::string_view type, const Bytes& payload);
Bytes zlibCompressed(const Bytes& data);
// A valid 1 x 1 grey PNG with `chunks` between its header and its data, and `afterEnd` after it.
Bytes tinyPng(const std::vector<Bytes>& chunks = {}, const Bytes& afterEnd = {});
Bytes withPngChunksAfterHeader(const Bytes& png, const std::vector<Bytes>& chunks);
Bytes withJpegSegmentAfterStart(const Bytes& jpeg, std::uint8_t marker, const Bytes& payload);
Bytes bigEndian32(std::uint32_t value);
Bytes isoBox(std::string_view type, const Bytes& payload);  // size and type first
// A HEIC of an 'ftyp' and a 'meta' box whose one item is Exif, `exifItem` in an 'mdat' after
// them; `extentOffset` points the item's extent elsewhere (outside the file, for one).
Bytes heicWithExifItem(const Bytes& exifItem, std::optional<std::uint32_t> extentOffset = std::nullopt);
// The same, with the primary item a grid derived from one tile ('pitm', 'dimg'), and the Exif
// item describing the grid ('cdsc'), as phone cameras store their photos.
Bytes heicGridWithExifItem(const Bytes& exifItem);
// Animations of `frames` 1 x 1 frames whose delays count up from 1 to 7 hundredths of a second
// and start again, looping `loopCount` times: a GIF with a graphic control block before each
// image, and an APNG whose first frame is its default image.
Bytes longAnimatedGif(std::size_t frames, std::uint16_t loopCount);
Bytes longAnimatedPng(std::size_t frames, std::uint32_t loopCount);
// The delay of frame `index` (from 0) in those animations, in hundredths of a second.
inline std::uint16_t longAnimationDelay(std::size_t index) { return static_cast<std::uint16_t>(1 + index % 7); }
// The payload of a JPEG's Exif segment, from "Exif\0\0" on; empty when it has none.
Bytes jpegExifPayload(const Bytes& jpeg);

}  // namespace velquor::testing
