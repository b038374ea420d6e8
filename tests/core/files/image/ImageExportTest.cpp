// What provenance evidence does to an image's privacy copy; the refusal itself is part of the
// export contract test.
#include "core/files/image/ImagePrivacySanitizer.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using namespace velquor::testing;

TEST(ImageExportTest, ContentCredentialsAreConfirmedEvidenceThatBlocksTheCopy) {
    TemporaryDirectory directory;
    for (const auto& source :
         {pngWithContentCredentials(directory.path()), jpegWithContentCredentials(directory.path())}) {
        const auto report = ImagePrivacySanitizer().inspect(source);
        EXPECT_TRUE(report.hasContentCredentialsSignal) << source;
        ASSERT_EQ(report.provenanceEvidence.size(), 1u) << source;
        EXPECT_EQ(report.provenanceEvidence[0].confidence, ProvenanceConfidence::confirmed);
        EXPECT_TRUE(report.provenanceEvidence[0].blocksExport);
    }
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

}  // namespace
}  // namespace velquor::files
