#include "tests/support/MediaFixtures.h"

#include "tests/support/ExternalTools.h"

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

const std::vector<std::string> smallH264AndAac{"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"};

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

std::string packetChecksums(const std::filesystem::path& file) {
    const auto listing = runTool(ffmpeg, {"-nostdin", "-v", "error", "-i", file.string(), "-map", "0:V?", "-map",
                                          "0:a?", "-map", "0:s?", "-c", "copy", "-f", "framemd5", "-"});
    std::istringstream lines(listing);
    std::string packets;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.front() != '#') packets += line + '\n';
    }
    return packets;
}

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

std::string videoRotation(const std::filesystem::path& file) {
    auto rotation = runTool(ffprobe, {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                      "stream_side_data=rotation", "-of", "csv=p=0", file.string()});
    while (!rotation.empty() && (rotation.back() == '\n' || rotation.back() == ',')) rotation.pop_back();
    return rotation;
}

}  // namespace velquor::testing
