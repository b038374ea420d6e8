#include "core/files/InspectorRegistry.h"
#include "core/files/media/MediaMetadataInspector.h"
#include "core/files/media/MediaModule.h"

#include "tests/support/MediaFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace velquor::files {
namespace {

using ::testing::HasSubstr;
using velquor::testing::MediaFixtures;
using velquor::testing::TemporaryDirectory;

struct stat statusWith(mode_t type, mode_t permissions, uid_t owner) {
    struct stat status {};
    status.st_mode = type | permissions;
    status.st_uid = owner;
    return status;
}

TEST(MediaModuleTest, OnlyFilesNobodyElseCanChangeAreTrusted) {
    constexpr uid_t us = 1000;
    struct Case {
        mode_t type;
        mode_t permissions;
        uid_t owner;
        bool trusted;
    };
    const Case cases[] = {
        {S_IFREG, 0755, us, true},  {S_IFREG, 0644, 0, true},     {S_IFREG, 0775, us, false},
        {S_IFREG, 0757, us, false}, {S_IFREG, 0755, 1001, false}, {S_IFDIR, 0755, us, false},
        {S_IFLNK, 0777, us, false}, {S_IFIFO, 0600, us, false},
    };
    for (const auto& [type, permissions, owner, trusted] : cases) {
        EXPECT_EQ(isTrustedModuleFile(statusWith(type, permissions, owner), us), trusted)
            << std::oct << type << ' ' << permissions << std::dec << ' ' << owner;
    }
}

TEST(MediaModuleTest, LooksBesideTheProgramAndInTheBuildTreeOnlyForItsOwnPrograms) {
    const std::filesystem::path build = VELQUOR_BUILD_TREE;
    const auto installed = mediaModuleLocations("/opt/velquor/bin/velquor-cli");
    ASSERT_EQ(installed.size(), 1u);
    EXPECT_EQ(installed[0], std::filesystem::path("/opt/velquor") / VELQUOR_LIBDIR / "velquor/velquor-media.so");

    const auto built = mediaModuleLocations(build / "cli/velquor-cli");
    ASSERT_EQ(built.size(), 2u);
    EXPECT_EQ(built[1], std::filesystem::path(VELQUOR_MEDIA_MODULE_PATH));

    // A folder whose name merely starts like the build tree's is not inside it.
    EXPECT_EQ(mediaModuleLocations(build.string() + "-other/velquor-cli").size(), 1u);
    // Nothing relative: that would depend on the current folder.
    EXPECT_TRUE(mediaModuleLocations("velquor-cli").empty());
}

std::string failureOf(const std::filesystem::path& module) {
    try {
        loadMediaModule(module);
    } catch (const MediaModuleUnavailable& error) {
        return error.what();
    }
    return "loaded";
}

TEST(MediaModuleTest, AModuleThatCannotBeUsedIsAClearError) {
    TemporaryDirectory folder;
    const auto notAModule = folder.write("velquor-media.so", "not a shared object");
    ::chmod(notAModule.c_str(), 0644);
    const auto writable = folder.write("writable.so", "x");
    ::chmod(writable.c_str(), 0666);
    const auto missing = folder.path() / "missing.so";

    EXPECT_EQ(failureOf(missing),
              "the media module " + missing.string() + " could not be loaded: No such file or directory");
    EXPECT_THAT(failureOf(notAModule), HasSubstr("the media module " + notAModule.string() + " could not be loaded ("));
    EXPECT_EQ(failureOf(writable), "the media module " + writable.string() +
                                       " could not be loaded (not a trusted file): Operation not permitted");
    EXPECT_EQ(failureOf(folder.path()), "the media module " + folder.path().string() +
                                            " could not be loaded (not a trusted file): Operation not permitted");
}

TEST(MediaModuleTest, TheBuiltModuleInspectsLikeTheFamilyItself) {
    TemporaryDirectory folder;
    const auto movie = MediaFixtures(folder.path()).taggedMp4();
    const auto& loaded = loadMediaModule(VELQUOR_MEDIA_MODULE_PATH);
    const auto viaModule = loaded.inspect(movie);
    EXPECT_EQ(viaModule, MediaMetadataInspector().inspect(movie));
    EXPECT_TRUE(loaded.failsPrivacyVerification(viaModule));
    // A second load hands out the same inspector.
    EXPECT_EQ(&loadMediaModule(VELQUOR_MEDIA_MODULE_PATH), &loaded);
    // The registry's row reaches the same module and throws the module's errors through.
    EXPECT_EQ(inspectReport(movie), viaModule);
    const auto missing = folder.path() / "missing.mp4";
    EXPECT_THROW(inspectReport(missing), std::exception);
}

TEST(MediaModuleTest, TheRegistryKeepsItsMediaRow) {
    const auto registry = inspectorRegistry();
    const auto row = std::find_if(registry.begin(), registry.end(), [](const auto& r) { return r.family == "media"; });
    ASSERT_NE(row, registry.end());
    EXPECT_TRUE(row->inspects("clip.MKV"));
    EXPECT_TRUE(row->exports("song.flac"));
    EXPECT_FALSE(row->exports("clip.3gp"));
    EXPECT_FALSE(row->inspects("notes.txt"));
}

}  // namespace
}  // namespace velquor::files
