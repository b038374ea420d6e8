#include "core/files/FileSanitizerError.h"
#include "core/files/image/GifBlocks.h"
#include "core/files/image/ImageInspection.h"
#include "core/files/image/ImagePrivacyCopy.h"
#include "core/files/image/PngChunks.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ReportRows.h"

#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using testing::Bytes;
using testing::bytesOf;
using testing::entryWithId;
using testing::joined;
using testing::pngChunk;

Bytes compressed(const Bytes& data) { return testing::zlibCompressed(data); }

Bytes png(const std::vector<Bytes>& extra, const Bytes& afterEnd = {}) { return testing::tinyPng(extra, afterEnd); }

std::vector<std::string> chunkTypes(const Bytes& data) {
    std::vector<std::string> types;
    walkPngChunks(data, [&](const PngChunk& chunk) {
        types.emplace_back(chunk.type);
        return true;
    });
    return types;
}

TEST(PngContainerTest, EveryTextChunkIsListedUnderItsKeyword) {
    const Bytes data = png({
        pngChunk("tEXt", bytesOf(std::string_view("parameters\0steps: 20, seed: 42", 30))),
        pngChunk("zTXt", joined({bytesOf(std::string_view("prompt\0\0", 8)), compressed(bytesOf("a red fox"))})),
        pngChunk("iTXt", joined({bytesOf(std::string_view("Comment\0\x01\0en\0Kommentar\0", 23)),
                                 compressed(bytesOf("caf\xC3\xA9"))})),
        pngChunk("tEXt", bytesOf("no separator")),
        pngChunk("tEXt", bytesOf(std::string_view("Software\0caf\xE9", 13))),
    });
    const auto report = inspectImageData(data).report;
    const std::pair<std::u16string, std::u16string> expected[] = {
        {u"{PNG}.parameters", u"steps: 20, seed: 42"},
        {u"{PNG}.prompt", u"a red fox"},
        {u"{PNG}.Comment", u"caf\u00E9"},
        {u"{PNG}.tEXt", u"no separator"},
        {u"{PNG}.Software", u"caf\u00E9"},  // tEXt is Latin-1
    };
    for (const auto& [id, value] : expected) {
        const auto* entry = entryWithId(report, id);
        ASSERT_NE(entry, nullptr) << std::string(id.begin(), id.end());
        EXPECT_EQ(entry->value, value);
        EXPECT_EQ(entry->section, u"Description");
    }
    EXPECT_EQ(report.pixelSize, u"1 x 1");
}

TEST(PngContainerTest, CompressedTextCannotInflateWithoutBound) {
    const Bytes bomb(64 << 20, 'A');
    const Bytes data = png({pngChunk("zTXt", joined({bytesOf(std::string_view("Comment\0\0", 9)), compressed(bomb)}))});
    EXPECT_LT(data.size(), 200000u);
    const auto report = inspectImageData(data).report;
    const auto* entry = entryWithId(report, u"{PNG}.Comment");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->value.size(), std::size_t{4} << 20);
    EXPECT_EQ(inflateBounded(compressed(bytesOf("short")), 3), "sho");
    EXPECT_EQ(inflateBounded(bytesOf("not zlib"), 100), "");
}

TEST(PngPrivacyCopyTest, KeepsOnlyImageColourAndAnimationChunks) {
    const Bytes iccp = pngChunk("iCCP", joined({bytesOf(std::string_view("icc\0\0", 5)), compressed(Bytes(128, 0))}));
    const Bytes data =
        png({pngChunk("gAMA", {0, 0, 0xB1, 0x8F}), pngChunk("tEXt", bytesOf("Author")), pngChunk("eXIf", bytesOf("MM")),
             pngChunk("tIME", Bytes(7, 1)), pngChunk("caBx", {1}), pngChunk("vpAg", Bytes(9, 0)), iccp},
            bytesOf("appended after IEND"));
    const auto copy = pngPrivacyCopy(data, std::nullopt);
    EXPECT_EQ(chunkTypes(copy), (std::vector<std::string>{"IHDR", "gAMA", "iCCP", "IDAT", "IEND"}));
    EXPECT_EQ(copy, png({pngChunk("gAMA", {0, 0, 0xB1, 0x8F}), iccp}));

    const auto oriented = pngPrivacyCopy(data, std::uint16_t{3});
    EXPECT_EQ(chunkTypes(oriented), (std::vector<std::string>{"IHDR", "eXIf", "gAMA", "iCCP", "IDAT", "IEND"}));
    const auto inspection = inspectImageData(oriented);
    EXPECT_EQ(inspection.orientation, 3);
    EXPECT_FALSE(inspection.report.containsPersonalMetadata());
}

