#include "tests/app/FileWorkflowSupport.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include "core/files/InspectorRegistry.h"

#include <QSignalSpy>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace velquor::testing {
namespace {

namespace fs = std::filesystem;
using app::AppModel;

const char* const startStatus = "Drop an image, SVG, PDF, audio/video, Office document, or iWork file.";

// Writes `count` supported files (tiny PNGs) into the folder, numbered from `first`.
void writePngs(const fs::path& folder, int count, int first = 0) {
    for (int i = first; i < first + count; ++i) writeBytes(folder / ("p" + std::to_string(i) + ".png"), tinyPng());
}

TEST(FileWorkflowTest, StartsWithNothingSelectedThenAnImageIsInspectedOnAWorkerWithItsPreview) {
    ModelFixture fixture;
    auto& model = fixture.model;
    EXPECT_EQ(model.fileStatus(), startStatus);
    EXPECT_FALSE(model.selectedFile() || model.fileReport() || model.outputURL());
    EXPECT_TRUE(model.originalPreview().isNull() && model.cleanedPreview().isNull());
    EXPECT_TRUE(model.batchReports().empty());
    EXPECT_FALSE(model.isProcessingFiles() || model.isExportingFile());
    EXPECT_FALSE(model.canExportPrivacyCopy() || model.canExportBatchPrivacyCopies());
    EXPECT_EQ(model.fileProgress(), workflow::BatchProgress{});

    TemporaryDirectory folder;
    const auto photo = makeTestImage(folder.path() / "photo.jpg", "320x240", 1);
    model.inspectFile(photo);
    EXPECT_EQ(model.fileStatus(), qs(u"Inspecting photo.jpg\u2026"));
    EXPECT_TRUE(model.isProcessingFiles());
    EXPECT_FALSE(model.isExportingFile());
    EXPECT_EQ(model.selectedFile(), photo);
    EXPECT_FALSE(model.fileReport().has_value());
    EXPECT_FALSE(model.canExportPrivacyCopy()) << "not before the report is there";

    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(model.fileStatus(), "Image ready.");
    EXPECT_EQ(model.fileReport(), files::inspectReport(photo));
    EXPECT_EQ(model.originalPreview().size(), QSize(320, 240));
    EXPECT_TRUE(model.canExportPrivacyCopy());
    EXPECT_TRUE(model.batchReports().empty());
}

// Each family's ready status, whether a copy can be offered, and whether an image preview comes.
TEST(FileWorkflowTest, EachFamilyGetsItsReadyStatus) {
    TemporaryDirectory folder;
    const auto& root = folder.path();
    struct Case {
        const char* name;
        std::function<fs::path()> make;
        const char* status;
        bool exportable;
        bool preview;
    };
    const std::vector<Case> cases{
        {"PNG",
         [&] {
             writeBytes(root / "comment.png", commentedPng());
             return root / "comment.png";
         },
         "Image ready.", true, true},
        {"content credentials",
         [&] {
             writeBytes(root / "signed.png", credentialsPng());
             return root / "signed.png";
         },
         "Image ready.", false, true},
        {"SVG", [&] { return folder.write("map.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect/></svg>"); },
         "SVG ready.", true, false},
        {"PDF", [&] { return folder.write("report.pdf", samplePdf({.info = "/Author (Jane Doe)"})); }, "PDF ready.",
         true, false},
        {"Word",
         [&] {
             zipWithSystemZip(root, minimalWordDocument("<w:r><w:t>Hello</w:t></w:r>"), root / "letter.docx");
             return root / "letter.docx";
         },
         "Office document ready.", true, false},
        {"Pages",
         [&] {
             zipWithSystemZip(root, {{"Index/Document.iwa", "x"}}, root / "essay.pages");
             return root / "essay.pages";
         },
         "Archive inspected. Privacy export is not available for this file type.", false, false},
        {"MP3", [&] { return MediaFixtures(root).audio("song.mp3", {"title=Memo"}); }, "Media ready.", true, false},
        {"MP4", [&] { return MediaFixtures(root).plainMp4(); }, "Media ready.", true, false},
    };
    for (const auto& [name, make, status, exportable, preview] : cases) {
        SCOPED_TRACE(name);
        ModelFixture fixture;
        auto& model = fixture.model;
        model.inspectFile(make());
        ASSERT_TRUE(waitForFiles(model));
        EXPECT_EQ(model.fileStatus(), status);
        ASSERT_TRUE(model.fileReport().has_value());
        EXPECT_EQ(model.canExportPrivacyCopy(), exportable);
        EXPECT_EQ(!model.originalPreview().isNull(), preview);
    }
}

TEST(FileWorkflowTest, AFileThatCannotBeInspectedClearsTheSelection) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    const std::pair<fs::path, const char*> cases[] = {
        {folder.write("broken.png", "not a png"), "The file could not be read."},
        {folder.write("notes.txt", "hello"),
         "Only common images, SVG, PDF, audio/video, and Office/iWork zip documents are supported in this version."},
        {folder.path() / "gone.jpg", "The file could not be read."},
    };
    for (const auto& [file, status] : cases) {
        SCOPED_TRACE(file.filename().string());
        model.inspectFile(file);
        ASSERT_TRUE(waitForFiles(model));
        EXPECT_EQ(model.fileStatus(), status);
        EXPECT_FALSE(model.selectedFile() || model.fileReport());
        EXPECT_TRUE(model.originalPreview().isNull());
        EXPECT_FALSE(model.canExportPrivacyCopy());
    }
}

