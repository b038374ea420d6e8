// The export contract every file family keeps, whatever its writer: the privacy copy is
// published next to its source and passes the family's own re-inspection; nothing already at the
// destination is replaced, written through or touched; and neither a staged sibling
// (".NAME-velquor-UUID.ext") nor a working folder in the temporary folder outlives an export,
// whether it succeeds or is refused. What each copy keeps and loses is tested per family.
#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TemporaryFolderOverride.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velquor::files {
namespace {

namespace fs = std::filesystem;
using Case = FileSanitizerError::Case;
using namespace velquor::testing;

fs::path written(const fs::path& folder, const std::string& name, std::string_view bytes) {
    writeBytes(folder / name, bytesOf(bytes));
    return folder / name;
}

fs::path privacyDestination(const fs::path& source) {
    return source.parent_path() / (source.stem().string() + "-privacy" + source.extension().string());
}

// Sources, copies and destinations live in "work", link targets in "elsewhere"; "tmp" is the
// system temporary folder while the test runs.
template <class Row>
class ExportTest : public ::testing::TestWithParam<Row> {
protected:
    ExportTest() {
        fs::create_directory(work());
        fs::create_directory(elsewhere());
    }

    void TearDown() override {
        EXPECT_EQ(stagedFiles(work()), std::vector<std::string>{});
        EXPECT_EQ(stagedFiles(elsewhere()), std::vector<std::string>{});
        EXPECT_EQ(temporary_.leftovers(), std::vector<std::string>{}) << "a working folder was left behind";
    }

    fs::path work() const { return root_.path() / "work"; }
    fs::path elsewhere() const { return root_.path() / "elsewhere"; }

private:
    static std::vector<std::string> stagedFiles(const fs::path& folder) {
        auto names = namesIn(folder);
        std::erase_if(names, [](const std::string& name) {
            return !name.starts_with('.') || name.find("-velquor-") == std::string::npos;
        });
        return names;
    }

    TemporaryDirectory root_;
    TemporaryFolderOverride temporary_{root_.path() / "tmp"};
};

fs::path officeSample(const fs::path& folder, const std::string& name, Parts parts) {
    parts["docProps/core.xml"] = corePropertiesPart("Jane Roe", "Budget");
    zipWithSystemZip(folder, parts, folder / name);
    return folder / name;
}

struct Sample {
    const char* name;
    fs::path (*make)(const fs::path& folder);
};

void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.name; }

// One file of every exportable family, carrying what its copy may not.
const Sample exportableSamples[] = {
    {"jpeg", jpegWithThumbnail},
    {"png", pngWithTextChunks},
    {"gif", animatedGif},
    {"webp", taggedWebp},
    {"tiff", taggedTiff},
    {"avif", taggedAvif},
    {"svg",
     [](const fs::path& folder) {
         return written(folder, "logo.svg",
                        "<?xml version=\"1.0\"?>\n<!-- drawn by Jane -->\n"
                        "<svg xmlns=\"http://www.w3.org/2000/svg\" onload=\"track()\">\n"
                        "<metadata><dc:creator>Jane</dc:creator></metadata>\n"
                        "<a href=\"https://t.example/p\"><rect width=\"10\" height=\"10\"/></a>\n</svg>\n");
     }},
    {"pdf",
     [](const fs::path& folder) {
         return written(folder, "budget.pdf",
                        samplePdf({.info = "/Author (Jane Doe) /Title (Budget)",
                                   .annotations = {"/Subtype /Text /Rect [10 10 30 30] /Contents (Check) /T (Al)"}}));
     }},
    {"mp4", [](const fs::path& folder) { return MediaFixtures(folder).taggedMp4(); }},
    {"mov", [](const fs::path& folder) { return MediaFixtures(folder).cameraMov(); }},
    {"m4a", [](const fs::path& folder) { return MediaFixtures(folder).albumM4a(); }},
    {"mp3", [](const fs::path& folder) { return MediaFixtures(folder).tagged("song.mp3"); }},
    {"flac", [](const fs::path& folder) { return MediaFixtures(folder).tagged("song.flac"); }},
    {"opus", [](const fs::path& folder) { return MediaFixtures(folder).tagged("memo.opus"); }},
    {"wav", [](const fs::path& folder) { return MediaFixtures(folder).tagged("memo.wav"); }},
    {"mkv", [](const fs::path& folder) { return MediaFixtures(folder).tagged("clip.mkv"); }},
    {"webm", [](const fs::path& folder) { return MediaFixtures(folder).tagged("clip.webm"); }},
    {"wma", [](const fs::path& folder) { return MediaFixtures(folder).tagged("song.wma"); }},
    {"docx",
     [](const fs::path& folder) {
         return officeSample(folder, "memo.docx",
                             minimalWordDocument("<w:ins w:id=\"1\" w:author=\"Jane Roe\"><w:r><w:t>new</w:t></w:r>"
                                                 "</w:ins>"));
     }},
    {"pptx", [](const fs::path& folder) { return officeSample(folder, "deck.pptx", minimalPresentation("Plan")); }},
    {"xlsx", [](const fs::path& folder) { return officeSample(folder, "book.xlsx", minimalWorkbook("Salaries")); }},
};

