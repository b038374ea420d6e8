#include "tests/core/files/media/MediaFixtures.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/media/MediaMetadataInspector.h"
#include "tests/support/ChildProcess.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace velquor::files {
namespace {

using ::testing::HasSubstr;
using velquor::testing::MediaFixtures;
using velquor::testing::TemporaryDirectory;

std::vector<std::string> lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::vector<std::string> hiddenFiles(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(directory)) {
        const auto name = item.path().filename().string();
        if (name.front() == '.') names.push_back(name);
    }
    return names;
}

FileSanitizerError::Case exportError(const std::filesystem::path& source, const std::filesystem::path& destination) {
    try {
        MediaMetadataInspector().exportPrivacyCopy(source, destination);
    } catch (const FileSanitizerError& error) {
        return error.errorCase();
    }
    ADD_FAILURE() << source << " was exported";
    return FileSanitizerError::Case::verificationFailed;
}

// What exiftool finds that would identify a person, a place, a device or a moment. The zero
// dates a muxer writes into its headers say nothing.
std::vector<std::string> personalTags(const std::filesystem::path& file) {
    static const char* const words[] = {"GPS",   "Make",    "Model",   "Software", "Title",   "Artist",
                                        "Album", "Comment", "Encoder", "Location", "Chapter", "Cover"};
    std::vector<std::string> found;
    for (const auto& tag : velquor::testing::exiftoolTags(file)) {
        if (tag.rfind("\"System:", 0) == 0) continue;
        const auto name = tag.substr(0, tag.find("\":"));
        bool personal = std::any_of(std::begin(words), std::end(words),
                                    [&](const char* word) { return name.find(word) != std::string::npos; });
        personal = personal ||
                   (name.find("Date") != std::string::npos && tag.find("0000:00:00 00:00:00") == std::string::npos);
        if (personal) found.push_back(tag);
    }
    return found;
}

struct RoundTrip {
    const char* label;
    std::filesystem::path (*make)(const MediaFixtures&);
    const char* copyName;
    std::size_t copiedStreams;
};

void PrintTo(const RoundTrip& c, std::ostream* out) { *out << c.label; }

class MediaPrivacyCopy : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(MediaPrivacyCopy, LeavesNoMetadataAndTheSameMedia) {
    const auto& c = GetParam();
    const TemporaryDirectory directory;
    const auto source = c.make(MediaFixtures(directory));
    const auto copy = directory.path() / c.copyName;
    ASSERT_TRUE(MediaMetadataInspector().inspect(source).containsPersonalMetadata());
    ASSERT_FALSE(personalTags(source).empty());

    MediaMetadataInspector().exportPrivacyCopy(source, copy);

    const auto report = MediaMetadataInspector().inspect(copy);
    EXPECT_FALSE(report.containsPersonalMetadata());
    for (const auto& e : report.entries) {
        EXPECT_EQ(e.section, u"Media");
        EXPECT_NE(e.name, u"artwork");
        EXPECT_NE(e.name, u"Timed metadata tracks");
    }
    EXPECT_THAT(personalTags(copy), ::testing::IsEmpty());
    EXPECT_EQ(velquor::testing::packetChecksums(copy), velquor::testing::packetChecksums(source));

    // Same streams with the same durations, less the data streams and cover art.
    const auto sourceStreams = lines(velquor::testing::streamSummary(source));
    const auto copyStreams = lines(velquor::testing::streamSummary(copy));
    ASSERT_EQ(copyStreams.size(), c.copiedStreams + 1);
    for (const auto& line : copyStreams) EXPECT_THAT(sourceStreams, ::testing::Contains(line));
    EXPECT_EQ(copyStreams.back(), sourceStreams.back());
    EXPECT_TRUE(hiddenFiles(directory.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MediaPrivacyCopy,
    ::testing::Values(RoundTrip{"mp4", [](const MediaFixtures& f) { return f.taggedMp4(); }, "copy.mp4", 2},
                      RoundTrip{"mov", [](const MediaFixtures& f) { return f.cameraMov(); }, "copy.mov", 2},
                      RoundTrip{"m4a", [](const MediaFixtures& f) { return f.albumM4a(); }, "copy.m4a", 1},
                      RoundTrip{"m4v",
                                [](const MediaFixtures& f) {
                                    const auto file = f.taggedMp4();
                                    std::filesystem::rename(file, f.directory() / "tagged.m4v");
                                    return f.directory() / "tagged.m4v";
                                },
                                "copy.m4v", 2}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MediaPrivacyCopyDetails, KeepsTheRotationOfTheVideo) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory).cameraMov();
    const auto copy = directory.path() / "camera-privacy.mov";
    MediaMetadataInspector().exportPrivacyCopy(source, copy);
    const auto rotation = velquor::testing::videoRotation(source);
    EXPECT_THAT(rotation, ::testing::AnyOf("90", "-90"));
    EXPECT_EQ(velquor::testing::videoRotation(copy), rotation);
}

TEST(MediaPrivacyCopyDetails, DropsChapters) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory).albumM4a();
    const auto copy = directory.path() / "album-privacy.m4a";
    MediaMetadataInspector().exportPrivacyCopy(source, copy);
    const auto chapters = [](const std::filesystem::path& file) {
        return velquor::testing::toolOutput("/usr/bin/ffprobe",
                                            {"-v", "error", "-show_chapters", "-of", "csv=p=0", file.string()});
    };
    EXPECT_THAT(chapters(source), HasSubstr("Intro at home"));
    EXPECT_EQ(chapters(copy), "");
}

