#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImageFormat.h"
#include "core/files/image/ImageInspection.h"
#include "core/files/image/ImagePrivacyCopy.h"
#include "core/files/image/TiffStructure.h"
#include "core/files/image/WebpChunks.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using testing::Bytes;
using testing::bytesOf;
using testing::errorOf;
using testing::joined;
using testing::littleEndian16;
using testing::littleEndian32;
using testing::riffChunk;
using testing::webpFile;

TEST(WebpPrivacyCopyTest, AnimationKeepsFramesTimingAndLoopAndLosesEverythingElse) {
    const Bytes vp8x{0x2E, 0, 0, 0, 9, 0, 0, 9, 0, 0};  // ICC, alpha, EXIF, XMP and animation flags
    const Bytes anim = joined({littleEndian32(0xFFFFFFFF), littleEndian16(3)});
    const Bytes frameHeader = joined({Bytes(9, 0), Bytes{0xE8, 0x03, 0}, Bytes{0, 0, 0, 0}});  // 1000 ms
    const Bytes image = riffChunk("VP8L", Bytes(7, 0x2F));
    const Bytes source = webpFile(
        joined({riffChunk("VP8X", vp8x), riffChunk("ICCP", Bytes(5, 1)), riffChunk("ANIM", anim),
                riffChunk("ANMF", joined({frameHeader, riffChunk("XYZW", bytesOf("junk")), image})),
                riffChunk("ANMF", joined({frameHeader, riffChunk("ALPH", {1, 2, 3}), image})),
                riffChunk("EXIF", bytesOf("MM\0*")), riffChunk("XMP ", bytesOf("<x/>")), riffChunk("C2PX", {1})}));
    const Bytes cleanHeader{0x22, 0, 0, 0, 9, 0, 0, 9, 0, 0};
    const Bytes expected =
        webpFile(joined({riffChunk("VP8X", cleanHeader), riffChunk("ICCP", Bytes(5, 1)), riffChunk("ANIM", anim),
                         riffChunk("ANMF", joined({frameHeader, image})),
                         riffChunk("ANMF", joined({frameHeader, riffChunk("ALPH", {1, 2, 3}), image}))}));
    EXPECT_EQ(webpPrivacyCopy(joined({source, bytesOf("trailing bytes")}), std::nullopt), expected);
}

TEST(WebpPrivacyCopyTest, SimpleFilesStaySimpleAndDamagedOnesAreRefused) {
    const Bytes simple = webpFile(riffChunk("VP8L", Bytes(9, 1)));
    EXPECT_EQ(webpPrivacyCopy(simple, std::uint16_t{6}), simple) << "no EXIF without the extended header";
    Bytes lying = simple;
    lying[16] = 0xFF;  // the VP8L size
    EXPECT_THROW(webpPrivacyCopy(lying, std::nullopt), FileSanitizerError);
    EXPECT_THROW(webpPrivacyCopy(webpFile({}), std::nullopt), FileSanitizerError);
    EXPECT_THROW(webpPrivacyCopy(webpFile(riffChunk("XMP ", bytesOf("<x/>"))), std::nullopt), FileSanitizerError)
        << "a copy without any image data";
    EXPECT_THROW(privacyCopyBytes(ImageFormat::webp, testing::tinyPng(), std::nullopt), FileSanitizerError)
        << "bytes of another format";
}

// A little-endian TIFF with one 2 x 1 grey strip, the given extra entries and the next-page pointer.
struct TiffBuilder {
    std::vector<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t, Bytes>> entries;
    std::uint32_t nextPage = 0;
    std::uint32_t stripOffset = 8;

    Bytes build() const {
        Bytes out = joined({bytesOf(std::string_view("II*\0", 4)), littleEndian32(10), {0x11, 0x22}});
        std::vector<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t, Bytes>> all = entries;
        all.push_back({256, 3, 1, littleEndian16(2)});
        all.push_back({257, 3, 1, littleEndian16(1)});
        all.push_back({262, 3, 1, littleEndian16(1)});
        all.push_back({273, 4, 1, littleEndian32(stripOffset)});
        all.push_back({279, 4, 1, littleEndian32(2)});
        std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
        const std::size_t valuesAt = 10 + 2 + all.size() * 12 + 4;
        Bytes directory = littleEndian16(static_cast<std::uint16_t>(all.size())), values;
        for (const auto& [tag, type, count, value] : all) {
            directory = joined({directory, littleEndian16(tag), littleEndian16(type), littleEndian32(count)});
            if (value.size() <= 4) {
                Bytes inlined = value;
                inlined.resize(4, 0);
                directory = joined({directory, inlined});
            } else {
                directory = joined({directory, littleEndian32(static_cast<std::uint32_t>(valuesAt + values.size()))});
                values = joined({values, value});
            }
        }
        return joined({out, directory, littleEndian32(nextPage), values});
    }
};

