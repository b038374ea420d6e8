#pragma once

#include "tests/support/OfficePackages.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TemporaryFolderOverride.h"

#include "core/files/InspectorRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velquor::testing {

// A test with its own folder, whose "tmp" is the system temporary folder while it runs, so that
// it can tell that an export wrote nothing there, passing or failing.
class OfficeTestFolder : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(temporary_.leftovers(), std::vector<std::string>{}); }

    const std::filesystem::path& path() const { return directory_.path(); }
    std::vector<std::string> leftovers() const { return temporary_.leftovers(); }

    // The parts packed by the real zip tool into an archive of this folder.
    std::filesystem::path package(const std::string& name, const Parts& parts) const {
        const auto archive = path() / name;
        zipWithSystemZip(path(), parts, archive);
        return archive;
    }

    // The privacy copy of `source`, written next to it as "copy-" and its name.
    static std::filesystem::path exported(const std::filesystem::path& source) {
        const auto destination = source.parent_path() / ("copy-" + source.filename().string());
        files::createPrivacyCopy(source, destination);
        return destination;
    }

private:
    TemporaryDirectory directory_;
    TemporaryFolderOverride temporary_{directory_.path() / "tmp"};
};

}  // namespace velquor::testing
