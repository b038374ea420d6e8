#include "core/workflow/BatchPrivacyCopies.h"

#include "core/files/InspectorRegistry.h"
#include "core/workflow/BatchCollector.h"
#include "core/workflow/StatusTexts.h"

#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace velquor::workflow {
namespace {

namespace fs = std::filesystem;
using namespace velquor::testing;

std::string narrow(const std::u16string& text) { return {text.begin(), text.end()}; }

Bytes commentedPng() {
    std::string payload = "Comment";
    payload.push_back('\0');
    payload += "taken by Ann";
    return tinyPng({pngChunk("tEXt", bytesOf(payload))});
}

// A folder as a batch meets it: files that copy, one that changes on disk after its inspection
// (its copy fails), one with content credentials, one that cannot be read, one inspect-only.
class CopyFolder {
public:
    CopyFolder() {
        const auto& root = directory_.path();
        writeBytes(root / "a.png", commentedPng());
        writeBytes(root / "b.png", tinyPng());
        writeBytes(root / "changes.png", commentedPng());
        writeBytes(root / "credentials.png", tinyPng({pngChunk("caBX", {1, 2, 3})}));
        directory_.write("drawing.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><!-- by Ann --><rect/></svg>");
        directory_.write("broken.pdf", "%PDF-1.4 nothing else");
        zipWithSystemZip(root, {{"Index/Document.iwa", "x"}}, root / "essay.pages");
    }

    const fs::path& path() const { return directory_.path(); }

    std::vector<BatchFileReport> inspected() const {
        const std::vector<fs::path> selection{path()};
        return inspectBatch(inspectableBatchFiles(selection, batchFileLimit));
    }

private:
    TemporaryDirectory directory_;
};

const BatchFileReport& rowNamed(const std::vector<BatchFileReport>& rows, const std::string& name) {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.url.filename() == name; });
    if (found == rows.end()) throw std::runtime_error("no row for " + name);
    return *found;
}

// Staged copies are hidden siblings; none may outlive its run.
bool anyHiddenName(const fs::path& folder) {
    const auto names = namesIn(folder);
    return std::any_of(names.begin(), names.end(), [](const std::string& name) { return name.starts_with('.'); });
}

TEST(BatchPrivacyCopiesTest, CopiesWhatCanBeCopiedAndKeepsTheOtherRowsAsTheyWere) {
    const CopyFolder folder;
    const auto rows = folder.inspected();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(privacyCopiesAwaited(rows), 4u) << "a, b, changes and the drawing";
    writeBytes(folder.path() / "changes.png", bytesOf("not a png any more"));

    std::vector<std::pair<std::size_t, std::size_t>> progress;
    std::mutex progressMutex;
    const auto result = exportBatchPrivacyCopies(
        rows, {.workers = 2, .stop = {}, .progress = [&](std::size_t finished, std::size_t total) {
                   const std::lock_guard lock(progressMutex);
                   progress.emplace_back(finished, total);
               }});
    EXPECT_EQ(result.created, 3u);
    EXPECT_EQ(result.failed, 1u);
    EXPECT_EQ(progress, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    ASSERT_EQ(result.rows.size(), rows.size());

    struct Expected {
        std::string file;
        std::string status;
        std::string copy;  // empty: none
    };
    const Expected expected[] = {
        {"a.png", "Created a-privacy.png.", "a-privacy.png"},
        {"b.png", "Created b-privacy.png.", "b-privacy.png"},
        {"drawing.svg", "Created drawing-privacy.svg.", "drawing-privacy.svg"},
        {"changes.png", "The file could not be read.", ""},
        {"credentials.png", "Credentials", ""},
        {"broken.pdf", "The file could not be read.", ""},
        {"essay.pages", "OK", ""},
    };
    for (const auto& [file, status, copy] : expected) {
        SCOPED_TRACE(file);
        const auto& row = rowNamed(result.rows, file);
        const auto& before = rowNamed(rows, file);
        EXPECT_EQ(narrow(row.status), status);
        EXPECT_EQ(row.id, before.id);
        EXPECT_EQ(row.findings, before.findings);
        if (copy.empty()) {
            EXPECT_EQ(row.outputURL, std::nullopt);
        } else {
            ASSERT_EQ(row.outputURL, folder.path() / copy);
            EXPECT_FALSE(files::failsPrivacyVerification(*row.outputURL, files::inspectReport(*row.outputURL)));
        }
    }
    EXPECT_FALSE(anyHiddenName(folder.path()));

    const auto again = exportBatchPrivacyCopies(result.rows);
    EXPECT_EQ(privacyCopiesAwaited(result.rows), 1u) << "only the copy that failed is tried again";
    EXPECT_EQ(again.created + again.failed, 1u);
}

TEST(BatchPrivacyCopiesTest, CopiesOfOneFolderNeverTakeTheSameName) {
    const TemporaryDirectory directory;
    writeBytes(directory.path() / "photo.png", commentedPng());
    directory.write("photo-privacy.png", "taken");
    const std::vector<fs::path> twice{directory.path() / "photo.png", directory.path() / "photo.png",
                                      directory.path() / "photo.png"};
    const auto result = exportBatchPrivacyCopies(inspectBatch(twice), {.workers = 3, .stop = {}, .progress = {}});
    EXPECT_EQ(result.created, 3u);
    EXPECT_EQ(result.failed, 0u);
    EXPECT_THAT(namesIn(directory.path()),
                ::testing::ElementsAre("photo-privacy-2.png", "photo-privacy-3.png", "photo-privacy-4.png",
                                       "photo-privacy.png", "photo.png"));
    EXPECT_EQ(readFile(directory.path() / "photo-privacy.png"), "taken");
}

TEST(BatchPrivacyCopiesTest, AStopRequestFinishesTheCopyInHandAndStartsNoOther) {
    const TemporaryDirectory directory;
    std::vector<fs::path> files;
    for (int i = 0; i < 6; ++i) {
        files.push_back(directory.path() / ("p" + std::to_string(i) + ".png"));
        writeBytes(files.back(), commentedPng());
    }
    const auto rows = inspectBatch(files);
    std::stop_source stop;
    const auto result = exportBatchPrivacyCopies(
        rows,
        {.workers = 1, .stop = stop.get_token(), .progress = [&](std::size_t, std::size_t) { stop.request_stop(); }});
    EXPECT_EQ(result.created, 1u);
    EXPECT_EQ(result.failed, 0u);
    EXPECT_EQ(narrow(result.rows[0].status), "Created p0-privacy.png.");
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(result.rows[i], rows[i]);
    EXPECT_EQ(namesIn(directory.path()).size(), 7u);
    EXPECT_FALSE(anyHiddenName(directory.path()));

    std::stop_source before;
    before.request_stop();
    const auto none = exportBatchPrivacyCopies(rows, {.workers = 2, .stop = before.get_token(), .progress = {}});
    EXPECT_EQ(none, (BatchCopyResult{rows, 0, 0}));
}

}  // namespace
}  // namespace velquor::workflow