TEST(TiffPrivacyCopyTest, KeepsStripsAndLayoutTagsAndDropsDescriptions) {
    TiffBuilder builder;
    builder.entries = {{271, 2, 6, bytesOf(std::string_view("Canon\0", 6))},
                       {270, 2, 12, bytesOf(std::string_view("my holiday\0\0", 12))},
                       {274, 3, 1, littleEndian16(8)},
                       {34853, 4, 1, littleEndian32(8)}};
    const auto copy = tiffPrivacyCopy(builder.build());
    const auto layout = readTiffLayout(copy);
    ASSERT_TRUE(layout && layout->complete);
    ASSERT_EQ(layout->pages.size(), 1u);
    std::vector<std::uint16_t> tags;
    for (const auto& entry : layout->pages[0].entries) tags.push_back(entry.tag);
    EXPECT_EQ(tags, (std::vector<std::uint16_t>{256, 257, 262, 273, 274, 279}));
    const auto offsets = layout->unsignedValues(*layout->pages[0].find(273));
    ASSERT_TRUE(offsets && offsets->size() == 1);
    EXPECT_EQ(copy[offsets->front()], 0x11);
    EXPECT_EQ(copy[offsets->front() + 1], 0x22);
}

TEST(TiffStructureTest, HostileDirectoriesEndTheWalkOrTheCopy) {
    TiffBuilder cyclic;
    cyclic.nextPage = 10;  // points back at the first directory
    const auto layout = readTiffLayout(cyclic.build());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->pages.size(), 1u);

    TiffBuilder pastTheEnd;
    pastTheEnd.stripOffset = 0xFFFFFFF0;
    EXPECT_THROW(tiffPrivacyCopy(pastTheEnd.build()), FileSanitizerError);

    TiffBuilder hugeValue;
    hugeValue.entries = {{270, 2, 0x40000000, littleEndian32(8)}};  // a gigabyte of description
    const auto huge = readTiffLayout(hugeValue.build());
    ASSERT_TRUE(huge);
    EXPECT_FALSE(huge->pages[0].find(270)->value);
    EXPECT_NO_THROW(tiffPrivacyCopy(hugeValue.build())) << "a dropped tag may be damaged";

    TiffBuilder oldJpeg;
    oldJpeg.entries = {{259, 3, 1, littleEndian16(6)}};
    EXPECT_THROW(tiffPrivacyCopy(oldJpeg.build()), FileSanitizerError);
    EXPECT_FALSE(readTiffLayout(bytesOf(std::string_view("II+\0\x08\0\0\0", 8)))) << "BigTIFF";
}

TEST(ImageFormatTest, ContentDecidesTheFormatWhateverTheName) {
    const auto ftyp = [](std::string_view major, std::string_view compatible) {
        return joined({{0, 0, 0, 20}, bytesOf("ftyp"), bytesOf(major), {0, 0, 0, 0}, bytesOf(compatible)});
    };
    const std::pair<Bytes, std::optional<ImageFormat>> cases[] = {
        {{0xFF, 0xD8, 0xFF, 0xE0}, ImageFormat::jpeg},
        {{0xFF, 0xD8, 0x00}, std::nullopt},
        {testing::tinyPng(), ImageFormat::png},
        {bytesOf("GIF87a...."), ImageFormat::gif},
        {joined({bytesOf("RIFF"), littleEndian32(4), bytesOf("WEBP")}), ImageFormat::webp},
        {joined({bytesOf("RIFF"), littleEndian32(4), bytesOf("WAVE")}), std::nullopt},
        {bytesOf(std::string_view("MM\0*\0\0\0\x08", 8)), ImageFormat::tiff},
        {ftyp("heic", "mif1"), ImageFormat::heic},
        {ftyp("mif1", "heic"), ImageFormat::heic},
        {ftyp("mif1", "miaf"), ImageFormat::heif},
        {ftyp("mif1", "avif"), ImageFormat::avif},
        {ftyp("isom", "mp42"), std::nullopt},
        {bytesOf("%PDF-1.7"), std::nullopt},
    };
    for (const auto& [data, format] : cases) EXPECT_EQ(sniffImageFormat(data), format);
    EXPECT_EQ(uniformType(ImageFormat::heic).description, u"HEIC image");
}

TEST(IsoMediaPrivacyCopyTest, ItemsThatCannotBeLocatedAreUnreadableMetadata) {
    const Bytes exif = joined({{0, 0, 0, 6}, bytesOf(std::string_view("Exif\0\0", 6)), Bytes(26, 0)});
    const auto outside = testing::heicWithExifItem(exif, 0x10000);
    EXPECT_EQ(sniffImageFormat(outside), ImageFormat::heic);
    EXPECT_EQ(errorOf([&] { isoMediaPrivacyCopy(outside); }), FileSanitizerError::Case::unreadableFile);
    const auto inspected = inspectImageData(outside).report;
    ASSERT_EQ(inspected.entries.size(), 1u);
    EXPECT_EQ(inspected.entries.front().id, unreadableMetadataEntryId);
    EXPECT_TRUE(inspected.containsPersonalMetadata());

    // A payload whose offset leads past its end, or that Exiv2 cannot decode, is located: it is
    // unreadable, and the copy empties it.
    for (const Bytes& payload : {Bytes{0, 0, 1, 0, 'M', 'M'}, joined({{0, 0, 0, 0}, bytesOf("not a TIFF header")})}) {
        const auto file = testing::heicWithExifItem(payload);
        EXPECT_EQ(inspectImageData(file).report.entries.front().id, unreadableMetadataEntryId);
        EXPECT_TRUE(inspectImageData(isoMediaPrivacyCopy(file)).report.entries.empty());
    }
}

}  // namespace
}  // namespace velquor::files
