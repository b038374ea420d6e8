#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaInspection.h"
#include "core/files/media/MediaMetadataInspector.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace velquor::files {
namespace {

using ::testing::Contains;
using ::testing::Field;
using velquor::testing::MediaFixtures;
using velquor::testing::TemporaryDirectory;

MATCHER_P(BeginsWith, prefix, "") {
    return std::u16string_view(arg).substr(0, std::u16string_view(prefix).size()) == prefix;
}

template <class NameMatcher, class ValueMatcher>
auto entry(std::u16string_view section, NameMatcher name, ValueMatcher value) {
    return ::testing::AllOf(Field(&FileMetadataEntry::section, section), Field(&FileMetadataEntry::name, name),
                            Field(&FileMetadataEntry::value, value));
}

std::vector<std::u16string> valuesNamed(const FileMetadataReport& report, std::u16string_view name) {
    std::vector<std::u16string> values;
    for (const auto& e : report.entries) {
        if (e.name == name) values.push_back(e.value);
    }
    return values;
}

std::optional<FileSanitizerError::Case> inspectionError(const std::filesystem::path& file) {
    return velquor::testing::errorOf([&] { MediaMetadataInspector().inspect(file); });
}

TEST(MediaInspection, ListsTheTagsOfAnMp4BySection) {
    const TemporaryDirectory directory;
    const auto file = MediaFixtures(directory.path()).taggedMp4();
    const auto report = MediaMetadataInspector().inspect(file);

    EXPECT_EQ(report.fileName, u"tagged.mp4");
    EXPECT_EQ(report.typeDescription, u"MPEG-4 movie");
    EXPECT_EQ(report.byteCount, static_cast<std::int64_t>(std::filesystem::file_size(file)));
    EXPECT_FALSE(report.pixelSize);
    EXPECT_FALSE(report.hasContentCredentialsSignal);
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"title", u"Beach walk")));
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"artist", u"Jane Roe")));
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"comment", u"for the family only")));
    EXPECT_THAT(report.entries, Contains(entry(u"Location", u"location", u"+48.8584+002.2945/")));
    EXPECT_THAT(report.entries, Contains(entry(u"Media", u"Duration", u"1.0 seconds")));
    EXPECT_THAT(report.entries, Contains(entry(u"Capture", u"creation time", BeginsWith(u"2021-05-01T10:00:00"))));
    EXPECT_THAT(report.entries, Contains(entry(u"Capture", u"encoder", BeginsWith(u"Lavf"))));
    EXPECT_TRUE(report.containsLocation());
    EXPECT_TRUE(report.containsPersonalMetadata());
    EXPECT_TRUE(valuesNamed(report, u"Timed metadata tracks").empty());
}

TEST(MediaInspection, OneEntryPerIdInReportOrder) {
    const TemporaryDirectory directory;
    const auto report = MediaMetadataInspector().inspect(MediaFixtures(directory.path()).taggedMp4());
    // Both streams carry the language "und": one entry.
    EXPECT_EQ(valuesNamed(report, u"language"), std::vector<std::u16string>{u"und"});
    for (std::size_t i = 1; i < report.entries.size(); ++i) {
        EXPECT_LE(report.entries[i - 1].section, report.entries[i].section);
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(report.entries[i].id, report.entries[j].id);
    }
}

TEST(MediaInspection, ReadsQuickTimeKeysAndCountsTimedMetadataTracks) {
    const TemporaryDirectory directory;
    const auto report = MediaMetadataInspector().inspect(MediaFixtures(directory.path()).cameraMov());
    EXPECT_EQ(report.typeDescription, u"QuickTime movie");
    EXPECT_THAT(report.entries, Contains(entry(u"Location", u"location.ISO6709", u"+48.8584+002.2945+035.000/")));
    EXPECT_THAT(report.entries, Contains(entry(u"Capture", u"make", u"Acme")));
    EXPECT_THAT(report.entries, Contains(entry(u"Capture", u"model", u"Acme X100")));
    EXPECT_THAT(report.entries, Contains(entry(u"Capture", u"software", u"CamOS 2.1")));
    EXPECT_THAT(report.entries, Contains(entry(u"Capture", u"creationdate", u"2021-05-01T10:00:00+0200")));
    EXPECT_THAT(report.entries, Contains(entry(u"Media", u"Timed metadata tracks", u"1")));
}

TEST(MediaInspection, ReadsChapterTitlesAndCoverArt) {
    const TemporaryDirectory directory;
    const auto report = MediaMetadataInspector().inspect(MediaFixtures(directory.path()).albumM4a());
    EXPECT_EQ(report.typeDescription, u"MPEG-4 audio");
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"album", u"Summer tapes")));
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"title", u"Our song")));
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"title", u"Intro at home")));
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"title", u"Second verse")));
    const auto artwork = valuesNamed(report, u"artwork");
    ASSERT_EQ(artwork.size(), 1u);
    EXPECT_TRUE(artwork.front().ends_with(u" bytes"));
}

