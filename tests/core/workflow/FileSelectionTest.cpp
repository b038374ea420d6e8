#include "core/workflow/FileReadiness.h"
#include "core/workflow/FileSelection.h"

#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velquor::workflow {
namespace {

namespace fs = std::filesystem;
using velquor::testing::TemporaryDirectory;

TEST(FileSelectionTest, OneFileIsInspectedAloneAndEverythingElseIsABatch) {
    const TemporaryDirectory directory;
    const auto& root = directory.path();
    const auto photo = directory.write("photo.jpg", "");
    const auto notes = directory.write("notes.txt", "");
    fs::create_directory(root / "folder");
    fs::create_directory_symlink(root / "folder", root / "link-to-folder");
    fs::create_symlink(root / "gone", root / "dangling.jpg");
    fs::create_symlink(photo, root / "link-to-photo.jpg");

    struct Case {
        std::vector<fs::path> selection;
        SelectionRoute route;
    };
    const Case cases[] = {
        {{}, SelectionRoute::none},
        {{photo}, SelectionRoute::singleFile},
        {{notes}, SelectionRoute::singleFile},  // unsupported: inspecting it says so
        {{root / "missing.png"}, SelectionRoute::singleFile},
        {{root / "dangling.jpg"}, SelectionRoute::singleFile},
        {{root / "link-to-photo.jpg"}, SelectionRoute::singleFile},
        {{root / "folder"}, SelectionRoute::batch},
        {{root / "link-to-folder"}, SelectionRoute::batch},
        {{photo, notes}, SelectionRoute::batch},
        {{root / "missing.png", root / "missing.pdf"}, SelectionRoute::batch},
        {{root / "folder", photo}, SelectionRoute::batch},
    };
    for (const auto& [selection, route] : cases) {
        EXPECT_EQ(routeSelection(selection), route) << (selection.empty() ? "nothing" : selection.front().string());
    }
}

TEST(FileSelectionTest, ReadyStatusAndExportOfferFollowTheFamilyInDispatchOrder) {
    struct Case {
        std::string name;
        std::u16string ready;
        bool exportable;
    };
    const std::u16string unsupported =
        u"Only common images, SVG, PDF, audio/video, and Office/iWork zip documents are supported in this version.";
    const Case cases[] = {
        {"drawing.svg", u"SVG ready.", true},
        {"DRAWING.SVG", u"SVG ready.", true},
        {"report.pdf", u"PDF ready.", true},
        {"photo.jpg", u"Image ready.", true},
        {"frame.png", u"Image ready.", true},
        {"burst.heic", u"Image ready.", true},
        {"clip.mp4", u"Media ready.", true},
        {"voice.m4a", u"Media ready.", true},
        {"song.mp3", u"Media ready.", true},
        {"take.wav", u"Media ready.", true},
        {"clip.webm", u"Media ready.", true},
        {"letter.docx", u"Office document ready.", true},
        {"sheet.xlsx", u"Office document ready.", true},
        {"essay.pages", u"Archive inspected. Privacy export is not available for this file type.", false},
        {"talk.key", u"Archive inspected. Privacy export is not available for this file type.", false},
        {"budget.numbers", u"Archive inspected. Privacy export is not available for this file type.", false},
        {"notes.txt", unsupported, false},
        {"Makefile", unsupported, false},
    };
    files::FileMetadataReport plain;
    files::FileMetadataReport credentials;
    credentials.hasContentCredentialsSignal = true;
    for (const auto& [name, ready, exportable] : cases) {
        EXPECT_EQ(readyStatus(name), ready) << name;
        EXPECT_EQ(canExportFile(name), exportable) << name;
        EXPECT_EQ(canOfferPrivacyCopy(name, plain), exportable) << name;
        EXPECT_FALSE(canOfferPrivacyCopy(name, credentials)) << name;
    }
}

}  // namespace
}  // namespace velquor::workflow
