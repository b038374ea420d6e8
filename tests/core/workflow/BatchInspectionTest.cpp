#include "tests/support/OfficePackages.h"
#include "tests/support/PdfFixtures.h"

#include "core/files/InspectorRegistry.h"
#include "core/workflow/BatchCollector.h"
#include "core/workflow/BatchRunner.h"
#include "core/workflow/FileAttention.h"

#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stop_token>
#include <tuple>

namespace velquor::workflow {
namespace {

namespace fs = std::filesystem;
using namespace velquor::testing;
using files::FileMetadataReport;

std::string narrow(const std::u16string& text) { return {text.begin(), text.end()}; }

Bytes pngWithText(std::string_view keyword, std::string_view text) {
    std::string payload(keyword);
    payload.push_back('\0');
    payload += text;
    return tinyPng({pngChunk("tEXt", bytesOf(payload))});
}

// One file of every family, clean and not, and files that fail in each family's own way.
class MixedFolder {
public:
    MixedFolder() {
        const auto& root = directory_.path();
        writeBytes(root / "clean.png", tinyPng());
        writeBytes(root / "comment.png", pngWithText("Comment", "taken by Ann"));
        writeBytes(root / "hint.png", pngWithText("Comment", "c2pa"));
        writeBytes(root / "credentials.png", tinyPng({pngChunk("caBX", {1, 2, 3})}));
        writeTags(makeTestImage(root / "photo.jpg", "64x48", 1), {"-Artist=Ann", "-GPSLatitude=51.5"});
        makeTestImage(root / "frame.webp", "32x32", 1, {"-c:v", "libwebp"});
        directory_.write("drawing.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><!-- by Ann --><rect/></svg>");
        directory_.write("report.pdf", samplePdf({.info = "/Author (Jane Doe) /Title (Plans)"}));
        runTool("/usr/bin/ffmpeg", {"-loglevel", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=1",
                                    "-metadata", "title=Beach walk", "-metadata", "location=+48.8584+002.2945/", "-c:v",
                                    "mpeg4", (root / "walk.mp4").string()});
        zipWithSystemZip(root / "work", minimalWordDocument("<w:r><w:t>Hello</w:t></w:r>"), root / "letter.docx");
        directory_.write("broken.png", "not a png");
        directory_.write("broken.pdf", "%PDF-1.4 nothing else");
        directory_.write("broken.docx", "PK but no archive");
        directory_.write("broken.mp4", "no movie");
        directory_.write("broken.svg", "<html></html>");
    }

    fs::path path() const { return directory_.path(); }

private:
    TemporaryDirectory directory_;
};

const MixedFolder& mixedFolder() {
    static const MixedFolder folder;
    return folder;
}

std::vector<fs::path> mixedFiles() {
    const std::vector<fs::path> selection{mixedFolder().path()};
    return inspectableBatchFiles(selection, batchFileLimit);
}

const BatchFileReport& rowNamed(const std::vector<BatchFileReport>& rows, const std::string& name) {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.url.filename() == name; });
    if (found == rows.end()) throw std::runtime_error("no row for " + name);
    return *found;
}

TEST(BatchInspectionTest, EachRowCarriesTheTypeTheFindingsAndTheStatus) {
    const auto files = mixedFiles();
    ASSERT_EQ(files.size(), 15u);
    const auto rows = inspectBatch(files);

    struct Expected {
        std::string file;
        std::string type;
        std::string status;
    };
    const Expected expected[] = {
        {"clean.png", "PNG image", "OK"},
        {"comment.png", "PNG image", "OK"},
        {"hint.png", "PNG image", "Possible provenance"},
        {"credentials.png", "PNG image", "Credentials"},
        {"photo.jpg", "JPEG image", "OK"},
        {"drawing.svg", "SVG document", "OK"},
        {"report.pdf", "PDF document", "OK"},
        {"letter.docx", "Word document archive", "OK"},
        {"broken.png", "-", "The file could not be read."},
        {"broken.pdf", "-", "The file could not be read."},
        {"broken.docx", "-", "The file could not be read."},
        {"broken.svg", "-", "The file could not be read."},
    };
    for (const auto& [file, type, status] : expected) {
        const auto& row = rowNamed(rows, file);
        EXPECT_EQ(narrow(row.type), type) << file;
        EXPECT_EQ(narrow(row.status), status) << file;
        const auto outcome = inspectionOutcome(row.url);
        const auto* report = std::get_if<FileMetadataReport>(&outcome);
        const auto findings = report ? report->entries.size() + report->provenanceEvidence.size() : 0;
        EXPECT_EQ(row.findings, static_cast<std::int64_t>(findings)) << file;
    }
    EXPECT_GT(rowNamed(rows, "hint.png").findings, rowNamed(rows, "clean.png").findings);
    EXPECT_EQ(rowNamed(rows, "broken.mp4").findings, 0);
    EXPECT_EQ(narrow(rowNamed(rows, "broken.mp4").type), "-");
}