struct AudioCase {
    const char* name;
    std::u16string_view typeDescription;
};

TEST(MediaInspection, ReadsTagsOfAudioFiles) {
    const TemporaryDirectory directory;
    const MediaFixtures fixtures(directory.path());
    for (const auto& c : {AudioCase{"song.mp3", u"MP3 audio"}, AudioCase{"memo.wav", u"Waveform audio"},
                          AudioCase{"memo.aiff", u"AIFF audio"}, AudioCase{"memo.aif", u"AIFF audio"},
                          AudioCase{"song.flac", u"FLAC audio"}, AudioCase{"memo.avi", u"AVI movie"}}) {
        const auto report = MediaMetadataInspector().inspect(fixtures.audio(c.name, {"title=Voice memo", "artist=Me"}));
        EXPECT_EQ(report.typeDescription, c.typeDescription) << c.name;
        EXPECT_THAT(report.entries, Contains(entry(u"Description", u"title", u"Voice memo"))) << c.name;
        EXPECT_THAT(report.entries, Contains(entry(u"Media", u"Duration", u"2.0 seconds"))) << c.name;
    }
}

struct FamilyCase {
    const char* name;
    std::u16string_view typeDescription;
    bool hasCoverArt;
};

void PrintTo(const FamilyCase& c, std::ostream* out) { *out << c.name; }

class MediaFamilyInspection : public ::testing::TestWithParam<FamilyCase> {};

// What ffmpeg wrote, each family in its own tags, reads as the same rows.
TEST_P(MediaFamilyInspection, ListsTheTagsAndTheCoverArtOfEachFamily) {
    const auto& c = GetParam();
    const TemporaryDirectory directory;
    const auto report = MediaMetadataInspector().inspect(MediaFixtures(directory.path()).tagged(c.name));
    EXPECT_EQ(report.typeDescription, c.typeDescription);
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"title", u"Beach walk")));
    EXPECT_THAT(report.entries, Contains(Field(&FileMetadataEntry::value, u"Jane Roe")));
    EXPECT_THAT(report.entries, Contains(Field(&FileMetadataEntry::value, u"for the family only")));
    // Matroska writes its tag names in capitals.
    EXPECT_THAT(
        report.entries,
        Contains(entry(u"Capture", ::testing::AnyOf(std::u16string(u"date"), std::u16string(u"DATE")), u"2021-05-01")));
    EXPECT_THAT(report.entries, Contains(entry(u"Media", u"Duration", BeginsWith(u"1."))));
    EXPECT_EQ(valuesNamed(report, u"artwork").size(), c.hasCoverArt ? 1u : 0u);
    EXPECT_TRUE(report.containsPersonalMetadata());
}

INSTANTIATE_TEST_SUITE_P(
    Families, MediaFamilyInspection,
    ::testing::Values(FamilyCase{"song.mp3", u"MP3 audio", true}, FamilyCase{"memo.wav", u"Waveform audio", false},
                      FamilyCase{"memo.aiff", u"AIFF audio", true}, FamilyCase{"song.flac", u"FLAC audio", true},
                      FamilyCase{"song.aac", u"AAC audio", false}, FamilyCase{"song.ogg", u"Ogg audio", true},
                      FamilyCase{"memo.opus", u"Opus audio", true}, FamilyCase{"clip.mkv", u"Matroska video", true},
                      FamilyCase{"clip.webm", u"WebM video", false}, FamilyCase{"clip.avi", u"AVI movie", false},
                      FamilyCase{"clip.wmv", u"Windows Media video", false},
                      FamilyCase{"song.wma", u"Windows Media audio", false}),
    [](const auto& info) {
        const std::string name = info.param.name;
        return name.substr(name.find('.') + 1);
    });

// The same streams under the names of the family's other extensions.
TEST(MediaInspection, ReadsEveryExtensionOfTheNewFamilies) {
    const TemporaryDirectory directory;
    const MediaFixtures fixtures(directory.path());
    const std::pair<const char*, const char*> renames[] = {
        {"a.ogg", "a.oga"}, {"b.mkv", "b.mka"}, {"c.wmv", "c.asf"}, {"d.opus", "d.ogg"}, {"e.webm", "e.mkv"}};
    for (const auto& [made, renamed] : renames) {
        const auto file = fixtures.tagged(made);
        std::filesystem::rename(file, directory.path() / renamed);
        const auto report = MediaMetadataInspector().inspect(directory.path() / renamed);
        EXPECT_THAT(report.entries, Contains(entry(u"Description", u"title", u"Beach walk"))) << renamed;
    }
}

TEST(MediaInspection, ListsMatroskaAttachmentsAndTrackTags) {
    const TemporaryDirectory directory;
    const auto report = MediaMetadataInspector().inspect(MediaFixtures(directory.path()).tagged("clip.mkv"));
    EXPECT_THAT(report.entries, Contains(entry(u"Media", u"attachment", u"notes.txt, 45 bytes")));
    EXPECT_THAT(report.entries, Contains(entry(u"Media", u"filename", u"notes.txt")));
    EXPECT_THAT(report.entries, Contains(entry(u"Media", u"mimetype", u"text/plain")));
    EXPECT_THAT(report.entries, Contains(entry(u"Capture", u"ENCODER", BeginsWith(u"Lavc"))));
}

