#include "tests/support/ChildProcess.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace velquor::cli {
namespace {

using ::testing::HasSubstr;
using velquor::testing::ChildResult;
using velquor::testing::runChild;
using velquor::testing::TemporaryDirectory;

ChildResult velquorCli(const std::vector<std::string>& arguments) { return runChild(VELQUOR_CLI_PATH, arguments); }

const std::string personalPdf = velquor::testing::samplePdf({.info = "/Author (Jane Doe) /Producer (Writer)"});

// A trailer whose catalog is a number: no copy of it can be known to keep the document.
const char* const damagedPdf =
    "%PDF-1.4\n1 0 obj\n42\nendobj\n3 0 obj\n<< /Author (Jane Doe) /Producer (Writer) >>\nendobj\ntrailer\n"
    "<< /Root 1 0 R /Info 3 0 R >>\n";

TEST(PdfSvgCliTest, InspectShowsPdfAttributesAndFlagsThem) {
    const TemporaryDirectory directory;
    const auto result = velquorCli({"file", "inspect", directory.write("report.pdf", personalPdf)});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_THAT(result.out, HasSubstr("Type: PDF document\n"));
    EXPECT_THAT(result.out, HasSubstr("Description\n  Author: Jane Doe\n"));
    EXPECT_THAT(result.out, HasSubstr("PDF\n  Producer: Writer\n"));

    // Whatever an SVG report lists is something its privacy copy removes, comments included.
    const auto json = velquorCli({"file", "inspect", "--json", directory.write("plain.svg", "<svg><!-- a --></svg>")});
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_THAT(json.out, HasSubstr(R"({"id":"SVG-XML comments","section":"SVG","name":"XML comments","value":"1"})"));
    EXPECT_EQ(velquorCli({"file", "inspect", directory.write("bare.svg", "<svg><rect/></svg>")}).exitStatus, 0);
}

TEST(PdfSvgCliTest, ExportWritesVerifiedCopiesOrSaysWhyNot) {
    const TemporaryDirectory directory;
    const auto pdf = velquorCli({"file", "export", directory.write("report.pdf", personalPdf)});
    EXPECT_EQ(pdf.exitStatus, 0) << pdf.err;
    EXPECT_EQ(pdf.out, (directory.path() / "report-privacy.pdf").string() + "\n");
    EXPECT_EQ(velquorCli({"file", "inspect", directory.path() / "report-privacy.pdf"}).exitStatus, 0);
    const auto damaged = velquorCli({"file", "export", directory.write("damaged.pdf", damagedPdf)});
    EXPECT_EQ(damaged.exitStatus, 2);
    EXPECT_EQ(damaged.err, "The privacy copy could not be written.\n");
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "damaged-privacy.pdf"));

    const auto svg =
        velquorCli({"file", "export", directory.write("path.svg", "<svg><text>/Volumes/Work/a</text></svg>")});
    EXPECT_EQ(svg.exitStatus, 2);
    EXPECT_EQ(svg.out, "");
    EXPECT_EQ(svg.err, "The exported copy still contains personal metadata.\n");
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "path-privacy.svg"));

    const auto broken = velquorCli({"file", "inspect", directory.write("broken.svg", "not an image")});
    EXPECT_EQ(broken.exitStatus, 2);
    EXPECT_EQ(broken.err, "The file could not be read.\n");
}

}  // namespace
}  // namespace velquor::cli
