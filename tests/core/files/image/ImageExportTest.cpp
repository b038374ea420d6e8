// The export contract for images: refusals leave nothing behind, nothing is ever replaced.
#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImagePrivacySanitizer.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace velquor::files {
namespace {

namespace fs = std::filesystem;
using Case = FileSanitizerError::Case;
using namespace velquor::testing;

const Bytes c2paUUID{0x63, 0x32, 0x70, 0x61, 0x00, 0x11, 0x00, 0x10, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::vector<std::string> namesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

Case exportError(const fs::path& source, const fs::path& destination) {
    try {
        ImagePrivacySanitizer().exportPrivacyCopy(source, destination);
    } catch (const FileSanitizerError& error) {
        return error.errorCase();
    }
    ADD_FAILURE() << "the export of " << source << " succeeded";
    return Case::unsupportedFile;
}

TEST(ImageExportTest, ContentCredentialsKeepAFileInspectOnlyAndNothingIsWritten) {
    TemporaryDirectory directory;
    const auto png = directory.path() / "generated.png";
    writeBytes(png, tinyPng({pngChunk("caBX", bytesOf("jumb manifest"))}));
    const auto jpeg = makeTestImage(directory.path() / "edited.jpg", "32x24", 1);
    Bytes jumbf = bytesOf("JP");
    jumbf.insert(jumbf.end(), {0, 1, 0, 0, 0, 1, 0, 0, 0, 0x20});
    jumbf.insert(jumbf.end(), c2paUUID.begin(), c2paUUID.end());
    writeBytes(jpeg, withJpegSegmentAfterStart(readBytes(jpeg), 0xEB, jumbf));

    const auto before = namesIn(directory.path());
    for (const auto& source : {png, jpeg}) {
        const auto report = ImagePrivacySanitizer().inspect(source);
        EXPECT_TRUE(report.hasContentCredentialsSignal);
        ASSERT_EQ(report.provenanceEvidence.size(), 1u);
        EXPECT_EQ(exportError(source, directory.path() / "copy.img"), Case::contentCredentialsInspectOnly);
    }
    EXPECT_EQ(namesIn(directory.path()), before);
}

TEST(ImageExportTest, PossibleProvenanceOnlyInformsAndTheCopyLosesTheMarkerText) {
    TemporaryDirectory directory;
    const auto source = directory.path() / "hint.png";
    writeBytes(source, tinyPng({pngChunk("tEXt", bytesOf(std::string_view("Comment\0signed with c2pa", 24)))}));
    const auto report = ImagePrivacySanitizer().inspect(source);
    ASSERT_EQ(report.provenanceEvidence.size(), 1u);
    EXPECT_EQ(report.provenanceEvidence[0].confidence, ProvenanceConfidence::possible);
    EXPECT_FALSE(report.hasContentCredentialsSignal);
    ImagePrivacySanitizer().exportPrivacyCopy(source, directory.path() / "copy.png");
    EXPECT_TRUE(ImagePrivacySanitizer().inspect(directory.path() / "copy.png").provenanceEvidence.empty());
}

TEST(ImageExportTest, ADanglingLinkAtTheDestinationIsRefusedAndLeftAlone) {
    TemporaryDirectory directory;
    const auto source = directory.path() / "a.png";
    writeBytes(source, tinyPng({pngChunk("tEXt", bytesOf(std::string_view("Author\0Ann", 10)))}));
    const auto link = directory.path() / "a-privacy.png";
    fs::create_symlink(directory.path() / "elsewhere.png", link);
    EXPECT_EQ(exportError(source, link), Case::destinationExists);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_FALSE(fs::exists(directory.path() / "elsewhere.png"));
    EXPECT_EQ(namesIn(directory.path()), (std::vector<std::string>{"a-privacy.png", "a.png"}));
}

TEST(ImageExportTest, DamagedImagesAreRefusedWithoutAPartialFile) {
    TemporaryDirectory directory;
    Bytes damaged = tinyPng({pngChunk("tEXt", bytesOf(std::string_view("Author\0Ann", 10)))});
    damaged.resize(damaged.size() - 14);  // IEND and part of the image data are gone
    const auto source = directory.path() / "cut.png";
    writeBytes(source, damaged);
    EXPECT_EQ(exportError(source, directory.path() / "copy.png"), Case::exportFailed);
    EXPECT_EQ(namesIn(directory.path()), std::vector<std::string>{"cut.png"});
}

TEST(ImageExportTest, TwoExportsRacingToOneDestinationLeaveOneWholeFile) {
    TemporaryDirectory directory;
    const auto source = makeTestImage(directory.path() / "photo.jpg", "320x240", 1);
    writeTags(source, {"-Artist=Ann", "-GPSLatitude=51.5"});
    const auto expected = [&] {
        ImagePrivacySanitizer().exportPrivacyCopy(source, directory.path() / "reference.jpg");
        return readBytes(directory.path() / "reference.jpg");
    }();
    for (int round = 0; round < 20; ++round) {
        const auto destination = directory.path() / ("race-" + std::to_string(round) + ".jpg");
        std::atomic<int> written{0}, refused{0};
        const auto exportOnce = [&] {
            try {
                ImagePrivacySanitizer().exportPrivacyCopy(source, destination);
                ++written;
            } catch (const FileSanitizerError& error) {
                EXPECT_EQ(error.errorCase(), Case::destinationExists);
                ++refused;
            }
        };
        std::thread first(exportOnce), second(exportOnce);
        first.join();
        second.join();
        EXPECT_EQ(written.load(), 1);
        EXPECT_EQ(refused.load(), 1);
        EXPECT_EQ(readBytes(destination), expected);
    }
    const auto names = namesIn(directory.path());
    EXPECT_EQ(names.size(), 22u);
    EXPECT_TRUE(std::none_of(names.begin(), names.end(), [](const auto& name) { return name[0] == '.'; }));
}

}  // namespace
}  // namespace velquor::files
