#include "tests/app/FileWorkflowSupport.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/TemporaryDirectory.h"

#include "core/files/InspectorRegistry.h"
#include "core/text/base/TextConversions.h"
#include "core/workflow/BatchRunner.h"

#include <QSignalSpy>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::testing {
namespace {

namespace fs = std::filesystem;
using app::AppModel;

const workflow::BatchFileReport& rowNamed(const AppModel& model, const std::string& name) {
    const auto& rows = model.batchReports();
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.url.filename() == name; });
    if (found == rows.end()) throw std::runtime_error("no row for " + name);
    return *found;
}

// `count` copies of one 1600 x 1200 picture, large enough that copying takes a while.
void writePictures(const fs::path& folder, int count) {
    const auto first = makeTestImage(folder / "p0.png", "1600x1200", 1);
    for (int i = 1; i < count; ++i) fs::copy_file(first, folder / ("p" + std::to_string(i) + ".png"));
}

void inspectedBatch(AppModel& model, const fs::path& folder) {
    model.inspectBatch({folder});
    ASSERT_TRUE(waitForFiles(model));
}

TEST(BatchCopyWorkflowTest, AMixedFolderIsCopiedWithEachRowsOutcome) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    const auto& root = folder.path();
    writeBytes(root / "a.png", commentedPng());
    makeTestImage(root / "b.jpg", "64x48", 1);
    writeBytes(root / "changes.png", commentedPng());
    writeBytes(root / "signed.png", credentialsPng());
    folder.write("broken.pdf", "%PDF-1.4 nothing else");
    folder.write("drawing.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><!-- by Ann --><rect/></svg>");
    zipWithSystemZip(root, {{"Index/Document.iwa", "x"}}, root / "essay.pages");
    inspectedBatch(model, root);
    ASSERT_EQ(model.batchReports().size(), 7u);
    const auto before = model.batchReports();
    EXPECT_TRUE(model.canExportBatchPrivacyCopies());
    writeBytes(root / "changes.png", bytesOf("not a png any more"));
    std::vector<workflow::BatchProgress> seen;
    QObject::connect(&model, &AppModel::fileProgressChanged, [&] { seen.push_back(model.fileProgress()); });

    model.exportBatchPrivacyCopies();
    EXPECT_EQ(model.fileStatus(), qs(u"Creating and verifying 4 privacy copies\u2026"));
    EXPECT_TRUE(model.isExportingFile() && model.isProcessingFiles());
    EXPECT_FALSE(model.canExportBatchPrivacyCopies());
    model.inspectBatch({root});
    EXPECT_EQ(model.fileStatus(), "Wait for the privacy copy to finish before selecting another folder.");
    model.inspectFile(root / "a.png");
    EXPECT_EQ(model.fileStatus(), "Wait for the privacy copy to finish before selecting another file.");
    ASSERT_TRUE(waitForFiles(model));

    EXPECT_EQ(model.fileStatus(), "Created and verified 3 privacy copies; 1 could not be created.");
    EXPECT_FALSE(model.isExportingFile());
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front(), (workflow::BatchProgress{0, 4}));
    EXPECT_EQ(seen[seen.size() - 2], (workflow::BatchProgress{4, 4}));
    EXPECT_EQ(seen.back(), workflow::BatchProgress{});

    const std::pair<const char*, const char*> statuses[] = {
        {"a.png", "Created a-privacy.png."},
        {"b.jpg", "Created b-privacy.jpg."},
        {"drawing.svg", "Created drawing-privacy.svg."},
        {"changes.png", "The file could not be read."},
        {"signed.png", "Credentials"},
        {"broken.pdf", "The file could not be read."},
        {"essay.pages", "OK"},
    };
    for (const auto& [name, status] : statuses) EXPECT_EQ(narrow(rowNamed(model, name).status), status) << name;
    for (const char* name : {"a.png", "b.jpg", "drawing.svg"}) {
        const auto& copy = rowNamed(model, name).outputURL;
        ASSERT_TRUE(copy.has_value()) << name;
        EXPECT_FALSE(files::failsPrivacyVerification(*copy, files::inspectReport(*copy))) << name;
    }
    for (const char* name : {"signed.png", "broken.pdf", "essay.pages"}) {
        EXPECT_EQ(rowNamed(model, name), *std::find_if(before.begin(), before.end(),
                                                       [&](const auto& row) { return row.url.filename() == name; }))
            << name;
    }
    EXPECT_FALSE(holdsHiddenFile(root));
    EXPECT_TRUE(model.canExportBatchPrivacyCopies()) << "the copy that failed can be tried again";
}

