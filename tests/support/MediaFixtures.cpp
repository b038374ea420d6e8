#include "tests/support/MediaFixtures.h"

#include "tests/support/ExternalTools.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velquor::testing {

namespace {

const std::string ffmpeg = "/usr/bin/ffmpeg";
const std::string ffprobe = "/usr/bin/ffprobe";

std::vector<std::string> videoAndAudioSources(const std::string& seconds) {
    return {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=" + seconds,
            "-f", "lavfi", "-i", "sine=frequency=440:duration=" + seconds};
}

std::vector<std::string> joined(std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// framemd5's lines for the video (cover art excluded) and audio streams, without its comments
// and the checksums of packet side data: the Ogg reader hands a file's comments to its first
// packet. The timestamps are the file's own, not moved by the start of a stream that is dropped.
std::string framemd5Lines(const std::filesystem::path& file, const std::vector<std::string>& options) {
    std::vector<std::string> arguments{"-nostdin",    "-v",   "error", "-copyts", "-i",
                                       file.string(), "-map", "0:V?",  "-map",    "0:a?"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {"-f", "framemd5", "-"});
    std::istringstream lines(runTool(ffmpeg, arguments));
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line.front() == '#') continue;
        kept += line.substr(0, line.find(", S=")) + '\n';
    }
    return kept;
}

const std::vector<std::string> smallH264AndAac{"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"};

// How a family's cover art gets into the file, where ffmpeg can put one there at all.
enum class Cover { none, attachedPicture, vorbisCommentPicture, attachment };

struct Recipe {
    std::string_view extension;
    bool video;
    std::vector<std::string> codecs;
    Cover cover;
    std::vector<std::string> extras;  // the family's own tags and muxer options
};

const std::vector<Recipe>& recipes() {
    static const std::vector<Recipe> table{
        {"mp3", false, {"-c:a", "libmp3lame"}, Cover::attachedPicture, {"-write_id3v1", "1"}},
        {"wav", false, {}, Cover::none, {"-write_bext", "1", "-metadata", "originator=Jane Roe"}},
        {"aiff", false, {}, Cover::attachedPicture, {"-write_id3v2", "1"}},
        {"flac", false, {}, Cover::attachedPicture, {}},
        {"aac", false, {"-c:a", "aac"}, Cover::none, {"-write_id3v2", "1", "-write_apetag", "1"}},
        {"ogg", false, {"-c:a", "libvorbis"}, Cover::vorbisCommentPicture, {}},
        {"opus", false, {"-c:a", "libopus"}, Cover::vorbisCommentPicture, {}},
        {"mkv", true, smallH264AndAac, Cover::attachment, {}},
        {"webm", true, {"-c:v", "libvpx", "-c:a", "libopus"}, Cover::none, {}},
        {"avi", true, {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "libmp3lame"}, Cover::none, {}},
        {"wmv", true, {"-c:v", "wmv2", "-c:a", "wmav2"}, Cover::none, {}},
        {"wma", false, {"-c:a", "wmav2"}, Cover::none, {}},
    };
    return table;
}

const Recipe& recipeFor(const std::string& name) {
    const auto extension = std::filesystem::path(name).extension().string();
    for (const auto& recipe : recipes()) {
        if (extension == "." + std::string(recipe.extension)) return recipe;
    }
    throw std::invalid_argument("no recipe for " + name);
}

std::string base64(const std::string& bytes) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::uint32_t group = 0;
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        for (std::size_t i = 0; i < 3; ++i) {
            group = (group << 8) | (i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u);
        }
        for (std::size_t i = 0; i < 4; ++i) {
            out.push_back(i <= count ? alphabet[(group >> (18 - 6 * i)) & 0x3F] : '=');
        }
    }
    return out;
}

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

