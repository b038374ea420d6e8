#pragma once

#include "core/files/media/AvFormatInput.h"
#include "core/files/media/MediaDeadline.h"
#include "core/files/media/MediaInspection.h"

namespace velquor::files {

// The privacy copy of an MP3 file: its Xing, Info or VBRI header frame, so that players still
// know the frame count, the seek table and the gapless delay and padding, then every audio frame
// as the demuxer reads it. No ID3v1, ID3v2 or APE tag, no cover art, nothing between the frames.
// The LAME tag's encoder version is blanked; its four-letter family name ("LAME", "Lavc") stays
// only where the tag carries a delay or padding, because readers trust those only behind a name
// they know. A frame cut short or damaged is unreadableFile.
MediaStreamCounts writeMp3PrivacyCopy(AvFormatInput& input, int fd, const MediaDeadline& deadline);

// Blanks the encoder version in a Xing or Info header frame and mends the tag's checksum; a
// frame without a LAME tag is returned as it is.
std::vector<std::uint8_t> withoutEncoderVersion(std::vector<std::uint8_t> frame);

}  // namespace velquor::files
