#include "core/files/media/MediaMetadataInspector.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TemporaryDirectory.h"

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

// What exiftool finds that would identify a person, a place, a device or a moment. The zero
// dates a muxer writes into its headers say nothing.
std::vector<std::string> personalTags(const std::filesystem::path& file) {
    static const char* const words[] = {"GPS",   "Make",    "Model",   "Software", "Title",   "Artist",
                                        "Album", "Comment", "Encoder", "Location", "Chapter", "Cover"};
    std::vector<std::string> found;
    for (const auto& [name, value] : velquor::testing::exiftoolTags(file)) {
        if (name.starts_with("System:")) continue;
        bool personal = std::any_of(std::begin(words), std::end(words),
                                    [&](const char* word) { return name.find(word) != std::string::npos; });
        personal = personal ||
                   (name.find("Date") != std::string::npos && value.find("0000:00:00 00:00:00") == std::string::npos);
        if (personal) found.push_back(name + " = " + value);
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
    const auto source = c.make(MediaFixtures(directory.path()));
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
}

// The export type follows the extension in any letter case.
INSTANTIATE_TEST_SUITE_P(
    Fixtures, MediaPrivacyCopy,
    ::testing::Values(RoundTrip{"mp4", [](const MediaFixtures& f) { return f.taggedMp4(); }, "copy.mp4", 2},
                      RoundTrip{"mov", [](const MediaFixtures& f) { return f.cameraMov(); }, "copy.mov", 2},
                      RoundTrip{"m4a", [](const MediaFixtures& f) { return f.albumM4a(); }, "copy.m4a", 1},
                      RoundTrip{"m4v",
                                [](const MediaFixtures& f) {
                                    const auto file = f.taggedMp4();
                                    std::filesystem::rename(file, f.folder() / "tagged.M4V");
                                    return f.folder() / "tagged.M4V";
                                },
                                "copy.m4v", 2}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MediaPrivacyCopyDetails, KeepsTheRotationOfTheVideo) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory.path()).cameraMov();
    const auto copy = directory.path() / "camera-privacy.mov";
    MediaMetadataInspector().exportPrivacyCopy(source, copy);
    const auto rotation = velquor::testing::videoRotation(source);
    EXPECT_THAT(rotation, ::testing::AnyOf("90", "-90"));
    EXPECT_EQ(velquor::testing::videoRotation(copy), rotation);
}

TEST(MediaPrivacyCopyDetails, DropsChapters) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory.path()).albumM4a();
    const auto copy = directory.path() / "album-privacy.m4a";
    MediaMetadataInspector().exportPrivacyCopy(source, copy);
    const auto chapters = [](const std::filesystem::path& file) {
        return velquor::testing::runTool("/usr/bin/ffprobe",
                                         {"-v", "error", "-show_chapters", "-of", "csv=p=0", file.string()});
    };
    EXPECT_THAT(chapters(source), HasSubstr("Intro at home"));
    EXPECT_EQ(chapters(copy), "");
}

}  // namespace
}  // namespace velquor::files