// A FLAC picture block, the form Vorbis comments carry cover art in: a front cover, 16 x 16.
std::string flacPictureBlock(const std::string& png) {
    std::string block;
    appendBigEndian(block, 3);
    appendBigEndian(block, 9);
    block += "image/png";
    appendBigEndian(block, 0);
    for (const std::uint32_t value : {16u, 16u, 24u, 0u}) appendBigEndian(block, value);
    appendBigEndian(block, static_cast<std::uint32_t>(png.size()));
    return block + png;
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return bytes.str();
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

std::filesystem::path MediaFixtures::make(const std::string& name, std::vector<std::string> arguments) const {
    const auto output = folder_ / name;
    arguments.insert(arguments.begin(), {"-nostdin", "-v", "error", "-y"});
    arguments.push_back(output.string());
    runTool(ffmpeg, arguments);
    return output;
}

std::filesystem::path MediaFixtures::plainMp4(const std::string& name) const {
    return make(name, joined(videoAndAudioSources("1"), smallH264AndAac));
}

std::filesystem::path MediaFixtures::taggedMp4() const {
    return make("tagged.mp4", joined(joined(videoAndAudioSources("1"), smallH264AndAac),
                                     {"-metadata", "title=Beach walk", "-metadata", "artist=Jane Roe", "-metadata",
                                      "comment=for the family only", "-metadata", "creation_time=2021-05-01T10:00:00Z",
                                      "-metadata", "location=+48.8584+002.2945/"}));
}

// The rotation and the timecode track are set while copying, as a phone's file carries them.
std::filesystem::path MediaFixtures::cameraMov() const {
    const auto recording = plainMp4("recording.mp4");
    return make("camera.mov", {"-i",
                               recording.string(),
                               "-map",
                               "0",
                               "-c",
                               "copy",
                               "-metadata:s:v:0",
                               "rotate=90",
                               "-timecode",
                               "01:00:00:00",
                               "-movflags",
                               "use_metadata_tags",
                               "-metadata",
                               "com.apple.quicktime.location.ISO6709=+48.8584+002.2945+035.000/",
                               "-metadata",
                               "com.apple.quicktime.make=Acme",
                               "-metadata",
                               "com.apple.quicktime.model=Acme X100",
                               "-metadata",
                               "com.apple.quicktime.software=CamOS 2.1",
                               "-metadata",
                               "com.apple.quicktime.creationdate=2021-05-01T10:00:00+0200"});
}

std::filesystem::path MediaFixtures::albumM4a() const {
    const auto chapters = folder_ / "chapters.txt";
    std::ofstream out(chapters);
    out << ";FFMETADATA1\n"
           "[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=500\ntitle=Intro at home\n"
           "[CHAPTER]\nTIMEBASE=1/1000\nSTART=500\nEND=1000\ntitle=Second verse\n";
    out.close();
    if (!out) throw std::runtime_error("cannot write " + chapters.string());
    return make("album.m4a", {"-f",
                              "lavfi",
                              "-i",
                              "sine=duration=1",
                              "-i",
                              chapters.string(),
                              "-f",
                              "lavfi",
                              "-i",
                              "color=c=red:s=16x16:d=1",
                              "-map",
                              "0",
                              "-map",
                              "2",
                              "-map_chapters",
                              "1",
                              "-c:a",
                              "aac",
                              "-c:v",
                              "png",
                              "-frames:v",
                              "1",
                              "-disposition:v",
                              "attached_pic",
                              "-metadata",
                              "artist=Jane Roe",
                              "-metadata",
                              "album=Summer tapes",
                              "-metadata",
                              "title=Our song"});
}

std::filesystem::path MediaFixtures::audio(const std::string& name, const std::vector<std::string>& tags) const {
    std::vector<std::string> arguments{"-f", "lavfi", "-i", "sine=duration=2"};
    for (const auto& tag : tags) arguments.insert(arguments.end(), {"-metadata", tag});
    return make(name, arguments);
}

std::filesystem::path MediaFixtures::tagged(const std::string& name) const {
    const Recipe& recipe = recipeFor(name);
    std::vector<std::string> arguments;
    if (recipe.video) {
        arguments = videoAndAudioSources("1");
    } else {
        arguments = {"-f", "lavfi", "-i", "sine=frequency=440:duration=1"};
    }
    const auto cover = make("cover-" + std::string(recipe.extension) + ".png",
                            {"-f", "lavfi", "-i", "color=c=red:s=16x16", "-frames:v", "1"});
    switch (recipe.cover) {
        case Cover::attachedPicture:
            arguments.insert(arguments.end(), {"-i", cover.string(), "-map", "0", "-map", "1", "-c:v", "png",
                                               "-disposition:v", "attached_pic"});
            break;
        case Cover::vorbisCommentPicture:
            arguments.insert(arguments.end(),
                             {"-metadata", "METADATA_BLOCK_PICTURE=" + base64(flacPictureBlock(fileText(cover)))});
            break;
        case Cover::attachment: {
            const auto notes = folder_ / "notes.txt";
            writeText(notes, "Call Jane Roe at +1 555 0100 about the trip.\n");
            arguments.insert(arguments.end(), {"-attach", cover.string(), "-metadata:s:t:0", "mimetype=image/png",
                                               "-attach", notes.string(), "-metadata:s:t:1", "mimetype=text/plain"});
            break;
        }
        case Cover::none:
            break;
    }
    if (recipe.video && recipe.cover != Cover::attachment)
        arguments.insert(arguments.end(), {"-map", "0", "-map", "1"});
    arguments.insert(arguments.end(), recipe.codecs.begin(), recipe.codecs.end());
    for (const auto& tag : personalTags()) arguments.insert(arguments.end(), {"-metadata", tag});
    arguments.insert(arguments.end(), recipe.extras.begin(), recipe.extras.end());
    return make(name, arguments);
}

const std::vector<std::string>& MediaFixtures::taggedExtensions() {
    static const std::vector<std::string> extensions = [] {
        std::vector<std::string> list;
        for (const auto& recipe : recipes()) list.emplace_back(recipe.extension);
        return list;
    }();
    return extensions;
}

const std::vector<std::string>& personalTags() {
    static const std::vector<std::string> tags{"title=Beach walk", "artist=Jane Roe", "comment=for the family only",
                                               "date=2021-05-01", "encoder=Field Recorder 3"};
    return tags;
}

std::string packetChecksums(const std::filesystem::path& file) {
    return framemd5Lines(file, {"-map", "0:s?", "-c", "copy"});
}

std::string decodedChecksums(const std::filesystem::path& file) { return framemd5Lines(file, {}); }

// The CSV writer adds an empty field and an empty line for each stream's side data.
std::string streamSummary(const std::filesystem::path& file) {
    std::istringstream lines(
        runTool(ffprobe, {"-v", "error", "-show_entries", "stream=codec_type,duration:format=duration", "-of",
                          "csv=p=0", file.string()}));
    std::string summary;
    for (std::string line; std::getline(lines, line);) {
        while (!line.empty() && line.back() == ',') line.pop_back();
        if (!line.empty()) summary += line + '\n';
    }
    return summary;
}

std::vector<std::string> containerTags(const std::filesystem::path& file) {
    std::istringstream lines(runTool(
        ffprobe, {"-v", "error", "-show_entries", "format_tags:stream_tags", "-of", "default=nw=1", file.string()}));
    std::vector<std::string> tags;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("TAG:") && !line.starts_with("TAG:DURATION=") && !line.ends_with('=')) {
            tags.push_back(line.substr(4));
        }
    }
    return tags;
}

