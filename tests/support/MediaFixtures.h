#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace velquor::testing {

// Short media files made by the ffmpeg tool from its generated sources in a folder, so that every
// test knows exactly what went into its file. A failing tool throws.
class MediaFixtures {
public:
    explicit MediaFixtures(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // An MP4 with H.264 video and AAC audio, tagged with a title, an artist, a comment, a
    // creation time and an ISO 6709 location.
    std::filesystem::path taggedMp4() const;

    // A QuickTime movie as a phone writes it: location, make, model, software and creation date
    // under QuickTime keys, a timecode track (a data stream) and a picture rotated by 90 degrees.
    std::filesystem::path cameraMov() const;

    // M4A audio with an artist, an album, a title, cover art and two chapters.
    std::filesystem::path albumM4a() const;

    // Plain video and audio with no tag given: what remains is what the muxer writes by itself.
    std::filesystem::path plainMp4(const std::string& name = "plain.mp4") const;

    std::filesystem::path audio(const std::string& name, const std::vector<std::string>& tags) const;

    // A one-second recording of the family its name's extension names, as ffmpeg writes it with
    // the personalTags() below and cover art where ffmpeg can put one in that container (not in
    // WAV, AAC, AVI, WebM or Windows Media). Each family adds what its own tags can say: an ID3v1
    // tag for MP3, a broadcast extension for WAV, ID3v2 for AIFF, ID3v2 and APE tags for AAC, a
    // second attachment that is a document for Matroska.
    std::filesystem::path tagged(const std::string& name) const;

    // One extension per family tagged() writes.
    static const std::vector<std::string>& taggedExtensions();

    // Runs ffmpeg with `arguments` (output last) and returns the output path.
    std::filesystem::path make(const std::string& name, std::vector<std::string> arguments) const;

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

// The tags tagged() writes, as "key=value".
const std::vector<std::string>& personalTags();

// ffmpeg's checksum of every video (cover art excluded), audio and subtitle packet, with its
// stream, timestamps, duration and size: equal lists mean the same media, packet for packet.
std::string packetChecksums(const std::filesystem::path& file);

// ffmpeg's checksum of every decoded video frame and audio frame (cover art excluded), with its
// stream and timestamps: equal lists mean the same pictures and the same sound.
std::string decodedChecksums(const std::filesystem::path& file);

// ffprobe's container and stream tags with a value, as "key=value", less the track lengths that
// Matroska's muxer writes as tags.
std::vector<std::string> containerTags(const std::filesystem::path& file);

// ffprobe's stream types and durations, then the container duration, one per line.
std::string streamSummary(const std::filesystem::path& file);

// An ID3v2 tag of the version (2, 3 or 4) around `frames`, with the header flags given.
std::string id3v2Tag(int version, const std::string& frames, std::uint8_t flags = 0);

// `count` user-defined text frames, each with a description of its own: the entries that cost a
// demuxer's dictionary most.
std::string id3UserTextFrames(int version, int count);

// The rotation ffprobe reads from the first video stream's display matrix; empty when none.
std::string videoRotation(const std::filesystem::path& file);

}  // namespace velquor::testing
