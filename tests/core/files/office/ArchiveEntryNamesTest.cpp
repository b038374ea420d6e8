#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveEntryNames.h"

#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using Case = FileSanitizerError::Case;

bool refused(const std::vector<std::string>& names) {
    try {
        validateArchiveEntryNames(names);
        return false;
    } catch (const FileSanitizerError& error) {
        EXPECT_EQ(error.errorCase(), Case::unsafeArchiveEntry);
        return true;
    }
}

TEST(ArchiveEntryNamesTest, RefusesNamesThatEscapeOrClash) {
    const struct {
        std::vector<std::string> names;
        bool refused;
    } cases[] = {
        {{"[Content_Types].xml", "word/document.xml", "word/_rels/document.xml.rels", "_rels/.rels"}, false},
        {{"word/", "word/document.xml"}, false},
        {{"a/../b.xml"}, true},
        {{"../evil.xml"}, true},
        {{"word/./document.xml"}, true},
        {{"/etc/passwd"}, true},
        {{"word\\document.xml"}, true},
        {{""}, true},
        {{std::string("word/doc\0.xml", 13)}, true},
        {{"word/Doc.xml", "word/doc.xml"}, true},
        {{"Word/a.xml", "word/b.xml"}, false},  // folders differ only in case, files do not clash
        {{"word/", "word"}, true},
        {{"word", "word/document.xml"}, true},  // a file where a folder must be
        {{"word/document.xml", "word"}, true},
        {{"a//b.xml", "a/b.xml"}, true},
        {{"caf\xC3\xA9.xml", "cafe\xCC\x81.xml"}, true},             // composed against decomposed
        {{"\xC3\x89T\xC3\x89.xml", "\xC3\xA9t\xC3\xA9.xml"}, true},  // case beyond ASCII
        {{"//"}, true},
        {{"dir.../x.xml"}, false},
    };
    for (const auto& testCase : cases) {
        std::string shown;
        for (const auto& name : testCase.names) shown += "[" + name + "] ";
        EXPECT_EQ(refused(testCase.names), testCase.refused) << shown;
    }
}

TEST(ArchiveEntryNamesTest, ListingSplitsAtNewlinesAndDropsEmptyLines) {
    EXPECT_EQ(entryNamesFromListing("a.xml\n\nword/b.xml\nlast"),
              (std::vector<std::string>{"a.xml", "word/b.xml", "last"}));
    EXPECT_TRUE(entryNamesFromListing("").empty());
    EXPECT_TRUE(entryNamesFromListing("\n\n").empty());
}

TEST(ArchiveEntryNamesTest, LongListingShowsSymbolicLinksOnlyByPermissionString) {
    const std::string header = "Archive:  x.docx\nZip file size: 929 bytes, number of entries: 2\n";
    EXPECT_TRUE(archiveListingContainsSymbolicLink(header +
                                                   "-rw-r--r--  3.0 unx  3 tx  3 stor 26-Dec-07 04:17 "
                                                   "a.xml\nlrwxrwxrwx  3.0 unx 11 bx 11 stor 26-Dec-07 04:17 link\n"));
    EXPECT_TRUE(archiveListingContainsSymbolicLink("lrwxr-xr-x  3.0 unx 11 bx"));
    EXPECT_FALSE(
        archiveListingContainsSymbolicLink(header + "-rw-r--r--  3.0 unx  3 tx  3 stor 26-Dec-07 04:17 l.xml\n"));
    EXPECT_FALSE(archiveListingContainsSymbolicLink("lrwxrwx"));            // too short for a permission string
    EXPECT_FALSE(archiveListingContainsSymbolicLink("large file list\n"));  // "l" then letters that are not permissions
    EXPECT_FALSE(archiveListingContainsSymbolicLink("drwxr-xr-x  3.0 unx 0 bx 0 stor word/\n"));
}

TEST(ArchiveEntryNamesTest, UncompressedTotalComesFromTheTotalsLine) {
    EXPECT_EQ(uncompressedByteTotal("6 files, 23 bytes uncompressed, 23 bytes compressed:  0.0%\n"), 23);
    EXPECT_EQ(uncompressedByteTotal("1 file, 268435457 bytes uncompressed, 9 bytes compressed"), 268435457);
    EXPECT_EQ(uncompressedByteTotal("Empty zipfile.\n"), std::nullopt);
    EXPECT_EQ(uncompressedByteTotal("1 file, 99999999999999999999 bytes uncompressed"), std::nullopt);
    EXPECT_EQ(uncompressedByteTotal("x23 bytes uncompressed"), std::nullopt);
}

TEST(ArchiveEntryNamesTest, MemberPatternsMatchOnlyTheirOwnEntry) {
    EXPECT_EQ(literalMemberPattern("[Content_Types].xml"), "\\[Content_Types\\].xml");
    EXPECT_EQ(literalMemberPattern("word/*?.xml"), "word/\\*\\?.xml");
    EXPECT_EQ(literalMemberPattern("-d.rels"), "\\-d.rels");
    EXPECT_EQ(literalMemberPattern("a-b.xml"), "a-b.xml");
}

}  // namespace
}  // namespace velquor::files
