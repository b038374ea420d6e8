#include "tests/support/ChildProcess.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::cli {
namespace {

using ::testing::HasSubstr;
using namespace velquor::testing;

ChildResult velquorCli(const std::vector<std::string>& arguments) { return runChild(VELQUOR_CLI_PATH, arguments); }

std::filesystem::path pngWithComment(const TemporaryDirectory& directory, const std::string& name,
                                     std::string_view comment) {
    const auto file = directory.path() / name;
    std::string payload = "Comment";
    payload.push_back('\0');
    payload += comment;
    writeBytes(file, tinyPng({pngChunk("tEXt", bytesOf(payload))}));
    return file;
}

TEST(FileCliTest, JsonReportCarriesTheRecordsAndTheirDerivedProperties) {
    TemporaryDirectory directory;
    const auto file = pngWithComment(directory, "c.png", "hi \x1B[31mthere");
    const auto result = velquorCli({"file", "inspect", "--json", file.string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              R"({"fileName":"c.png","typeDescription":"PNG image","byteCount":100,"pixelSize":"1 x 1",)"
              R"("hasContentCredentialsSignal":false,"entries":[)"
              R"({"id":"{PNG}.Comment","section":"Description","name":"Comment","value":"hi \u001b[31mthere"},)"
              R"({"id":"{PNG}.InterlaceType","section":"File","name":"InterlaceType","value":"0"},)"
              R"({"id":"PixelHeight","section":"File","name":"PixelHeight","value":"1"},)"
              R"({"id":"PixelWidth","section":"File","name":"PixelWidth","value":"1"}],)"
              R"("provenanceEvidence":[],"containsLocation":false,"containsPersonalMetadata":true})"
              "\n");
}

TEST(FileCliTest, HumanReportShowsSectionsAndKeepsTerminalControlsVisible) {
    TemporaryDirectory directory;
    const auto file = pngWithComment(directory, "c.png", "hi \x1B[31mthere");
    const auto result = velquorCli({"file", "inspect", file.string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.out, HasSubstr("Type: PNG image\nSize: 100 bytes\nPixels: 1 x 1\nPersonal metadata: yes\n"));
    EXPECT_THAT(result.out, HasSubstr("\nDescription\n  Comment: hi <U+001B>[31mthere\n\nFile\n"));
    EXPECT_THAT(result.out, ::testing::Not(HasSubstr("\x1B")));
}

TEST(FileCliTest, InspectExitStatusSaysWhetherAFileNeedsAttention) {
    TemporaryDirectory directory;
    const auto clean = directory.path() / "clean.png";
    writeBytes(clean, tinyPng());
    const auto hint = pngWithComment(directory, "hint.png", "c2pa");
    const auto credentials = directory.path() / "credentials.png";
    writeBytes(credentials, tinyPng({pngChunk("caBX", {1, 2, 3})}));
    const std::pair<std::filesystem::path, int> cases[] = {{clean, 0}, {hint, 1}, {credentials, 1}};
    for (const auto& [file, status] : cases)
        EXPECT_EQ(velquorCli({"file", "inspect", file.string()}).exitStatus, status) << file;

    const auto credentialsReport = velquorCli({"file", "inspect", credentials.string()});
    EXPECT_THAT(credentialsReport.out, HasSubstr("Content Credentials (confirmed): PNG caBX manifest chunk\n"
                                                 "This file stays inspect-only: no privacy copy is written.\n"));
}

TEST(FileCliTest, RefusalsPrintTheErrorMessageAndExitWithTwo) {
    TemporaryDirectory directory;
    const auto notes = directory.write("notes.txt", "hello");
    const auto credentials = directory.path() / "credentials.png";
    writeBytes(credentials, tinyPng({pngChunk("caBX", {1, 2, 3})}));
    const auto source = pngWithComment(directory, "a.png", "hi");
    const auto taken = directory.write("taken.png", "");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"file", "inspect", notes.string()},
         "Only common images, SVG, PDF, audio/video, and Office/iWork zip documents are supported in this version.\n"},
        {{"file", "inspect", (directory.path() / "missing.png").string()}, "The file could not be read.\n"},
        {{"file", "export", credentials.string()},
         "This file appears to contain content credentials or provenance data. Velquor leaves those files "
         "inspect-only.\n"},
        {{"file", "export", source.string(), "--output", taken.string()},
         "A file already exists at the destination.\n"},
    };
    for (const auto& [arguments, message] : cases) {
        const auto result = velquorCli(arguments);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, message);
    }
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "credentials-privacy.png"));
}

TEST(FileCliTest, ExportWritesFreeNamesNextToTheSourceAndPrintsThem) {
    TemporaryDirectory directory;
    const auto source = pngWithComment(directory, "a.png", "hi");
    const auto first = velquorCli({"file", "export", source.string()});
    EXPECT_EQ(first.exitStatus, 0);
    EXPECT_EQ(first.out, (directory.path() / "a-privacy.png").string() + "\n");
    const auto second = velquorCli({"file", "export", source.string()});
    EXPECT_EQ(second.out, (directory.path() / "a-privacy-2.png").string() + "\n");

    const auto output = directory.path() / "chosen.png";
    EXPECT_EQ(velquorCli({"file", "export", source.string(), "--output", output.string()}).exitStatus, 0);
    EXPECT_EQ(velquorCli({"file", "inspect", output.string()}).exitStatus, 0);
}

TEST(FileCliTest, SeveralInputsAreExportedOneByOneAndEachRefusalNamesItsFile) {
    TemporaryDirectory directory;
    const auto good = pngWithComment(directory, "good.png", "hi");
    const auto bad = directory.write("bad.png", "not a png");
    const auto result = velquorCli({"file", "export", good.string(), bad.string()});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, (directory.path() / "good-privacy.png").string() + "\n");
    EXPECT_EQ(result.err, bad.string() + ": The file could not be read.\n");

    const auto usage = velquorCli({"file", "export", good.string(), bad.string(), "--output", "x.png"});
    EXPECT_EQ(usage.exitStatus, 2);
    EXPECT_EQ(usage.out, "");
    EXPECT_THAT(usage.err, HasSubstr("--output takes exactly one file"));
    EXPECT_EQ(velquorCli({"file", "inspect"}).exitStatus, 2);
    EXPECT_EQ(velquorCli({"file", "export"}).exitStatus, 2);
}

}  // namespace
}  // namespace velquor::cli