class ExportContractTest : public ExportTest<Sample> {
protected:
    void SetUp() override {
        source_ = GetParam().make(work());
        sourceBytes_ = readBytes(source_);
    }

    void TearDown() override {
        if (!source_.empty()) {
            EXPECT_EQ(readBytes(source_), sourceBytes_) << "the source was changed";
        }
        ExportTest::TearDown();
    }

    fs::path source_;
    Bytes sourceBytes_;
};

TEST_P(ExportContractTest, TheCopyIsPublishedNextToItsSourceAndPassesItsOwnReinspection) {
    ASSERT_TRUE(isInspectable(source_));
    ASSERT_TRUE(isExportable(source_));
    ASSERT_TRUE(failsPrivacyVerification(source_, inspectReport(source_))) << "the sample carries nothing to remove";
    const auto copy = privacyDestination(source_);
    auto expected = namesIn(work());
    expected.push_back(copy.filename());
    std::sort(expected.begin(), expected.end());

    createPrivacyCopy(source_, copy);

    EXPECT_EQ(namesIn(work()), expected);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(copy)));
    EXPECT_FALSE(failsPrivacyVerification(copy, inspectReport(copy)));
}

TEST_P(ExportContractTest, NothingAtTheDestinationIsReplacedOrWrittenThrough) {
    const auto extension = source_.extension().string();
    const auto file = written(work(), "taken" + extension, "theirs");
    const auto folder = work() / ("folder" + extension);
    fs::create_directory(folder);
    written(folder, "inside", "theirs");
    const auto target = written(elsewhere(), "target" + extension, "theirs");
    const auto link = work() / ("link" + extension);
    fs::create_symlink(target, link);
    const auto missing = elsewhere() / ("missing" + extension);
    const auto dangling = work() / ("dangling" + extension);
    fs::create_symlink(missing, dangling);
    const auto before = namesIn(work());

    for (const auto& destination : {file, folder, link, dangling}) {
        EXPECT_EQ(errorOf([&] { createPrivacyCopy(source_, destination); }), Case::destinationExists)
            << destination.filename();
    }

    EXPECT_EQ(namesIn(work()), before);
    EXPECT_EQ(readBytes(file), bytesOf("theirs"));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"inside"});
    EXPECT_EQ(fs::read_symlink(link), target);
    EXPECT_EQ(fs::read_symlink(dangling), missing);
    EXPECT_EQ(namesIn(elsewhere()), std::vector<std::string>{target.filename()}) << "a link was written through";
    EXPECT_EQ(readBytes(target), bytesOf("theirs"));
}

