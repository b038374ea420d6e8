#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveValidation.h"

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

TEST(ArchiveValidationTest, RefusesNamesThatEscapeOrClash) {
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

TEST(ArchiveValidationTest, DeclaredTotalRefusesASumThatWrapsAround) {
    const auto sized = [](std::vector<std::uint64_t> sizes) {
        std::vector<ArchiveEntry> entries;
        for (const auto size : sizes) {
            ArchiveEntry entry;
            entry.declaredSize = size;
            entries.push_back(entry);
        }
        return entries;
    };
    EXPECT_EQ(declaredTotalSize(sized({})), 0u);
    EXPECT_EQ(declaredTotalSize(sized({23, 1000})), 1023u);
    EXPECT_EQ(declaredTotalSize(sized({UINT64_MAX})), UINT64_MAX);
    EXPECT_EQ(declaredTotalSize(sized({UINT64_MAX, 1})), std::nullopt);
    EXPECT_EQ(declaredTotalSize(sized({1u << 20, UINT64_MAX - 5})), std::nullopt);
}

}  // namespace
}  // namespace velquor::files
