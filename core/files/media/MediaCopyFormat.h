#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace velquor::files {

// How the privacy copy of a container family is written.
enum class MediaCopyWriter {
    remux,       // libavformat's own muxer for the container
    mp3Frames,   // the audio frames behind the Xing or LAME header, without tags
    flacBlocks,  // the stream information, the seek tables and the frames
    oggPages,    // every page, with empty comment headers
};

struct MediaCopyFormat {
    std::string_view extension;
    MediaCopyWriter writer;
    std::string_view muxer;  // for a remux: the muxer of the source's own container
};

// The copy format for a file with this name's extension, in any letter case; nothing for a type
// that is inspected only.
std::optional<MediaCopyFormat> mediaCopyFormat(const std::filesystem::path& file);

}  // namespace velquor::files
