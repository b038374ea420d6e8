#include "core/files/media/MediaCopyFormat.h"

#include "core/files/FileTypes.h"

#include <array>

namespace velquor::files {

namespace {

using enum MediaCopyWriter;

// A muxer is only ever used for the container it belongs to ("ipod" is libavformat's M4A writer,
// "adts" its raw AAC writer, "asf" writes Windows Media).
constexpr std::array<MediaCopyFormat, 15> copyFormats{{
    {"mov", remux, "mov"},      {"mp4", remux, "mp4"},      {"m4v", remux, "mp4"},   {"m4a", remux, "ipod"},
    {"wav", remux, "wav"},      {"aiff", remux, "aiff"},    {"aif", remux, "aiff"},  {"aac", remux, "adts"},
    {"mkv", remux, "matroska"}, {"mka", remux, "matroska"}, {"webm", remux, "webm"}, {"avi", remux, "avi"},
    {"wmv", remux, "asf"},      {"wma", remux, "asf"},      {"asf", remux, "asf"},
}};

}  // namespace

std::optional<MediaCopyFormat> mediaCopyFormat(const std::filesystem::path& file) {
    const auto extension = lowercasedExtension(file);
    for (const auto& format : copyFormats) {
        if (format.extension == extension) return format;
    }
    return std::nullopt;
}

}  // namespace velquor::files
