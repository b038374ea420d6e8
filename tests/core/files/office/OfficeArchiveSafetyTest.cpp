#include "tests/core/files/office/OfficeTestFolder.h"

#include "tests/support/FileTestSupport.h"
#include "tests/support/PackageOracles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velquor::files {
namespace {

using testing::RawZipEntry;
using Case = FileSanitizerError::Case;

class OfficeArchiveSafetyTest : public testing::OfficeTestFolder {
protected:
    std::filesystem::path write(const std::string& name, const std::vector<RawZipEntry>& entries) {
        const auto file = path() / name;
        std::ofstream(file, std::ios::binary) << testing::rawZip(entries);
        return file;
    }

    static std::optional<Case> exportFailure(const std::filesystem::path& file) {
        const auto destination = file.parent_path() / "refused.docx";
        const auto failure = testing::errorOf([&] { createPrivacyCopy(file, destination); });
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(destination)));
        return failure;
    }

    // Both inspection and export refuse the archive the same way; the export leaves nothing.
    void expectRefused(const std::filesystem::path& file, Case expected, const char* what) {
        EXPECT_EQ(testing::errorOf([&] { inspectReport(file); }), expected) << what;
        EXPECT_EQ(exportFailure(file), expected) << what;
        EXPECT_EQ(leftovers(), std::vector<std::string>{}) << what;
    }
};

RawZipEntry entry(std::string name, std::string data = "<x/>") { return {std::move(name), std::move(data)}; }

std::vector<RawZipEntry> manyEntries(std::size_t count, std::size_t nameLength) {
    std::vector<RawZipEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        auto name = "e/" + std::to_string(i);
        name += std::string(nameLength > name.size() ? nameLength - name.size() : 0, 'n');
        entries.push_back(entry(std::move(name), ""));
    }
    return entries;
}

// Each archive is refused by inspection and export alike, before anything is unpacked.
TEST_F(OfficeArchiveSafetyTest, HostileNamesLinksLyingHeadersAndBombsAreRefused) {
    const auto types = entry("[Content_Types].xml", "<Types/>");
    // The main part claims 100 bytes and holds 2 MB: both the full scan for revisions and the
    // copy read it, and neither may take more than the claim.
    const auto longBody = "<w:document " + std::string(testing::wordNamespaces) + "><w:body>" +
                          std::string(2'000'000, ' ') +
                          "<w:p><w:ins w:author=\"Jane Roe\"/></w:p></w:body></w:document>";
    const auto limit = Case::archiveResourceLimitExceeded;
    const struct {
        const char* what;
        std::vector<RawZipEntry> entries;
        Case expected;
    } cases[] = {
        {"traversal", {entry("word/document.xml"), entry("../../escaped.xml")}, Case::unsafeArchiveEntry},
        {"absolute name", {entry("/tmp/absolute.xml")}, Case::unsafeArchiveEntry},
        {"backslash", {entry("word\\..\\..\\evil.xml")}, Case::unsafeArchiveEntry},
        {"case collision", {entry("word/Doc.xml"), entry("word/doc.xml")}, Case::unsafeArchiveEntry},
        {"normalization collision", {entry("caf\xC3\xA9.xml"), entry("cafe\xCC\x81.xml")}, Case::unsafeArchiveEntry},
        {"symbolic link",
         {entry("word/document.xml"), {"word/link.xml", "/etc/passwd", 0120777}},
         Case::unsafeArchiveEntry},
        {"hidden symbolic link",
         {entry("_rels/.rels"), {"_rels/.hidden", "../../../../etc", 0120777}},
         Case::unsafeArchiveEntry},
        // A reader that walks the local headers would see word/document.xml twice.
        {"local name differs from the central one",
         {types,
          entry("word/document.xml"),
          {.name = "word/styles.xml", .data = "<x/>", .localName = "word/document.xml"}},
         Case::unsafeArchiveEntry},
        {"20,001 entries", manyEntries(20'001, 8), limit},
        {"declared total over 256 MiB", {entry("a.xml"), {"big.bin", "tiny", 0100644, false, 268'435'453}}, limit},
        // 20,000 names of 250 bytes make a name listing past its 5,000,000-byte cap.
        {"listing cap", manyEntries(20'000, 250), limit},
        // 2^64 - 1 and 2 declared bytes add up to 1 in 64 bits.
        {"declared total wraps around",
         {types, {"a.bin", "", 0100644, false, UINT64_MAX}, {"b.bin", "", 0100644, false, 2}},
         limit},
        {"part longer than declared", {types, {"word/document.xml", longBody, 0100644, true, 100}}, limit},
        {"encrypted entry",
         {types, {.name = "word/document.xml", .data = "<w:document/>", .encrypted = true}},
         Case::unreadableFile},
    };
    for (const auto& testCase : cases) {
        expectRefused(write("hostile.docx", testCase.entries), testCase.expected, testCase.what);
    }
    EXPECT_FALSE(std::filesystem::exists(path().parent_path() / "escaped.xml"));
}

TEST_F(OfficeArchiveSafetyTest, TwentyThousandEntriesAreStillInspected) {
    EXPECT_NO_THROW(inspectReport(write("many.docx", manyEntries(20'000, 8))));
}

TEST_F(OfficeArchiveSafetyTest, CopiesAreBoundedByWhatInflatesNotByWhatIsDeclared) {
    // Each entry claims 1,000 bytes and inflates to 100 MiB: the declared total passes, but the
    // copy must not carry such a bomb along.
    std::vector<RawZipEntry> entries{entry("word/document.xml")};
    for (const auto* name : {"word/media/a.bin", "word/media/b.bin", "word/media/c.bin"}) {
        entries.push_back(testing::zeroFilledEntry(name, 100u << 20, 1000));
    }
    const auto file = write("bomb.docx", entries);
    EXPECT_NO_THROW(inspectReport(file));
    EXPECT_EQ(exportFailure(file), Case::archiveResourceLimitExceeded);
}

TEST_F(OfficeArchiveSafetyTest, TruncatedArchivesAreUnreadable) {
    const auto whole = package("whole.docx", testing::minimalWordDocument("<w:r><w:t>text</w:t></w:r>"));
    const auto bytes = testing::readFile(whole);
    for (const std::size_t length : {bytes.size() / 2, bytes.size() - 10, std::size_t{4}, std::size_t{0}}) {
        const auto cut = path() / "cut.docx";
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, length);
        expectRefused(cut, Case::unreadableFile, "truncated");
    }
}

TEST_F(OfficeArchiveSafetyTest, FolderEntriesWithoutPermissionsAreLeftOut) {
    auto entries = std::vector<RawZipEntry>{entry("[Content_Types].xml", "<Types/>"), entry("locked/part.xml")};
    entries.push_back({"locked/", "", 040000});
    const auto copy = exported(write("locked.docx", entries));
    EXPECT_TRUE(testing::archiveTestPasses(copy));
    EXPECT_EQ(testing::archiveEntryNames(copy), (std::vector<std::string>{"[Content_Types].xml", "locked/part.xml"}));
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

}  // namespace
}  // namespace velquor::files
