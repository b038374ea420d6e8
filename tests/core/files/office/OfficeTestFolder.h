#pragma once

#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velquor::testing {

// A test with its own folder, which is also the system temporary folder while it runs (TMPDIR),
// so that it can tell that no working folder of an export was left behind, passing or failing.
class OfficeTestFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* previous = std::getenv("TMPDIR")) previousTemporary_ = previous;
        std::filesystem::create_directory(temporary());
        ::setenv("TMPDIR", temporary().c_str(), 1);
    }

    void TearDown() override {
        if (previousTemporary_) {
            ::setenv("TMPDIR", previousTemporary_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        EXPECT_EQ(leftovers(), std::vector<std::string>{});
    }

    const std::filesystem::path& path() const { return directory_.path(); }
    std::filesystem::path temporary() const { return directory_.path() / "tmp"; }

    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(temporary())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    TemporaryDirectory directory_;
    std::optional<std::string> previousTemporary_;
};

}  // namespace velquor::testing