TEST(MediaInspection, AnEmptyRecordingHasNoDuration) {
    const TemporaryDirectory directory;
    const auto file =
        MediaFixtures(directory.path())
            .make("empty.wav", {"-f", "lavfi", "-i", "sine=duration=1", "-t", "0", "-metadata", "title=Nothing yet"});
    const auto report = MediaMetadataInspector().inspect(file);
    EXPECT_THAT(report.entries, Contains(entry(u"Description", u"title", u"Nothing yet")));
    EXPECT_TRUE(valuesNamed(report, u"Duration").empty());
}

TEST(MediaInspection, BytesInMemoryReadLikeTheFile) {
    const TemporaryDirectory directory;
    const auto file = MediaFixtures(directory.path()).cameraMov();
    const auto bytes = velquor::testing::readFile(file);
    const auto fromMemory =
        inspectMediaSource(mediaBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}), "x.mov");
    EXPECT_EQ(fromMemory.entries, MediaMetadataInspector().inspect(file).entries);
    EXPECT_EQ(fromMemory.streams, (MediaStreamCounts{.audio = 1, .video = 1, .data = 1}));
}

// None of these may crash, hang or open anything else: each is simply unreadable.
TEST(MediaInspection, HostileAndDamagedFilesAreUnreadable) {
    const TemporaryDirectory directory;
    const MediaFixtures fixtures(directory.path());
    const auto movie = velquor::testing::readFile(fixtures.plainMp4());  // its index comes last
    std::string garbage(4096, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919u) >> 3);
    const std::pair<const char*, std::string> files[] = {
        {"empty.mp4", ""},
        {"garbage.mp4", garbage},
        {"truncated.mp4", movie.substr(0, movie.size() / 2)},
        {"header-only.mov", movie.substr(0, 32)},
        {"text.mp3", "Dear diary, this is not a song.\n"},
        // A playlist and a concatenation list would read other files if their readers were allowed.
        {"playlist.mp4", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nplain.mp4\n#EXT-X-ENDLIST\n"},
        {"list.mov", "ffconcat version 1.0\nfile plain.mp4\n"},
    };
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(inspectionError(directory.write(name, bytes)), FileSanitizerError::Case::unreadableFile) << name;
    }
    const auto png = fixtures.make("picture.png", {"-f", "lavfi", "-i", "color=c=blue:s=8x8", "-frames:v", "1"});
    std::filesystem::rename(png, directory.path() / "picture.mp4");
    EXPECT_EQ(inspectionError(directory.path() / "picture.mp4"), FileSanitizerError::Case::unreadableFile);
}

// Garbage, and the first bytes of a real file, under every family's name.
TEST(MediaInspection, GarbageAndBareHeadersOfEveryFamilyAreUnreadable) {
    const TemporaryDirectory directory;
    const MediaFixtures fixtures(directory.path());
    std::string garbage(4096, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919u) >> 3);
    for (const auto& extension : MediaFixtures::taggedExtensions()) {
        const auto made = velquor::testing::readFile(fixtures.tagged("made." + extension));
        EXPECT_EQ(inspectionError(directory.write("garbage." + extension, garbage)),
                  FileSanitizerError::Case::unreadableFile)
            << extension;
        EXPECT_EQ(inspectionError(directory.write("header." + extension, made.substr(0, 12))),
                  FileSanitizerError::Case::unreadableFile)
            << extension;
    }
}

TEST(MediaInspection, ThingsThatAreNotRegularFilesAreUnreadable) {
    const TemporaryDirectory directory;
    std::filesystem::create_directory(directory.path() / "folder.mp4");
    ASSERT_EQ(::mkfifo((directory.path() / "pipe.mp4").c_str(), 0600), 0);
    EXPECT_EQ(inspectionError(directory.path() / "folder.mp4"), FileSanitizerError::Case::unreadableFile);
    EXPECT_EQ(inspectionError(directory.path() / "pipe.mp4"), FileSanitizerError::Case::unreadableFile);
    EXPECT_EQ(inspectionError(directory.path() / "missing.mp4"), FileSanitizerError::Case::unreadableFile);
    EXPECT_EQ(inspectionError(directory.path() / "clip.mts"), FileSanitizerError::Case::unsupportedFile);
}

TEST(MediaInspection, StopsAtItsDeadline) {
    const TemporaryDirectory directory;
    const auto file = MediaFixtures(directory.path()).plainMp4();
    const MediaDeadline passed(std::chrono::seconds(0));
    EXPECT_EQ(velquor::testing::errorOf([&] { AvFormatInput(openMediaFile(file), "plain.mp4", passed); }),
              FileSanitizerError::Case::unreadableFile);
}

}  // namespace
}  // namespace velquor::files
