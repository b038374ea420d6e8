#include "tests/support/ChildProcess.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::cli {
namespace {

using ::testing::HasSubstr;
using namespace velquor::testing;

ChildResult velquorCli(const std::vector<std::string>& arguments) { return runChild(VELQUOR_CLI_PATH, arguments); }

TEST(MediaCliTest, InspectsAndExportsAudioAndVideo) {
    const TemporaryDirectory directory;
    const auto source = MediaFixtures(directory.path()).taggedMp4();

    const auto inspected = velquorCli({"file", "inspect", source.string()});
    EXPECT_EQ(inspected.exitStatus, 1);
    EXPECT_THAT(inspected.out, HasSubstr("Type: MPEG-4 movie"));
    EXPECT_THAT(inspected.out, HasSubstr("Personal metadata: yes, including a location"));
    EXPECT_THAT(inspected.out, HasSubstr("  title: Beach walk\n"));
    EXPECT_THAT(inspected.out, HasSubstr("  Duration: 1.0 seconds\n"));

    const auto json = velquorCli({"file", "inspect", source.string(), "--json"});
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_THAT(json.out, HasSubstr("\"section\":\"Location\""));

    const auto exported = velquorCli({"file", "export", source.string()});
    EXPECT_EQ(exported.exitStatus, 0) << exported.err;
    EXPECT_EQ(exported.out, (directory.path() / "tagged-privacy.mp4").string() + "\n");
    const auto copy = velquorCli({"file", "inspect", exported.out.substr(0, exported.out.size() - 1)});
    EXPECT_EQ(copy.exitStatus, 0);
    EXPECT_THAT(copy.out, HasSubstr("Personal metadata: none found"));
}

TEST(MediaCliTest, ExplainsWhatItCannotDo) {
    const TemporaryDirectory directory;
    const auto garbage = directory.write("broken.mp4", std::string(1000, 'x'));
    const auto inspected = velquorCli({"file", "inspect", garbage.string()});
    EXPECT_EQ(inspected.exitStatus, 2);
    EXPECT_EQ(inspected.out, "");
    EXPECT_EQ(inspected.err, "The file could not be read.\n");

    const auto song = MediaFixtures(directory.path()).tagged("song.flac");
    std::filesystem::resize_file(song, std::filesystem::file_size(song) / 2);
    const auto exported = velquorCli({"file", "export", song.string()});
    EXPECT_EQ(exported.exitStatus, 2);
    EXPECT_THAT(exported.err, HasSubstr("The file could not be read."));
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "song-privacy.flac"));
}

}  // namespace
}  // namespace velquor::cli