std::string videoRotation(const std::filesystem::path& file) {
    auto rotation = runTool(ffprobe, {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                      "stream_side_data=rotation", "-of", "csv=p=0", file.string()});
    while (!rotation.empty() && (rotation.back() == '\n' || rotation.back() == ',')) rotation.pop_back();
    return rotation;
}

namespace {

std::string syncsafeSize(std::uint32_t value) {
    std::string out;
    for (int shift = 21; shift >= 0; shift -= 7) out += static_cast<char>((value >> shift) & 0x7F);
    return out;
}

std::string bigEndianSize(std::uint32_t value, int bytes) {
    std::string out;
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
    return out;
}

}  // namespace

std::string id3v2Tag(int version, const std::string& frames, std::uint8_t flags) {
    return "ID3" + std::string{static_cast<char>(version), '\0', static_cast<char>(flags)} +
           syncsafeSize(static_cast<std::uint32_t>(frames.size())) + frames;
}

std::string id3UserTextFrames(int version, int count) {
    std::string frames;
    for (int i = 0; i < count; ++i) {
        const std::string body = std::string("\3d") + std::to_string(i) + '\0' + "v";
        const auto size = static_cast<std::uint32_t>(body.size());
        if (version == 2) {
            frames += "TXX" + bigEndianSize(size, 3) + body;
        } else {
            frames +=
                "TXXX" + (version == 4 ? syncsafeSize(size) : bigEndianSize(size, 4)) + std::string(2, '\0') + body;
        }
    }
    return frames;
}

}  // namespace velquor::testing
