// Every image family end to end: a file made by real tools with personal metadata, its privacy
// copy, our own re-inspection, an independent one by exiftool, and the decoded pixels.
#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/files/image/WebpChunks.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ReportRows.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

namespace velquor::files {
namespace {

namespace fs = std::filesystem;
using namespace velquor::testing;

enum class PixelCheck { decoded, animatedWebpFrames, isoMediaImageItem };

struct Family {
    const char* name;
    std::function<fs::path(const fs::path& directory)> make;
    std::size_t frames;
    bool keepsOrientation;
    PixelCheck check;
};

// What exiftool must never find in a privacy copy.
void expectNoPersonalTags(const fs::path& copy) {
    static const std::regex personalGroup(
        R"(^(GPS|XMP.*|IPTC|ExifIFD|MakerNotes|IFD1|Photoshop|JUMBF|C2PA|PNG-tIME):)");
    static const std::regex personalName(
        R"(:(.*GPS.*|Make|Model|Artist|Author|Creator|Copyright|(Image)?Description|(User|XP)?Comment|Software|)"
        R"(Parameters|Prompt|)"
        R"(Title|DateTime.*|.*Thumbnail.*|Keywords|By-line|Warning|Error)$)");
    for (const auto& [tag, value] : exiftoolTags(copy)) {
        EXPECT_FALSE(std::regex_search(tag, personalGroup)) << copy.filename() << " " << tag << " = " << value;
        EXPECT_FALSE(std::regex_search(tag, personalName)) << copy.filename() << " " << tag << " = " << value;
    }
}

// Loop counts and frame delays, by entry id and value.
std::vector<std::pair<std::u16string, std::u16string>> animationTiming(const FileMetadataReport& report) {
    std::vector<std::pair<std::u16string, std::u16string>> timing;
    for (const auto& entry : report.entries) {
        if (entry.name.find(u"DelayTime") != std::u16string::npos || entry.name == u"LoopCount") {
            timing.emplace_back(entry.id, entry.value);
        }
    }
    return timing;
}

std::vector<Bytes> animationFrames(const Bytes& webp) {
    std::vector<Bytes> frames;
    for (const auto& chunk : readRiffChunks(webp, 12, webpBodyEnd(webp)).chunks) {
        if (chunk.fourcc == "ANMF") frames.emplace_back(chunk.payload.begin(), chunk.payload.end());
    }
    return frames;
}

// The image item's bytes as exiftool locates them: the copy must hold them unchanged.
void expectSameImageItem(const fs::path& source, const fs::path& copy) {
    const auto listing = runTool("/usr/bin/exiftool", {"-v3", source.string()});
    std::smatch item;
    ASSERT_TRUE(std::regex_search(listing, item, std::regex(R"(Item (\d+)\) '(?:av01|hvc1)')")));
    std::smatch place;
    ASSERT_TRUE(
        std::regex_search(listing, place,
                          std::regex("Item " + item[1].str() +
                                     R"(: const_meth=\S* base=0x([0-9a-f]+) offset=0x([0-9a-f]+) len=0x([0-9a-f]+))")));
    const auto offset = std::stoul(place[1], nullptr, 16) + std::stoul(place[2], nullptr, 16);
    const auto length = std::stoul(place[3], nullptr, 16);
    const auto original = readBytes(source), copied = readBytes(copy);
    ASSERT_EQ(original.size(), copied.size());
    ASSERT_LE(offset + length, original.size());
    EXPECT_TRUE(std::equal(original.begin() + offset, original.begin() + offset + length, copied.begin() + offset));
    EXPECT_NE(original, copied);
}

TEST(ImageRoundTripTest, EveryFamilyLosesItsMetadataAndKeepsItsPixels) {
    const Family families[] = {
        {"JPEG with a thumbnail", jpegWithThumbnail, 1, true, PixelCheck::decoded},
        {"PNG with text chunks", pngWithTextChunks, 1, true, PixelCheck::decoded},
        {"animated PNG", animatedPng, 3, false, PixelCheck::decoded},
        {"animated GIF", animatedGif, 3, false, PixelCheck::decoded},
        {"WebP", taggedWebp, 1, true, PixelCheck::decoded},
        {"animated WebP", animatedWebp, 3, false, PixelCheck::animatedWebpFrames},
        {"TIFF", taggedTiff, 1, true, PixelCheck::decoded},
        {"AVIF", taggedAvif, 1, false, PixelCheck::isoMediaImageItem},
        {"phone HEIC", [](const fs::path& folder) { return phoneHeic(folder, "64x48"); }, 1, false,
         PixelCheck::isoMediaImageItem},
    };
    for (const auto& family : families) {
        SCOPED_TRACE(family.name);
        TemporaryDirectory directory;
        const auto source = family.make(directory.path());
        const auto before = inspectReport(source);
        ASSERT_TRUE(before.containsPersonalMetadata());
        ASSERT_FALSE(before.hasContentCredentialsSignal);

        const auto copy = directory.path() / ("copy" + source.extension().string());
        createPrivacyCopy(source, copy);

        const auto after = inspectReport(copy);
        EXPECT_FALSE(after.containsPersonalMetadata());
        EXPECT_FALSE(after.containsLocation());
        EXPECT_EQ(after.pixelSize, before.pixelSize);
        const auto* frames = entryWithId(after, u"frame-count");
        EXPECT_EQ(frames ? std::stoul(std::string(frames->value.begin(), frames->value.end())) : 1u, family.frames);
        EXPECT_EQ(animationTiming(after), animationTiming(before));
        if (family.frames > 1) {
            EXPECT_GE(animationTiming(after).size(), family.frames + 1) << "a loop count and delays";
        }
        if (family.keepsOrientation) {
            const auto* orientation = entryWithId(after, u"{TIFF}.Orientation");
            ASSERT_NE(orientation, nullptr);
            EXPECT_EQ(orientation->value, u"6");
        }
        expectNoPersonalTags(copy);

        switch (family.check) {
            case PixelCheck::decoded:
                EXPECT_EQ(decodedPixels(copy), decodedPixels(source));
                break;
            case PixelCheck::animatedWebpFrames: {
                const auto frameData = animationFrames(readBytes(source));
                EXPECT_EQ(frameData.size(), 3u);
                EXPECT_EQ(animationFrames(readBytes(copy)), frameData);
                break;
            }
            case PixelCheck::isoMediaImageItem:
                expectSameImageItem(source, copy);
                break;
        }
    }
}

// A phone photo keeps its Exif and XMP as items of the file, which Exiv2 alone does not read
// for every layout: the owner's place and name must show as they do for a JPEG.
TEST(ImageRoundTripTest, APhonePhotoListsItsPlaceAndOwner) {
    const std::pair<const char*, std::u16string> photos[] = {{"64x48", u"64 x 48"}, {"4100x3000", u"4100 x 3000"}};
    for (const auto& [size, pixels] : photos) {
        SCOPED_TRACE(size);
        TemporaryDirectory directory;
        const auto report = inspectReport(phoneHeic(directory.path(), size));
        EXPECT_TRUE(report.containsLocation());
        EXPECT_TRUE(report.containsPersonalMetadata());
        const auto rows = reportRows(report);
        for (const ReportRow& row :
             {ReportRow{u"Location", u"Latitude", u"51.5"}, ReportRow{u"Capture", u"Artist", u"Ann Example"}}) {
            EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
        }
        EXPECT_EQ(report.pixelSize, pixels);
    }
}

// Exiv2 alone sees nothing in such a file; the item walker finds the Exif the grid points to.
TEST(ImageRoundTripTest, APhotoStoredAsAGridListsItsPlaceAndOwnerAndItsCopyLosesThem) {
    TemporaryDirectory directory;
    const auto photo = gridHeic(directory.path());
    const auto rows = reportRows(inspectReport(photo));
    for (const ReportRow& row :
         {ReportRow{u"Location", u"Latitude", u"51.5"}, ReportRow{u"Capture", u"Artist", u"Ann Example"}}) {
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    }
    const auto copy = directory.path() / "grid-privacy.heic";
    createPrivacyCopy(photo, copy);
    const auto after = inspectReport(copy);
    EXPECT_FALSE(after.containsLocation());
    EXPECT_FALSE(after.containsPersonalMetadata());
}

}  // namespace
}  // namespace velquor::files