TEST(FileWorkflowTest, ANewerFileSupersedesTheOneStillBeingInspected) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    const auto first = makeTestImage(folder.path() / "first.jpg", "640x480", 1);
    const auto second = folder.write("second.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect/></svg>");
    QSignalSpy reports(&model, &AppModel::fileReportChanged);
    QSignalSpy previews(&model, &AppModel::originalPreviewChanged);

    model.inspectFile(first);
    model.inspectFile(second);
    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(model.selectedFile(), second);
    EXPECT_EQ(model.fileStatus(), "SVG ready.");
    EXPECT_EQ(model.fileReport(), files::inspectReport(second));
    EXPECT_EQ(reports.count(), 1) << "only the second report was ever applied";
    EXPECT_EQ(previews.count(), 0);
}

TEST(FileWorkflowTest, BatchLimitsAndStatuses) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> fill;
        std::size_t rows;
        const char* status;
    };
    const std::vector<Case> cases{
        {"250 supported files", [](const fs::path& root) { writePngs(root, 250); }, 200,
         "Inspected 200 files (batch safety limit)."},
        {"exactly 200", [](const fs::path& root) { writePngs(root, 200); }, 200,
         "Inspected 200 files (batch safety limit)."},
        {"199 and a hidden one",
         [](const fs::path& root) {
             writePngs(root, 199);
             writeBytes(root / ".hidden.png", tinyPng());
         },
         199, "Inspected 199 files."},
        {"one in a subfolder",
         [](const fs::path& root) {
             fs::create_directories(root / "deeper");
             writePngs(root / "deeper", 1);
         },
         1, "Inspected 1 file."},
        {"only hidden and unsupported files",
         [](const fs::path& root) {
             writeBytes(root / ".hidden.png", tinyPng());
             writeBytes(root / "notes.txt", bytesOf("hello"));
             writeBytes(root / "archive.zip", bytesOf("PK"));
         },
         0, "No supported files found."},
    };
    for (const auto& [name, fill, rows, status] : cases) {
        SCOPED_TRACE(name);
        ModelFixture fixture;
        auto& model = fixture.model;
        TemporaryDirectory folder;
        fill(folder.path());

        model.inspectSelection({folder.path()});
        EXPECT_EQ(model.fileStatus(), qs(u"Inspecting up to 200 supported files\u2026"));
        EXPECT_TRUE(model.isProcessingFiles());
        ASSERT_TRUE(waitForFiles(model));
        EXPECT_EQ(model.batchReports().size(), rows);
        EXPECT_EQ(model.fileStatus(), status);
        EXPECT_FALSE(model.selectedFile() || model.fileReport());
        EXPECT_EQ(model.canExportBatchPrivacyCopies(), rows > 0) << "clean PNGs still get a copy";
    }
}

TEST(FileWorkflowTest, TwoFilesAreABatchAndAFailingFileIsARow) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    writeBytes(folder.path() / "a.png", commentedPng());
    const auto broken = folder.write("broken.png", "not a png");

    model.inspectSelection({folder.path() / "a.png", broken});
    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(model.fileStatus(), "Inspected 2 files.");
    ASSERT_EQ(model.batchReports().size(), 2u);
    const auto& good = model.batchReports()[0];
    EXPECT_EQ(good.url, folder.path() / "a.png");
    EXPECT_EQ(narrow(good.type), "PNG image");
    EXPECT_GT(good.findings, 0);
    EXPECT_EQ(narrow(good.status), "OK");
    const auto& failed = model.batchReports()[1];
    EXPECT_EQ(failed.url, broken);
    EXPECT_EQ(narrow(failed.type), "-");
    EXPECT_EQ(failed.findings, 0);
    EXPECT_EQ(narrow(failed.status), "The file could not be read.");
    EXPECT_FALSE(failed.offersPrivacyCopy);
}

