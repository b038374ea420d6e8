#include "tests/support/TemporaryFolderOverride.h"

#include "tests/support/FileTestSupport.h"

#include <cstdlib>

namespace velquor::testing {

TemporaryFolderOverride::TemporaryFolderOverride(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::filesystem::create_directory(folder_);
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
    if (const char* previous = std::getenv("TMPDIR")) previous_ = previous;
    ::setenv("TMPDIR", folder_.c_str(), 1);
}

TemporaryFolderOverride::~TemporaryFolderOverride() {
    if (previous_) {
        ::setenv("TMPDIR", previous_->c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
}

std::vector<std::string> TemporaryFolderOverride::leftovers() const { return namesIn(folder_); }

}  // namespace velquor::testing
