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

// What exiftool finds that would identify a person, a place, a device, a program or a moment.
// The zero dates a muxer writes into its headers and empty values say nothing.
std::vector<std::string> personalTags(const std::filesystem::path& file) {
    static const char* const words[] = {"GPS",     "Make",  "Model",    "Software",        "Title",
                                        "Artist",  "Album", "Comment",  "Encoder",         "Location",
                                        "Chapter", "Cover", "Picture",  "Author",          "Originator",
                                        "History", "App",   "Attached", "EncodingSettings"};
    // Tags whose names also appear in harmless ones (HandlerDescription, HandlerVendorID).
    static const char* const names[] = {"Name", "Vendor", "Description", "Annotation", "Copyright"};
    std::vector<std::string> found;
    for (const auto& [name, value] : velquor::testing::exiftoolTags(file)) {
        if (name.starts_with("System:") || value == "\"\"") continue;
        const auto tag = name.substr(name.find(':') + 1);
        const auto matches = [&](const char* word) { return tag.find(word) != std::string::npos; };
        bool personal = std::any_of(std::begin(words), std::end(words), matches) ||
                        std::find(std::begin(names), std::end(names), tag) != std::end(names);
        personal = personal ||
                   (tag.find("Date") != std::string::npos && value.find("0000:00:00 00:00:00") == std::string::npos);
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

class FamilyPrivacyCopy : public ::testing::TestWithParam<std::string> {};

// Every family as ffmpeg writes it with tags and cover art: the copy keeps the same packets and
// decodes to the same pictures and sound, and neither our inspection, nor exiftool, nor ffprobe
// finds any tag in it.
TEST_P(FamilyPrivacyCopy, KeepsTheMediaAndNothingElse) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory.path()).tagged("tagged." + GetParam());
    const auto copy = directory.path() / ("copy." + GetParam());
    ASSERT_FALSE(personalTags(source).empty());

    MediaMetadataInspector().exportPrivacyCopy(source, copy);

    const auto report = MediaMetadataInspector().inspect(copy);
    for (const auto& e : report.entries) EXPECT_EQ(e.section, u"Media") << std::string(e.name.begin(), e.name.end());
    EXPECT_THAT(personalTags(copy), ::testing::IsEmpty());
    EXPECT_THAT(velquor::testing::containerTags(copy), ::testing::IsEmpty());
    EXPECT_EQ(velquor::testing::packetChecksums(copy), velquor::testing::packetChecksums(source));
    EXPECT_EQ(velquor::testing::decodedChecksums(copy), velquor::testing::decodedChecksums(source));
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyPrivacyCopy, ::testing::ValuesIn(MediaFixtures::taggedExtensions()),
                         [](const auto& info) { return info.param; });

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
