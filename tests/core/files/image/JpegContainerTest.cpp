#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImageInspection.h"
#include "core/files/image/ImagePrivacyCopy.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using testing::Bytes;
using testing::bytesOf;
using testing::joined;
using testing::jpegSegment;

const Bytes soi{0xFF, 0xD8};
const Bytes eoi{0xFF, 0xD9};
const Bytes scan = jpegSegment(0xDA, {1, 1, 0, 0, 0x3F, 0});
// Entropy-coded data holding a stuffed 0xFF, a restart marker and the bytes FF D8 after stuffing.
const Bytes entropy{0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56, 0xFF, 0x00, 0xD8, 0x78};

TEST(JpegPreviewScanTest, OnlyApplicationSegmentsBeforeTheScanCount) {
    const Bytes exifWithThumbnail =
        jpegSegment(0xE1, joined({bytesOf(std::string_view("Exif\0\0", 6)), {0xFF, 0xD8, 0xFF}}));
    const struct {
        const char* name;
        Bytes data;
        bool found;
    } cases[] = {
        {"thumbnail in APP1", joined({soi, exifWithThumbnail, scan, entropy, eoi}), true},
        {"preview in APP2 (MPF)",
         joined({soi, jpegSegment(0xE2, joined({bytesOf("MPF"), {0, 0xFF, 0xD8}})), scan, eoi}), true},
        {"FF D8 inside the compressed data", joined({soi, scan, {0xFF, 0xD8, 0xFF, 0xD8}, eoi}), false},
        {"segment after the scan", joined({soi, scan, entropy, exifWithThumbnail, eoi}), false},
        {"ICC profile bytes",
         joined({soi, jpegSegment(0xE2, joined({bytesOf(std::string_view("ICC_PROFILE\0", 12)), {1, 1, 0xFF, 0xD8}})),
                 scan, eoi}),
         false},
        {"quantization table values 255 and 216", joined({soi, jpegSegment(0xDB, {0, 0xFF, 0xD8}), scan, eoi}), false},
        {"length past the end", joined({soi, {0xFF, 0xE1, 0x7F, 0xFF, 0xFF, 0xD8}}), false},
        {"length below two", joined({soi, {0xFF, 0xE1, 0x00, 0x01, 0xFF, 0xD8, 0, 0}}), false},
        {"not a JPEG", joined({{0xFF, 0xD9}, exifWithThumbnail}), false},
    };
    for (const auto& c : cases) EXPECT_EQ(hasEmbeddedJpegPreview(c.data), c.found) << c.name;
}

TEST(JpegPrivacyCopyTest, KeepsImageSegmentsByteForByteAndNothingElse) {
    const Bytes jfifWithThumbnail =
        joined({bytesOf(std::string_view("JFIF\0", 5)), {1, 2, 1, 0, 72, 0, 72, 2, 1}, Bytes(6, 0xAB)});
    const Bytes icc = joined({bytesOf(std::string_view("ICC_PROFILE\0", 12)), {1, 1, 9, 9}});
    const Bytes adobe = joined({bytesOf("Adobe"), {0, 100, 0, 0, 0, 0, 1}});
    const Bytes quantization = jpegSegment(0xDB, Bytes(65, 3));
    const Bytes frame = jpegSegment(0xC0, {8, 0, 1, 0, 1, 1, 1, 0x11, 0});
    const Bytes huffman = jpegSegment(0xC4, Bytes(20, 1));
    const Bytes source =
        joined({soi, jpegSegment(0xE0, jfifWithThumbnail), jpegSegment(0xE1, bytesOf("Exif\0\0MM")),
                jpegSegment(0xE1, bytesOf("http://ns.adobe.com/xap/1.0/\0<x/>")), jpegSegment(0xE2, icc),
                jpegSegment(0xED, bytesOf("Photoshop 3.0")), jpegSegment(0xEE, adobe),
                jpegSegment(0xFE, bytesOf("taken at home")), quantization, frame, huffman, scan, entropy,
                // A progressive file's second scan, with a comment between the scans.
                jpegSegment(0xFE, bytesOf("between")), huffman, scan, entropy, eoi,
                bytesOf("maker trailer after the end of the image")});

    const Bytes jfif =
        jpegSegment(0xE0, joined({bytesOf(std::string_view("JFIF\0", 5)), {1, 2, 1, 0, 72, 0, 72, 0, 0}}));
    const Bytes body = joined({jpegSegment(0xE2, icc), jpegSegment(0xEE, adobe), quantization, frame, huffman, scan,
                               entropy, huffman, scan, entropy, eoi});
    EXPECT_EQ(jpegPrivacyCopy(source, std::nullopt), joined({soi, jfif, body}));

    const Bytes orientation = jpegSegment(0xE1, joined({bytesOf(std::string_view("Exif\0\0MM\0*\0\0\0\x08\0\x01", 16)),
                                                        {0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(jpegPrivacyCopy(source, std::uint16_t{6}), joined({soi, jfif, orientation, body}));
    EXPECT_EQ(jpegPrivacyCopy(source, std::uint16_t{9}), joined({soi, jfif, body})) << "no invalid orientation";
}

TEST(JpegPrivacyCopyTest, TruncatedDataIsClosedAndDamagedHeadersAreRefused) {
    const Bytes frame = jpegSegment(0xC0, {8, 0, 1, 0, 1, 1, 1, 0x11, 0});
    EXPECT_EQ(jpegPrivacyCopy(joined({soi, frame, scan, entropy}), std::nullopt),
              joined({soi, frame, scan, entropy, eoi}));

    const Bytes refused[] = {
        joined({soi, frame, eoi}),                           // no scan at all
        joined({soi, {0xFF, 0xE1, 0x40, 0x00, 1, 2, 3}}),    // a segment that runs past the end
        joined({soi, {0xFF, 0xDB, 0x00, 0x01}, scan, eoi}),  // a length below two
        bytesOf("not a jpeg"),
    };
    for (const auto& data : refused) {
        EXPECT_EQ(testing::errorOf([&] { jpegPrivacyCopy(data, std::nullopt); }),
                  FileSanitizerError::Case::exportFailed);
    }
}

}  // namespace
}  // namespace velquor::files
