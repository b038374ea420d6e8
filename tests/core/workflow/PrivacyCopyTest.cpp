#include "core/files/InspectorRegistry.h"
#include "core/workflow/PrivacyCopyDestination.h"
#include "core/workflow/PrivacyCopyOutcome.h"

#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace velquor::workflow {
namespace {

namespace fs = std::filesystem;
using namespace velquor::testing;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

fs::path commentedPng(const TemporaryDirectory& directory, const std::string& name) {
    std::string payload = "Comment";
    payload.push_back('\0');
    payload += "taken by Ann";
    const auto file = directory.path() / name;
    writeBytes(file, tinyPng({pngChunk("tEXt", bytesOf(payload))}));
    return file;
}

TEST(PrivacyCopyTest, FirstFreeNameCountsFromTwoAndDanglingLinksAreTaken) {
    const TemporaryDirectory directory;
    const auto& dir = directory.path();
    EXPECT_EQ(uniquePrivacyDestination(dir / "photo.jpg"), dir / "photo-privacy.jpg");
    directory.write("photo-privacy.jpg", "");
    fs::create_symlink(dir / "gone", dir / "photo-privacy-2.jpg");
    EXPECT_EQ(uniquePrivacyDestination(dir / "photo.jpg"), dir / "photo-privacy-3.jpg");
    EXPECT_EQ(uniquePrivacyDestination(dir / "Makefile"), dir / "Makefile-privacy");
    EXPECT_EQ(uniquePrivacyDestination(dir / ".profile"), dir / ".profile-privacy");
    EXPECT_EQ(namesIn(dir).size(), 2u) << "nothing is reserved";
}

TEST(PrivacyCopyTest, AVerifiedCopyIsNamedInTheStatusAndPassesItsOwnInspection) {
    const TemporaryDirectory directory;
    const auto source = commentedPng(directory, "a.png");
    const auto destination = directory.path() / "a-privacy.png";
    const auto outcome = exportPrivacyCopy(source, destination);
    EXPECT_EQ(outcome, (PrivacyCopyOutcome{source, destination, u"Created and verified a-privacy.png."}));
    EXPECT_TRUE(files::inspectReport(destination).entries.size() < files::inspectReport(source).entries.size());
    EXPECT_FALSE(files::failsPrivacyVerification(destination, files::inspectReport(destination)));
    EXPECT_EQ(namesIn(directory.path()), (std::vector<std::string>{"a-privacy.png", "a.png"}));
}

TEST(PrivacyCopyTest, RefusalsCarryTheReasonAndLeaveNothingBehind) {
    const TemporaryDirectory directory;
    const auto source = commentedPng(directory, "a.png");
    const auto taken = directory.write("taken.png", "keep me");
    const auto notes = directory.write("notes.txt", "hello");
    const auto broken = directory.write("broken.png", "not a png");
    fs::create_directory(directory.path() / "photos.png");
    const auto credentials = directory.path() / "credentials.png";
    writeBytes(credentials, tinyPng({pngChunk("caBX", {1, 2, 3})}));
    const auto before = namesIn(directory.path());

    struct Case {
        fs::path source;
        fs::path destination;
        std::u16string status;
    };
    const Case cases[] = {
        {source, taken, u"A file already exists at the destination."},
        {directory.path() / "photos.png", directory.path() / "photos-privacy.png",
         u"This is a folder. Privacy copies are written for files: name the files to export."},
        {notes, directory.path() / "notes-privacy.txt",
         u"Only common images, SVG, PDF, audio/video, and Office/iWork zip documents are supported in this "
         u"version."},
        {broken, directory.path() / "broken-privacy.png", u"The file could not be read."},
        {credentials, directory.path() / "credentials-privacy.png",
         u"This file appears to contain content credentials or provenance data. Velquor leaves those files "
         u"inspect-only."},
    };
    for (const auto& [from, to, status] : cases) {
        EXPECT_EQ(exportPrivacyCopy(from, to), (PrivacyCopyOutcome{from, std::nullopt, status})) << from;
    }
    EXPECT_EQ(namesIn(directory.path()), before) << "no copy and no staged file is left";
    EXPECT_EQ(readBytes(taken), bytesOf("keep me"));
}

// Another export takes each name just before this one would: the copy moves on to the next
// free name, and gives up after a bounded number of names.
TEST(PrivacyCopyTest, AnAutomaticNameTakenFirstByAnotherExportGivesWayToTheNextFreeOne) {
    const TemporaryDirectory directory;
    const auto source = commentedPng(directory, "a.png");
    const auto first = directory.write("a-privacy.png", "another export's copy");
    int asked = 0;
    const auto outcome = exportPrivacyCopyUnderFreeName(source, first, [&] {
        ++asked;
        return uniquePrivacyDestination(source);
    });
    EXPECT_EQ(outcome.copy, directory.path() / "a-privacy-2.png");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(readBytes(first), bytesOf("another export's copy"));

    int names = 0;
    const auto alwaysTaken = exportPrivacyCopyUnderFreeName(source, first, [&] {
        ++names;
        return first;
    });
    EXPECT_EQ(alwaysTaken, (PrivacyCopyOutcome{source, std::nullopt, u"A file already exists at the destination."}));
    EXPECT_EQ(names, automaticNameAttempts - 1);
    EXPECT_EQ(namesIn(directory.path()), (std::vector<std::string>{"a-privacy-2.png", "a-privacy.png", "a.png"}));
}

// Exports of one file racing each other all succeed, each under a name of its own, where a named
// destination keeps failing when it is taken.
TEST(PrivacyCopyTest, RacingExportsOfOneFileAllSucceedUnderNamesOfTheirOwn) {
    const TemporaryDirectory directory;
    const auto source = commentedPng(directory, "a.png");
    constexpr int racers = 6;
    std::vector<PrivacyCopyOutcome> outcomes(racers);
    {
        std::vector<std::jthread> threads;
        for (int i = 0; i < racers; ++i) {
            threads.emplace_back([&, i] { outcomes[i] = exportPrivacyCopyNextToSource(source); });
        }
    }
    std::set<fs::path> copies;
    for (const auto& outcome : outcomes) {
        ASSERT_TRUE(outcome.copy) << std::string(outcome.status.begin(), outcome.status.end());
        copies.insert(*outcome.copy);
    }
    EXPECT_EQ(copies.size(), static_cast<std::size_t>(racers));
    EXPECT_EQ(namesIn(directory.path()).size(), static_cast<std::size_t>(racers + 1)) << "no staged file is left";
    EXPECT_FALSE(exportPrivacyCopy(source, directory.path() / "a-privacy.png").copy);
}

}  // namespace
}  // namespace velquor::workflow
