// Animations far longer than anyone watches: the report lists the first frames and sums up the
// rest, the walk stops at its cap, and the privacy copy still keeps every frame, delay and loop.
#include "core/files/image/GifBlocks.h"
#include "core/files/image/ImageContainer.h"
#include "core/files/image/ImageInspection.h"
#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/files/image/PngChunks.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ReportRows.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>
#include <string>

namespace velquor::files {
namespace {

namespace fs = std::filesystem;
using namespace velquor::testing;

struct Animation {
    const char* name;
    std::function<Bytes(std::size_t frames)> make;
    std::u16string group;
    // What a player shows for a delay of the given hundredths: GIF shows the shortest as 0.1 s.
    double (*shownSeconds)(std::uint16_t hundredths);
};

void PrintTo(const Animation& animation, std::ostream* out) { *out << animation.name; }

double gifShown(std::uint16_t hundredths) { return hundredths <= 1 ? 0.1 : hundredths / 100.0; }
double pngShown(std::uint16_t hundredths) { return hundredths / 100.0; }

const Animation animations[] = {
    {"gif", [](std::size_t frames) { return longAnimatedGif(frames, 3); }, u"{GIF}", gifShown},
    {"png", [](std::size_t frames) { return longAnimatedPng(frames, 3); }, u"{PNG}", pngShown},
};

// The delay of every frame in the file, in hundredths, read straight from its blocks or chunks.
std::vector<std::uint16_t> everyDelay(const Bytes& data) {
    std::vector<std::uint16_t> delays;
    if (sniffImageFormat(data) == ImageFormat::gif) {
        walkGifBlocks(data, [&](const GifBlock& block) {
            if (block.kind == GifBlock::Kind::graphicControl) {
                delays.push_back(static_cast<std::uint16_t>(data[block.begin + 4] | data[block.begin + 5] << 8));
            }
            return true;
        });
        return delays;
    }
    walkPngChunks(data, [&](const PngChunk& chunk) {
        if (chunk.type == "fcTL")
            delays.push_back(static_cast<std::uint16_t>(chunk.payload[20] << 8 | chunk.payload[21]));
        return true;
    });
    return delays;
}

std::vector<std::uint16_t> expectedDelays(std::size_t frames) {
    std::vector<std::uint16_t> delays(frames);
    for (std::size_t i = 0; i < frames; ++i) delays[i] = longAnimationDelay(i);
    return delays;
}

std::u16string decimal(std::size_t value) {
    const auto text = std::to_string(value);
    return {text.begin(), text.end()};
}

std::u16string entryValue(const FileMetadataReport& report, std::u16string_view id) {
    const auto* entry = entryWithId(report, id);
    return entry == nullptr ? u"(none)" : entry->value;
}

std::u16string secondsOfUnlistedFrames(const Animation& animation, std::size_t frames) {
    double total = 0;
    for (std::size_t i = listedFrameLimit; i < frames; ++i) total += animation.shownSeconds(longAnimationDelay(i));
    const auto rounded = std::to_string(std::round(total * 100) / 100);
    auto text = rounded.substr(0, rounded.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return std::u16string(text.begin(), text.end()) + u" seconds";
}

class LongAnimationTest : public ::testing::TestWithParam<Animation> {};

TEST_P(LongAnimationTest, FirstFramesAreListedAndTheRestSummedUp) {
    const auto& animation = GetParam();
    const auto inspection = inspectImageData(animation.make(20));
    const auto& report = inspection.report;
    EXPECT_EQ(inspection.frameCount, 20u);
    EXPECT_FALSE(inspection.frameWalkStopped);
    for (std::size_t frame = 1; frame <= listedFrameLimit; ++frame) {
        EXPECT_NE(entryWithId(report, u"Frame " + decimal(frame) + u"." + animation.group + u".DelayTime"), nullptr)
            << frame;
    }
    EXPECT_EQ(entryWithId(report, u"Frame 9." + animation.group + u".DelayTime"), nullptr);
    EXPECT_EQ(entryValue(report, u"later-frames"), u"12 frames, " + secondsOfUnlistedFrames(animation, 20));
    EXPECT_EQ(entryValue(report, u"frame-count"), u"20");
    EXPECT_EQ(entryWithId(report, u"frame-walk-limit"), nullptr);
    EXPECT_FALSE(report.containsPersonalMetadata());

    const auto nine = inspectImageData(animation.make(listedFrameLimit + 1)).report;
    EXPECT_EQ(entryValue(nine, u"later-frames"), u"1 frame, " + secondsOfUnlistedFrames(animation, 9));
    EXPECT_EQ(entryWithId(inspectImageData(animation.make(listedFrameLimit)).report, u"later-frames"), nullptr);
}

TEST_P(LongAnimationTest, TheWalkStopsAtItsCapAndSaysSo) {
    const auto& animation = GetParam();
    const auto data = animation.make(walkedFrameLimit + 5);
    const auto inspection = inspectImageData(data);
    const auto& report = inspection.report;
    EXPECT_EQ(inspection.frameCount, walkedFrameLimit);
    EXPECT_TRUE(inspection.frameWalkStopped);
    EXPECT_EQ(entryValue(report, u"frame-count"), decimal(walkedFrameLimit));
    EXPECT_EQ(entryValue(report, u"frame-walk-limit"), u"Only the first 100000 frames were read");
    EXPECT_EQ(entryValue(report, u"later-frames"), decimal(walkedFrameLimit - listedFrameLimit) + u" frames, " +
                                                       secondsOfUnlistedFrames(animation, walkedFrameLimit));
    EXPECT_LT(report.entries.size(), 40u);
    EXPECT_EQ(fullFrameCount(inspection.format, data), walkedFrameLimit + 5);
}

// Twice the cap: the copy must still hold all of it, which the inspection alone cannot tell.
TEST_P(LongAnimationTest, ThePrivacyCopyKeepsEveryFrameDelayAndLoop) {
    const auto& animation = GetParam();
    const std::size_t frames = 2 * walkedFrameLimit;
    TemporaryDirectory directory;
    const auto source = directory.path() / (std::string("long.") + animation.name);
    const auto copy = directory.path() / (std::string("long-privacy.") + animation.name);
    writeBytes(source, animation.make(frames));
    ImagePrivacySanitizer().exportPrivacyCopy(source, copy);

    const auto written = readBytes(copy);
    EXPECT_EQ(everyDelay(written), expectedDelays(frames));
    const auto inspection = inspectImageData(written);
    EXPECT_EQ(entryValue(inspection.report, u"Frame 1." + animation.group + u".LoopCount"), u"3");
    EXPECT_EQ(fullFrameCount(inspection.format, written), frames);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 2);
}

INSTANTIATE_TEST_SUITE_P(Formats, LongAnimationTest, ::testing::ValuesIn(animations),
                         [](const auto& info) { return std::string(info.param.name); });

// Outside oracles for the copy of twice the cap: exiftool counts the GIF's frames and sums its
// delays, ffmpeg decodes every frame of the APNG.
TEST(LongAnimationOracleTest, ToolsFindEveryFrameInTheCopies) {
    const std::size_t frames = 2 * walkedFrameLimit;
    TemporaryDirectory directory;
    const auto gif = directory.path() / "long.gif";
    const auto png = directory.path() / "long.png";
    writeBytes(gif, longAnimatedGif(frames, 3));
    writeBytes(png, longAnimatedPng(frames, 3));
    const ImagePrivacySanitizer sanitizer;
    sanitizer.exportPrivacyCopy(gif, directory.path() / "gif-privacy.gif");
    sanitizer.exportPrivacyCopy(png, directory.path() / "png-privacy.png");

    const auto hundredths = expectedDelays(frames);
    const auto total = std::accumulate(hundredths.begin(), hundredths.end(), std::size_t{0});
    const auto gifTags = runTool("/usr/bin/exiftool", {"-s3", "-n", "-FrameCount", "-Duration",
                                                       (directory.path() / "gif-privacy.gif").string()});
    EXPECT_EQ(gifTags, std::to_string(frames) + "\n" + std::to_string(total / 100) + "." +
                           std::to_string(total % 100 / 10) + std::to_string(total % 10) + "\n");
    const auto decoded = runTool("/usr/bin/ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0",
                                                      "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0",
                                                      (directory.path() / "png-privacy.png").string()});
    EXPECT_EQ(decoded, std::to_string(frames) + "\n");
}

}  // namespace
}  // namespace velquor::files
