#pragma once

#include <filesystem>
#include <string_view>

namespace velquor::files {

// A private folder (mode 0700) in the system's temporary folder, named the prefix and a new
// upper-case UUID, that is removed with everything in it when this goes out of scope, on every
// path. Removal also gets through folders an archive unpacked without permissions.
class WorkingDirectory {
public:
    // Throws the system error when the folder cannot be created.
    explicit WorkingDirectory(std::string_view prefix);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Creates a folder with mode 0700; one that already exists is an error.
void createPrivateDirectory(const std::filesystem::path& path);

// Removes a tree without following symbolic links, first giving its owner access to every
// folder in it. Errors are ignored.
void removeTree(const std::filesystem::path& path) noexcept;

}  // namespace velquor::files