TEST(FileWorkflowTest, CredentialsKeepARowOutOfTheBatchCopy) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    writeBytes(folder.path() / "signed.png", credentialsPng());
    model.inspectSelection({folder.path()});
    ASSERT_TRUE(waitForFiles(model));
    ASSERT_EQ(model.batchReports().size(), 1u);
    EXPECT_EQ(narrow(model.batchReports()[0].status), "Credentials");
    EXPECT_FALSE(model.canExportBatchPrivacyCopies());
}

TEST(FileWorkflowTest, ANewFileCancelsARunningBatchWhoseRowsNeverAppear) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    writePngs(folder.path(), 200);
    const auto single = folder.write("single.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect/></svg>");
    QSignalSpy rows(&model, &AppModel::batchReportsChanged);

    model.inspectSelection({folder.path()});
    model.inspectFile(single);
    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(rows.count(), 0);
    EXPECT_TRUE(model.batchReports().empty());
    EXPECT_EQ(model.fileStatus(), "SVG ready.");
    EXPECT_EQ(model.fileProgress(), workflow::BatchProgress{});

    // And a batch replaces a single inspection still under way.
    model.inspectFile(single);
    model.inspectBatch({folder.path()});
    ASSERT_TRUE(waitForFiles(model));
    EXPECT_FALSE(model.fileReport() || model.selectedFile());
    EXPECT_EQ(model.batchReports().size(), 200u);
}

TEST(FileWorkflowTest, ProgressCountsTheFilesOfARunningBatch) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    writePngs(folder.path(), 120);
    std::vector<workflow::BatchProgress> seen;
    QObject::connect(&model, &AppModel::fileProgressChanged, [&] { seen.push_back(model.fileProgress()); });

    model.inspectBatch({folder.path()});
    ASSERT_TRUE(waitForFiles(model));
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.back(), workflow::BatchProgress{}) << "none once the batch is done";
    const auto last = seen[seen.size() - 2];
    EXPECT_EQ(last, (workflow::BatchProgress{120, 120}));
    for (std::size_t i = 1; i + 1 < seen.size(); ++i) {
        EXPECT_GE(seen[i].finished, seen[i - 1].finished);
        EXPECT_LE(seen[i].finished, seen[i].total);
    }
    EXPECT_EQ(model.fileStatus(), "Inspected 120 files.");
}

TEST(FileWorkflowTest, DropsAndChoicesRouteTheirSelection) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    writePngs(folder.path(), 3);
    const auto file = [&](int i) { return folder.path() / ("p" + std::to_string(i) + ".png"); };

    model.inspectDroppedItems({QUrl(QStringLiteral("https://example.com/a.png")), QStringLiteral("not a url"), 42});
    EXPECT_EQ(model.fileStatus(), "Could not read the dropped file URLs.");
    EXPECT_FALSE(model.isProcessingFiles());

    model.inspectDroppedItems({QUrl::fromLocalFile(pathText(file(2))), QUrl::fromLocalFile(pathText(file(0))),
                               QUrl(QStringLiteral("https://example.com/a.png")),
                               QUrl::fromLocalFile(pathText(file(1))).toEncoded()});
    ASSERT_TRUE(waitForFiles(model));
    ASSERT_EQ(model.batchReports().size(), 3u);
    EXPECT_EQ(model.batchReports()[0].url, file(2)) << "in the drop's order";
    EXPECT_EQ(model.batchReports()[2].url, file(1));

    fixture.desktop.fileChoices = {{pathText(file(0)), pathText(file(1))}, {}};
    model.chooseFile();
    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(model.fileStatus(), "Inspected 2 files.");
    ASSERT_EQ(fixture.desktop.fileFilters.size(), 1u);
    const auto& patterns = fixture.desktop.fileFilters[0].patterns;
    for (const char* pattern : {"*.jpg", "*.png", "*.webp", "*.mp3", "*.mp4", "*.mov", "*.pdf", "*.svg", "*.docx",
                                "*.pptx", "*.xlsx", "*.pages", "*.key", "*.numbers"}) {
        EXPECT_TRUE(patterns.contains(QString::fromLatin1(pattern))) << pattern;
    }
    EXPECT_LT(patterns.indexOf(QStringLiteral("*.png")), patterns.indexOf(QStringLiteral("*.pdf")));
    model.chooseFile();
    EXPECT_EQ(model.fileStatus(), "Inspected 2 files.") << "a cancelled dialog changes nothing";

    fixture.desktop.paths = {pathText(folder.path())};
    model.chooseFileFolder();
    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(model.fileStatus(), "Inspected 3 files.");
    ASSERT_EQ(fixture.desktop.folderRequests.size(), 1u);
    EXPECT_EQ(fixture.desktop.folderRequests[0].prompt, "Inspect Folder");
}

}  // namespace
}  // namespace velquor::testing