TEST(BatchInspectionTest, ParallelAndSerialRunsGiveTheSameRowsInTheCollectorsOrder) {
    // Three times over, so that files of every family are under way at the same time.
    std::vector<fs::path> files;
    for (int round = 0; round < 3; ++round) {
        const auto once = mixedFiles();
        files.insert(files.end(), once.begin(), once.end());
    }
    const auto serial = inspectBatch(files, {.workers = 1, .stop = {}, .progress = {}});
    const auto parallel = inspectBatch(files, {.workers = 4, .stop = {}, .progress = {}});
    ASSERT_EQ(serial.size(), files.size());
    ASSERT_EQ(parallel.size(), files.size());

    std::set<std::string> ids;
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(parallel[i].url, files[i]);
        EXPECT_EQ(parallel[i].type, serial[i].type) << files[i];
        EXPECT_EQ(parallel[i].findings, serial[i].findings) << files[i];
        EXPECT_EQ(parallel[i].status, serial[i].status) << files[i];
        EXPECT_THAT(parallel[i].id,
                    ::testing::MatchesRegex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}"));
        ids.insert(parallel[i].id);
        ids.insert(serial[i].id);
    }
    EXPECT_EQ(ids.size(), 2 * files.size());
}

TEST(BatchInspectionTest, SelectedFilesThatNoInspectorTakesOrThatAreGoneBecomeErrorRows) {
    const TemporaryDirectory directory;
    const auto notes = directory.write("notes.txt", "hello");
    const auto row = batchReport(notes);
    EXPECT_EQ(narrow(row.type), "-");
    EXPECT_EQ(row.findings, 0);
    EXPECT_EQ(
        narrow(row.status),
        "Only common images, SVG, PDF, audio/video, and Office/iWork zip documents are supported in this version.");
    EXPECT_EQ(narrow(batchReport(directory.path() / "gone.jpg").status), "The file could not be read.");
}

TEST(BatchInspectionTest, PrivacyVerificationRuleIsEachFamilysOwn) {
    const auto& root = mixedFolder().path();
    const auto fails = [](const fs::path& file) {
        return files::failsPrivacyVerification(file, std::get<FileMetadataReport>(inspectionOutcome(file)));
    };
    const TemporaryDirectory directory;
    const auto bareSvg = directory.write("bare.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect/></svg>");

    EXPECT_FALSE(fails(root / "clean.png"));
    EXPECT_TRUE(fails(root / "comment.png"));
    EXPECT_TRUE(fails(root / "credentials.png"));
    EXPECT_TRUE(fails(root / "photo.jpg"));
    EXPECT_TRUE(fails(root / "report.pdf"));
    EXPECT_TRUE(fails(root / "walk.mp4"));
    // A comment is not personal metadata, but an SVG copy may keep nothing a report would list.
    EXPECT_TRUE(fails(root / "drawing.svg"));
    EXPECT_FALSE(fails(bareSvg));
    EXPECT_FALSE(files::failsPrivacyVerification(directory.path() / "notes.txt", FileMetadataReport{}));
}

TEST(BatchInspectionTest, ProvenanceAloneIsEnoughForAttention) {
    const auto clean = mixedFolder().path() / "clean.png";
    auto report = std::get<FileMetadataReport>(inspectionOutcome(clean));
    EXPECT_FALSE(fileNeedsAttention(clean, report));
    report.provenanceEvidence.push_back(
        {files::ProvenanceConfidence::possible, u"Possible provenance", u"c2pa", false});
    EXPECT_TRUE(fileNeedsAttention(clean, report));
    EXPECT_FALSE(fileNeedsAttention(mixedFolder().path() / "notes.txt", FileMetadataReport{}));
}

TEST(BatchInspectionTest, ASelectionBatchMarksFailedFilesAndFilesThatNeedAttention) {
    const std::vector<fs::path> selection{mixedFolder().path()};
    const auto results = inspectSelectionAsBatch(selection, {.workers = 2, .stop = {}, .progress = {}});
    const auto rows = inspectBatch(mixedFiles());
    ASSERT_EQ(results.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(results[i].report.url, rows[i].url);
        EXPECT_EQ(results[i].report.status, rows[i].status) << rows[i].url;
        EXPECT_EQ(results[i].report.findings, rows[i].findings) << rows[i].url;
    }

    const std::tuple<std::string, bool, bool> expected[] = {
        {"clean.png", false, false},      {"comment.png", false, true}, {"hint.png", false, true},
        {"credentials.png", false, true}, {"photo.jpg", false, true},   {"drawing.svg", false, true},
        {"report.pdf", false, true},      {"walk.mp4", false, true},    {"broken.png", true, false},
        {"broken.docx", true, false},     {"broken.mp4", true, false},
    };
    for (const auto& [name, failed, attention] : expected) {
        const auto found = std::find_if(results.begin(), results.end(),
                                        [&](const auto& result) { return result.report.url.filename() == name; });
        ASSERT_NE(found, results.end()) << name;
        EXPECT_EQ(found->failed, failed) << name;
        EXPECT_EQ(found->needsAttention, attention) << name;
    }

    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_THAT(inspectSelectionAsBatch(selection, {.workers = 1, .stop = stopped.get_token(), .progress = {}}),
                ::testing::IsEmpty());
}

}  // namespace
}  // namespace velquor::workflow
