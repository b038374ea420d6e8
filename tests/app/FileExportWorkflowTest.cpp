#include "tests/app/FileWorkflowSupport.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/TemporaryDirectory.h"

#include "core/files/InspectorRegistry.h"

#include <QSignalSpy>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::testing {
namespace {

namespace fs = std::filesystem;
using app::AppModel;

// Inspects the file and waits for its report.
void inspected(AppModel& model, const fs::path& file) {
    model.inspectFile(file);
    ASSERT_TRUE(waitForFiles(model));
    ASSERT_TRUE(model.fileReport().has_value()) << narrow(model.fileStatus().toStdU16String());
}

TEST(FileExportWorkflowTest, TheCopyTakesTheFirstFreeNameAndIsShownOnceVerified) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    const auto photo = makeTestImage(folder.path() / "photo.jpg", "320x240", 1);
    writeTags(photo, {"-Artist=Ann", "-GPSLatitude=51.5", "-GPSLatitudeRef=N"});
    folder.write("photo-privacy.jpg", "taken");
    folder.write("photo-privacy-2.jpg", "taken too");
    inspected(model, photo);
    QSignalSpy exporting(&model, &AppModel::isExportingFileChanged);

    model.exportPrivacyCopy();
    EXPECT_EQ(model.fileStatus(), qs(u"Creating and verifying photo-privacy-3.jpg\u2026"));
    EXPECT_TRUE(model.isExportingFile() && model.isProcessingFiles());
    EXPECT_FALSE(model.canExportPrivacyCopy());
    ASSERT_TRUE(waitForFiles(model));

    const auto copy = folder.path() / "photo-privacy-3.jpg";
    EXPECT_EQ(model.fileStatus(), "Created and verified photo-privacy-3.jpg.");
    EXPECT_EQ(model.outputURL(), copy);
    EXPECT_EQ(model.cleanedPreview().size(), QSize(320, 240));
    EXPECT_EQ(exporting.count(), 2);
    EXPECT_TRUE(model.canExportPrivacyCopy()) << "another copy may be written";
    EXPECT_FALSE(files::failsPrivacyVerification(copy, files::inspectReport(copy)));
    EXPECT_EQ(readFile(folder.path() / "photo-privacy.jpg"), "taken");
    EXPECT_FALSE(holdsHiddenFile(folder.path()));

    model.revealOutput();
    EXPECT_EQ(fixture.desktop.revealed, std::vector<QString>{pathText(copy)});
}

TEST(FileExportWorkflowTest, ADocumentCopyHasNoPreviewAndNothingIsRevealedWithoutACopy) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    auto parts = minimalWordDocument("<w:r><w:t>Hello</w:t></w:r>");
    parts["docProps/core.xml"] = corePropertiesPart("Jane Roe", "Letter");
    zipWithSystemZip(folder.path(), parts, folder.path() / "letter.docx");
    inspected(model, folder.path() / "letter.docx");
    model.revealOutput();
    EXPECT_TRUE(fixture.desktop.revealed.empty());

    model.exportPrivacyCopy();
    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(model.fileStatus(), "Created and verified letter-privacy.docx.");
    EXPECT_EQ(model.outputURL(), folder.path() / "letter-privacy.docx");
    EXPECT_TRUE(model.cleanedPreview().isNull());
}

TEST(FileExportWorkflowTest, RefusalsAndFailuresLeaveNoCopy) {
    TemporaryDirectory folder;
    zipWithSystemZip(folder.path(), {{"Index/Document.iwa", "x"}}, folder.path() / "essay.pages");
    writeBytes(folder.path() / "signed.png", credentialsPng());
    writeBytes(folder.path() / "changes.png", commentedPng());
    const auto before = namesIn(folder.path());
    struct Case {
        const char* name;
        std::function<void(AppModel&)> prepare;
        const char* status;
    };
    const std::vector<Case> cases{
        {"nothing selected", [](AppModel&) {}, "Privacy export is not available for this file type."},
        {"a Pages document", [&](AppModel& model) { inspected(model, folder.path() / "essay.pages"); },
         "Privacy export is not available for this file type."},
        {"content credentials", [&](AppModel& model) { inspected(model, folder.path() / "signed.png"); },
         "This file appears to contain content credentials or provenance data. Velquor leaves those files "
         "inspect-only."},
        {"changed after its inspection",
         [&](AppModel& model) {
             inspected(model, folder.path() / "changes.png");
             writeBytes(folder.path() / "changes.png", bytesOf("not a png any more"));
         },
         "The file could not be read."},
    };
    for (const auto& [name, prepare, status] : cases) {
        SCOPED_TRACE(name);
        ModelFixture fixture;
        auto& model = fixture.model;
        prepare(model);
        model.exportPrivacyCopy();
        ASSERT_TRUE(waitForFiles(model));
        EXPECT_EQ(model.fileStatus(), status);
        EXPECT_FALSE(model.outputURL().has_value());
        EXPECT_TRUE(model.cleanedPreview().isNull());
        EXPECT_FALSE(model.isExportingFile());
        writeBytes(folder.path() / "changes.png", commentedPng());
        EXPECT_EQ(namesIn(folder.path()), before);
    }
}

TEST(FileExportWorkflowTest, InspectionsWaitForTheCopyWhichCompletes) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    const auto photo = makeTestImage(folder.path() / "photo.png", "1600x1200", 1);
    const auto other = folder.write("other.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect/></svg>");
    inspected(model, photo);

    model.exportPrivacyCopy();
    QSignalSpy selections(&model, &AppModel::selectedFileChanged);
    model.inspectDroppedItems({QUrl::fromLocalFile(pathText(folder.path()))});
    EXPECT_EQ(model.fileStatus(), "Wait for the privacy copy to finish before selecting another folder.");
    model.inspectSelection({other});
    EXPECT_EQ(model.fileStatus(), "Wait for the privacy copy to finish before selecting another file.");
    model.exportPrivacyCopy();
    model.exportBatchPrivacyCopies();
    EXPECT_TRUE(model.isExportingFile()) << "the copy runs on";

    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(model.fileStatus(), "Created and verified photo-privacy.png.");
    EXPECT_EQ(selections.count(), 0);
    EXPECT_EQ(model.selectedFile(), photo);
    EXPECT_EQ(model.originalPreview().size(), QSize(1024, 768));
    EXPECT_EQ(model.cleanedPreview().size(), QSize(1024, 768));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"other.svg", "photo-privacy.png", "photo.png"}))
        << "exactly one copy";
}

}  // namespace
}  // namespace velquor::testing
