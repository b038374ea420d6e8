#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velquor::testing {

// Makes a new private folder the system temporary folder (TMPDIR) of this process and of the
// programs it starts, until this goes out of scope; then TMPDIR is what it was before. A test
// can so tell whether an export left one of its working folders behind.
class TemporaryFolderOverride {
public:
    explicit TemporaryFolderOverride(std::filesystem::path folder);
    ~TemporaryFolderOverride();
    TemporaryFolderOverride(const TemporaryFolderOverride&) = delete;
    TemporaryFolderOverride& operator=(const TemporaryFolderOverride&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

    // The names left in the folder, sorted.
    std::vector<std::string> leftovers() const;

private:
    std::filesystem::path folder_;
    std::optional<std::string> previous_;
};

}  // namespace velquor::testing
