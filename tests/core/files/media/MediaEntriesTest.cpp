#include "core/files/media/MediaEntries.h"
#include "core/files/media/MediaInspection.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

namespace velquor::files {
namespace {

struct NamingCase {
    std::u16string_view rawKey;
    std::u16string_view name;
    std::u16string_view section;
};

std::string ascii(std::u16string_view text) {
    std::string out;
    for (const char16_t unit : text) out.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return out;
}

void PrintTo(const NamingCase& c, std::ostream* out) { *out << '"' << ascii(c.rawKey) << '"'; }

class MediaEntryNaming : public ::testing::TestWithParam<NamingCase> {};

TEST_P(MediaEntryNaming, NameAndSectionFollowTheKey) {
    const auto& c = GetParam();
    const auto entry = mediaEntry(c.rawKey, u"value");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, c.name);
    EXPECT_EQ(entry->section, c.section);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MediaEntryNaming,
    ::testing::Values(
        // Key space prefixes go, separators become spaces; the keys a camera and a muxer write
        // are read from real files in MediaMetadataInspectorTest.
        NamingCase{u"com.apple.quicktime.camera.lens_model", u"camera.lens model", u"Capture"},
        NamingCase{u"mdta/com.apple.quicktime.make", u"make", u"Capture"}, NamingCase{u"id3/TPE4", u"TPE4", u"Media"},
        // ID3v2 frames with a common key, as raw AAC reports them.
        NamingCase{u"TIT2", u"title", u"Description"}, NamingCase{u"TSSE", u"encoder", u"Capture"},
        NamingCase{u"TPE4", u"TPE4", u"Media"}, NamingCase{u"itsk/gps_altitude", u"gps altitude", u"Location"},
        NamingCase{u"location-eng", u"location eng", u"Location"},
        // Capture words in any letter case; "too" is the QuickTime encoding-tool key.
        NamingCase{u"Software", u"Software", u"Capture"}, NamingCase{u"\u00A9too", u"\u00A9too", u"Capture"},
        // The recording date that libavformat reports under its plain key.
        NamingCase{u"date", u"date", u"Capture"},
        // A location word wins over a capture word.
        NamingCase{u"location_model", u"location model", u"Location"},
        // Personal names, then description words.
        NamingCase{u"source", u"source", u"Description"},
        NamingCase{u"copyright-eng", u"copyright eng", u"Description"},
        // Everything else is about the media, near misses of the words included.
        NamingCase{u"major_brand", u"major brand", u"Media"}, NamingCase{u"timecode", u"timecode", u"Media"},
        NamingCase{u"", u"Metadata", u"Media"}),
    [](const auto& info) {
        std::string label;
        for (const char c : ascii(info.param.name)) {
            if (std::isalnum(static_cast<unsigned char>(c))) label.push_back(c);
        }
        return label + "_" + std::to_string(info.index);
    });

TEST(MediaEntry, AnEmptyValueMakesNoEntry) { EXPECT_FALSE(mediaEntry(u"title", u"")); }

TEST(MediaEntry, IdsTellApartValuesAndKeysButNotRepeats) {
    const auto title = mediaEntry(u"title", u"Beach walk");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->id, mediaEntry(u"title", u"Beach walk")->id);
    EXPECT_NE(title->id, mediaEntry(u"title", u"Beach walk 2")->id);
    EXPECT_NE(title->id, mediaEntry(u"comment", u"Beach walk")->id);
    EXPECT_EQ(title->id.rfind(u"title-", 0), 0u);
}

TEST(MediaEntry, ValuesAreKeptAsTheyAre) {
    const std::u16string value = u"  Jane \u00D8stergaard \U0001F3B5 ";
    EXPECT_EQ(mediaEntry(u"artist", value)->value, value);
}

TEST(MediaDuration, HasOneDecimal) {
    EXPECT_EQ(durationText(83.26), u"83.3 seconds");
    EXPECT_EQ(durationText(1.0), u"1.0 seconds");
    EXPECT_EQ(durationText(0.04), u"0.0 seconds");
    EXPECT_EQ(durationText(86400.0 * 365 * 1000), u"31536000000.0 seconds");
}

}  // namespace
}  // namespace velquor::files
