#include "tests/support/TemporaryDirectory.h"

#include "core/text/base/Utf.h"
#include "core/text/input/WritingSamples.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace velquor::text {
namespace {

using velquor::testing::TemporaryDirectory;
namespace fs = std::filesystem;

// Writes a file, making its folders first.
void put(const TemporaryDirectory& folder, const std::string& name, std::string_view bytes) {
    fs::create_directories((folder.path() / name).parent_path());
    folder.write(name, bytes);
}

std::vector<std::string> samplesIn(const fs::path& folder) {
    std::vector<std::string> samples;
    for (const auto& text : readWritingSamples(folder)) samples.push_back(encodeUtf8(text));
    return samples;
}

TEST(WritingSamplesTest, ReadsTextAndMarkdownFilesRecursivelyInNameOrder) {
    TemporaryDirectory folder;
    put(folder, "b.txt", "b");
    put(folder, "a.MD", "a");
    put(folder, "c/d.markdown", "c/d");
    put(folder, "c/a/e.Txt", "c/a/e");
    put(folder, "z.txt", "  z \n");
    put(folder, "notes.rtf", "rtf");
    put(folder, "report.docx", "docx");
    put(folder, "txt", "no extension");
    put(folder, "archive.txt.gz", "gz");
    EXPECT_EQ(samplesIn(folder.path()), (std::vector<std::string>{"a", "b", "c/a/e", "c/d", "  z \n"}));
}

TEST(WritingSamplesTest, SkipsHiddenEmptyBinaryAndNonUtf8Files) {
    TemporaryDirectory folder;
    put(folder, ".hidden.txt", "hidden");
    put(folder, ".drafts/inside.txt", "inside a hidden folder");
    put(folder, "empty.txt", "");
    put(folder, "blank.md", " \n\t\r\n");
    put(folder, "latin1.txt", "caf\xE9");
    put(folder, "nul.txt", std::string("a\0b", 3));
    put(folder, "pdf.txt", "%PDF-1.7 text");
    put(folder, "kept.txt", "kept \xC3\xA9");
    EXPECT_EQ(samplesIn(folder.path()), std::vector<std::string>{"kept \xC3\xA9"});
}

TEST(WritingSamplesTest, FilesOfAtMostTwoMillionBytes) {
    TemporaryDirectory folder;
    put(folder, "a.txt", std::string(2'000'000, 'a'));
    put(folder, "b.txt", std::string(2'000'001, 'b'));
    const auto samples = readWritingSamples(folder.path());
    ASSERT_EQ(samples.size(), 1U);
    EXPECT_EQ(samples[0].size(), 2'000'000U);
}

TEST(WritingSamplesTest, AtMostTwoHundredFiles) {
    TemporaryDirectory folder;
    for (int i = 0; i < 250; ++i) {
        const auto name = std::to_string(1000 + i);
        put(folder, name + ".txt", name);
    }
    const auto samples = samplesIn(folder.path());
    ASSERT_EQ(samples.size(), 200U);
    EXPECT_EQ(samples.front(), "1000");
    EXPECT_EQ(samples.back(), "1199");
}

TEST(WritingSamplesTest, NeverFollowsSymbolicLinks) {
    TemporaryDirectory outside;
    put(outside, "secret.txt", "outside the folder");
    TemporaryDirectory folder;
    put(folder, "own.txt", "own");
    fs::create_symlink(outside.path() / "secret.txt", folder.path() / "link.txt");
    fs::create_directory_symlink(outside.path(), folder.path() / "linked-folder");
    fs::create_symlink(folder.path() / "own.txt", folder.path() / "same.txt");
    EXPECT_EQ(samplesIn(folder.path()), std::vector<std::string>{"own"});
}

TEST(WritingSamplesTest, SkipsPipesAndUnreadableFilesWithoutBlocking) {
    TemporaryDirectory folder;
    put(folder, "a.txt", "a");
    ASSERT_EQ(::mkfifo((folder.path() / "pipe.txt").c_str(), 0600), 0);
    put(folder, "locked/b.txt", "b");
    put(folder, "c.txt", "c");
    if (::geteuid() != 0) {
        // Without permission to read, a file or folder is skipped; root reads everything.
        fs::permissions(folder.path() / "c.txt", fs::perms::none);
        fs::permissions(folder.path() / "locked", fs::perms::none);
        EXPECT_EQ(samplesIn(folder.path()), std::vector<std::string>{"a"});
        fs::permissions(folder.path() / "locked", fs::perms::owner_all);
    } else {
        EXPECT_EQ(samplesIn(folder.path()), (std::vector<std::string>{"a", "c", "b"}));
    }
}

TEST(WritingSamplesTest, AFolderThatCannotBeOpenedIsAnError) {
    TemporaryDirectory folder;
    put(folder, "file.txt", "not a folder");
    EXPECT_THROW(readWritingSamples(folder.path() / "missing"), std::system_error);
    EXPECT_THROW(readWritingSamples(folder.path() / "file.txt"), std::system_error);
}

}  // namespace
}  // namespace velquor::text