// The two moves of the staged copies decide: one is published whole, the other finds the
// destination taken.
TEST_P(ExportContractTest, OfTwoExportsRacingForOneDestinationOneIsPublishedWholeAndOneRefused) {
    const auto reference = work() / ("reference" + source_.extension().string());
    createPrivacyCopy(source_, reference);
    const auto referenceEntries = inspectReport(reference).entries;
    for (int round = 0; round < 3; ++round) {
        const auto destination = work() / ("race-" + std::to_string(round) + source_.extension().string());
        std::array<std::optional<Case>, 2> outcomes;
        const auto exportInto = [&](std::optional<Case>& outcome) {
            outcome = errorOf([&] { createPrivacyCopy(source_, destination); });
        };
        std::thread first(exportInto, std::ref(outcomes[0]));
        std::thread second(exportInto, std::ref(outcomes[1]));
        first.join();
        second.join();
        EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), std::nullopt), 1) << "round " << round;
        EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), Case::destinationExists), 1) << "round " << round;
        EXPECT_EQ(fs::file_size(destination), fs::file_size(reference));
        EXPECT_EQ(inspectReport(destination).entries, referenceEntries);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryExportableFamily, ExportContractTest, ::testing::ValuesIn(exportableSamples),
                         [](const auto& info) { return std::string(info.param.name); });

