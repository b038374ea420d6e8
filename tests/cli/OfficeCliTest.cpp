#include "tests/support/ChildProcess.h"
#include "tests/support/OfficePackages.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TemporaryFolderOverride.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace velquor::files {
namespace {

using ::testing::HasSubstr;
using velquor::testing::runChild;

// The command writes nothing in the temporary folder, which is this test's own and must end empty.
class OfficeCliTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(temporary_.leftovers(), std::vector<std::string>{}); }
    const std::filesystem::path& path() const { return directory_.path(); }

private:
    testing::TemporaryDirectory directory_;
    testing::TemporaryFolderOverride temporary_{directory_.path() / "tmp"};
};

TEST_F(OfficeCliTest, InspectsAndExportsOfficeDocuments) {
    auto parts = testing::minimalWordDocument("<w:ins w:id=\"1\" w:author=\"A\"><w:r><w:t>new</w:t></w:r></w:ins>");
    parts["docProps/core.xml"] = "<cp:coreProperties><dc:creator>Jane Roe</dc:creator></cp:coreProperties>";
    const auto source = path() / "memo.docx";
    testing::zipWithSystemZip(path(), parts, source);

    const auto inspected = runChild(VELQUOR_CLI_PATH, {"file", "inspect", "--json", source.string()});
    EXPECT_EQ(inspected.exitStatus, 1);
    EXPECT_THAT(inspected.out, HasSubstr("\"typeDescription\":\"Word document archive\""));
    EXPECT_THAT(inspected.out, HasSubstr("\"name\":\"Author\",\"value\":\"Jane Roe\""));
    EXPECT_THAT(inspected.out, HasSubstr("\"name\":\"Tracked insertions\",\"value\":\"1\""));

    const auto exported = runChild(VELQUOR_CLI_PATH, {"file", "export", source.string()});
    EXPECT_EQ(exported.exitStatus, 0) << exported.err;
    EXPECT_EQ(exported.out, (path() / "memo-privacy.docx").string() + "\n");
    const auto copy = runChild(VELQUOR_CLI_PATH, {"file", "inspect", (path() / "memo-privacy.docx").string()});
    EXPECT_EQ(copy.exitStatus, 0);
    EXPECT_THAT(copy.out, HasSubstr("Personal metadata: none found"));
}

TEST_F(OfficeCliTest, RefusedArchivesPrintTheReasonAndNothingElse) {
    const auto hostile = path() / "hostile.xlsx";
    std::ofstream(hostile, std::ios::binary) << testing::rawZip({{"../../evil.xml", "<x/>"}});
    for (const auto* command : {"inspect", "export"}) {
        const auto result = runChild(VELQUOR_CLI_PATH, {"file", command, hostile.string()});
        EXPECT_EQ(result.exitStatus, 2) << command;
        EXPECT_EQ(result.out, "") << command;
        EXPECT_EQ(result.err, "The document archive contains unsafe or conflicting entries.\n") << command;
    }
    EXPECT_FALSE(std::filesystem::exists(path() / "hostile-privacy.xlsx"));
}

}  // namespace
}  // namespace velquor::files
