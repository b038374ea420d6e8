#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <regex>
#include <string>

namespace velquor::files {
namespace {

using Case = FileSanitizerError::Case;
using testing::TemporaryDirectory;

std::vector<std::string> namesIn(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string contentsOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Case errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileSanitizerError& error) {
        return error.errorCase();
    }
    ADD_FAILURE() << "no error";
    return Case::unsupportedFile;
}

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(FileExportSafetyTest, StagedNamesAreHiddenSiblingsWithAnUpperCaseUUID) {
    const std::string uuid = "[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}";
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {"/data/photo (privacy copy).jpg", R"(\.photo \(privacy copy\)-velquor-)" + uuid + R"(\.jpg)"},
        {"/data/README", R"(\.README-velquor-)" + uuid},
        {"/data/archive.tar.gz", R"(\.archive\.tar-velquor-)" + uuid + R"(\.gz)"},
    };
    for (const auto& [destination, pattern] : cases) {
        const auto staged = FileExportSafety::stagingURL(destination);
        EXPECT_EQ(staged.parent_path(), destination.parent_path());
        EXPECT_TRUE(std::regex_match(staged.filename().string(), std::regex(pattern))) << staged;
    }
    EXPECT_NE(FileExportSafety::stagingURL("/data/a.jpg"), FileExportSafety::stagingURL("/data/a.jpg"));
}

TEST(FileExportSafetyTest, StagedNameOfALongDestinationStillFitsOneDirectoryEntry) {
    // 250 bytes of "é" (two bytes each) would give a 300-byte staged name.
    std::string base;
    for (int i = 0; i < 123; ++i) base += "\xC3\xA9";
    const auto staged = FileExportSafety::stagingURL("/data/" + base + ".jpeg").filename().string();
    EXPECT_LE(staged.size(), 255u);
    EXPECT_EQ(staged.substr(staged.size() - 5), ".jpeg");
    EXPECT_NE(staged.find("-velquor-"), std::string::npos);
    const auto cut = staged.substr(1, staged.find("-velquor-") - 1);
    EXPECT_EQ(cut.size() % 2, 0u) << "a UTF-8 scalar was split";

    TemporaryDirectory directory;
    StagedFile file(FileExportSafety::stagingURL(directory.path() / (base + ".jpeg")));
    file.write(bytesOf("ok"));
    EXPECT_EQ(contentsOf(file.path()), "ok");
}

TEST(FileExportSafetyTest, AnythingAtTheDestinationIsRefusedEvenADanglingLink) {
    TemporaryDirectory directory;
    const auto& dir = directory.path();
    directory.write("file.jpg", "x");
    std::filesystem::create_symlink(dir / "nowhere.jpg", dir / "dangling.jpg");
    std::filesystem::create_directory(dir / "folder.jpg");
    for (const auto* name : {"file.jpg", "dangling.jpg", "folder.jpg"}) {
        EXPECT_EQ(errorOf([&] { FileExportSafety::prepareDestination(dir / name); }), Case::destinationExists) << name;
    }
    EXPECT_NO_THROW(FileExportSafety::prepareDestination(dir / "free.jpg"));
}

TEST(FileExportSafetyTest, PublishNeverReplacesAndTheStagedFileIsAlwaysRemoved) {
    TemporaryDirectory directory;
    const auto& dir = directory.path();
    directory.write("taken.jpg", "original");
    {
        StagedFile staged(FileExportSafety::stagingURL(dir / "taken.jpg"));
        staged.write(bytesOf("copy"));
        EXPECT_EQ(errorOf([&] { staged.publish(dir / "taken.jpg"); }), Case::destinationExists);
    }
    EXPECT_EQ(contentsOf(dir / "taken.jpg"), "original");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"taken.jpg"});
    {
        StagedFile staged(FileExportSafety::stagingURL(dir / "new.jpg"));
        staged.write(bytesOf("copy"));
        staged.publish(dir / "new.jpg");
    }
    EXPECT_EQ(contentsOf(dir / "new.jpg"), "copy");
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"new.jpg", "taken.jpg"}));
}

TEST(FileExportSafetyTest, StagingNeverWritesThroughALinkOrOverAFile) {
    TemporaryDirectory directory;
    const auto& dir = directory.path();
    const auto staged = FileExportSafety::stagingURL(dir / "a.jpg");
    directory.write("target", "keep");
    std::filesystem::create_symlink(dir / "target", staged);
    StagedFile file(staged);
    EXPECT_THROW(file.write(bytesOf("copy")), std::system_error);
    EXPECT_EQ(contentsOf(dir / "target"), "keep");
    EXPECT_TRUE(std::filesystem::is_symlink(staged)) << "a file the export did not create was removed";
}

// File systems that refuse RENAME_NOREPLACE (NFS, CIFS) or hard links too (vfat, exFAT).
int refuseFlag(const char*, const char*) {
    errno = EINVAL;
    return -1;
}
int refuseLinks(const char*, const char*) {
    errno = EPERM;
    return -1;
}
int systemLink(const char* from, const char* to) { return ::link(from, to); }
int systemRename(const char* from, const char* to) { return ::rename(from, to); }

TEST(FileExportSafetyTest, PublishFallsBackWhereTheFileSystemRefusesTheFlagOrHardLinks) {
    const detail::PublishCalls linkFallback{refuseFlag, systemLink, systemRename};
    const detail::PublishCalls renameFallback{refuseFlag, refuseLinks, systemRename};
    for (const auto* calls : {&linkFallback, &renameFallback}) {
        TemporaryDirectory directory;
        const auto& dir = directory.path();
        const auto staged = directory.write(".a-velquor-X.jpg", "copy");
        detail::publish(staged, dir / "a.jpg", *calls);
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"a.jpg"});
        EXPECT_EQ(contentsOf(dir / "a.jpg"), "copy");

        // A destination taken while the copy was written is still never replaced.
        const auto second = directory.write(".b-velquor-X.jpg", "second");
        EXPECT_EQ(errorOf([&] { detail::publish(second, dir / "a.jpg", *calls); }), Case::destinationExists);
        EXPECT_EQ(contentsOf(dir / "a.jpg"), "copy");
    }
}

TEST(FileExportSafetyTest, LinkThatFindsTheDestinationTakenIsDestinationExists) {
    TemporaryDirectory directory;
    const auto staged = directory.write(".a-velquor-X.jpg", "copy");
    const detail::PublishCalls racing{refuseFlag,
                                      [](const char*, const char*) {
                                          errno = EEXIST;
                                          return -1;
                                      },
                                      systemRename};
    EXPECT_EQ(errorOf([&] { detail::publish(staged, directory.path() / "a.jpg", racing); }), Case::destinationExists);
}

TEST(FileExportSafetyTest, CopyFromElsewhereIsStagedNextToTheDestination) {
    TemporaryDirectory outside, target;
    const auto made = outside.write("office-output.docx", std::string(200000, 'z'));
    {
        auto staged = FileExportSafety::stageCopy(made, target.path() / "report-privacy.docx");
        EXPECT_EQ(staged.path().parent_path(), target.path());
        EXPECT_EQ(contentsOf(staged.path()), std::string(200000, 'z'));
        staged.publish(target.path() / "report-privacy.docx");
    }
    EXPECT_EQ(namesIn(target.path()), std::vector<std::string>{"report-privacy.docx"});
    { auto staged = FileExportSafety::stageCopy(made, target.path() / "other.docx"); }
    EXPECT_EQ(namesIn(target.path()), std::vector<std::string>{"report-privacy.docx"});
}

}  // namespace
}  // namespace velquor::files