TEST(PngPrivacyCopyTest, ChunksThatDoNotFitAreRefused) {
    Bytes truncated = png({pngChunk("tEXt", bytesOf("x"))});
    truncated.resize(truncated.size() - 20);
    Bytes lying = png({});
    lying[33] = 0x7F;  // the IDAT length
    for (const auto& data : {truncated, lying}) {
        EXPECT_THROW(pngPrivacyCopy(data, std::nullopt), FileSanitizerError);
    }
}

Bytes gifBlock(std::initializer_list<std::uint8_t> bytes) { return Bytes(bytes); }

// A 1 x 1 GIF with a two-colour global table, a loop count and the given blocks before its image.
Bytes gif(const std::vector<Bytes>& blocks, bool trailer = true) {
    Bytes out = bytesOf("GIF89a");
    out = joined({out, {1, 0, 1, 0, 0x80, 0, 0}, {0, 0, 0, 255, 255, 255}});
    out = joined({out, bytesOf("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x05"), {0, 0}});
    for (const auto& block : blocks) out = joined({out, block});
    out = joined({out, {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0}});
    if (trailer) out.push_back(0x3B);
    return out;
}

TEST(GifContainerTest, CommentsDelaysAndLoopCountAreListed) {
    const Bytes comment = joined({{0x21, 0xFE, 5}, bytesOf("hello"), {3}, bytesOf(" me"), {0}});
    const Bytes control = gifBlock({0x21, 0xF9, 4, 0, 7, 0, 0, 0});
    const auto report = inspectImageData(gif({comment, control})).report;
    const std::pair<std::u16string, std::u16string> expected[] = {{u"{GIF}.Comment", u"hello me"},
                                                                  {u"{GIF}.LoopCount", u"5"},
                                                                  {u"{GIF}.DelayTime", u"0.07"},
                                                                  {u"{GIF}.UnclampedDelayTime", u"0.07"}};
    for (const auto& [id, value] : expected) {
        const auto* entry = entryWithId(report, id);
        ASSERT_NE(entry, nullptr) << std::string(id.begin(), id.end());
        EXPECT_EQ(entry->value, value);
    }
    EXPECT_TRUE(report.containsPersonalMetadata());
}

TEST(GifPrivacyCopyTest, KeepsImagesControlsAndLoopAndDropsTextAndApplicationData) {
    const Bytes control = gifBlock({0x21, 0xF9, 4, 0, 7, 0, 0, 0});
    const Bytes comment = joined({{0x21, 0xFE, 2}, bytesOf("hi"), {0}});
    const Bytes other = joined({{0x21, 0xFF, 11}, bytesOf("MGK8BIM0000"), {2, 1, 2, 0}});
    // A graphic control block that belongs to a plain-text graphic must not move to the image.
    const Bytes plainText =
        joined({gifBlock({0x21, 0xF9, 4, 0, 99, 0, 0, 0}), {0x21, 0x01, 12}, Bytes(12, 0), {2}, bytesOf("hi"), {0}});
    const auto copy = gifPrivacyCopy(gif({comment, plainText, other, control}));
    EXPECT_EQ(copy, gif({control}));
    EXPECT_EQ(gifPrivacyCopy(gif({control}, false)), gif({control})) << "a missing trailer is added";
}

TEST(GifPrivacyCopyTest, DamagedBlocksAreRefusedButStillInspected) {
    Bytes damaged = gif({joined({{0x21, 0xFE, 40}, bytesOf("short")})}, false);
    damaged.resize(damaged.size() - 15);
    EXPECT_TRUE(walkGifBlocks(damaged, [](const GifBlock&) { return true; }).damaged);
    EXPECT_THROW(gifPrivacyCopy(damaged), FileSanitizerError);
    EXPECT_THROW(gifPrivacyCopy(bytesOf("GIF89a")), FileSanitizerError);
}

}  // namespace
}  // namespace velquor::files
