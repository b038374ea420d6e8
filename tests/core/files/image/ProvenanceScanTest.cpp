#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/files/image/ProvenanceScan.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <random>

namespace velquor::files {
namespace {

using testing::Bytes;
using testing::bytesOf;
using testing::joined;
using testing::jpegSegment;
using testing::pngChunk;
using testing::riffChunk;
using testing::TemporaryDirectory;
using testing::webpFile;

const Bytes pngSignature = bytesOf(std::string_view("\x89PNG\r\n\x1A\n", 8));
const Bytes c2paUUID{0x63, 0x32, 0x70, 0x61, 0x00, 0x11, 0x00, 0x10, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

enum class Expect { nothing, png, jpeg, webp, possible };

TEST(ProvenanceScanTest, ContainersAreConfirmedByTheirByteRulesAndTextOnlyHints) {
    const Bytes ihdr = pngChunk("IHDR", Bytes(13, 0));
    const Bytes soi{0xFF, 0xD8};
    const Bytes sos = jpegSegment(0xDA, Bytes(8, 0));
    const struct {
        const char* name;
        Bytes data;
        Expect expect;
    } cases[] = {
        {"empty", {}, Expect::nothing},
        {"one byte", {0x89}, Expect::nothing},
        {"PNG caBX third", joined({pngSignature, ihdr, pngChunk("tEXt", bytesOf("a\0b")), pngChunk("caBX", {1, 2})}),
         Expect::png},
        {"PNG cabx is no container", joined({pngSignature, ihdr, pngChunk("cabx", {1, 2})}), Expect::nothing},
        {"PNG chunk past the end, text later",
         joined({pngSignature, {0x7F, 0xFF, 0xFF, 0xFF}, bytesOf("caBX"), bytesOf(" jumbf")}), Expect::possible},
        {"JPEG APP11 with the UUID", joined({soi, jpegSegment(0xEB, joined({bytesOf("JP"), c2paUUID})), sos}),
         Expect::jpeg},
        {"JPEG APP11 with JUMB and C2PA in capitals", joined({soi, jpegSegment(0xEB, bytesOf("JUMB....C2PA")), sos}),
         Expect::jpeg},
        {"JPEG APP11 with only c2pa", joined({soi, jpegSegment(0xEB, bytesOf("c2pa only")), sos}), Expect::possible},
        {"JPEG XMP that mentions c2pa",
         joined({soi, jpegSegment(0xE1, bytesOf("http://ns.adobe.com/xap/1.0/ c2pa")), sos}), Expect::possible},
        {"JPEG APP11 after the scan", joined({soi, sos, jpegSegment(0xEB, joined({c2paUUID, bytesOf("jumb")}))}),
         Expect::possible},
        // The container walk stops, but the UUID itself starts with the text "c2pa".
        {"JPEG segment past the end", joined({soi, {0xFF, 0xEB, 0xFF, 0xFF}, c2paUUID}), Expect::possible},
        {"WebP C2PA after odd chunks",
         webpFile(
             joined({riffChunk("VP8L", Bytes(5, 1)), riffChunk("XYZW", Bytes(3, 2)), riffChunk("C2PA", Bytes(7, 3))})),
         Expect::webp},
        {"WebP lower-case c2pa chunk",
         webpFile(joined({riffChunk("VP8L", Bytes(5, 1)), riffChunk("c2pa", Bytes(2, 0))})), Expect::possible},
        {"WebP chunk past the end", webpFile(joined({bytesOf("C2PA"), {0xFF, 0xFF, 0xFF, 0x7F}})), Expect::possible},
        {"marker anywhere, any case", bytesOf("plain text with ConTentCredentials inside"), Expect::possible},
        {"marker with a space", bytesOf("xx content CREDENTIALS"), Expect::possible},
        {"near miss", bytesOf("content-credentials c2p jumb"), Expect::nothing},
    };
    for (const auto& c : cases) {
        const auto evidence = ImagePrivacySanitizer::provenanceEvidence(c.data);
        ASSERT_LE(evidence.size(), 1u) << c.name;
        if (c.expect == Expect::nothing) {
            EXPECT_TRUE(evidence.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(evidence.size(), 1u) << c.name;
        const auto& found = evidence.front();
        if (c.expect == Expect::possible) {
            EXPECT_EQ(found, (ProvenanceEvidence{ProvenanceConfidence::possible, u"Possible provenance reference",
                                                 u"Raw marker text without a recognized manifest container", false}))
                << c.name;
            continue;
        }
        const std::u16string detail = c.expect == Expect::png    ? u"PNG caBX manifest chunk"
                                      : c.expect == Expect::jpeg ? u"JPEG C2PA JUMBF data in APP11"
                                                                 : u"WebP C2PA manifest chunk";
        EXPECT_EQ(found, (ProvenanceEvidence{ProvenanceConfidence::confirmed, u"Content Credentials", detail, true}))
            << c.name;
    }
}

TEST(ProvenanceScanTest, AsciiComparisonFoldsOnlyLetters) {
    EXPECT_TRUE(containsASCII(bytesOf("xxJUMBFxx"), "jumbf"));
    EXPECT_FALSE(containsASCII(bytesOf("abc"), ""));
    EXPECT_FALSE(containsASCII(bytesOf("ab"), "abc"));
    EXPECT_FALSE(containsASCII(bytesOf("c\x12pa"), "c2pa"));  // 0x12 | 0x20 would be "2": digits are not folded
    EXPECT_FALSE(containsASCII(bytesOf("\xC3\xA9"), "\xE3\x89"));
    EXPECT_TRUE(containsASCII(bytesOf("C2PA"), "c2pa"));
}

// The skipping search finds exactly what sliding the pattern byte by byte finds, on data made of
// the patterns' own letters in both cases, where near misses and overlaps are everywhere.
TEST(ProvenanceScanTest, SkippingSearchMatchesTheSlidingComparison) {
    const auto slides = [](const Bytes& data, std::string_view pattern) {
        const auto fold = [](std::uint8_t byte) { return byte >= 'A' && byte <= 'Z' ? byte | 0x20 : byte; };
        for (std::size_t start = 0; start + pattern.size() <= data.size(); ++start) {
            std::size_t i = 0;
            while (i < pattern.size() && fold(data[start + i]) == fold(static_cast<std::uint8_t>(pattern[i]))) ++i;
            if (i == pattern.size()) return true;
        }
        return false;
    };
    const std::string_view alphabet = "c2paC2PAjumbfJUMBF ";
    const std::string_view patterns[] = {"c2pa", "jumbf", "contentcredentials", "Content Credentials", "aab", "pp"};
    std::minstd_rand random(7);
    for (int round = 0; round < 4000; ++round) {
        Bytes data(random() % 40);
        for (auto& byte : data) byte = static_cast<std::uint8_t>(alphabet[random() % alphabet.size()]);
        for (const auto pattern : patterns) {
            ASSERT_EQ(containsASCII(data, pattern), slides(data, pattern))
                << std::string(data.begin(), data.end()) << " / " << pattern;
        }
    }
}

TEST(ProvenanceScanTest, ContentCredentialsInAFileAreConfirmedEvidenceThatBlocksTheCopy) {
    TemporaryDirectory directory;
    for (const auto& source : {testing::pngWithContentCredentials(directory.path()),
                               testing::jpegWithContentCredentials(directory.path())}) {
        const auto report = ImagePrivacySanitizer().inspect(source);
        EXPECT_TRUE(report.hasContentCredentialsSignal) << source;
        ASSERT_EQ(report.provenanceEvidence.size(), 1u) << source;
        EXPECT_EQ(report.provenanceEvidence[0].confidence, ProvenanceConfidence::confirmed);
        EXPECT_TRUE(report.provenanceEvidence[0].blocksExport);
    }
}

TEST(ProvenanceScanTest, PossibleProvenanceOnlyInformsAndTheCopyLosesTheMarkerText) {
    TemporaryDirectory directory;
    const auto source = directory.path() / "hint.png";
    testing::writeBytes(
        source, testing::tinyPng({pngChunk("tEXt", bytesOf(std::string_view("Comment\0signed with c2pa", 24)))}));
    const auto report = ImagePrivacySanitizer().inspect(source);
    ASSERT_EQ(report.provenanceEvidence.size(), 1u);
    EXPECT_EQ(report.provenanceEvidence[0].confidence, ProvenanceConfidence::possible);
    EXPECT_FALSE(report.hasContentCredentialsSignal);
    ImagePrivacySanitizer().exportPrivacyCopy(source, directory.path() / "copy.png");
    EXPECT_TRUE(ImagePrivacySanitizer().inspect(directory.path() / "copy.png").provenanceEvidence.empty());
}

}  // namespace
}  // namespace velquor::files
