#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const Bytes& bytes);
Bytes bytesOf(std::string_view text);

// Runs a test tool (no shell) and returns its standard output; a failing tool throws with its
// standard error, so a broken fixture never passes for a clean one.
std::string runTool(const std::string& program, const std::vector<std::string>& arguments);

// ffmpeg's test pattern encoded by ffmpeg: `codecArguments` select the format ("-c:v", "libwebp").
std::filesystem::path makeTestImage(const std::filesystem::path& file, std::string_view size, int frames,
                                    const std::vector<std::string>& codecArguments = {});

// exiftool writes tags into a file in place ("-Artist=Ann", "-GPSLatitude=51.5").
void writeTags(const std::filesystem::path& file, const std::vector<std::string>& assignments);

// Every tag exiftool finds, as "Group:Tag" names (-a -G1), with their values as JSON text.
std::vector<std::pair<std::string, std::string>> exiftoolTags(const std::filesystem::path& file);

// All frames decoded by ffmpeg to raw RGBA.
std::string decodedPixels(const std::filesystem::path& file);

// Byte writers for containers with hand-made parts.
Bytes pngChunk(std::string_view type, const Bytes& payload);
Bytes zlibCompressed(const Bytes& data);
// A valid 1 x 1 grey PNG with `chunks` between its header and its data, and `afterEnd` after it.
Bytes tinyPng(const std::vector<Bytes>& chunks = {}, const Bytes& afterEnd = {});
Bytes withPngChunksAfterHeader(const Bytes& png, const std::vector<Bytes>& chunks);
Bytes withJpegSegmentAfterStart(const Bytes& jpeg, std::uint8_t marker, const Bytes& payload);
Bytes withWebpChunk(const Bytes& webp, std::string_view fourcc, const Bytes& payload);

}  // namespace velquor::testing
