#include "app/FilePreview.h"

#include "tests/app/FileWorkflowSupport.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>

namespace velquor::testing {
namespace {

namespace fs = std::filesystem;
using app::decodePreview;

Bytes bigEndian32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Bytes pngOf(std::uint32_t width, std::uint32_t height, std::uint8_t colourType, const Bytes& rows) {
    return joined({bytesOf(std::string_view("\x89PNG\r\n\x1A\n", 8)),
                   pngChunk("IHDR", joined({bigEndian32(width), bigEndian32(height), {8, colourType, 0, 0, 0}})),
                   pngChunk("IDAT", zlibCompressed(rows)), pngChunk("IEND", {})});
}

// A grey PNG of the given size whose rows are all zero.
Bytes greyPng(std::uint32_t width, std::uint32_t height) {
    return pngOf(width, height, 0, Bytes(static_cast<std::size_t>(width + 1) * height, 0));
}

// A PNG whose header declares a picture of four bytes a pixel that its data does not hold.
Bytes declaredRgbaPng(std::uint32_t width, std::uint32_t height) { return pngOf(width, height, 6, {0, 0}); }

class FilePreviewTest : public ::testing::Test {
protected:
    void SetUp() override { app::limitPreviewAllocations(); }
};

// A real JPEG whose frame header is rewritten to declare another size.
Bytes jpegDeclaring(const fs::path& folder, std::uint16_t width, std::uint16_t height) {
    auto bytes = readBytes(makeTestImage(folder / "small.jpg", "64x48", 1));
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = static_cast<std::uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<std::uint8_t>(height);
            bytes[i + 7] = static_cast<std::uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<std::uint8_t>(width);
            return bytes;
        }
    }
    throw std::runtime_error("no baseline frame header");
}

std::int64_t peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(FilePreviewTest, EveryRasterFamilyIsDecodedToFitThePreview) {
    TemporaryDirectory folder;
    const auto& root = folder.path();
    struct Case {
        const char* name;
        std::function<fs::path()> make;
        QSize size;
    };
    const std::vector<Case> cases{
        {"JPEG", [&] { return makeTestImage(root / "a.jpg", "320x240", 1); }, {320, 240}},
        {"PNG, scaled", [&] { return makeTestImage(root / "b.png", "2048x1536", 1); }, {1024, 768}},
        {"GIF", [&] { return makeTestImage(root / "c.gif", "64x48", 1); }, {64, 48}},
        {"WebP, scaled",
         [&] {
             return makeTestImage(root / "d.webp", "3000x1000", 1, {"-c:v", "libwebp"});
         },
         {1024, 341}},
        {"TIFF", [&] { return makeTestImage(root / "e.tiff", "64x48", 1); }, {64, 48}},
        {"upright by its orientation",
         [&] {
             const auto file = makeTestImage(root / "f.jpg", "64x48", 1);
             writeTags(file, {"-Orientation#=6"});
             return file;
         },
         {48, 64}},
        {"a line a pixel high",
         [&] {
             writeBytes(root / "g.png", greyPng(5000, 1));
             return root / "g.png";
         },
         {1024, 1}},
        {"named for another format",
         [&] {
             return makeTestImage(root / "h.gif", "64x48", 1, {"-f", "apng"});
         },
         {64, 48}},
        // 144 MB at full size, within the limit.
        {"a 36-megapixel PNG", [&] { return makeTestImage(root / "i.png", "6000x6000", 1); }, {1024, 1024}},
    };
    for (const auto& [name, make, size] : cases) {
        const auto preview = decodePreview(make());
        EXPECT_EQ(preview.size(), size) << name;
    }
}

TEST_F(FilePreviewTest, AHeaderDeclaringSixtyThousandSquaredPixelsAllocatesNothingAndHasNoPreview) {
    TemporaryDirectory folder;
    writeBytes(folder.path() / "huge.png", declaredRgbaPng(60'000, 60'000));
    writeBytes(folder.path() / "huge.jpg", jpegDeclaring(folder.path(), 60'000, 60'000));
    // Just past the limit: 8193 x 8192 pixels of four bytes each.
    writeBytes(folder.path() / "over.png", declaredRgbaPng(8193, 8192));

    const auto before = peakKilobytes();
    for (const char* name : {"huge.png", "huge.jpg", "over.png"}) {
        EXPECT_TRUE(decodePreview(folder.path() / name).isNull()) << name;
    }
    EXPECT_LT(peakKilobytes() - before, 16 * 1024) << "kilobytes at the peak";

    ModelFixture fixture;
    fixture.model.inspectFile(folder.path() / "huge.png");
    ASSERT_TRUE(waitForFiles(fixture.model));
    EXPECT_TRUE(fixture.model.originalPreview().isNull());
}

TEST_F(FilePreviewTest, WhatIsNoRasterImageOrNoRegularFileHasNoPreview) {
    TemporaryDirectory folder;
    const auto& root = folder.path();
    const auto svg =
        folder.write("drawing.png", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>");
    const auto xpm = folder.write(
        "icon.png", "/* XPM */\nstatic char *x[] = {\n\"2 2 1 1\",\n\". c #000000\",\n\"..\",\n\"..\"};\n");
    const auto text = folder.write("notes.jpg", "hello");
    const auto fifo = root / "pipe.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(root / "folder.png");

    // A FIFO would block a reader that opened it as a file until a writer came: none comes.
    for (const auto& file : {svg, xpm, text, fifo, root / "folder.png", root / "gone.png"}) {
        EXPECT_TRUE(decodePreview(file).isNull()) << file;
    }
}

}  // namespace
}  // namespace velquor::testing