TEST(MediaPrivacyCopyDetails, AudioThatIsOnlyInspectedIsNotExported) {
    const TemporaryDirectory directory;
    const MediaFixtures fixtures(directory);
    for (const char* name : {"song.mp3", "memo.wav", "memo.aiff"}) {
        const auto source = fixtures.audio(name, {"title=Voice memo"});
        const auto copy = directory.path() / (std::string("copy-") + name);
        EXPECT_EQ(exportError(source, copy), FileSanitizerError::Case::unsupportedFile) << name;
        EXPECT_FALSE(std::filesystem::exists(copy)) << name;
        EXPECT_NO_THROW(inspectReport(source)) << name;
        EXPECT_FALSE(isExportable(source)) << name;
    }
}

TEST(MediaPrivacyCopyDetails, AFileOfOnlyDataStreamsCannotBeCopied) {
    const TemporaryDirectory directory;
    const MediaFixtures fixtures(directory);
    const auto camera = fixtures.cameraMov();
    const auto timecodeOnly = fixtures.make("timecode.mov", {"-i", camera.string(), "-map", "0:d", "-c", "copy"});
    ASSERT_THAT(velquor::testing::streamSummary(timecodeOnly), HasSubstr("data"));
    EXPECT_EQ(exportError(timecodeOnly, directory.path() / "copy.mov"), FileSanitizerError::Case::exportFailed);
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "copy.mov"));
    EXPECT_TRUE(hiddenFiles(directory.path()).empty());
}

TEST(MediaPrivacyCopyDetails, NeverReplacesAnything) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory).taggedMp4();
    const auto taken = directory.write("taken.mp4", "keep me");
    EXPECT_EQ(exportError(source, taken), FileSanitizerError::Case::destinationExists);
    EXPECT_EQ(velquor::testing::toolOutput("/usr/bin/cat", {taken.string()}), "keep me");
    std::filesystem::create_symlink(directory.path() / "nowhere.mp4", directory.path() / "link.mp4");
    EXPECT_EQ(exportError(source, directory.path() / "link.mp4"), FileSanitizerError::Case::destinationExists);
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "nowhere.mp4"));
}

// Its index comes first and promises samples that the file no longer holds: a copy would lose
// the end of the recording without a word.
TEST(MediaPrivacyCopyDetails, ATruncatedFileIsUnreadableAndLeavesNothing) {
    const TemporaryDirectory directory;
    const MediaFixtures fixtures(directory);
    const auto plain = fixtures.plainMp4();
    const auto streamable =
        fixtures.make("streamable.mp4", {"-i", plain.string(), "-c", "copy", "-movflags", "faststart"});
    const auto size = std::filesystem::file_size(streamable);
    std::filesystem::resize_file(streamable, size * 2 / 3);
    ASSERT_NO_THROW(MediaMetadataInspector().inspect(streamable));

    EXPECT_EQ(exportError(streamable, directory.path() / "copy.mp4"), FileSanitizerError::Case::unreadableFile);
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "copy.mp4"));
    EXPECT_TRUE(hiddenFiles(directory.path()).empty());
}

TEST(MediaPrivacyCopyDetails, TheRegistryDispatchesMedia) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory).cameraMov();
    EXPECT_TRUE(isInspectable(source));
    EXPECT_TRUE(isExportable(source));
    EXPECT_TRUE(inspectReport(source).containsLocation());
    createPrivacyCopy(source, directory.path() / "camera-privacy.mov");
    EXPECT_FALSE(inspectReport(directory.path() / "camera-privacy.mov").containsPersonalMetadata());
}

TEST(MediaCommandLine, InspectsAndExportsAudioAndVideo) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory).taggedMp4();

    const auto inspected = velquor::testing::runChild(VELQUOR_CLI_PATH, {"file", "inspect", source.string()});
    EXPECT_EQ(inspected.exitStatus, 1);
    EXPECT_THAT(inspected.out, HasSubstr("Type: MPEG-4 movie"));
    EXPECT_THAT(inspected.out, HasSubstr("Personal metadata: yes, including a location"));
    EXPECT_THAT(inspected.out, HasSubstr("  title: Beach walk\n"));
    EXPECT_THAT(inspected.out, HasSubstr("  Duration: 1.0 seconds\n"));

    const auto json = velquor::testing::runChild(VELQUOR_CLI_PATH, {"file", "inspect", source.string(), "--json"});
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_THAT(json.out, HasSubstr("\"section\":\"Location\""));

    const auto exported = velquor::testing::runChild(VELQUOR_CLI_PATH, {"file", "export", source.string()});
    EXPECT_EQ(exported.exitStatus, 0) << exported.err;
    EXPECT_EQ(exported.out, (directory.path() / "tagged-privacy.mp4").string() + "\n");
    const auto copy = velquor::testing::runChild(VELQUOR_CLI_PATH,
                                                 {"file", "inspect", exported.out.substr(0, exported.out.size() - 1)});
    EXPECT_EQ(copy.exitStatus, 0);
    EXPECT_THAT(copy.out, HasSubstr("Personal metadata: none found"));
}

TEST(MediaCommandLine, ExplainsWhatItCannotDo) {
    const TemporaryDirectory directory;
    const auto garbage = directory.write("broken.mp4", std::string(1000, 'x'));
    const auto inspected = velquor::testing::runChild(VELQUOR_CLI_PATH, {"file", "inspect", garbage.string()});
    EXPECT_EQ(inspected.exitStatus, 2);
    EXPECT_EQ(inspected.out, "");
    EXPECT_EQ(inspected.err, "The file could not be read.\n");

    const auto song = MediaFixtures(directory).audio("song.mp3", {"title=x"});
    const auto exported = velquor::testing::runChild(VELQUOR_CLI_PATH, {"file", "export", song.string()});
    EXPECT_EQ(exported.exitStatus, 2);
    EXPECT_THAT(exported.err, HasSubstr("Only common images, SVG, PDF, audio/video"));
}

}  // namespace
}  // namespace velquor::files