struct Refusal {
    const char* name;
    std::function<fs::path(const fs::path& folder)> make;
    Case expected;
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

fs::path cutPng(const fs::path& folder) {
    auto png = tinyPng({pngChunk("tEXt", bytesOf(std::string_view("Author\0Ann", 10)))});
    png.resize(png.size() - 14);  // IEND and part of the image data are gone
    writeBytes(folder / "cut.png", png);
    return folder / "cut.png";
}

// qpdf keeps image data as it is, so XMP inside a JPEG image stream would reach the copy.
fs::path pdfWithXmpInAnImage(const fs::path& folder) {
    PdfBuilder pdf;
    const auto image = PdfBuilder::reference(
        pdf.addStream("/Type /XObject /Subtype /Image /Width 1 /Height 1 /BitsPerComponent 8 /ColorSpace /DeviceGray "
                      "/Filter /DCTDecode",
                      "\xFF\xD8\xFF\xE1<x:xmpmeta xmlns:x='adobe:ns:meta/'>Jane</x:xmpmeta>\xFF\xD9"));
    const auto content = PdfBuilder::reference(pdf.addStream("", "q 10 0 0 10 0 0 cm /Im1 Do Q"));
    const int pages = pdf.addPageTree(
        {"/MediaBox [0 0 10 10] /Contents " + content + " /Resources << /XObject << /Im1 " + image + " >> >>"});
    return written(folder, "photo.pdf",
                   pdf.build(pdf.add("<< /Type /Catalog /Pages " + PdfBuilder::reference(pages) + " >>")));
}

fs::path pdfLockedByAPassword(const fs::path& folder) {
    const auto plain = written(folder, "plain.pdf", samplePdf({.info = "/Author (Jane Doe)"}));
    const auto locked = folder / "locked.pdf";
    runTool("/usr/bin/qpdf", {"--encrypt", "secret", "owner", "256", "--", plain.string(), locked.string()});
    return locked;
}

// Every unclosed @import makes the removal rule read to the end of the text.
fs::path svgWhoseCleaningCannotFinish(const fs::path& folder) {
    std::string svg = "<svg>";
    for (int i = 0; i < 60'000; ++i) svg += "@import url(";
    return written(folder, "slow.svg", svg);
}

fs::path movieOfOnlyDataStreams(const fs::path& folder) {
    const MediaFixtures media(folder);
    return media.make("timecode.mov", {"-i", media.cameraMov().string(), "-map", "0:d", "-c", "copy"});
}

// Its index comes first and promises samples the file no longer holds: a copy would lose the
// end of the recording without a word.
fs::path movieCutShort(const fs::path& folder) {
    const MediaFixtures media(folder);
    const auto movie =
        media.make("streamable.mp4", {"-i", media.plainMp4().string(), "-c", "copy", "-movflags", "faststart"});
    fs::resize_file(movie, fs::file_size(movie) * 2 / 3);
    return movie;
}

// The first half of a recording whose header still tells its full length.
std::function<fs::path(const fs::path&)> recordingCutShort(const std::string& name) {
    return [name](const fs::path& folder) {
        const auto recording = MediaFixtures(folder).tagged(name);
        fs::resize_file(recording, fs::file_size(recording) / 2);
        return recording;
    };
}

// Exports every family refuses, each at its own step: before any work, while writing, or when
// the staged copy fails its re-inspection.
const Refusal refusals[] = {
    {"png_with_content_credentials", pngWithContentCredentials, Case::contentCredentialsInspectOnly},
    {"jpeg_with_content_credentials", jpegWithContentCredentials, Case::contentCredentialsInspectOnly},
    {"png_cut_short", cutPng, Case::exportFailed},
    {"pdf_whose_copy_keeps_xmp", pdfWithXmpInAnImage, Case::verificationFailed},
    {"pdf_that_is_no_document",
     [](const fs::path& folder) { return written(folder, "broken.pdf", "%PDF-1.7\nnot a document\n"); },
     Case::unreadableFile},
    {"pdf_locked_by_a_password", pdfLockedByAPassword, Case::unreadableFile},
    {"svg_naming_a_local_file",
     [](const fs::path& folder) {
         return written(folder, "map.svg", "<svg><text>/Users/jane/Desktop/map.png</text></svg>");
     },
     Case::verificationFailed},
    {"svg_whose_cleaning_cannot_finish", svgWhoseCleaningCannotFinish, Case::unreadableFile},
    {"mp3_cut_short", recordingCutShort("song.mp3"), Case::unreadableFile},
    {"flac_cut_short", recordingCutShort("song.flac"), Case::unreadableFile},
    {"ogg_cut_short", recordingCutShort("song.ogg"), Case::unreadableFile},
    {"wav_cut_short", recordingCutShort("memo.wav"), Case::unreadableFile},
    {"matroska_cut_short", recordingCutShort("clip.mkv"), Case::exportFailed},
    {"movie_of_only_data_streams", movieOfOnlyDataStreams, Case::exportFailed},
    {"movie_cut_short", movieCutShort, Case::unreadableFile},
    {"word_document_with_unknown_revision_markup",
     [](const fs::path& folder) {
         return officeSample(folder, "odd.docx",
                             minimalWordDocument("<w:r><w:t>x</w:t></w:r><w:futureChange w:author=\"Jane Roe\"/>"));
     },
     Case::verificationFailed},
    {"pages_document",
     [](const fs::path& folder) {
         return officeSample(folder, "essay.pages", {{"Index/Document.iwa", "x"}});
     },
     Case::inspectOnlyType},
};

class ExportRefusalTest : public ExportTest<Refusal> {};

TEST_P(ExportRefusalTest, TheRefusalLeavesNothingBehind) {
    const auto source = GetParam().make(work());
    const auto sourceBytes = readBytes(source);
    const auto before = namesIn(work());
    const auto destination = privacyDestination(source);

    EXPECT_EQ(errorOf([&] { createPrivacyCopy(source, destination); }), GetParam().expected);

    EXPECT_FALSE(fs::exists(fs::symlink_status(destination)));
    EXPECT_EQ(namesIn(work()), before);
    EXPECT_EQ(readBytes(source), sourceBytes);
    if (GetParam().expected == Case::inspectOnlyType) {
        EXPECT_FALSE(isExportable(source));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, ExportRefusalTest, ::testing::ValuesIn(refusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velquor::files