TEST(BatchCopyWorkflowTest, OneCopyIsCountedInTheSingular) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    writeBytes(folder.path() / "a.png", commentedPng());
    writeBytes(folder.path() / "signed.png", credentialsPng());
    inspectedBatch(model, folder.path());
    model.exportBatchPrivacyCopies();
    EXPECT_EQ(model.fileStatus(), qs(u"Creating and verifying 1 privacy copy\u2026"));
    ASSERT_TRUE(waitForFiles(model));
    EXPECT_EQ(model.fileStatus(), "Created and verified 1 privacy copy.");
    EXPECT_FALSE(model.canExportBatchPrivacyCopies()) << "every row that can be copied has its copy";

    QSignalSpy statuses(&model, &AppModel::fileStatusChanged);
    model.exportBatchPrivacyCopies();
    EXPECT_FALSE(model.isProcessingFiles());
    EXPECT_EQ(statuses.count(), 0) << "nothing left to copy";
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"a-privacy.png", "a.png", "signed.png"}));
}

TEST(BatchCopyWorkflowTest, CancellingStartsNoFurtherCopyAndLeavesNoStagedFile) {
    ModelFixture fixture;
    auto& model = fixture.model;
    TemporaryDirectory folder;
    writePictures(folder.path(), 60);
    inspectedBatch(model, folder.path());
    ASSERT_EQ(model.batchReports().size(), 60u);
    const auto before = model.batchReports();

    model.exportBatchPrivacyCopies();
    ASSERT_TRUE(waitFor([&] { return model.fileProgress().finished >= 1; }));
    model.cancelBatchPrivacyCopies();
    ASSERT_TRUE(waitForFiles(model));

    const auto& rows = model.batchReports();
    const auto created = static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row.outputURL.has_value(); }));
    EXPECT_GE(created, 1u);
    EXPECT_LT(created, 60u);
    EXPECT_EQ(model.fileStatus(), qs(u"Created and verified " + text::decimalText(created) + u" privacy " +
                                     (created == 1 ? u"copy." : u"copies.")));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].outputURL) {
            EXPECT_EQ(rows[i], before[i]);
        }
    }
    EXPECT_EQ(namesIn(folder.path()).size(), 60 + created);
    EXPECT_FALSE(holdsHiddenFile(folder.path()));
    EXPECT_TRUE(model.canExportBatchPrivacyCopies()) << "the rest can still be copied";
}

TEST(BatchCopyWorkflowTest, AModelClosedDuringABatchCopyLeavesOnlyWholeCopies) {
    TemporaryDirectory folder;
    writePictures(folder.path(), 40);
    {
        ModelFixture fixture;
        inspectedBatch(fixture.model, folder.path());
        fixture.model.exportBatchPrivacyCopies();
    }
    settle();
    EXPECT_LE(namesIn(folder.path()).size(), 40 + workflow::defaultBatchWorkers()) << "only the copies in hand";
    EXPECT_FALSE(holdsHiddenFile(folder.path()));
    for (const auto& name : namesIn(folder.path())) {
        if (name.find("-privacy") == std::string::npos) continue;
        const auto copy = folder.path() / name;
        EXPECT_FALSE(files::failsPrivacyVerification(copy, files::inspectReport(copy))) << name;
    }
}

}  // namespace
}  // namespace velquor::testing
