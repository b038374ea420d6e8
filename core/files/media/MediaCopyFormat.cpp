#include "core/files/media/MediaCopyFormat.h"

#include "core/files/FileTypes.h"

#include <array>

namespace velquor::files {

namespace {

using enum MediaCopyWriter;

// A muxer is only ever used for the container it belongs to ("ipod" is libavformat's M4A writer,
// "adts" its raw AAC writer, "asf" writes Windows Media). MP3, FLAC and Ogg have writers of their
// own: libavformat's would put its name into the Xing header, the FLAC comment block and the
// Vorbis and Opus comment headers, and would lose an MP3's gapless information.
constexpr std::array<MediaCopyFormat, 20> copyFormats{{
    {"mov", remux, "mov"},  {"mp4", remux, "mp4"},      {"m4v", remux, "mp4"},      {"m4a", remux, "ipod"},
    {"mp3", mp3Frames, ""}, {"wav", remux, "wav"},      {"aiff", remux, "aiff"},    {"aif", remux, "aiff"},
    {"aac", remux, "adts"}, {"flac", flacBlocks, ""},   {"ogg", oggPages, ""},      {"oga", oggPages, ""},
    {"opus", oggPages, ""}, {"mkv", remux, "matroska"}, {"mka", remux, "matroska"}, {"webm", remux, "webm"},
    {"avi", remux, "avi"},  {"wmv", remux, "asf"},      {"wma", remux, "asf"},      {"asf", remux, "asf"},
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
