#include "tests/support/ChildProcess.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace velquor::cli {
namespace {

using ::testing::HasSubstr;
using velquor::testing::MediaFixtures;
using velquor::testing::runChild;
using velquor::testing::TemporaryDirectory;

// The program copied out of the build tree into an installed layout: bin/velquor-cli and, when
// `withModule`, the module in the library folder beside it.
std::filesystem::path installedProgram(const std::filesystem::path& prefix, bool withModule) {
    namespace fs = std::filesystem;
    fs::create_directories(prefix / "bin");
    const auto program = prefix / "bin" / "velquor-cli";
    fs::copy_file(VELQUOR_CLI_PATH, program);
    if (withModule) {
        const auto folder = prefix / VELQUOR_LIBDIR / "velquor";
        fs::create_directories(folder);
        fs::copy_file(VELQUOR_MEDIA_MODULE_PATH, folder / "velquor-media.so");
    }
    return program;
}

TEST(MediaModuleCliTest, AnInstalledProgramFindsTheModuleBesideIt) {
    TemporaryDirectory folder;
    const auto song = MediaFixtures(folder.path()).audio("song.mp3", {"artist=Someone"});
    const auto program = installedProgram(folder.path() / "prefix", true);
    const auto result = runChild(program, {"file", "inspect", song.string()});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_THAT(result.out, HasSubstr("Someone"));
}

TEST(MediaModuleCliTest, WithoutTheModuleMediaFilesGetAClearErrorAndTheRestWorks) {
    TemporaryDirectory folder;
    const auto song = MediaFixtures(folder.path()).audio("song.mp3", {"artist=Someone"});
    const auto text = folder.write("notes.txt", "plain\n");
    const auto prefix = folder.path() / "prefix";
    const auto program = installedProgram(prefix, false);
    const auto expectedModule = (prefix / VELQUOR_LIBDIR / "velquor" / "velquor-media.so").string();

    const auto single = runChild(program, {"file", "inspect", song.string()});
    EXPECT_EQ(single.exitStatus, 2);
    EXPECT_EQ(single.err,
              "velquor-cli: the media module " + expectedModule + " could not be loaded: No such file or directory\n");

    const auto batch = runChild(program, {"file", "inspect", song.string(), text.string()});
    EXPECT_EQ(batch.exitStatus, 2);
    EXPECT_THAT(batch.out, HasSubstr("could not be loaded"));

    const auto copy = runChild(program, {"file", "export", song.string()});
    EXPECT_EQ(copy.exitStatus, 2);
    EXPECT_THAT(copy.err, HasSubstr("could not be loaded"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "song-privacy.mp3"));

    EXPECT_EQ(runChild(program, {"text", "inspect", text.string()}).exitStatus, 0);
}

}  // namespace
}  // namespace velquor::cli
