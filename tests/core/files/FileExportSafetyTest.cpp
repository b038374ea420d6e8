#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TemporaryFolderOverride.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <regex>
#include <stdexcept>
#include <string>

namespace velquor::files {
namespace {

using Case = FileSanitizerError::Case;
using testing::errorOf;
using testing::namesIn;
using testing::TemporaryDirectory;
const auto contentsOf = testing::readFile;

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

// The export skeleton, driven by each of the two kinds of writer a family can supply.
using FileExportSafety::CopyVerdict;
using FileExportSafety::CopyWriter;

enum class WriterKind { bytes, descriptor };

constexpr WriterKind writerKinds[] = {WriterKind::bytes, WriterKind::descriptor};

const char* nameOf(WriterKind kind) {
    switch (kind) {
        case WriterKind::bytes:
            return "bytes";
        case WriterKind::descriptor:
            return "descriptor";
    }
    return "";
}

// A writer of the kind that writes `content` and runs `meanwhile` after the bytes are out.
CopyWriter writerOf(
    WriterKind kind, std::string content, std::function<void()> meanwhile = [] {}) {
    switch (kind) {
        case WriterKind::bytes:
            return FileExportSafety::BytesWriter{[=] {
                meanwhile();
                return std::vector<std::uint8_t>(content.begin(), content.end());
            }};
        case WriterKind::descriptor:
            return FileExportSafety::DescriptorWriter{[=](int fd) {
                posix::writeAll(fd, bytesOf(content));
                meanwhile();
            }};
    }
    return {};
}

// The system's temporary folder, pointed at a folder of the test's own while it runs, so that
// anything an export leaves in it can be seen.
class ExportSkeletonTest : public ::testing::Test {
protected:
    // Nothing but the given names in the destination's folder, and nothing in the temporary one.
    void expectOnly(const std::vector<std::string>& names, WriterKind kind) const {
        EXPECT_EQ(namesIn(target_.path()), names) << nameOf(kind);
        EXPECT_TRUE(temporary_.leftovers().empty()) << nameOf(kind);
    }

    TemporaryDirectory target_;

private:
    TemporaryDirectory root_;
    testing::TemporaryFolderOverride temporary_{root_.path() / "tmp"};
};

TEST_F(ExportSkeletonTest, PublishesTheVerifiedCopyFromAHiddenSiblingAndLeavesNothingElse) {
    for (const auto kind : writerKinds) {
        const auto destination = target_.path() / (std::string(nameOf(kind)) + ".jpg");
        std::string verified;
        std::filesystem::path verifiedAt;
        FileExportSafety::exportPrivacyCopy(destination, writerOf(kind, "clean copy"),
                                            [&](const std::filesystem::path& copy) {
                                                verified = contentsOf(copy);
                                                verifiedAt = copy;
                                                EXPECT_FALSE(std::filesystem::exists(destination));
                                                return CopyVerdict::passed;
                                            });
        EXPECT_EQ(verified, "clean copy") << nameOf(kind) << ": the verification read the written copy";
        EXPECT_EQ(verifiedAt.parent_path(), target_.path()) << nameOf(kind);
        EXPECT_TRUE(verifiedAt.filename().string().starts_with("." + std::string(nameOf(kind)) + "-velquor-"))
            << verifiedAt;
        EXPECT_EQ(contentsOf(destination), "clean copy") << nameOf(kind);
        std::filesystem::remove(destination);
        expectOnly({}, kind);
    }
}

TEST_F(ExportSkeletonTest, AFailingWriterOrVerificationLeavesNothingAndPassesItsErrorOn) {
    const auto throwing = [] { throw std::runtime_error("writer broke"); };
    for (const auto kind : writerKinds) {
        const auto destination = target_.path() / "copy.pdf";
        EXPECT_THROW(FileExportSafety::exportPrivacyCopy(destination, writerOf(kind, "partial", throwing),
                                                         [](const auto&) { return CopyVerdict::passed; }),
                     std::runtime_error)
            << nameOf(kind);
        expectOnly({}, kind);

        const std::pair<CopyVerdict, Case> verdicts[] = {{CopyVerdict::personalDataLeft, Case::verificationFailed},
                                                         {CopyVerdict::contentLost, Case::exportFailed}};
        for (const auto& [verdict, expected] : verdicts) {
            EXPECT_EQ(errorOf([&] {
                          FileExportSafety::exportPrivacyCopy(destination, writerOf(kind, "still personal"),
                                                              [&](const auto&) { return verdict; });
                      }),
                      expected)
                << nameOf(kind);
            expectOnly({}, kind);
        }

        // A re-inspection that fails is reported as it failed.
        EXPECT_EQ(errorOf([&] {
                      FileExportSafety::exportPrivacyCopy(
                          destination, writerOf(kind, "?"),
                          [](const auto&) -> CopyVerdict { throw FileSanitizerError(Case::unreadableFile); });
                  }),
                  Case::unreadableFile);
        expectOnly({}, kind);
    }
}

TEST_F(ExportSkeletonTest, ADestinationTakenBeforeOrWhileWritingIsNeverReplaced) {
    for (const auto kind : writerKinds) {
        const auto destination = target_.write("taken.svg", "original");
        bool wrote = false;
        EXPECT_EQ(errorOf([&] {
                      FileExportSafety::exportPrivacyCopy(destination, writerOf(kind, "copy", [&] { wrote = true; }),
                                                          [](const auto&) { return CopyVerdict::passed; });
                  }),
                  Case::destinationExists);
        EXPECT_FALSE(wrote) << nameOf(kind) << ": work began for a taken destination";
        std::filesystem::remove(destination);

        const auto appearing = target_.path() / "appears.svg";
        const auto someoneElse = [&] { target_.write("appears.svg", "someone else's"); };
        EXPECT_EQ(errorOf([&] {
                      FileExportSafety::exportPrivacyCopy(appearing, writerOf(kind, "copy", someoneElse),
                                                          [](const auto&) { return CopyVerdict::passed; });
                  }),
                  Case::destinationExists)
            << nameOf(kind);
        EXPECT_EQ(contentsOf(appearing), "someone else's") << nameOf(kind);
        expectOnly({"appears.svg"}, kind);
        std::filesystem::remove(appearing);
    }
}

}  // namespace
}  // namespace velquor::files
